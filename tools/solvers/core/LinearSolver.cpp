#include "LinearSolver.h"

#include "IterativeSolver.h"
#include "LoadCases.h"
#include "MemoryBudget.h"
#include "Parallel.h"
#include "SolverError.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {

// Load cases solved together on the factors: enough to use them well (up to the most), few
// enough that the load and solution columns of a block stay within BlockValues each, as they
// must for a mesh of millions of nodes.
constexpr size_t BlockCases = 16, MostBlockCases = 64;
constexpr size_t BlockValues = size_t{1} << 22;
// Of the memory a run may take, what the direct factors may fill: the assembled matrix, the
// results and the solution's work arrays need the rest.
constexpr double FactorShare = 0.7;
// The multigrid's matrices and vectors for each stored entry of the upper triangle: the whole
// matrix (both triangles, value and column index), the coarser levels and the smoother's
// copies, as measured on brick meshes, with room to spare.
constexpr double IterativeBytesPerEntry = 60;

} // namespace

LinearSolver::LinearSolver() = default;
LinearSolver::~LinearSolver() = default;

bool LinearSolver::CanIterate(const Problem& problem) const {
    // The iteration works on every component of every node (the held ones as identity rows),
    // so it needs every node to belong to an element, and an element to stiffen each of its
    // components (a rotation that every bar at a node releases has no equation).
    if (!IterativeSolver::Available() || problem.RigidMotions.empty())
        return false;
    for (int node = 0; node < problem.Nodes; ++node)
        for (int c : problem.Kept)
            if (!(problem.Diagonal[6 * static_cast<size_t>(node) + static_cast<size_t>(c)] > 0))
                return false;
    return true;
}

int LinearSolver::Equation(int node, int component) const {
    const int slot = slot_[static_cast<size_t>(component)];
    if (slot < 0 ||
        held_[static_cast<size_t>(node) * static_cast<size_t>(width_) + static_cast<size_t>(slot)])
        return -1;
    return system_->Equation(node, component);
}

void LinearSolver::Number(const Problem& problem, Method method, double memory,
                          SolverProgress* progress) {
    EquationSystem::Constraints constraints = problem.Constraints;
    // The iteration keeps the held components as unknowns of their own.
    if (method == Method::Iterative)
        constraints.Fixed.assign(constraints.Fixed.size(), false);
    system_ = std::make_unique<EquationSystem>(problem.Nodes, problem.Elements, problem.Wording);
    if (method == Method::Direct) {
        system_->LimitMemory(FactorShare * memory);
        SolverProgress::Report(progress, QStringLiteral("Assembling and factorising the stiffness "
                                                        "equations of %1 nodes")
                                             .arg(SolverProgress::Count(problem.Nodes)));
    }
    system_->Prepare(problem.Kept, problem.Diagonal, constraints, method == Method::Direct);
}

int LinearSolver::Hold(const Problem& problem) {
    nodes_ = problem.Nodes;
    width_ = static_cast<int>(problem.Kept.size());
    kept_ = problem.Kept;
    motions_ = problem.RigidMotions;
    measure_ = problem.Residual;
    slot_.assign(6, -1);
    for (int k = 0; k < width_; ++k)
        slot_[static_cast<size_t>(problem.Kept[static_cast<size_t>(k)])] = k;
    held_.assign(static_cast<size_t>(nodes_) * static_cast<size_t>(width_), 0);
    int count = 0;
    for (size_t node = 0; node < static_cast<size_t>(nodes_); ++node)
        for (size_t k = 0; k < static_cast<size_t>(width_); ++k)
            if (problem.Constraints.Fixed[6 * node + static_cast<size_t>(problem.Kept[k])]) {
                held_[node * static_cast<size_t>(width_) + k] = 1;
                ++count;
            }
    return count;
}

SolverError LinearSolver::Unsuited(const Problem& problem) {
    if (!IterativeSolver::Available())
        return SolverError(QStringLiteral("this build of the package has no iterative solver; "
                                          "solve the model directly"));
    if (problem.RigidMotions.empty())
        return SolverError(QStringLiteral("the iterative method is not made for this type of "
                                          "model; solve it directly"));
    return SolverError(QStringLiteral("the iterative method needs every node to belong to an "
                                      "element that holds each of its components; solve the "
                                      "model directly"));
}

SolverError LinearSolver::TooLarge(int equations, double memory, bool canIterate) const {
    return SolverError(
        QStringLiteral("the model is too large for the direct solver: %1 equations, whose "
                       "factors would need %2 GB of memory, and %3 GB are free. %4")
            .arg(equations)
            .arg(system_->FactorBytes() / 1e9, 0, 'f', 1)
            .arg(memory / 1e9, 0, 'f', 1)
            .arg(canIterate ? QStringLiteral("Solve it iteratively (--solver=iterative), which "
                                             "needs memory only in proportion to the model.")
                 : IterativeSolver::Available()
                     ? QStringLiteral("Use fewer elements, or a machine with more memory.")
                     : QStringLiteral("This build of the package has no iterative solver: use "
                                      "fewer elements, or a machine with more memory.")));
}

void LinearSolver::Prepare(const Problem& problem, const Options& options,
                           SolverProgress* progress) {
    options_ = options;
    const int held = Hold(problem);
    const int equations = width_ * nodes_ - held;
    const double memory = options.Memory > 0 ? options.Memory : MemoryBudget::AvailableBytes();
    const bool canIterate = CanIterate(problem);
    Method method = options.Use;
    if (method == Method::Iterative && !canIterate)
        throw Unsuited(problem);
    if (method == Method::Automatic)
        method = canIterate && problem.IterativeFrom > 0 && equations > problem.IterativeFrom
                     ? Method::Iterative
                     : Method::Direct;
    processes_ = options.Processes > 0
                     ? options.Processes
                     : IterativeSolver::ProcessesFor(static_cast<long long>(width_) * nodes_,
                                                     Parallel::Cores());
    // The solver's processes start while the equations are assembled.
    if (method == Method::Iterative)
        starting_ = std::async(std::launch::async, IterativeSolver::Start, processes_);
    Number(problem, method, memory, progress);
    if (method == Method::Direct && system_->TooLarge()) {
        if (options.Use != Method::Automatic || !canIterate || problem.IterativeFrom == Never)
            throw TooLarge(equations, memory, canIterate);
        // Too large to factorise here: the iteration needs far less.
        method = Method::Iterative;
        starting_ = std::async(std::launch::async, IterativeSolver::Start, processes_);
        Number(problem, method, memory, progress);
    }
    if (method == Method::Iterative) {
        const double needed =
            IterativeBytesPerEntry * static_cast<double>(system_->Stiffness().nonZeros());
        if (memory > 0 && needed > memory)
            throw SolverError(
                QStringLiteral("the model is too large for the memory of this machine: %1 "
                               "equations need about %2 GB to solve iteratively, and %3 GB "
                               "are free; use fewer elements or a machine with more memory "
                               "(or run it over several machines with mpirun)")
                    .arg(width_ * nodes_)
                    .arg(needed / 1e9, 0, 'f', 1)
                    .arg(memory / 1e9, 0, 'f', 1));
        coordinates_.assign(problem.Coordinates.begin(), problem.Coordinates.end());
    }
    report_.Used = method;
    Describe(equations);
}

void LinearSolver::Describe(int equations) {
    const bool asked = options_.Use == report_.Used;
    report_.Why =
        report_.Used == Method::Direct
            ? QStringLiteral("Solved directly by the sparse Cholesky factorisation of %1 "
                             "equations%2.")
                  .arg(equations)
                  .arg(asked ? QStringLiteral(", as asked") : QString())
            : QStringLiteral("Solved iteratively by the conjugate gradient with algebraic "
                             "multigrid, to a relative residual of %1, on %2 equations%3.")
                  .arg(options_.Tolerance, 0, 'g', 2)
                  .arg(width_ * nodes_)
                  .arg(asked ? QStringLiteral(", as asked")
                             : QStringLiteral(" (too many for a direct factorisation to be "
                                              "quicker)"));
}

void LinearSolver::Solve(int cases, const std::vector<int>& loaded, const Fill& fill,
                         const Take& take, SolverProgress* progress) {
    if (report_.Used == Method::Iterative) {
        SolveIteratively(cases, loaded, fill, take, progress);
        return;
    }
    const size_t block =
        std::clamp(BlockValues / static_cast<size_t>(std::max(1, system_->Equations())), BlockCases,
                   MostBlockCases);
    report_.Residual = LoadCases::Solve(
        *system_, cases, loaded, block,
        [progress](int number) {
            SolverProgress::Report(progress, QStringLiteral("Load case %1").arg(number));
        },
        fill, take, measure_);
}

void LinearSolver::SolveIteratively(int cases, const std::vector<int>& loaded, const Fill& fill,
                                    const Take& take, SolverProgress* progress) {
    SolverProgress::Report(progress, QStringLiteral("Solving %1 equations iteratively")
                                         .arg(SolverProgress::Count(width_ * nodes_)));
    IterativeSolver::System iterative;
    iterative.Nodes = nodes_;
    iterative.Components = kept_;
    iterative.Motions = motions_;
    iterative.Coordinates = coordinates_;
    iterative.Upper = &system_->Stiffness();
    iterative.Fixed = held_;
    Eigen::MatrixXd f =
        Eigen::MatrixXd::Zero(system_->Equations(), static_cast<Eigen::Index>(loaded.size()));
    for (size_t k = 0; k < loaded.size(); ++k) {
        Eigen::VectorXd column = Eigen::VectorXd::Zero(system_->Equations());
        fill(loaded[k], column);
        f.col(static_cast<Eigen::Index>(k)) = column;
    }
    IterativeSolver::Settings settings;
    settings.Tolerance = options_.Tolerance;
    settings.Processes = processes_;
    if (starting_.valid())
        starting_.wait();
    const IterativeSolver::Outcome answer = loaded.empty()
                                                ? IterativeSolver::Outcome{}
                                                : IterativeSolver::Solve(iterative, f, settings);
    report_.Iterations = answer.Iterations;
    report_.Processes = answer.Processes;
    for (double r : answer.Residuals)
        report_.Tolerance = std::max(report_.Tolerance, r);
    // The residual over the free equations, measured as the direct method's is.
    const Eigen::MatrixXd& u = answer.Solutions;
    Eigen::MatrixXd r = system_->Stiffness().selfadjointView<Eigen::Upper>() * u - f;
    for (size_t i = 0; i < held_.size(); ++i)
        if (held_[i])
            r.row(static_cast<Eigen::Index>(i)).setZero();
    const double norm = measure_ == LoadCases::Measure::Backward ? system_->StiffnessNorm() : 0.0;
    for (Eigen::Index c = 0; c < r.cols(); ++c) {
        const double scale =
            norm * u.col(c).lpNorm<Eigen::Infinity>() + f.col(c).lpNorm<Eigen::Infinity>();
        report_.Residual = std::max(report_.Residual,
                                    scale > 0 ? r.col(c).lpNorm<Eigen::Infinity>() / scale : 0.0);
    }
    size_t next = 0;
    for (int c = 1; c <= cases; ++c) {
        SolverProgress::Report(progress, QStringLiteral("Load case %1").arg(c));
        if (next < loaded.size() && loaded[next] == c) {
            const Eigen::VectorXd column = u.col(static_cast<Eigen::Index>(next++));
            take(c, &column);
        } else {
            take(c, nullptr);
        }
    }
}
