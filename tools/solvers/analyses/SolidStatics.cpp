#include "SolidStatics.h"

#include "Elasticity.h"
#include "EquationSystem.h"
#include "IterativeSolver.h"
#include "LoadBalance.h"
#include "LoadCases.h"
#include "MemoryBudget.h"
#include "Parallel.h"
#include "RepeatedElement.h"
#include "SolidElements.h"
#include "SolidTensor.h"
#include "Units.h"

#include <QElapsedTimer>
#include <atomic>
#include <cmath>
#include <future>
#include <memory>

namespace {

constexpr int BlockCases = 16;
constexpr int Own = 6;      // the stress components an element gives
constexpr int Columns = 10; // with s1 s2 s3 and von Mises
const std::vector<int> Kept = {0, 1, 2};

// Of the memory a run may take, what the direct factors may fill: the assembled matrix, the
// results and the solution's work arrays need the rest.
constexpr double FactorShare = 0.7;
// The multigrid's matrices and vectors for each stored entry of the upper triangle: the whole
// matrix (both triangles, value and column index), the coarser levels and the smoother's
// copies, as measured on brick meshes, with room to spare.
constexpr double IterativeBytesPerEntry = 60;

std::vector<Eigen::Vector3d> Points(const SolidModel& model, const SolidModel::Cell& cell) {
    std::vector<Eigen::Vector3d> points;
    points.reserve(static_cast<size_t>(cell.Count));
    for (int a = 0; a < cell.Count; ++a) {
        const auto& at = model.Nodes[static_cast<size_t>(cell.Corners[static_cast<size_t>(a)])];
        points.emplace_back(at[0], at[1], at[2]);
    }
    return points;
}

QString KindOf(int count) {
    return count == 8   ? QStringLiteral("brick")
           : count == 6 ? QStringLiteral("wedge")
                        : QStringLiteral("tetrahedron");
}

DofNumbering::Wording Wording() {
    DofNumbering::Wording wording;
    wording.Whole = QStringLiteral("model");
    wording.Part = QStringLiteral("element");
    return wording;
}

// The six rigid motions of a solid can be held only by supports that fix enough components:
// without that the equations are singular, which a factorisation notices and an iteration may
// not. The motions restricted to the fixed components must have full rank.
bool HeldRigidly(const SolidModel& model) {
    std::vector<Eigen::Matrix<double, 1, 6>> rows;
    for (const SolidModel::Support& support : model.Supports) {
        const auto& p = model.Nodes[static_cast<size_t>(support.Node)];
        for (int c = 0; c < 3; ++c) {
            if (!support.Fixed[static_cast<size_t>(c)])
                continue;
            Eigen::Matrix<double, 1, 6> row = Eigen::Matrix<double, 1, 6>::Zero();
            row[c] = 1;
            // Rotations about x, y, z: u = w x p.
            const int a = (c + 1) % 3, b = (c + 2) % 3;
            row[3 + a] = -p[static_cast<size_t>(b)];
            row[3 + b] = p[static_cast<size_t>(a)];
            rows.push_back(row);
        }
    }
    if (rows.size() < 6)
        return false;
    Eigen::MatrixXd motions(static_cast<Eigen::Index>(rows.size()), 6);
    for (size_t k = 0; k < rows.size(); ++k)
        motions.row(static_cast<Eigen::Index>(k)) = rows[k];
    // Scale the rotations to the model's size so the rank test is fair.
    const double size = std::max(1e-300, motions.rightCols<3>().cwiseAbs().maxCoeff());
    motions.rightCols<3>() /= size;
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(motions);
    qr.setThreshold(1e-10);
    return qr.rank() == 6;
}

} // namespace

QStringList SolidStatics::ComponentNames() {
    return {"ux", "uy", "uz"};
}

QStringList SolidStatics::StressNames() {
    return {"sx", "sy", "sz", "txy", "tyz", "tzx", "s1", "s2", "s3", "mises"};
}

QString SolidStatics::CheckShapes(const SolidModel& model) {
    const auto shapeOf = [&](size_t e) {
        return SolidElement::Classify(Points(model, model.Cells[e])).Shape;
    };
    const auto unsound = [](SolidShape shape) {
        return shape == SolidShape::Inverted || shape == SolidShape::Degenerate;
    };
    // The first unsound element, looked for on every core.
    std::atomic<size_t> first{model.Cells.size()};
    Parallel::ForRanges(model.Cells.size(), Parallel::Cores(), 2048,
                        [&](size_t, size_t begin, size_t end) {
                            for (size_t e = begin; e < end && e < first; ++e)
                                if (unsound(shapeOf(e))) {
                                    size_t known = first;
                                    while (e < known && !first.compare_exchange_weak(known, e)) {
                                    }
                                    return;
                                }
                        });
    const size_t e = first;
    if (e == model.Cells.size()) {
        const RepeatedElement::Pair repeated =
            RepeatedElement::Find(model.Cells.size(), [&model](size_t c) {
                return std::span<const int>(model.Cells[c].Corners.data(),
                                            static_cast<size_t>(model.Cells[c].Count));
            });
        if (repeated.Later < 0)
            return {};
        return QStringLiteral("Line %1: ")
                   .arg(model.Cells[static_cast<size_t>(repeated.Later)].Line) +
               RepeatedElement::Fault(repeated,
                                      model.Cells[static_cast<size_t>(repeated.Earlier)].Line);
    }
    const SolidModel::Cell& cell = model.Cells[e];
    if (shapeOf(e) == SolidShape::Inverted)
        return QStringLiteral("Line %1: element %2, a %3, is turned inside out: its volume "
                              "changes sign inside it (a negative Jacobian); check the order "
                              "of its corners")
            .arg(cell.Line)
            .arg(e + 1)
            .arg(KindOf(cell.Count));
    return QStringLiteral("Line %1: element %2, a %3, has no volume: its corners lie in "
                          "one plane or coincide")
        .arg(cell.Line)
        .arg(e + 1)
        .arg(KindOf(cell.Count));
}

SolidStatics::Outcome SolidStatics::Run(const SolidModel& model, const Options& options,
                                        SolverProgress* progress) {
    Outcome outcome;
    if (const QString fault = CheckShapes(model); !fault.isEmpty()) {
        outcome.Error = fault;
        return outcome;
    }
    if (!HeldRigidly(model)) {
        outcome.Error = QStringLiteral("the supports do not hold the solid against every rigid "
                                       "motion: fix at least three nodes that do not lie in one "
                                       "line, in enough components to stop it sliding and "
                                       "turning");
        return outcome;
    }
    const size_t nodes = model.Nodes.size();
    const double memory = options.Memory > 0 ? options.Memory : MemoryBudget::AvailableBytes();

    // The elements.
    QElapsedTimer clock;
    clock.start();
    SolverProgress::Report(progress,
                           QStringLiteral("Assembling the stiffness equations of %1 nodes")
                               .arg(SolverProgress::Count(static_cast<qsizetype>(nodes))));
    const double gravity = Units::Gravity(model.LengthUnit);
    std::vector<SolidMaterial> materials;
    materials.reserve(model.Materials.size());
    for (const SolidModel::Material& m : model.Materials)
        materials.push_back({Elasticity::Solid(m.E, m.Nu), gravity > 0 ? m.Gamma / gravity : 0});
    std::vector<std::unique_ptr<SolidElement>> owned;
    std::vector<const Element*> elements;
    owned.reserve(model.Cells.size());
    elements.reserve(model.Cells.size());
    for (const SolidModel::Cell& cell : model.Cells) {
        const std::vector<Eigen::Vector3d> points = Points(model, cell);
        owned.push_back(SolidElement::Make(
            materials[static_cast<size_t>(cell.Material)],
            std::span<const int>(cell.Corners.data(), static_cast<size_t>(cell.Count)), points));
        elements.push_back(owned.back().get());
    }

    // Every corner of a solid element stiffens all three translations.
    std::vector<double> diagonal(6 * nodes, 0.0);
    for (const SolidModel::Cell& cell : model.Cells)
        for (int a = 0; a < cell.Count; ++a)
            for (int c = 0; c < 3; ++c)
                diagonal[6 * static_cast<size_t>(cell.Corners[static_cast<size_t>(a)]) +
                         static_cast<size_t>(c)] = 1;
    int fixedCount = 0;
    std::vector<char> fixed(3 * nodes, 0);
    for (const SolidModel::Support& support : model.Supports)
        for (int c = 0; c < 3; ++c)
            if (support.Fixed[static_cast<size_t>(c)] &&
                !fixed[3 * static_cast<size_t>(support.Node) + static_cast<size_t>(c)]) {
                fixed[3 * static_cast<size_t>(support.Node) + static_cast<size_t>(c)] = 1;
                ++fixedCount;
            }
    // The iteration works on every component of every node (the fixed ones as identity rows), so
    // it needs every node to belong to an element.
    bool allJoined = true;
    for (size_t node = 0; node < nodes; ++node)
        allJoined = allJoined && diagonal[6 * node] > 0;

    const int equations = static_cast<int>(3 * nodes) - fixedCount;
    const bool canIterate = IterativeSolver::Available() && allJoined;
    Method method = options.Use;
    if (method == Method::Iterative && !canIterate) {
        outcome.Error = IterativeSolver::Available()
                            ? QStringLiteral("the iterative method needs every node to belong to "
                                             "an element")
                            : QStringLiteral("this build of the package has no iterative solver; "
                                             "solve the model directly");
        return outcome;
    }
    if (method == Method::Automatic)
        method = canIterate && equations > IterativeFrom ? Method::Iterative : Method::Direct;
    const int processes =
        options.Processes > 0
            ? options.Processes
            : IterativeSolver::ProcessesFor(3 * static_cast<long long>(nodes), Parallel::Cores());
    // The solver's processes start while the equations are assembled.
    std::future<bool> started;
    if (method == Method::Iterative)
        started = std::async(std::launch::async, IterativeSolver::Start, processes);

    EquationSystem::Constraints constraints;
    constraints.Fixed.assign(6 * nodes, false);
    constraints.Loaded.assign(6 * nodes, false);
    const auto number = [&](Method m) {
        for (size_t node = 0; node < nodes; ++node)
            for (int c = 0; c < 3; ++c)
                constraints.Fixed[6 * node + static_cast<size_t>(c)] =
                    m == Method::Direct && fixed[3 * node + static_cast<size_t>(c)];
    };
    number(method);
    auto system = std::make_unique<EquationSystem>(static_cast<int>(nodes), elements, Wording());
    system->LimitMemory(FactorShare * memory);
    if (method == Method::Direct)
        SolverProgress::Report(
            progress,
            QStringLiteral("Factorising %1 equations").arg(SolverProgress::Count(equations)));
    bool prepared = system->Prepare(Kept, diagonal, constraints, method == Method::Direct);
    if (!prepared && system->TooLarge()) {
        const double needed = system->FactorBytes();
        if (options.Use == Method::Automatic && canIterate) {
            // Too large to factorise here: the iteration needs far less.
            method = Method::Iterative;
            number(method);
            system = std::make_unique<EquationSystem>(static_cast<int>(nodes), elements, Wording());
            prepared = system->Prepare(Kept, diagonal, constraints, false);
        } else {
            outcome.Error =
                QStringLiteral("the model is too large for the direct solver: %1 equations, "
                               "whose factors would need %2 GB of memory, and %3 GB are free. %4")
                    .arg(equations)
                    .arg(needed / 1e9, 0, 'f', 1)
                    .arg(memory / 1e9, 0, 'f', 1)
                    .arg(canIterate ? QStringLiteral("Solve it iteratively (--solver=iterative), "
                                                     "which needs memory only in proportion to "
                                                     "the model.")
                                    : QStringLiteral("This build of the package has no iterative "
                                                     "solver: use fewer elements, or a machine "
                                                     "with more memory."));
            return outcome;
        }
    }
    if (!prepared) {
        outcome.Error = system->Error();
        return outcome;
    }
    if (method == Method::Iterative) {
        const double needed =
            IterativeBytesPerEntry * static_cast<double>(system->Stiffness().nonZeros());
        if (memory > 0 && needed > memory) {
            outcome.Error = QStringLiteral("the model is too large for the memory of this "
                                           "machine: %1 equations need about %2 GB to solve "
                                           "iteratively, and %3 GB are free; use fewer elements "
                                           "or a machine with more memory (or run it over "
                                           "several machines with mpirun)")
                                .arg(3 * nodes)
                                .arg(needed / 1e9, 0, 'f', 1)
                                .arg(memory / 1e9, 0, 'f', 1);
            return outcome;
        }
    }
    outcome.Used = method;
    outcome.Time.Assembly = system->AssemblySeconds();
    outcome.Why =
        method == Method::Direct
            ? QStringLiteral("Solved directly by the sparse Cholesky factorisation of %1 "
                             "equations%2.")
                  .arg(equations)
                  .arg(options.Use == Method::Direct ? QStringLiteral(", as asked") : QString())
            : QStringLiteral("Solved iteratively by the conjugate gradient with algebraic "
                             "multigrid, to a relative residual of %1, on %2 equations%3.")
                  .arg(options.Tolerance, 0, 'g', 2)
                  .arg(3 * nodes)
                  .arg(options.Use == Method::Iterative
                           ? QStringLiteral(", as asked")
                           : QStringLiteral(" (too many for a direct factorisation to be "
                                            "quicker)"));

    // The loads of each case.
    const int cases = std::max(0, model.LoadCases);
    std::vector<std::vector<size_t>> loadsOf(static_cast<size_t>(cases) + 1);
    for (size_t k = 0; k < model.Loads.size(); ++k) {
        const int c = model.Loads[k].Case;
        if (c >= 1 && c <= cases)
            loadsOf[static_cast<size_t>(c)].push_back(k);
    }
    std::vector<int> loaded;
    for (int c = 1; c <= cases; ++c)
        if (!loadsOf[static_cast<size_t>(c)].empty())
            loaded.push_back(c);
    const auto fill = [&](int number, Eigen::VectorXd& column) {
        for (size_t k : loadsOf[static_cast<size_t>(number)]) {
            const SolidModel::NodalLoad& load = model.Loads[k];
            for (int c = 0; c < 3; ++c) {
                const int e = system->Equation(load.Node, c);
                if (e >= 0 && !fixed[3 * static_cast<size_t>(load.Node) + static_cast<size_t>(c)])
                    column[e] += load.Force[static_cast<size_t>(c)];
            }
        }
    };

    FieldResults& results = outcome.Results;
    results.Nodes = static_cast<int>(nodes);
    results.Elements = static_cast<int>(model.Cells.size());
    results.Components = ComponentNames();
    results.StressNames = StressNames();

    std::vector<bool> supported(nodes, false);
    for (const SolidModel::Support& support : model.Supports)
        supported[static_cast<size_t>(support.Node)] = true;
    std::vector<size_t> reacting;
    std::vector<int> around(nodes, 0);
    for (size_t e = 0; e < elements.size(); ++e) {
        bool touches = false;
        for (int node : elements[e]->Nodes()) {
            ++around[static_cast<size_t>(node)];
            touches = touches || supported[static_cast<size_t>(node)];
        }
        if (touches)
            reacting.push_back(e);
    }
    const auto point = [](const std::array<double, 3>& at) {
        return Eigen::Vector3d(at[0], at[1], at[2]);
    };
    // Moments about the middle of the nodes.
    const LoadBalance unloaded = LoadBalance::About(model.Nodes, point);
    LoadBalance::Worst worst;
    double recovery = 0;
    const int cores = Parallel::Cores();
    const auto solved = [&](int number, const Eigen::VectorXd* solution) {
        QElapsedTimer recovering;
        recovering.start();
        FieldResults::Case result;
        result.Number = number;
        result.Displacements.assign(3 * nodes, 0.0);
        result.Stresses.assign(elements.size() * Columns, 0.0);
        result.NodeStresses.assign(nodes * Columns, 0.0);
        if (!solution) {
            for (const SolidModel::Support& support : model.Supports)
                result.Reactions.push_back({support.Node + 1, std::vector<double>(3, 0.0)});
            results.Cases.push_back(std::move(result));
            return;
        }
        for (size_t node = 0; node < nodes; ++node)
            for (int c = 0; c < 3; ++c) {
                const int e = system->Equation(static_cast<int>(node), c);
                result.Displacements[3 * node + static_cast<size_t>(c)] =
                    e >= 0 && !fixed[3 * node + static_cast<size_t>(c)] ? (*solution)[e] : 0.0;
            }
        const auto gather = [&](const Element& element) {
            Element::Vector u(element.Size());
            Eigen::Index i = 0;
            for (int node : element.Nodes())
                for (int c = 0; c < 3; ++c)
                    u(i++) =
                        result
                            .Displacements[3 * static_cast<size_t>(node) + static_cast<size_t>(c)];
            return u;
        };
        // What the supports hold: what the elements at them need, less the loads there.
        std::vector<double> applied(3 * nodes, 0.0), held(3 * nodes, 0.0);
        for (size_t k : loadsOf[static_cast<size_t>(number)]) {
            const SolidModel::NodalLoad& load = model.Loads[k];
            for (int c = 0; c < 3; ++c)
                applied[3 * static_cast<size_t>(load.Node) + static_cast<size_t>(c)] +=
                    load.Force[static_cast<size_t>(c)];
        }
        for (size_t e : reacting) {
            const Element& element = *elements[e];
            const Element::Vector f = element.Stiffness() * gather(element);
            const std::span<const int> corners = element.Nodes();
            for (size_t a = 0; a < corners.size(); ++a)
                for (size_t c = 0; c < 3; ++c)
                    held[3 * static_cast<size_t>(corners[a]) + c] +=
                        f(static_cast<Eigen::Index>(3 * a + c));
        }
        LoadBalance balance = unloaded;
        for (size_t node = 0; node < nodes; ++node) {
            const Eigen::Vector3d f(applied[3 * node], applied[3 * node + 1],
                                    applied[3 * node + 2]);
            if (!f.isZero(0))
                balance.AddLoad(point(model.Nodes[node]), f);
        }
        for (const SolidModel::Support& support : model.Supports) {
            const size_t node = static_cast<size_t>(support.Node);
            FieldResults::Reaction reaction{support.Node + 1, std::vector<double>(3, 0.0)};
            Eigen::Vector3d r = Eigen::Vector3d::Zero();
            for (size_t c = 0; c < 3; ++c)
                if (support.Fixed[c])
                    reaction.Values[c] = r[static_cast<Eigen::Index>(c)] =
                        held[3 * node + c] - applied[3 * node + c];
            balance.AddReaction(point(model.Nodes[node]), r);
            result.Reactions.push_back(std::move(reaction));
        }
        worst.Take(balance);

        // Stresses at the centres and, as the mean over the elements at each corner, at the
        // nodes. The elements are shared among the cores; each sums its corners apart, and the
        // sums are added in the order of the elements, so that every run gives the same digits.
        constexpr size_t Grain = 1024;
        std::vector<std::vector<double>> sums(Parallel::Parts(elements.size(), cores, Grain));
        Parallel::ForRanges(
            elements.size(), cores, Grain, [&](size_t part, size_t first, size_t last) {
                std::vector<double>& sum = sums[part];
                sum.assign(nodes * Own, 0.0);
                for (size_t e = first; e < last; ++e) {
                    const Element& element = *elements[e];
                    const Element::Results block = element.Recover(gather(element));
                    double* centre = result.Stresses.data() + e * Columns;
                    for (int s = 0; s < Columns; ++s)
                        centre[s] = block(0, s);
                    const std::span<const int> corners = element.Nodes();
                    for (size_t a = 0; a < corners.size(); ++a) {
                        double* at = sum.data() + static_cast<size_t>(corners[a]) * Own;
                        for (int s = 0; s < Own; ++s)
                            at[s] += block(static_cast<Eigen::Index>(a + 1), s);
                    }
                }
            });
        for (const std::vector<double>& sum : sums)
            for (size_t node = 0; node < nodes; ++node)
                for (size_t s = 0; s < Own; ++s)
                    result.NodeStresses[node * Columns + s] += sum[node * Own + s];
        Parallel::ForRanges(nodes, cores, 4096, [&](size_t, size_t first, size_t last) {
            for (size_t node = first; node < last; ++node) {
                double* at = result.NodeStresses.data() + node * Columns;
                if (around[node] == 0)
                    continue;
                for (int s = 0; s < Own; ++s)
                    at[s] /= around[node];
                SolidTensor::Principal(at, at + Own);
            }
        });
        results.Cases.push_back(std::move(result));
        recovery += static_cast<double>(recovering.nsecsElapsed()) * 1e-9;
    };

    QElapsedTimer solving;
    solving.start();
    if (method == Method::Direct) {
        results.Residual = LoadCases::Solve(
            *system, cases, loaded, BlockCases,
            [progress](int number) {
                SolverProgress::Report(progress, QStringLiteral("Load case %1").arg(number));
            },
            fill, solved, LoadCases::Measure::Backward);
        outcome.Time.Solution =
            system->FactorSeconds() + static_cast<double>(solving.nsecsElapsed()) * 1e-9 - recovery;
    } else {
        SolverProgress::Report(progress,
                               QStringLiteral("Solving %1 equations iteratively")
                                   .arg(SolverProgress::Count(static_cast<qsizetype>(3 * nodes))));
        std::vector<std::array<double, 3>> coordinates(model.Nodes.begin(), model.Nodes.end());
        IterativeSolver::System iterative;
        iterative.Nodes = static_cast<int>(nodes);
        iterative.Coordinates = coordinates;
        iterative.Upper = &system->Stiffness();
        iterative.Fixed = fixed;
        Eigen::MatrixXd f =
            Eigen::MatrixXd::Zero(system->Equations(), static_cast<Eigen::Index>(loaded.size()));
        for (size_t k = 0; k < loaded.size(); ++k) {
            Eigen::VectorXd column = Eigen::VectorXd::Zero(system->Equations());
            fill(loaded[k], column);
            f.col(static_cast<Eigen::Index>(k)) = column;
        }
        IterativeSolver::Settings settings;
        settings.Tolerance = options.Tolerance;
        settings.Processes = processes;
        if (started.valid())
            started.wait();
        const IterativeSolver::Outcome answer =
            loaded.empty() ? IterativeSolver::Outcome{}
                           : IterativeSolver::Solve(iterative, f, settings);
        if (!answer.Error.isEmpty()) {
            outcome.Error = answer.Error;
            return outcome;
        }
        outcome.Iterations = answer.Iterations;
        outcome.Processes = answer.Processes;
        for (double r : answer.Residuals)
            outcome.Tolerance = std::max(outcome.Tolerance, r);
        outcome.Time.Solution = static_cast<double>(solving.nsecsElapsed()) * 1e-9;
        // The backward error over the free equations, as the direct method's is measured.
        Eigen::MatrixXd u = answer.Solutions;
        Eigen::MatrixXd r = system->Stiffness().selfadjointView<Eigen::Upper>() * u - f;
        for (size_t i = 0; i < fixed.size(); ++i)
            if (fixed[i])
                r.row(static_cast<Eigen::Index>(i)).setZero();
        const double norm = system->StiffnessNorm();
        for (Eigen::Index c = 0; c < r.cols(); ++c) {
            const double scale =
                norm * u.col(c).lpNorm<Eigen::Infinity>() + f.col(c).lpNorm<Eigen::Infinity>();
            results.Residual = std::max(
                results.Residual, scale > 0 ? r.col(c).lpNorm<Eigen::Infinity>() / scale : 0.0);
        }
        size_t next = 0;
        for (int c = 1; c <= cases; ++c) {
            SolverProgress::Report(progress, QStringLiteral("Load case %1").arg(c));
            if (next < loaded.size() && loaded[next] == c) {
                const Eigen::VectorXd column = u.col(static_cast<Eigen::Index>(next++));
                solved(c, &column);
            } else {
                solved(c, nullptr);
            }
        }
    }
    outcome.Time.Recovery = recovery;
    results.Imbalance = worst.Share;
    results.LargestLoad = worst.Largest;
    results.SmallestLoad = worst.Smallest;
    return outcome;
}
