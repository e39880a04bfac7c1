// The mathematics problems of analysis: Fourier coefficients (24), roots of a polynomial (25),
// linear differential equations (26) and the Sturm-Liouville problem (27).
#include "MathSolvers.h"
#include "StaticReport.h"

#include <Eigen/Eigenvalues>
#include <Eigen/QR>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <unsupported/Eigen/MatrixFunctions>

namespace {

// A polynomial given by (power, coefficient) terms.
struct Terms {
    std::vector<std::pair<int, double>> List;

    double operator()(double x) const {
        double sum = 0;
        for (const auto& [power, c] : List)
            sum += c * std::pow(x, power);
        return sum;
    }
    double Derivative(double x) const {
        double sum = 0;
        for (const auto& [power, c] : List) {
            if (power > 0)
                sum += c * power * std::pow(x, power - 1);
        }
        return sum;
    }
};

// One root in [a, b] where the polynomial changes sign: Newton steps while they stay inside
// the bracket, bisection otherwise. Returns the iterations used, or -1 when not converged.
int Refine(const Terms& p, double a, double b, double tolerance, int iterations, double& root) {
    double fa = p(a);
    double x = (a + b) / 2;
    for (int i = 1; i <= iterations; ++i) {
        const double fx = p(x);
        if (fx == 0) {
            root = x;
            return i;
        }
        if ((fx < 0) == (fa < 0)) {
            a = x;
            fa = fx;
        } else {
            b = x;
        }
        const double slope = p.Derivative(x);
        double next = slope != 0 ? x - fx / slope : (a + b) / 2;
        if (!(next > a && next < b))
            next = (a + b) / 2;
        if (std::abs(next - x) <= tolerance || b - a <= tolerance) {
            root = next;
            return i;
        }
        x = next;
    }
    root = x;
    return -1;
}

} // namespace

SolverOutcome MathSolvers::Fourier(const ParsedData& data) {
    const double period = data.GeneralNumber(3);
    const int harmonics = static_cast<int>(data.GeneralNumber(4));
    const Eigen::MatrixXd points = TableMatrix(data, 2);
    const Eigen::Index n = points.rows();
    // Least squares of a0 + sum (a_k cos k w x + b_k sin k w x) through the points; for
    // equally spaced points of a whole period this is the discrete Fourier transform.
    Eigen::MatrixXd basis(n, 2 * harmonics + 1);
    const double w = 2 * std::numbers::pi / period;
    for (Eigen::Index r = 0; r < n; ++r) {
        basis(r, 0) = 1;
        for (int k = 1; k <= harmonics; ++k) {
            basis(r, 2 * k - 1) = std::cos(k * w * points(r, 0));
            basis(r, 2 * k) = std::sin(k * w * points(r, 0));
        }
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(basis);
    if (qr.rank() < basis.cols())
        return SolverOutcome::Failure(
            QStringLiteral(
                "the points do not determine %1 harmonics; give more distinct points of the period")
                .arg(harmonics));
    const Eigen::VectorXd c = qr.solve(points.col(1));
    Eigen::VectorXd a(harmonics), b(harmonics);
    for (int k = 1; k <= harmonics; ++k) {
        a[k - 1] = c[2 * k - 1];
        b[k - 1] = c[2 * k];
    }
    SolverOutcome outcome;
    outcome.Ok = true;
    outcome.Json = {{QStringLiteral("a0"), c[0]},
                    {QStringLiteral("a"), Values(a)},
                    {QStringLiteral("b"), Values(b)}};
    QString& text = outcome.Protocol;
    text += QStringLiteral("f(x) = a0 + sum of a_k cos(2 pi k x / T) + b_k sin(2 pi k x / T), "
                           "T = %1, %2 points\n\n")
                .arg(period)
                .arg(n);
    text += QStringLiteral("a0 (mean value) %1\n\n   k           a_k          b_k\n")
                .arg(c[0], 0, 'g', 10);
    for (int k = 1; k <= harmonics; ++k)
        text += QString::number(k).rightJustified(4) + StaticReport::Number(a[k - 1]) +
                StaticReport::Number(b[k - 1]) + u'\n';
    const Eigen::VectorXd residual = basis * c - points.col(1);
    text += QStringLiteral("\nLargest deviation of the series from the points %1\n")
                .arg(residual.cwiseAbs().maxCoeff(), 0, 'g', 5);
    return outcome;
}

SolverOutcome MathSolvers::Polynomial(const ParsedData& data) {
    const double tolerance = data.GeneralNumber(2);
    const int iterations = static_cast<int>(data.GeneralNumber(3));
    const int parts = static_cast<int>(data.GeneralNumber(4));
    Terms p;
    const Eigen::MatrixXd terms = TableMatrix(data, 2);
    for (Eigen::Index r = 0; r < terms.rows(); ++r)
        p.List.emplace_back(static_cast<int>(terms(r, 0)), terms(r, 1));
    const Eigen::MatrixXd intervals = TableMatrix(data, 3);

    // Each interval is cut into parts; a part whose ends differ in sign holds a root, and an
    // end where the polynomial is 0 is one. Roots of even multiplicity inside a part, where
    // the sign does not change, are not found.
    std::vector<double> roots;
    QStringList notes;
    for (Eigen::Index i = 0; i < intervals.rows(); ++i) {
        const double from = intervals(i, 0), to = intervals(i, 1);
        for (int k = 0; k < parts; ++k) {
            const double a = from + (to - from) * k / parts;
            const double b = k + 1 == parts ? to : from + (to - from) * (k + 1) / parts;
            const double fa = p(a), fb = p(b);
            if (fa == 0)
                roots.push_back(a);
            if (fb == 0)
                roots.push_back(b);
            if (fa == 0 || fb == 0 || (fa < 0) == (fb < 0))
                continue;
            double root = 0;
            if (Refine(p, a, b, tolerance, iterations, root) < 0)
                notes << QStringLiteral("the root near %1 did not reach the tolerance in %2 "
                                        "iterations")
                             .arg(root, 0, 'g', 10)
                             .arg(iterations);
            roots.push_back(root);
        }
    }
    std::sort(roots.begin(), roots.end());
    std::vector<double> distinct;
    for (double root : roots) {
        if (distinct.empty() || root - distinct.back() > tolerance)
            distinct.push_back(root);
    }
    SolverOutcome outcome;
    outcome.Ok = true;
    QJsonArray list;
    QString& text = outcome.Protocol;
    text += QStringLiteral("Real roots in the search intervals (tolerance %1)\n\n").arg(tolerance);
    if (distinct.empty())
        text += QStringLiteral("No root changes the sign of the polynomial in the intervals.\n");
    for (size_t r = 0; r < distinct.size(); ++r) {
        list.append(distinct[r]);
        text += QStringLiteral("x%1 = %2   p(x) = %3\n")
                    .arg(r + 1)
                    .arg(distinct[r], 0, 'g', 14)
                    .arg(p(distinct[r]), 0, 'g', 4);
    }
    for (const QString& note : notes)
        text += QStringLiteral("Note: ") + note + u'\n';
    outcome.Json = {{QStringLiteral("roots"), list}};
    return outcome;
}

SolverOutcome MathSolvers::Differential(const ParsedData& data) {
    const double t0 = data.GeneralNumber(2), t1 = data.GeneralNumber(3);
    const int steps = static_cast<int>(data.GeneralNumber(4));
    const Eigen::MatrixXd a = TableMatrix(data, 2);
    const Eigen::MatrixXd initial = TableMatrix(data, 3);
    const Eigen::Index n = a.rows();
    // y' = A y + f is z' = M z for z = (y, 1); each step multiplies by exp(M h), so the values
    // at the step ends are exact up to rounding, whatever the step.
    Eigen::MatrixXd m = Eigen::MatrixXd::Zero(n + 1, n + 1);
    m.topLeftCorner(n, n) = a;
    m.topRightCorner(n, 1) = initial.col(1);
    const double h = (t1 - t0) / steps;
    const Eigen::MatrixXd step = (m * h).exp();
    Eigen::VectorXd z(n + 1);
    z.head(n) = initial.col(0);
    z[n] = 1;

    QJsonArray times, values;
    SolverOutcome outcome;
    outcome.Ok = true;
    QString report = QStringLiteral("y' = A y + f, %1 equations, from t = %2 to %3 in %4 steps\n\n")
                         .arg(n)
                         .arg(t0)
                         .arg(t1)
                         .arg(steps);
    report += QStringLiteral("           t");
    for (Eigen::Index i = 0; i < n; ++i)
        report += QStringLiteral("y%1").arg(i + 1).rightJustified(12);
    report += u'\n';
    for (int k = 0; k <= steps; ++k) {
        const double t = k == steps ? t1 : t0 + k * h;
        if (k > 0)
            z = step * z;
        if (!z.allFinite())
            return SolverOutcome::Failure(
                QStringLiteral("the solution grows beyond the range of numbers before t = %1")
                    .arg(t));
        times.append(t);
        values.append(Values(z.head(n)));
        report += StaticReport::Number(t) + VectorText(z.head(n));
    }
    outcome.Json = {{QStringLiteral("t"), times}, {QStringLiteral("y"), values}};
    outcome.Protocol = report;
    return outcome;
}
