#include "PlaneSolid.h"

#include "PlaneKinematics.h"

PlaneSolid::Point PlaneSolid::Stress(const Point& strain) const {
    Point stress(Stresses());
    stress.head(Strains()) = D * strain;
    if (OutOfPlaneStress)
        stress(Strains()) = Nu * (stress(0) + stress(1));
    return stress;
}

QStringList PlaneSolid::StressNames() const {
    if (Kind == Form::Axisymmetric)
        return {QStringLiteral("sr"), QStringLiteral("sz"), QStringLiteral("trz"),
                QStringLiteral("st")};
    QStringList names{QStringLiteral("sx"), QStringLiteral("sz"), QStringLiteral("txz")};
    if (OutOfPlaneStress)
        names << QStringLiteral("sy");
    return names;
}

PlaneKinematics::Operator PlaneKinematics::Strain(PlaneSolid::Form form, const Shape& n,
                                                  const Gradient& dndx, double r) {
    const Eigen::Index nodes = n.size();
    const bool axisymmetric = form == PlaneSolid::Form::Axisymmetric;
    Operator b = Operator::Zero(axisymmetric ? 4 : 3, 2 * nodes);
    for (Eigen::Index a = 0; a < nodes; ++a) {
        b(0, 2 * a) = dndx(0, a);
        b(1, 2 * a + 1) = dndx(1, a);
        b(2, 2 * a) = dndx(1, a);
        b(2, 2 * a + 1) = dndx(0, a);
        if (axisymmetric)
            b(3, 2 * a) = n(a) / r;
    }
    return b;
}

void PlaneKinematics::AddMass(Element::Matrix& m, double weight, const Shape& n) {
    for (Eigen::Index a = 0; a < n.size(); ++a)
        for (Eigen::Index b = 0; b < n.size(); ++b)
            for (Eigen::Index c = 0; c < 2; ++c)
                m(2 * a + c, 2 * b + c) += weight * n(a) * n(b);
}
