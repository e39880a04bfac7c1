#include "PrincipalStresses.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Jacobi rotations until the tensor is diagonal: robust for the symmetric 3 x 3 case, and
// the accumulated rotations are the principal directions.
void Diagonalise(Matrix& a, Matrix& v) {
    v = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int sweep = 0; sweep < 100; ++sweep) {
        const double off = std::abs(a[0][1]) + std::abs(a[0][2]) + std::abs(a[1][2]);
        const double scale = std::abs(a[0][0]) + std::abs(a[1][1]) + std::abs(a[2][2]) + off;
        if (off <= 1e-15 * scale || off == 0.0)
            return;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                if (a[p][q] == 0.0)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::abs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1);
                const double s = t * c;
                for (int k = 0; k < 3; ++k) { // columns p and q
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) { // rows p and q
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
        }
    }
}

// A direction and its opposite are one axis: show the one whose first cosine that is not
// zero is positive.
std::array<double, 3> Canonical(std::array<double, 3> d) {
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& x : d) {
        x /= length;
        if (std::abs(x) < 1e-12)
            x = 0.0;
    }
    const auto first =
        std::find_if(d.begin(), d.end(), [](double x) { return std::abs(x) > 1e-9; });
    if (first != d.end() && *first < 0)
        for (double& x : d)
            x = -x;
    return d;
}

QString Number(double value) {
    // No "-0.0000" for rounding noise around zero.
    if (std::abs(value) < 0.00005)
        value = 0.0;
    return QString::number(value, 'f', 4);
}

} // namespace

PrincipalResult PrincipalStresses::Plane(double sx, double sy, double txy) {
    const double centre = (sx + sy) / 2;
    const double radius = std::hypot((sx - sy) / 2, txy);
    double angle = 0.5 * std::atan2(2 * txy, sx - sy) * 180 / std::numbers::pi;
    if (angle <= -90)
        angle += 180;
    const double a = angle * std::numbers::pi / 180;
    PrincipalResult result;
    result.Plane = true;
    result.Stresses[0] = {centre + radius, Canonical({std::cos(a), std::sin(a), 0})};
    result.Stresses[1] = {centre - radius, Canonical({-std::sin(a), std::cos(a), 0})};
    result.Stresses[2] = {0, {0, 0, 1}};
    result.MaxShear = radius;
    result.AngleDegrees = angle;
    return result;
}

PrincipalResult PrincipalStresses::Spatial(const StressState& s) {
    Matrix a = {{{s.Sx, s.Txy, s.Tzx}, {s.Txy, s.Sy, s.Tyz}, {s.Tzx, s.Tyz, s.Sz}}};
    Matrix v{};
    Diagonalise(a, v);
    PrincipalResult result;
    for (int i = 0; i < 3; ++i)
        result.Stresses[size_t(i)] = {a[i][i], Canonical({v[0][i], v[1][i], v[2][i]})};
    std::sort(result.Stresses.begin(), result.Stresses.end(),
              [](const PrincipalStress& x, const PrincipalStress& y) { return x.Value > y.Value; });
    result.MaxShear = (result.Stresses[0].Value - result.Stresses[2].Value) / 2;
    return result;
}

QString PrincipalStresses::Report(const PrincipalResult& result) {
    QStringList lines;
    const int count = result.Plane ? 2 : 3;
    for (int i = 0; i < count; ++i) {
        const PrincipalStress& p = result.Stresses[size_t(i)];
        lines << QStringLiteral("σ%1 = %2   l = %3  m = %4%5")
                     .arg(i + 1)
                     .arg(Number(p.Value), 12)
                     .arg(Number(p.Direction[0]), 7)
                     .arg(Number(p.Direction[1]), 7)
                     .arg(result.Plane ? QString()
                                       : QStringLiteral("  n = %1").arg(Number(p.Direction[2]), 7));
    }
    lines << QStringLiteral("τmax = %1").arg(Number(result.MaxShear), 11);
    if (result.Plane)
        lines
            << QStringLiteral("α1 = %1° (from the x axis to σ1)").arg(Number(result.AngleDegrees));
    return lines.join(u'\n');
}

std::optional<double> PrincipalStresses::ParseNumber(const QString& text) {
    bool ok = false;
    const double value = QString(text).trimmed().replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
