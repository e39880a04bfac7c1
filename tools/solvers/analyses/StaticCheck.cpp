#include "StaticCheck.h"

#include "FieldReport.h"
#include "LoadBalance.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A truss node whose bars span less than this share of their widest direction across some
// free direction is held there by nothing but rounding.
constexpr double FlatShare = 1e-6;

bool AllFinite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool AllFinite(const StaticResults& results) {
    for (const StaticResults::Case& c : results.Cases) {
        if (!AllFinite(c.Displacements) || !AllFinite(c.ArcDisplacements) || !AllFinite(c.Forces))
            return false;
        for (const StaticResults::Reaction& reaction : c.Reactions) {
            if (!AllFinite(reaction.Values))
                return false;
        }
    }
    return true;
}

double LargestLoad(const BarModel& model) {
    double largest = 0;
    for (const BarModel::NodalLoad& load : model.NodalLoads) {
        for (double v : load.Load)
            largest = std::max(largest, std::abs(v));
    }
    for (const BarModel::ElementLoad& load : model.ElementLoads) {
        for (const auto* values : {&load.Q, &load.QB, &load.Moment})
            for (double v : *values)
                largest = std::max(largest, std::abs(v));
    }
    return largest;
}

// The first truss node that a free translation moves across all its bars: bars in one plane
// (space trusses) or on one line (plane trusses) through it; 0 when there is none.
int FlatTrussNode(const BarModel& model) {
    if (!model.IsTruss())
        return 0;
    std::vector<Eigen::Matrix3d> spread(model.Nodes.size(), Eigen::Matrix3d::Zero());
    for (const BarModel::Bar& bar : model.Bars) {
        Eigen::Vector3d d = Eigen::Vector3d(model.Nodes[static_cast<size_t>(bar.J)].data()) -
                            Eigen::Vector3d(model.Nodes[static_cast<size_t>(bar.I)].data());
        if (d.norm() <= 0)
            continue;
        d.normalize();
        spread[static_cast<size_t>(bar.I)] += d * d.transpose();
        spread[static_cast<size_t>(bar.J)] += d * d.transpose();
    }
    std::vector<std::array<bool, 6>> fixed(model.Nodes.size(), std::array<bool, 6>{});
    for (const BarModel::Support& support : model.Supports)
        fixed[static_cast<size_t>(support.Node)] = support.Fixed;
    for (size_t node = 0; node < model.Nodes.size(); ++node) {
        std::vector<int> free;
        for (int c : model.Components) {
            if (c < 3 && !fixed[node][static_cast<size_t>(c)])
                free.push_back(c);
        }
        if (free.empty())
            continue;
        Eigen::MatrixXd s(free.size(), free.size());
        for (size_t a = 0; a < free.size(); ++a) {
            for (size_t b = 0; b < free.size(); ++b)
                s(static_cast<Eigen::Index>(a), static_cast<Eigen::Index>(b)) =
                    spread[node](free[a], free[b]);
        }
        const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(s);
        const Eigen::VectorXd values = solver.eigenvalues();
        if (values.maxCoeff() > 0 && values.minCoeff() <= FlatShare * values.maxCoeff())
            return static_cast<int>(node) + 1;
    }
    return 0;
}

} // namespace

QString StaticCheck::Share(double value) {
    return std::isfinite(value) ? QString::number(value, 'g', 3) : QStringLiteral("beyond measure");
}

QString StaticCheck::LikelyCause(const BarModel& model) {
    const double load = LargestLoad(model);
    if (!(load < LoadBalance::HugeLoad))
        return QStringLiteral("loads of up to %1 %2 are too large to calculate with; give them in "
                              "a larger unit")
            .arg(load, 0, 'g', 4)
            .arg(model.ForceUnit);
    if (const int node = FlatTrussNode(model)) {
        return QStringLiteral("node %1: its bars all lie in one %2, so nothing holds it across "
                              "that %2")
            .arg(node)
            .arg(model.IsPlane() ? QStringLiteral("line") : QStringLiteral("plane"));
    }
    double shortest = std::numeric_limits<double>::infinity(), longest = 0;
    int element = 0;
    for (const BarModel::Bar& bar : model.Bars) {
        const double length = (Eigen::Vector3d(model.Nodes[static_cast<size_t>(bar.J)].data()) -
                               Eigen::Vector3d(model.Nodes[static_cast<size_t>(bar.I)].data()))
                                  .norm();
        longest = std::max(longest, length);
        if (length < shortest) {
            shortest = length;
            element = bar.Element + 1;
        }
    }
    if (element == 0)
        return QStringLiteral("the structure has no bars");
    return QStringLiteral("the shortest bar, element %1, is %2 %3 long (the longest %4 %3)")
        .arg(element)
        .arg(shortest, 0, 'g', 4)
        .arg(model.LengthUnit)
        .arg(longest, 0, 'g', 4);
}

QString StaticCheck::Verdict(const BarModel& model, const StaticResults& results) {
    QString fault;
    if (!AllFinite(results) || !std::isfinite(results.Residual)) {
        fault = QStringLiteral("the answer is not a finite number");
    } else if (results.Residual > ResidualTolerance) {
        fault = QStringLiteral("the equations are not solved: |K u - f| is %1 of the loads "
                               "(at most %2 allowed)")
                    .arg(Share(results.Residual))
                    .arg(ResidualTolerance);
    } else if (results.Imbalance > BalanceTolerance) {
        fault = QStringLiteral("the reactions do not balance the loads: %1 of the loads out of "
                               "balance (at most %2 allowed)")
                    .arg(Share(results.Imbalance))
                    .arg(BalanceTolerance);
    } else {
        return {};
    }
    QString cause =
        LoadBalance::LoadCause(results.LargestLoad, results.SmallestLoad, model.ForceUnit);
    return fault + QStringLiteral("; likely cause: ") +
           (cause.isEmpty() ? LikelyCause(model) : cause);
}

QString StaticCheck::Summary(const StaticResults& results) {
    return QStringLiteral("Check: |K u - f| is %1 of the loads (at most %2), loads and reactions "
                          "out of balance by %3 of the loads (at most %4).\n")
        .arg(Share(results.Residual))
        .arg(ResidualTolerance)
        .arg(Share(results.Imbalance))
        .arg(BalanceTolerance);
}

QString StaticCheck::FieldVerdict(const FieldResults& results, const QString& forceUnit,
                                  double backward) {
    if (const QString what = FieldReport::NonFinite(results); !what.isEmpty())
        return QStringLiteral("%1 are not finite numbers, so nothing is given; the model is nearly "
                              "a mechanism or its values are too large to compute with")
            .arg(what);
    if (!(results.Residual <= backward) || !(results.Imbalance <= BalanceTolerance)) {
        QString cause =
            LoadBalance::LoadCause(results.LargestLoad, results.SmallestLoad, forceUnit);
        if (cause.isEmpty())
            cause = QStringLiteral("the model is nearly a mechanism or has elements far too thin");
        return QStringLiteral("the answer does not check (|K u - f| is %1 of |K| |u| + |f|, loads "
                              "and reactions out of balance by %2 of the loads), so nothing is "
                              "given; likely cause: %3")
            .arg(Share(results.Residual), Share(results.Imbalance), cause);
    }
    return {};
}

QString StaticCheck::MeshSummary(double residual, double imbalance, double backward) {
    return QStringLiteral("Check: |K u - f| is %1 of |K| |u| + |f| (at most %2), loads and "
                          "reactions out of balance by %3 of the loads (at most %4).\n")
        .arg(Share(residual))
        .arg(backward)
        .arg(Share(imbalance))
        .arg(BalanceTolerance);
}
