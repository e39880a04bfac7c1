#include "EquationSystem.h"

#include "Parallel.h"
#include "SolverError.h"

#include <QElapsedTimer>
#include <cmath>
#include <limits>

namespace {

// A pivot this much smaller than its diagonal term means the equation has lost all its
// stiffness in the elimination: the model moves there without resistance.
constexpr double PivotRatio = 1e-10;

} // namespace

EquationSystem::EquationSystem(int nodes, std::vector<const Element*> elements,
                               DofNumbering::Wording wording)
    : elements_(std::move(elements)), nodes_(static_cast<size_t>(nodes)),
      wording_(std::move(wording)) {}

EquationSystem::~EquationSystem() = default;

std::vector<double> EquationSystem::StiffnessDiagonal() const {
    std::vector<double> diagonal(6 * nodes_, 0.0);
    for (const Element* element : elements_) {
        const Element::Matrix k = element->Stiffness();
        const std::span<const int> nodes = element->Nodes(), components = element->Components();
        for (size_t a = 0; a < nodes.size(); ++a) {
            const size_t node = static_cast<size_t>(nodes[a]);
            for (size_t c = 0; c < components.size(); ++c) {
                const auto i = static_cast<Eigen::Index>(a * components.size() + c);
                diagonal[6 * node + static_cast<size_t>(components[c])] += k(i, i);
            }
        }
    }
    return diagonal;
}

void EquationSystem::Prepare(const std::vector<int>& kept, const std::vector<double>& diagonal,
                             const Constraints& constraints, bool factorise) {
    QElapsedTimer clock;
    clock.start();
    Number(kept, diagonal, constraints);
    if (Equations() == 0)
        return; // every displacement fixed

    stiffness_ = pattern_->Empty();
    // Making the element matrices is most of the assembly: a batch at a time they are made on
    // every core, then added on this thread, for neighbouring elements share entries.
    constexpr size_t Batch = 4096;
    const int cores = Parallel::Cores();
    std::vector<Element::Matrix> made(std::min(Batch, elements_.size()));
    for (size_t first = 0; first < elements_.size(); first += Batch) {
        const size_t count = std::min(Batch, elements_.size() - first);
        Parallel::ForRanges(count, cores, 256, [&](size_t, size_t begin, size_t end) {
            for (size_t k = begin; k < end; ++k)
                made[k] = elements_[first + k]->Stiffness();
        });
        for (size_t k = 0; k < count; ++k) {
            const Element& element = *elements_[first + k];
            pattern_->Add(stiffness_, element.Nodes(), element.Components(), made[k]);
        }
    }
    // The largest row sum of |K| (the upper triangle holds each off-diagonal term once).
    {
        Eigen::VectorXd rows = Eigen::VectorXd::Zero(Equations());
        for (Eigen::Index column = 0; column < stiffness_.outerSize(); ++column)
            for (SparseMatrix::InnerIterator it(stiffness_, column); it; ++it) {
                rows[it.row()] += std::abs(it.value());
                if (it.row() != column)
                    rows[column] += std::abs(it.value());
            }
        stiffnessNorm_ = rows.maxCoeff();
    }
    assemblySeconds_ = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    if (!factorise)
        return;

    clock.restart();
    factors_ = std::make_unique<SparseCholesky>();
    factors_->Limit(memoryLimit_);
    // The equations of a node are numbered together: the factorisation orders the nodes.
    std::vector<int> nodeStarts;
    const std::vector<int>& first = numbering_.NodeStarts();
    for (size_t node = 0; node + 1 < first.size(); ++node) {
        if (first[node + 1] > first[node])
            nodeStarts.push_back(first[node]);
    }
    nodeStarts.push_back(Equations());
    const SparseCholesky::Result result = factors_->Factor(stiffness_, nodeStarts);
    factorSeconds_ = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    factorBytes_ = factors_->PredictedBytes();
    if (result == SparseCholesky::Result::TooLarge) {
        tooLarge_ = true;
        return;
    }
    if (result == SparseCholesky::Result::NoMemory)
        throw SolverError(
            QStringLiteral("the stiffness equations cannot be solved (not enough memory)"));
    // A pivot that is not positive stops the factorisation there; the pivots before it are
    // sound, so the search for the first lost pivot names the free component in either case.
    CheckPivots(result == SparseCholesky::Result::NotPositive);
}

void EquationSystem::Number(const std::vector<int>& kept, const std::vector<double>& diagonal,
                            const Constraints& constraints) {
    numbering_.Number(kept, diagonal, constraints.Fixed, constraints.Loaded, wording_);
    pattern_ = std::make_unique<SparseAssembly>(
        numbering_, elements_, [](const Element* element) { return element->Nodes(); });
}

void EquationSystem::CheckPivots(bool failed) const {
    const Eigen::VectorXd pivots = factors_->Pivots();
    const std::vector<int> order = factors_->Order();
    const int equations = Equations();
    const int sound = failed ? factors_->FailedPosition() : equations;
    const Eigen::VectorXd diagonal = stiffness_.diagonal();
    for (int k = 0; k < equations; ++k) {
        const int e = order[static_cast<size_t>(k)];
        if (k < sound && pivots[k] > PivotRatio * diagonal[e] && std::isfinite(pivots[k]))
            continue;
        throw SolverError(QStringLiteral("the %1 is a mechanism or not supported enough: %2 "
                                         "without resistance")
                              .arg(wording_.Whole, numbering_.Describe(e, wording_)));
    }
}

Eigen::MatrixXd EquationSystem::Solve(const Eigen::MatrixXd& loads) const {
    if (Equations() == 0)
        return Eigen::MatrixXd::Zero(0, loads.cols());
    return factors_->Solve(loads);
}

double EquationSystem::Residual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const {
    return WorstResidual(x, f, 0.0);
}

double EquationSystem::BackwardError(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const {
    return WorstResidual(x, f, stiffnessNorm_);
}

double EquationSystem::WorstResidual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f,
                                     double stiffness) const {
    if (Equations() == 0)
        return 0;
    const Eigen::MatrixXd r = stiffness_.selfadjointView<Eigen::Upper>() * x - f;
    double worst = 0;
    for (Eigen::Index column = 0; column < r.cols(); ++column) {
        const double off = r.col(column).lpNorm<Eigen::Infinity>();
        const double scale = stiffness * x.col(column).lpNorm<Eigen::Infinity>() +
                             f.col(column).lpNorm<Eigen::Infinity>();
        if (!std::isfinite(off) || !x.col(column).allFinite() || !std::isfinite(scale))
            return std::numeric_limits<double>::infinity();
        if (off > 0)
            worst =
                std::max(worst, scale > 0 ? off / scale : std::numeric_limits<double>::infinity());
    }
    return worst;
}

Eigen::VectorXd EquationSystem::HalfSolve(const Eigen::VectorXd& x) const {
    return factors_->HalfSolve(x);
}

Eigen::VectorXd EquationSystem::HalfSolveTransposed(const Eigen::VectorXd& x) const {
    return factors_->HalfSolveTransposed(x);
}

Element::Vector EquationSystem::Gather(const Element& element,
                                       const Eigen::VectorXd& solution) const {
    const std::span<const int> nodes = element.Nodes(), components = element.Components();
    Element::Vector u(element.Size());
    Eigen::Index i = 0;
    for (int node : nodes) {
        for (int c : components) {
            const int e = Equation(node, c);
            u(i++) = e >= 0 ? solution[e] : 0.0;
        }
    }
    return u;
}

std::vector<int> EquationSystem::ElementEquations() const {
    std::vector<int> equations;
    for (const Element* element : elements_) {
        const std::span<const int> components = element->Components();
        for (int node : element->Nodes())
            for (int c : components)
                equations.push_back(Equation(node, c));
    }
    return equations;
}

Element::ExtendedVector EquationSystem::ExtendedProduct(const Element::ExtendedVector& u,
                                                        const std::vector<int>& equations) const {
    Element::ExtendedVector out = Element::ExtendedVector::Zero(u.size());
    size_t first = 0;
    for (const Element* element : elements_) {
        const auto size = static_cast<size_t>(element->Size());
        element->AddExtendedProduct(u, std::span<const int>(equations.data() + first, size), out);
        first += size;
    }
    return out;
}
