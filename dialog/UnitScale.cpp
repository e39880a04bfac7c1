#include "UnitScale.h"

#include <cmath>

namespace {

constexpr double StandardGravity = 9.80665;

} // namespace

double UnitScale::MetresPerLength() const {
    switch (lengthCode) {
    case 1:
        return 0.01;
    case 2:
        return 0.001;
    default:
        return 1.0;
    }
}

double UnitScale::NewtonsPerForce() const {
    switch (forceCode) {
    case 1:
        return 1e3;
    case 2:
        return 1e6;
    case 3:
        return StandardGravity;
    case 4:
        return 1e3 * StandardGravity;
    default:
        return 1.0;
    }
}

QString UnitScale::LengthName() const {
    switch (lengthCode) {
    case 1:
        return QStringLiteral("cm");
    case 2:
        return QStringLiteral("mm");
    default:
        return QStringLiteral("m");
    }
}

QString UnitScale::ForceName() const {
    switch (forceCode) {
    case 1:
        return QStringLiteral("kN");
    case 2:
        return QStringLiteral("MN");
    case 3:
        return QStringLiteral("kg");
    case 4:
        return QStringLiteral("T");
    default:
        return QStringLiteral("N");
    }
}

double UnitScale::FromMillimetres(double value) const {
    return value * 0.001 / MetresPerLength();
}

double UnitScale::FromSquareCentimetres(double value) const {
    return value * 1e-4 / std::pow(MetresPerLength(), 2);
}

double UnitScale::FromQuarticCentimetres(double value) const {
    return value * 1e-8 / std::pow(MetresPerLength(), 4);
}

double UnitScale::FromMegapascals(double value) const {
    return value * 1e6 / NewtonsPerForce() * std::pow(MetresPerLength(), 2);
}

double UnitScale::FromKilonewtonsPerCubicMetre(double value) const {
    return value * 1e3 / NewtonsPerForce() * std::pow(MetresPerLength(), 3);
}
