// The mathematics problems of analysis: Fourier coefficients (24), roots of a polynomial (25),
// linear differential equations (26) and the Sturm-Liouville problem (27).
#include "MathSolvers.h"
#include "StaticReport.h"

#include <Eigen/Eigenvalues>
#include <Eigen/QR>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
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
    Terms Derived() const {
        Terms d;
        for (const auto& [power, c] : List) {
            if (power > 0 && c != 0)
                d.List.emplace_back(power - 1, c * power);
        }
        return d;
    }
    int Degree() const {
        int degree = 0;
        for (const auto& [power, c] : List) {
            if (c != 0)
                degree = std::max(degree, power);
        }
        return degree;
    }
    // The size of the terms at x: the rounding of p(x) is a few ulps of this.
    double Magnitude(double x) const {
        double sum = 0;
        for (const auto& [power, c] : List)
            sum += std::abs(c * std::pow(x, power));
        return sum;
    }
};

// One root in [a, b] where the polynomial changes sign: Newton steps while they stay inside
// the bracket and at least halve the step before, bisection otherwise, so that the bracket
// shrinks however far the start lies from the root. Returns the iterations used, or -1 when
// not converged; `a` and `b` are left as the last bracket.
int Refine(const Terms& p, double& a, double& b, double tolerance, int iterations, double& root) {
    const double fa = p(a);
    double x = (a + b) / 2;
    double step = b - a, stepBefore = step;
    for (int i = 1; i <= iterations; ++i) {
        const double fx = p(x);
        if (fx == 0) {
            root = x;
            return i;
        }
        if ((fx < 0) == (fa < 0))
            a = x;
        else
            b = x;
        const double slope = p.Derivative(x);
        double next = slope != 0 ? x - fx / slope : (a + b) / 2;
        if (!(next > a && next < b) || std::abs(2 * fx) > std::abs(stepBefore * slope)) {
            next = (a + b) / 2;
            stepBefore = step;
            step = (b - a) / 2;
        } else {
            stepBefore = step;
            step = fx / slope;
        }
        // A bracket of a few units in the last place cannot shrink further.
        const double resolution =
            4 * std::numeric_limits<double>::epsilon() * std::max(std::abs(a), std::abs(b));
        if (std::abs(next - x) <= tolerance || b - a <= std::max(tolerance, resolution)) {
            root = next;
            return i;
        }
        x = next;
    }
    root = x;
    return -1;
}

// Every real root of p lies within this distance of 0 (Cauchy's bound), so a search interval
// can be clipped to it: a root is then bracketed closely however wide the interval given.
double RootBound(const Terms& p) {
    const int degree = p.Degree();
    double leading = 0;
    for (const auto& [power, c] : p.List) {
        if (power == degree)
            leading = c;
    }
    double largest = 0;
    for (const auto& [power, c] : p.List) {
        if (power < degree)
            largest = std::max(largest, std::abs(c / leading));
    }
    // A little beyond the bound, so that rounding does not cut a root at its very end.
    return (1 + largest) * (1 + 1e-9);
}

// Whether x is a root to the tolerance: p changes sign or vanishes within it, or |p(x)| is no
// larger than the tolerance times the slope nearby plus the rounding of its terms.
bool IsRoot(const Terms& p, double x, double tolerance) {
    const double value = p(x);
    if (!std::isfinite(value))
        return false;
    const double left = p(x - tolerance), right = p(x + tolerance);
    if (value == 0 || (left < 0) != (right < 0) || left == 0 || right == 0)
        return true;
    const double slope = std::max({std::abs(p.Derivative(x - tolerance)), std::abs(p.Derivative(x)),
                                   std::abs(p.Derivative(x + tolerance))});
    const double rounding = 64 * std::numeric_limits<double>::epsilon() * p.Magnitude(x);
    return std::abs(value) <= tolerance * slope + rounding;
}

// Sorted roots, each once: two roots are one when they lie within the tolerance or when the
// polynomial between them is no larger than its rounding, as it is around a root of high
// multiplicity, where rounding alone changes the sign many times. A cluster is its mean.
std::vector<double> Distinct(const Terms& p, std::vector<double> roots, double tolerance) {
    std::sort(roots.begin(), roots.end());
    std::vector<double> distinct;
    double sum = 0;
    int count = 0;
    for (size_t k = 0; k < roots.size(); ++k) {
        sum += roots[k];
        ++count;
        const bool last = k + 1 == roots.size();
        if (!last) {
            const double middle = (roots[k] + roots[k + 1]) / 2;
            const double rounding =
                64 * std::numeric_limits<double>::epsilon() * p.Magnitude(middle);
            if (roots[k + 1] - roots[k] <= tolerance || std::abs(p(middle)) <= rounding)
                continue;
        }
        distinct.push_back(sum / count);
        sum = 0;
        count = 0;
    }
    return distinct;
}

struct RootSearch {
    double Tolerance = 0;
    int Iterations = 0;
    std::vector<double> Roots;
    std::vector<double> Touching; // roots where the sign does not change
    // Brackets in which a root was not reached within the iterations: from, to, the last
    // estimate.
    std::vector<std::array<double, 3>> Unconverged;
};

// The real roots of p in [from, to], cut first at the given points. Between two neighbouring
// roots of p' the polynomial is monotone, so each such piece holds at most one root, found by
// its change of sign; a root of even multiplicity is an extremum where p touches 0, so the
// roots of p' (found the same way, recursively) are tested for it. This finds every root the
// tolerance can tell apart, whatever the subdivision.
std::vector<double> RealRoots(const Terms& p, double from, double to,
                              const std::vector<double>& cuts, RootSearch& search, bool outermost) {
    std::vector<double> found;
    if (p.Degree() == 0)
        return found;
    const double bound = RootBound(p);
    from = std::max(from, -bound);
    to = std::min(to, bound);
    if (from > to)
        return found;
    const Terms slope = p.Derived();
    std::vector<double> points = cuts;
    if (slope.Degree() > 0) {
        RootSearch inner{search.Tolerance, search.Iterations, {}, {}, {}};
        const std::vector<double> extrema = RealRoots(slope, from, to, {}, inner, false);
        for (double x : extrema) {
            points.push_back(x);
            // p' and p'' at x: an extremum within the tolerance of 0 is a touching root.
            const double reach = search.Tolerance * std::max(std::abs(slope(x - search.Tolerance)),
                                                             std::abs(slope(x + search.Tolerance)));
            const double rounding = 64 * std::numeric_limits<double>::epsilon() * p.Magnitude(x);
            if (std::abs(p(x)) <= reach + rounding) {
                found.push_back(x);
                if (outermost)
                    search.Touching.push_back(x);
            }
        }
    }
    points.push_back(from);
    points.push_back(to);
    std::sort(points.begin(), points.end());
    points.erase(
        std::remove_if(points.begin(), points.end(), [&](double x) { return x < from || x > to; }),
        points.end());
    for (size_t k = 0; k < points.size(); ++k) {
        const double a = points[k];
        const double fa = p(a);
        if (fa == 0)
            found.push_back(a);
        if (k + 1 == points.size())
            break;
        const double b = points[k + 1];
        const double fb = p(b);
        if (fa == 0 || fb == 0 || (fa < 0) == (fb < 0) || b <= a)
            continue;
        double root = 0, left = a, right = b;
        if (Refine(p, left, right, search.Tolerance, search.Iterations, root) < 0 && outermost)
            search.Unconverged.push_back({left, right, root});
        found.push_back(root);
    }
    return Distinct(p, std::move(found), search.Tolerance);
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
        throw SolverError(
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

namespace {

// The roots found in each search interval, cut into `parts`. The subdivision points stay cuts
// of the search, as the data asks; the search no longer depends on them to find a root.
std::vector<double> SearchIntervals(const Terms& p, const Eigen::MatrixXd& intervals, int parts,
                                    RootSearch& search) {
    std::vector<double> roots;
    for (Eigen::Index i = 0; i < intervals.rows(); ++i) {
        const double from = intervals(i, 0), to = intervals(i, 1);
        std::vector<double> cuts;
        for (int k = 1; k < parts; ++k)
            cuts.push_back(from + (to - from) * k / parts);
        const std::vector<double> found = RealRoots(p, from, to, cuts, search, true);
        roots.insert(roots.end(), found.begin(), found.end());
    }
    return roots;
}

// Why the roots found cannot be listed, or nothing. A root is listed only when it is one: an
// estimate that did not reach the tolerance is kept with a note when it still passes as a
// root (IsRoot), and otherwise the run fails rather than give a point that is no root and lose
// the one in its bracket.
std::optional<SolverOutcome> Unsound(const Terms& p, const std::vector<double>& distinct,
                                     const RootSearch& search, QStringList& notes) {
    for (const auto& [left, right, estimate] : search.Unconverged) {
        if (!IsRoot(p, estimate, search.Tolerance))
            throw SolverError(
                QStringLiteral("the root between %1 and %2 was not found to the tolerance in %3 "
                               "iterations; allow more iterations (item 3 of table 1)")
                    .arg(left, 0, 'g', 14)
                    .arg(right, 0, 'g', 14)
                    .arg(search.Iterations));
        notes << QStringLiteral("the root near %1 did not reach the tolerance in %2 iterations")
                     .arg(estimate, 0, 'g', 10)
                     .arg(search.Iterations);
    }
    for (double root : distinct) {
        if (!std::isfinite(p(root)))
            throw SolverError(
                QStringLiteral("the polynomial leaves the range of numbers near x = %1, so its "
                               "roots there cannot be told; narrow the search interval or scale "
                               "the coefficients")
                    .arg(root, 0, 'g', 14));
        if (!IsRoot(p, root, search.Tolerance))
            throw SolverError(
                QStringLiteral("the search ended at x = %1, where the polynomial is %2, not 0; "
                               "allow more iterations (item 3 of table 1) or a larger tolerance")
                    .arg(root, 0, 'g', 14)
                    .arg(p(root), 0, 'g', 4));
    }
    return std::nullopt;
}

SolverOutcome ListRoots(const Terms& p, const std::vector<double>& distinct,
                        const RootSearch& search, const QStringList& notes) {
    const double tolerance = search.Tolerance;
    const auto near = [tolerance](const std::vector<double>& list, double x) {
        return std::any_of(list.begin(), list.end(),
                           [&](double y) { return std::abs(x - y) <= tolerance; });
    };
    SolverOutcome outcome;
    QJsonArray list;
    QString& text = outcome.Protocol;
    text += QStringLiteral("Real roots in the search intervals (tolerance %1)\n\n").arg(tolerance);
    if (distinct.empty())
        text += QStringLiteral("The polynomial has no real root in the intervals.\n");
    for (size_t r = 0; r < distinct.size(); ++r) {
        list.append(distinct[r]);
        text += QStringLiteral("x%1 = %2   p(x) = %3%4\n")
                    .arg(r + 1)
                    .arg(distinct[r], 0, 'g', 14)
                    .arg(p(distinct[r]), 0, 'g', 4)
                    .arg(near(search.Touching, distinct[r])
                             ? QStringLiteral("   (the sign does not change: a root of even "
                                              "multiplicity)")
                             : QString());
    }
    for (const QString& note : notes)
        text += QStringLiteral("Note: ") + note + u'\n';
    outcome.Json = {{QStringLiteral("roots"), list}};
    return outcome;
}

} // namespace

SolverOutcome MathSolvers::Polynomial(const ParsedData& data) {
    const double tolerance = data.GeneralNumber(2);
    const int iterations = static_cast<int>(data.GeneralNumber(3));
    const int parts = static_cast<int>(data.GeneralNumber(4));
    Terms p;
    const Eigen::MatrixXd terms = TableMatrix(data, 2);
    for (Eigen::Index r = 0; r < terms.rows(); ++r)
        p.List.emplace_back(static_cast<int>(terms(r, 0)), terms(r, 1));
    RootSearch search{tolerance, iterations, {}, {}, {}};
    std::vector<double> roots = SearchIntervals(p, TableMatrix(data, 3), parts, search);
    const std::vector<double> distinct = Distinct(p, std::move(roots), tolerance);
    QStringList notes;
    if (std::optional<SolverOutcome> refusal = Unsound(p, distinct, search, notes))
        return *refusal;
    return ListRoots(p, distinct, search, notes);
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
    if (!std::isfinite(t1 - t0))
        throw SolverError::AtLine(
            data.GeneralLine(3),
            QStringLiteral("the interval from t0 = %1 to t1 = %2 is longer than the largest "
                           "number; integrate over a shorter interval")
                .arg(t0, 0, 'g', 12)
                .arg(t1, 0, 'g', 12));
    const double h = (t1 - t0) / steps;
    const Eigen::MatrixXd step = (m * h).exp();
    Eigen::VectorXd z(n + 1);
    z.head(n) = initial.col(0);
    z[n] = 1;

    QJsonArray times, values;
    SolverOutcome outcome;
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
            throw SolverError(
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
