// The characteristic values of -(P y')' + Q y = lambda R y on [a, b] with the conditions
// alpha y + beta y' = 0 at each end (problem 27).
#include "MathSolvers.h"
#include "StaticReport.h"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Coefficients {
    std::vector<std::pair<int, double>> Terms[3]; // P, Q, R

    double Value(int function, double x) const {
        double sum = 0;
        for (const auto& [power, c] : Terms[function])
            sum += c * std::pow(x, power);
        return sum;
    }
};

struct Problem {
    double A = 0, B = 1;
    Coefficients C;
    double Alpha[2] = {1, 1}, Beta[2] = {0, 0};
};

// The `count` lowest characteristic values of the symmetric tridiagonal matrix with diagonal
// `d` and off-diagonal `sub`, ascending, by bisection on Sturm counts: the pivots of T - x I
// that are negative count the values below x. Each value costs a few dozen passes over the
// matrix, where the QR iteration for all values costs the square of its order.
Eigen::VectorXd LowestByBisection(const Eigen::VectorXd& d, const Eigen::VectorXd& sub, int count) {
    const Eigen::Index n = d.size();
    double lo = std::numeric_limits<double>::infinity(), hi = -lo, largestSub = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double radius =
            (i > 0 ? std::abs(sub[i - 1]) : 0.0) + (i + 1 < n ? std::abs(sub[i]) : 0.0);
        lo = std::min(lo, d[i] - radius);
        hi = std::max(hi, d[i] + radius);
        if (i + 1 < n)
            largestSub = std::max(largestSub, std::abs(sub[i]));
    }
    // A pivot this small counts as negative, as in LAPACK's bisection, so no division is by 0.
    const double smallest =
        std::numeric_limits<double>::min() * std::max(1.0, largestSub * largestSub);
    const auto below = [&](double x) {
        int negative = 0;
        double q = 1;
        for (Eigen::Index i = 0; i < n; ++i) {
            q = d[i] - x - (i > 0 ? sub[i - 1] * sub[i - 1] / q : 0.0);
            if (std::abs(q) < smallest)
                q = -smallest;
            negative += q < 0;
        }
        return negative;
    };
    // As fine as the rounding of the matrix allows: what the QR iteration reaches too.
    const double resolution =
        2 * std::numeric_limits<double>::epsilon() * std::max(std::abs(lo), std::abs(hi));
    Eigen::VectorXd values(count);
    double start = lo;
    for (int k = 0; k < count; ++k) {
        double a = start, b = hi;
        // Each halving gains a bit; the double range holds fewer than 2100 of them.
        for (int halving = 0; halving < 2200 && b - a > resolution; ++halving) {
            const double middle = a + (b - a) / 2;
            if (below(middle) > k)
                b = middle;
            else
                a = middle;
        }
        values[k] = a + (b - a) / 2;
        start = a;
    }
    return values;
}

// The values on a mesh of `intervals` linear elements with the R term lumped at the nodes:
// a symmetric tridiagonal problem once scaled by the lumped R. The `wanted` lowest values, or
// all when the mesh has fewer; throws when P or R is not positive.
Eigen::VectorXd MeshValues(const Problem& p, int intervals, int wanted) {
    const int nodes = intervals + 1;
    Eigen::VectorXd diagonal = Eigen::VectorXd::Zero(nodes), off = Eigen::VectorXd::Zero(nodes);
    Eigen::VectorXd mass = Eigen::VectorXd::Zero(nodes);
    const double h = (p.B - p.A) / intervals;
    // Three-point Gauss rule on each element.
    const double g[3] = {-std::sqrt(0.6), 0, std::sqrt(0.6)};
    const double w[3] = {5.0 / 9, 8.0 / 9, 5.0 / 9};
    for (int e = 0; e < intervals; ++e) {
        const double x0 = p.A + e * h;
        double kp = 0, q00 = 0, q01 = 0, q11 = 0, r0 = 0, r1 = 0;
        for (int i = 0; i < 3; ++i) {
            const double s = (g[i] + 1) / 2; // 0..1 along the element
            const double x = x0 + s * h;
            const double weight = w[i] * h / 2;
            const double P = p.C.Value(0, x), Q = p.C.Value(1, x), R = p.C.Value(2, x);
            if (P <= 0 || R <= 0)
                throw SolverError(QStringLiteral("%1 is not positive at x = %2; the problem needs "
                                                 "P > 0 and R > 0 on the whole interval")
                                      .arg(QChar(P <= 0 ? u'P' : u'R'))
                                      .arg(x));
            kp += P * weight / (h * h);
            q00 += Q * (1 - s) * (1 - s) * weight;
            q01 += Q * (1 - s) * s * weight;
            q11 += Q * s * s * weight;
            r0 += R * (1 - s) * weight;
            r1 += R * s * weight;
        }
        diagonal[e] += kp + q00;
        diagonal[e + 1] += kp + q11;
        off[e] += -kp + q01;
        mass[e] += r0;
        mass[e + 1] += r1;
    }
    // Robin ends add their boundary terms; an end with beta = 0 holds y = 0 and is left out.
    const bool fixedStart = p.Beta[0] == 0, fixedEnd = p.Beta[1] == 0;
    if (!fixedStart)
        diagonal[0] -= p.C.Value(0, p.A) * p.Alpha[0] / p.Beta[0];
    if (!fixedEnd)
        diagonal[nodes - 1] += p.C.Value(0, p.B) * p.Alpha[1] / p.Beta[1];
    const int first = fixedStart ? 1 : 0;
    const int last = fixedEnd ? nodes - 2 : nodes - 1;
    const int size = last - first + 1;
    Eigen::VectorXd d(size), sub(std::max(0, size - 1));
    for (int i = 0; i < size; ++i) {
        const int node = first + i;
        d[i] = diagonal[node] / mass[node];
        if (i + 1 < size)
            sub[i] = off[node] / std::sqrt(mass[node] * mass[node + 1]);
    }
    if (wanted <= size / 8)
        return LowestByBisection(d, sub, wanted);
    Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver;
    solver.computeFromTridiagonal(d, sub, Eigen::EigenvaluesOnly);
    return Eigen::VectorXd(solver.eigenvalues().head(std::min(wanted, size)));
}

} // namespace

SolverOutcome MathSolvers::SturmLiouville(const ParsedData& data) {
    Problem p;
    p.A = data.GeneralNumber(2);
    p.B = data.GeneralNumber(3);
    const int wanted = static_cast<int>(data.GeneralNumber(4));
    const int intervals = static_cast<int>(data.GeneralNumber(9));
    const Eigen::MatrixXd terms = TableMatrix(data, 2);
    for (Eigen::Index r = 0; r < terms.rows(); ++r)
        p.C.Terms[static_cast<int>(terms(r, 0))].emplace_back(static_cast<int>(terms(r, 1)),
                                                              terms(r, 2));
    const Eigen::MatrixXd conditions = TableMatrix(data, 3);
    for (int end = 0; end < 2; ++end) {
        p.Alpha[end] = conditions(end, 0);
        p.Beta[end] = conditions(end, 1);
    }
    // The mesh of the file and one twice as fine: linear elements converge with h^2, so the
    // extrapolation (4 fine - coarse) / 3 gains two orders.
    const Eigen::VectorXd coarse = MeshValues(p, intervals, wanted);
    const Eigen::VectorXd fine = MeshValues(p, 2 * intervals, wanted);
    if (coarse.size() < wanted)
        throw SolverError(
            QStringLiteral("the mesh of %1 intervals has only %2 values; give more intervals")
                .arg(intervals)
                .arg(coarse.size()));

    SolverOutcome outcome;
    QJsonArray values;
    QString& text = outcome.Protocol;
    text += QStringLiteral("-(P y')' + Q y = lambda R y on [%1, %2], %3 mesh intervals and %4 "
                           "for the extrapolation\n\n   k        lambda      change\n")
                .arg(p.A)
                .arg(p.B)
                .arg(intervals)
                .arg(2 * intervals);
    for (int k = 0; k < wanted; ++k) {
        const double value = (4 * fine[k] - coarse[k]) / 3;
        values.append(value);
        text += QString::number(k + 1).rightJustified(4) + u' ' +
                QString::number(value, 'g', 12).rightJustified(14) +
                StaticReport::Number(value - fine[k]) + u'\n';
    }
    text += QStringLiteral("\n\"change\" is what the extrapolation added to the fine mesh's "
                           "value: an estimate of the discretisation error.\n");
    outcome.Json = {{QStringLiteral("values"), values}};
    return outcome;
}
