#include "StiffnessSystem.h"

#include <cmath>

namespace {

// A pivot this much smaller than its diagonal term means the equation has lost all its
// stiffness in the elimination: the structure moves there without resistance.
constexpr double PivotRatio = 1e-10;

} // namespace

StiffnessSystem::StiffnessSystem(const BarModel& model) : model_(model) {
    elements_.reserve(model.Bars.size());
    for (const BarModel::Bar& bar : model.Bars)
        elements_.emplace_back(model, bar);
}

StiffnessSystem::~StiffnessSystem() = default;

QString StiffnessSystem::ComponentName(int component) const {
    static const char* const names[6] = {"ux", "uy", "uz", "rx", "ry", "rz"};
    return QString::fromLatin1(names[component]);
}

bool StiffnessSystem::Number(const std::vector<double>& diagonal) {
    const size_t nodes = model_.Nodes.size();
    map_.assign(6 * nodes, -1);
    std::vector<bool> fixed(6 * nodes, false);
    for (const BarModel::Support& support : model_.Supports) {
        for (int c = 0; c < 6; ++c)
            fixed[6 * static_cast<size_t>(support.Node) + c] = support.Fixed[c];
    }
    std::vector<bool> loaded(6 * nodes, false);
    for (const BarModel::NodalLoad& load : model_.NodalLoads) {
        for (int c = 0; c < 6; ++c)
            loaded[6 * static_cast<size_t>(load.Node) + c] =
                loaded[6 * static_cast<size_t>(load.Node) + c] || load.Load[c] != 0;
    }
    equations_ = 0;
    for (size_t node = 0; node < nodes; ++node) {
        for (int c : model_.Components) {
            const size_t index = 6 * node + c;
            if (fixed[index])
                continue;
            if (diagonal[index] <= 0) {
                // A rotation that no bar holds turns freely but moves nothing else; it is left
                // out unless a moment acts on it. A free translation is a mechanism.
                if (c >= 3 && !loaded[index])
                    continue;
                error_ = QStringLiteral("the structure is not held: node %1 can move in %2 "
                                        "without resistance (no bar or support holds it)")
                             .arg(node + 1)
                             .arg(ComponentName(c));
                return false;
            }
            map_[index] = equations_++;
        }
    }
    return true;
}

bool StiffnessSystem::Prepare() {
    std::vector<double> diagonal(6 * model_.Nodes.size(), 0.0);
    for (size_t bar = 0; bar < elements_.size(); ++bar) {
        const BarElement::Matrix12 k = elements_[bar].GlobalStiffness();
        const BarModel::Bar& b = model_.Bars[bar];
        for (int c = 0; c < 6; ++c) {
            diagonal[6 * static_cast<size_t>(b.I) + c] += k(c, c);
            diagonal[6 * static_cast<size_t>(b.J) + c] += k(c + 6, c + 6);
        }
    }
    if (!Number(diagonal))
        return false;
    if (equations_ == 0)
        return true; // every displacement fixed: the bars carry their fixed-end forces only

    std::vector<Eigen::Triplet<double>> triplets;
    const size_t perBar = model_.Components.size() * 2;
    triplets.reserve(elements_.size() * perBar * (perBar + 1) / 2);
    for (size_t bar = 0; bar < elements_.size(); ++bar)
        Scatter(static_cast<int>(bar), elements_[bar].GlobalStiffness(), triplets);
    stiffness_.resize(equations_, equations_);
    stiffness_.setFromTriplets(triplets.begin(), triplets.end());
    triplets.clear();
    triplets.shrink_to_fit();

    factors_ = std::make_unique<SparseCholesky>();
    // The equations of a node are numbered together: the factorisation orders the nodes.
    std::vector<int> nodeStarts;
    for (size_t node = 0; node < model_.Nodes.size(); ++node) {
        for (int c = 0; c < 6; ++c) {
            if (map_[6 * node + c] >= 0) {
                nodeStarts.push_back(map_[6 * node + c]);
                break;
            }
        }
    }
    nodeStarts.push_back(equations_);
    const SparseCholesky::Result result = factors_->Factor(stiffness_, nodeStarts);
    if (result == SparseCholesky::Result::NoMemory) {
        error_ = QStringLiteral("the stiffness equations cannot be solved (not enough memory)");
        return false;
    }
    // A pivot that is not positive stops the factorisation there; the pivots before it are
    // sound, so the search for the first lost pivot names the free component in either case.
    return CheckPivots(result == SparseCholesky::Result::NotPositive);
}

bool StiffnessSystem::CheckPivots(bool failed) {
    const Eigen::VectorXd pivots = factors_->Pivots();
    const std::vector<int> order = factors_->Order();
    const int sound = failed ? factors_->FailedPosition() : equations_;
    const Eigen::VectorXd diagonal = stiffness_.diagonal();
    for (int k = 0; k < equations_; ++k) {
        const int e = order[static_cast<size_t>(k)];
        if (k < sound && pivots[k] > PivotRatio * diagonal[e] && std::isfinite(pivots[k]))
            continue;
        for (size_t index = 0; index < map_.size(); ++index) {
            if (map_[index] != e)
                continue;
            error_ = QStringLiteral("the structure is a mechanism or not supported enough: "
                                    "node %1 can move in %2 without resistance")
                         .arg(index / 6 + 1)
                         .arg(ComponentName(static_cast<int>(index % 6)));
            return false;
        }
    }
    return true;
}

Eigen::MatrixXd StiffnessSystem::Solve(const Eigen::MatrixXd& loads) const {
    if (equations_ == 0)
        return Eigen::MatrixXd::Zero(0, loads.cols());
    return factors_->Solve(loads);
}

Eigen::VectorXd StiffnessSystem::HalfSolve(const Eigen::VectorXd& x) const {
    return factors_->HalfSolve(x);
}

Eigen::VectorXd StiffnessSystem::HalfSolveTransposed(const Eigen::VectorXd& x) const {
    return factors_->HalfSolveTransposed(x);
}

BarElement::Vector12 StiffnessSystem::EndDisplacements(int bar,
                                                       const Eigen::VectorXd& solution) const {
    const BarModel::Bar& b = model_.Bars[static_cast<size_t>(bar)];
    BarElement::Vector12 u = BarElement::Vector12::Zero();
    for (int c = 0; c < 6; ++c) {
        const int ei = Equation(b.I, c), ej = Equation(b.J, c);
        u(c) = ei >= 0 ? solution[ei] : 0;
        u(c + 6) = ej >= 0 ? solution[ej] : 0;
    }
    return u;
}

void StiffnessSystem::Scatter(int bar, const BarElement::Matrix12& matrix,
                              std::vector<Eigen::Triplet<double>>& triplets) const {
    const BarModel::Bar& b = model_.Bars[static_cast<size_t>(bar)];
    int equation[12];
    for (int c = 0; c < 6; ++c) {
        equation[c] = Equation(b.I, c);
        equation[c + 6] = Equation(b.J, c);
    }
    for (int r = 0; r < 12; ++r) {
        if (equation[r] < 0)
            continue;
        for (int s = 0; s < 12; ++s) {
            if (equation[s] < equation[r] || matrix(r, s) == 0)
                continue;
            triplets.emplace_back(equation[r], equation[s], matrix(r, s));
        }
    }
}
