#include "StiffnessSystem.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

void StiffnessSystem::Assemble() {
    // The pattern is that of the nodes: equations are numbered node by node, so the upper
    // triangle of column e holds all equations of the lower-numbered nodes joined to e's node
    // by a bar, then those of e's own node up to e. The bars' matrices are then added in
    // place; a sort of millions of triplets is not needed.
    const size_t nodes = model_.Nodes.size();
    std::vector<int> first(nodes + 1, 0); // the first equation of each node
    for (size_t node = 0; node < nodes; ++node) {
        int count = 0;
        for (int c = 0; c < 6; ++c)
            count += map_[6 * node + c] >= 0 ? 1 : 0;
        first[node + 1] = first[node] + count;
    }
    // Per node, the lower-numbered nodes joined to it, ascending.
    std::vector<int> start(nodes + 1, 0), joined;
    for (const BarModel::Bar& b : model_.Bars) {
        if (b.I != b.J)
            ++start[static_cast<size_t>(std::max(b.I, b.J)) + 1];
    }
    for (size_t node = 0; node < nodes; ++node)
        start[node + 1] += start[node];
    joined.resize(static_cast<size_t>(start[nodes]));
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (const BarModel::Bar& b : model_.Bars) {
        if (b.I != b.J)
            joined[static_cast<size_t>(fill[static_cast<size_t>(std::max(b.I, b.J))]++)] =
                std::min(b.I, b.J);
    }
    std::vector<int> unique(nodes + 1, 0);
    for (size_t node = 0; node < nodes; ++node) {
        const auto begin = joined.begin() + start[node], end = joined.begin() + start[node + 1];
        std::sort(begin, end);
        const auto last = std::unique(begin, end);
        std::copy(begin, last, joined.begin() + unique[node]);
        unique[node + 1] = unique[node] + static_cast<int>(last - begin);
    }
    joined.resize(static_cast<size_t>(unique[nodes]));
    // Per joined pair, how many rows of the column come before that node's rows.
    std::vector<int> before(joined.size()), above(nodes, 0);
    for (size_t node = 0; node < nodes; ++node) {
        int rows = 0;
        for (int k = unique[node]; k < unique[node + 1]; ++k) {
            before[static_cast<size_t>(k)] = rows;
            const auto other = static_cast<size_t>(joined[static_cast<size_t>(k)]);
            rows += first[other + 1] - first[other];
        }
        above[node] = rows;
    }

    stiffness_.resize(equations_, equations_);
    int* const outer = stiffness_.outerIndexPtr();
    outer[0] = 0;
    for (size_t node = 0; node < nodes; ++node) {
        for (int e = first[node]; e < first[node + 1]; ++e)
            outer[e + 1] = outer[e] + above[node] + (e - first[node] + 1);
    }
    stiffness_.resizeNonZeros(outer[equations_]);
    int* const inner = stiffness_.innerIndexPtr();
    double* const values = stiffness_.valuePtr();
    std::fill(values, values + outer[equations_], 0.0);
    for (size_t node = 0; node < nodes; ++node) {
        for (int e = first[node]; e < first[node + 1]; ++e) {
            int* row = inner + outer[e];
            for (int k = unique[node]; k < unique[node + 1]; ++k) {
                const auto other = static_cast<size_t>(joined[static_cast<size_t>(k)]);
                for (int r = first[other]; r < first[other + 1]; ++r)
                    *row++ = r;
            }
            for (int r = first[node]; r <= e; ++r)
                *row++ = r;
        }
    }

    for (size_t bar = 0; bar < elements_.size(); ++bar) {
        const BarModel::Bar& b = model_.Bars[bar];
        const BarElement::Matrix12 k = elements_[bar].GlobalStiffness();
        const int low = std::min(b.I, b.J), high = std::max(b.I, b.J);
        // Where the rows of the lower node start in the columns of the higher one.
        int offset = 0;
        if (low != high) {
            const auto begin = joined.begin() + unique[static_cast<size_t>(high)];
            const auto end = joined.begin() + unique[static_cast<size_t>(high) + 1];
            offset =
                before[static_cast<size_t>(std::lower_bound(begin, end, low) - joined.begin())];
        }
        int equation[12];
        for (int c = 0; c < 6; ++c) {
            equation[c] = Equation(b.I, c);
            equation[c + 6] = Equation(b.J, c);
        }
        for (int r = 0; r < 12; ++r) {
            const int er = equation[r];
            if (er < 0)
                continue;
            for (int c = 0; c < 12; ++c) {
                const int ec = equation[c];
                if (ec < er)
                    continue;
                const int columnNode = c < 6 ? b.I : b.J;
                const int rowNode = r < 6 ? b.I : b.J;
                const int position = rowNode == columnNode
                                         ? above[static_cast<size_t>(columnNode)] +
                                               (er - first[static_cast<size_t>(columnNode)])
                                         : offset + (er - first[static_cast<size_t>(rowNode)]);
                values[outer[ec] + position] += k(r, c);
            }
        }
    }
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

    Assemble();

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

double StiffnessSystem::Residual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const {
    if (equations_ == 0)
        return 0;
    const Eigen::MatrixXd r = stiffness_.selfadjointView<Eigen::Upper>() * x - f;
    double worst = 0;
    for (Eigen::Index column = 0; column < r.cols(); ++column) {
        const double off = r.col(column).lpNorm<Eigen::Infinity>();
        const double load = f.col(column).lpNorm<Eigen::Infinity>();
        if (!std::isfinite(off) || !x.col(column).allFinite())
            return std::numeric_limits<double>::infinity();
        if (off > 0)
            worst =
                std::max(worst, load > 0 ? off / load : std::numeric_limits<double>::infinity());
    }
    return worst;
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
