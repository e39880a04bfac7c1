#include "ModalAnalysis.h"

#include "ModeReport.h"

#include <Eigen/Eigenvalues>
#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

bool Finite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

using Pencil = PencilModes::Extended;
using Real = Pencil::Real;

// Adds points (springs, masses) to the diagonal of a matrix of the system's pattern.
void AddPoints(const EquationSystem& system, EquationSystem::ExtendedMatrix& matrix,
               const std::vector<ModalAnalysis::Point>& points) {
    for (const ModalAnalysis::Point& point : points) {
        const int e = system.Equation(point.Node, point.Component);
        if (e >= 0 && point.Value != 0)
            matrix.coeffRef(e, e) += point.Value;
    }
}

// Each element's mass with the equations of its unknowns, and each point mass: what lets the
// eigen-solver work on the few unknowns that carry mass (discs on a light shaft). None when
// their free unknowns are more than it would work on.
std::vector<Pencil::Block> MassBlocks(const EquationSystem& system,
                                      const std::vector<ModalAnalysis::Point>& points) {
    int rank = 0;
    for (const Element* element : system.Elements())
        if (element->TotalMass() > 0)
            for (int node : element->Nodes())
                for (int c : element->Components())
                    rank += system.Equation(node, c) >= 0 ? 1 : 0;
    for (const ModalAnalysis::Point& point : points)
        rank += point.Value != 0 && system.Equation(point.Node, point.Component) >= 0 ? 1 : 0;
    if (rank > PencilModes::ReducedLimit)
        return {};
    std::vector<Pencil::Block> blocks;
    for (const Element* element : system.Elements()) {
        if (!(element->TotalMass() > 0))
            continue;
        Pencil::Block& block = blocks.emplace_back();
        block.Values = element->Mass();
        for (int node : element->Nodes())
            for (int c : element->Components())
                block.Equations.push_back(system.Equation(node, c));
    }
    for (const ModalAnalysis::Point& point : points)
        if (point.Value != 0)
            blocks.push_back({{system.Equation(point.Node, point.Component)},
                              Eigen::MatrixXd::Constant(1, 1, point.Value)});
    return blocks;
}

// The shifted pencil of the system in extended precision: K (the springs, then the elements)
// and M (the elements, then the points), both triangles.
Pencil ShiftedPencil(const EquationSystem& system, const std::vector<ModalAnalysis::Point>& points,
                     const ModalAnalysis::Shifted& shifted, EquationSystem::ExtendedMatrix& mass) {
    Pencil pencil;
    EquationSystem::ExtendedMatrix k = system.EmptyExtended();
    AddPoints(system, k, shifted.Springs);
    system.AddExtended(k, [&](size_t e) { return system.Elements()[e]->ExtendedStiffness(); });
    mass = system.EmptyExtended();
    system.AddExtended(mass, [&](size_t e) {
        const Element& element = *system.Elements()[e];
        return element.TotalMass() > 0 ? element.Mass() : Element::Matrix();
    });
    AddPoints(system, mass, points);
    pencil.K = k.selfadjointView<Eigen::Upper>();
    pencil.M = mass.selfadjointView<Eigen::Upper>();
    pencil.Masses = MassBlocks(system, points);
    pencil.Product = [&system, springs = shifted.Springs,
                      equations = system.ElementEquations()](const Pencil::Vector& x) {
        Pencil::Vector out = system.ExtendedProduct(x, equations);
        for (const ModalAnalysis::Point& spring : springs)
            if (const int e = system.Equation(spring.Node, spring.Component); e >= 0)
                out[e] += Real(spring.Value) * x[e];
        return out;
    };
    pencil.Rigid = shifted.Rigid;
    pencil.OutOfRange = shifted.OutOfRange;
    pencil.Unsolvable = shifted.Unsolvable;
    return pencil;
}

// The first finite positive Rayleigh quotient of the guesses (the last one tried when none
// is).
double ShiftOf(const Pencil& pencil, const std::vector<Eigen::VectorXd>& guesses) {
    double shift = 0;
    for (const Eigen::VectorXd& guess : guesses) {
        const Pencil::Vector x = guess.cast<Real>();
        shift = static_cast<double>(x.dot(pencil.Product(x)) / x.dot(pencil.M * x));
        if (std::isfinite(shift) && shift > 0)
            break;
    }
    return shift;
}

// A motion of a free structure is rigid when its strain energy is below this share of what its
// diagonal stiffness alone would give (rounding leaves about 1e-16), and carries no mass when its
// mass is below this share of the largest rigid motion's.
constexpr double RigidShare = 1e-10;
constexpr double MasslessShare = 1e-12;
// The most a mode's lambda may move, relative, when its shape is rounded to double (sound modes
// move by 1e-20 or less).
constexpr double ModeNoise = 1e-8;

// Of the combinations a of the columns behind the Gram matrices `norm` (positive semidefinite)
// and `measure`, those with a^T norm a = 1 and a^T measure a below `share`.
Eigen::MatrixXd Negligible(const Eigen::MatrixXd& norm, const Eigen::MatrixXd& measure,
                           double share) {
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> onNorm((norm + norm.transpose()) / 2);
    const double top = onNorm.eigenvalues().cwiseAbs().maxCoeff();
    std::vector<Eigen::Index> kept;
    for (Eigen::Index i = 0; i < norm.rows(); ++i)
        if (onNorm.eigenvalues()[i] > 1e-12 * top)
            kept.push_back(i);
    Eigen::MatrixXd basis(norm.rows(), static_cast<Eigen::Index>(kept.size()));
    for (size_t k = 0; k < kept.size(); ++k)
        basis.col(static_cast<Eigen::Index>(k)) =
            onNorm.eigenvectors().col(kept[k]) / std::sqrt(onNorm.eigenvalues()[kept[k]]);
    if (basis.cols() == 0)
        return basis;
    const Eigen::MatrixXd reduced = basis.transpose() * measure * basis;
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> split((reduced + reduced.transpose()) / 2);
    std::vector<Eigen::Index> small;
    for (Eigen::Index i = 0; i < reduced.rows(); ++i)
        if (split.eigenvalues()[i] < share)
            small.push_back(i);
    Eigen::MatrixXd out(norm.rows(), static_cast<Eigen::Index>(small.size()));
    for (size_t k = 0; k < small.size(); ++k)
        out.col(static_cast<Eigen::Index>(k)) = basis * split.eigenvectors().col(small[k]);
    return out;
}

// The rigid motions of space the problem names, six components per node: translations, and
// rotations about the centre of the nodes whose translations are in units of the model's size.
Eigen::MatrixXd MotionsOfSpace(const LinearSolver::Problem& problem) {
    const auto nodes = static_cast<Eigen::Index>(problem.Coordinates.size());
    Eigen::Vector3d low = Eigen::Vector3d::Constant(std::numeric_limits<double>::max());
    Eigen::Vector3d high = -low, centre = Eigen::Vector3d::Zero();
    for (const std::array<double, 3>& at : problem.Coordinates) {
        const Eigen::Vector3d p(at[0], at[1], at[2]);
        low = low.cwiseMin(p);
        high = high.cwiseMax(p);
        centre += p / static_cast<double>(nodes);
    }
    const double size = nodes > 0 && (high - low).maxCoeff() > 0 ? (high - low).maxCoeff() : 1.0;
    Eigen::MatrixXd motions =
        Eigen::MatrixXd::Zero(6 * nodes, static_cast<Eigen::Index>(problem.RigidMotions.size()));
    for (Eigen::Index node = 0; node < nodes; ++node) {
        const std::array<double, 3>& at = problem.Coordinates[static_cast<size_t>(node)];
        const Eigen::Vector3d arm = (Eigen::Vector3d(at[0], at[1], at[2]) - centre) / size;
        for (size_t j = 0; j < problem.RigidMotions.size(); ++j) {
            const int motion = problem.RigidMotions[j];
            const auto column = static_cast<Eigen::Index>(j);
            if (motion < 3) {
                motions(6 * node + motion, column) = 1;
                continue;
            }
            const Eigen::Vector3d axis = Eigen::Vector3d::Unit(motion - 3);
            motions.block<3, 1>(6 * node, column) = axis.cross(arm);
            motions.block<3, 1>(6 * node + 3, column) = axis / size;
        }
    }
    return motions;
}

// The rigid motions of space that the supports leave free, as far as the kept components show
// them (six components per node): none for a supported model.
Eigen::MatrixXd UnheldMotions(const LinearSolver::Problem& problem) {
    const Eigen::MatrixXd all = MotionsOfSpace(problem);
    const Eigen::Index m = all.cols();
    Eigen::MatrixXd kept = Eigen::MatrixXd::Zero(m, m), held = kept;
    for (Eigen::Index node = 0; node < static_cast<Eigen::Index>(problem.Nodes); ++node)
        for (int c : problem.Kept) {
            const Eigen::Index row = 6 * node + c;
            const Eigen::VectorXd values = all.row(row).transpose();
            kept += values * values.transpose();
            if (problem.Constraints.Fixed[static_cast<size_t>(row)])
                held += values * values.transpose();
        }
    return all * Negligible(kept, held, RigidShare);
}

// Motions given six components per node at the equations of a system.
Eigen::MatrixXd AtEquations(const EquationSystem& system, const Eigen::MatrixXd& motions) {
    Eigen::MatrixXd out = Eigen::MatrixXd::Zero(system.Equations(), motions.cols());
    for (int node = 0; node < system.Numbering().Nodes(); ++node)
        for (int c = 0; c < 6; ++c)
            if (const int e = system.Equation(node, c); e >= 0)
                out.row(e) = motions.row(6 * static_cast<Eigen::Index>(node) + c);
    return out;
}

// Of motions at the equations of an assembled system, the combinations without strain.
Eigen::MatrixXd WithoutStrain(const EquationSystem& system, const Eigen::MatrixXd& motions) {
    const Eigen::MatrixXd k = system.Stiffness().selfadjointView<Eigen::Upper>() * motions;
    const Eigen::MatrixXd scaled = system.Stiffness().diagonal().asDiagonal() * motions;
    return motions * Negligible(motions.transpose() * scaled, motions.transpose() * k, RigidShare);
}

// Whether every combination of the motions carries mass.
bool AllCarryMass(const Eigen::MatrixXd& motions, const ModalAnalysis::SparseMatrix& mass) {
    const Eigen::MatrixXd onMass =
        motions.transpose() * (mass.selfadjointView<Eigen::Upper>() * motions);
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> split((onMass + onMass.transpose()) / 2);
    const double top = split.eigenvalues().cwiseAbs().maxCoeff();
    return top > 0 && std::isfinite(top) && split.eigenvalues().minCoeff() > MasslessShare * top;
}

// The problem with one component held per rigid motion, so that none is left: what shows a
// mechanism within a free structure (it still cannot be factorised) and names where it moves.
LinearSolver::Problem Pinned(LinearSolver::Problem problem, const EquationSystem& system,
                             Eigen::MatrixXd rigid) {
    std::vector<std::pair<int, int>> where(static_cast<size_t>(system.Equations()));
    for (int node = 0; node < system.Numbering().Nodes(); ++node)
        for (int c = 0; c < 6; ++c)
            if (const int e = system.Equation(node, c); e >= 0)
                where[static_cast<size_t>(e)] = {node, c};
    for (Eigen::Index j = 0; j < rigid.cols(); ++j) {
        Eigen::Index pin = 0;
        rigid.col(j).cwiseAbs().maxCoeff(&pin);
        const auto [node, c] = where[static_cast<size_t>(pin)];
        problem.Constraints.Fixed[6 * static_cast<size_t>(node) + static_cast<size_t>(c)] = true;
        for (Eigen::Index k = j + 1; k < rigid.cols(); ++k)
            rigid.col(k) -= rigid(pin, k) / rigid(pin, j) * rigid.col(j);
    }
    return problem;
}

// Smooth motions with strain at the equations, the likeliest lowest first: a deflection
// g = s^2 (s along the model's longest extent, in its units) across it, in each kept direction
// from the one it is thinnest in, with the rotations of its slope (curl g e). Where one is rigid
// (nodes at two stations only) the next is taken, and when all are, a motion without order.
std::vector<Eigen::VectorXd> SmoothGuesses(const EquationSystem& system,
                                           const LinearSolver::Problem& problem) {
    Eigen::Vector3d low = Eigen::Vector3d::Constant(std::numeric_limits<double>::max());
    Eigen::Vector3d high = -low;
    for (const std::array<double, 3>& at : problem.Coordinates) {
        low = low.cwiseMin(Eigen::Vector3d(at[0], at[1], at[2]));
        high = high.cwiseMax(Eigen::Vector3d(at[0], at[1], at[2]));
    }
    const Eigen::Vector3d extent = high - low;
    Eigen::Index along = 0;
    const double size = extent.maxCoeff(&along) > 0 ? extent[along] : 1.0;
    std::vector<int> directions;
    for (int c : problem.Kept)
        if (c < 3)
            directions.push_back(c);
    std::stable_sort(directions.begin(), directions.end(), [&](int a, int b) {
        return (a == along ? 1 : 0) < (b == along ? 1 : 0) ||
               ((a == along) == (b == along) && extent[a] < extent[b]);
    });
    std::vector<Eigen::VectorXd> guesses;
    for (int e : directions) {
        Eigen::VectorXd guess = Eigen::VectorXd::Zero(system.Equations());
        const Eigen::Vector3d turn = Eigen::Vector3d::Unit(along).cross(Eigen::Vector3d::Unit(e));
        for (int node = 0; node < system.Numbering().Nodes(); ++node) {
            const double s =
                (problem.Coordinates[static_cast<size_t>(node)][static_cast<size_t>(along)] -
                 (low[along] + high[along]) / 2) /
                size;
            for (int c = 0; c < 6; ++c)
                if (const int eq = system.Equation(node, c); eq >= 0)
                    guess[eq] = c < 3 ? (c == e ? s * s : 0.0) : 2 * s / size * turn[c - 3];
        }
        guesses.push_back(std::move(guess));
    }
    Eigen::VectorXd scattered(system.Equations());
    for (Eigen::Index e = 0; e < scattered.size(); ++e)
        scattered[e] = std::sin(1.0 + 2.399963 * static_cast<double>(e));
    guesses.push_back(std::move(scattered));
    return guesses;
}

// The guesses that strain the model: those whose Rayleigh quotient is not rounding beside the
// largest one's.
std::vector<Eigen::VectorXd> Straining(const EquationSystem& system,
                                       const ModalAnalysis::SparseMatrix& mass,
                                       std::vector<Eigen::VectorXd> guesses) {
    std::vector<double> quotient;
    double top = 0;
    for (const Eigen::VectorXd& x : guesses) {
        const double q = x.dot(system.Stiffness().selfadjointView<Eigen::Upper>() * x) /
                         x.dot(mass.selfadjointView<Eigen::Upper>() * x);
        quotient.push_back(std::isfinite(q) ? q : 0.0);
        top = std::max(top, quotient.back());
    }
    std::vector<Eigen::VectorXd> kept;
    for (size_t k = 0; k < guesses.size(); ++k)
        if (quotient[k] > 1e-9 * top)
            kept.push_back(std::move(guesses[k]));
    return kept;
}

} // namespace

ModalAnalysis::SparseMatrix ModalAnalysis::Masses(const EquationSystem& system,
                                                  const std::vector<Point>& points) {
    SparseMatrix b = system.Assemble([&](size_t e) {
        const Element& element = *system.Elements()[e];
        return element.TotalMass() > 0 ? element.Mass() : Element::Matrix();
    });
    for (const Point& point : points) {
        const int e = system.Equation(point.Node, point.Component);
        if (e >= 0 && point.Value != 0)
            EquationSystem::AddDiagonal(b, e, point.Value);
    }
    return b;
}

ModalAnalysis::SparseMatrix ModalAnalysis::GeometricStiffness(const EquationSystem& system,
                                                              const Eigen::VectorXd& state) {
    return system.Assemble([&](size_t e) {
        const Element& element = *system.Elements()[e];
        return Element::Matrix(-element.GeometricStiffness(system.Gather(element, state)));
    });
}

ModalAnalysis::Found ModalAnalysis::Natural(const EquationSystem& system,
                                            const std::vector<Point>& points, int count,
                                            const QString& massless) {
    Found found{Masses(system, points), {}};
    // Also refuses masses that are not finite numbers.
    if (!(found.B.diagonal().sum() > 0))
        throw SolverError(massless);
    found.Modes = PencilModes::Lowest(system, found.B, count);
    return found;
}

ModalAnalysis::ShiftedFound ModalAnalysis::Natural(const EquationSystem& system,
                                                   const std::vector<Point>& points, int count,
                                                   const Shifted& shifted) {
    ShiftedFound found;
    EquationSystem::ExtendedMatrix mass;
    Pencil pencil = ShiftedPencil(system, points, shifted, mass);
    found.B = mass.cast<double>();
    // Also refuses masses that are not finite numbers.
    if (system.Equations() == 0 || !(mass.diagonal().sum() > 0)) {
        found.Massless = true;
        return found;
    }
    pencil.Shift = ShiftOf(pencil, shifted.Guesses);
    for (PencilModes::ExtendedMode& mode : PencilModes::Lowest(pencil, count)) {
        found.Modes.push_back({mode.Lambda, std::move(mode.Shape)});
        found.Noise.push_back(mode.Noise);
    }
    return found;
}

ModalAnalysis::Prepared ModalAnalysis::Prepare(const MeshModel& model,
                                               std::unique_ptr<MeshFamily> family,
                                               const std::vector<Point>& points,
                                               SolverProgress* progress) {
    Prepared prepared;
    prepared.Statics.Family = std::move(family);
    prepared.Statics.Family->Build(model, prepared.Statics.Warnings);
    const LinearSolver::Problem problem = MeshStatics::ProblemOf(model, *prepared.Statics.Family);
    // The modes need the factors of the stiffness.
    LinearSolver::Options direct;
    direct.Use = LinearSolver::Method::Direct;
    const auto factorise = [&](const LinearSolver::Problem& posed) {
        auto solver = std::make_unique<LinearSolver>();
        solver->Prepare(posed, direct, progress);
        return solver;
    };
    const Eigen::MatrixXd unheld = UnheldMotions(problem);
    if (unheld.cols() > 0) {
        SolverProgress::Report(progress, QStringLiteral("Assembling the equations of a structure "
                                                        "free to move, %1 nodes")
                                             .arg(SolverProgress::Count(problem.Nodes)));
        auto system =
            std::make_unique<EquationSystem>(problem.Nodes, problem.Elements, problem.Wording);
        system->Prepare(problem.Kept, problem.Diagonal, problem.Constraints, false);
        const Eigen::MatrixXd rigid = WithoutStrain(*system, AtEquations(*system, unheld));
        // Rigid motions without mass are refused below, by the factorisation that names them.
        const SparseMatrix mass = Masses(*system, points);
        if (rigid.cols() > 0 && AllCarryMass(rigid, mass)) {
            // Held at one component per rigid motion, it must factorise: a mechanism within
            // it is refused here, as statics refuses it, naming where it moves.
            factorise(Pinned(problem, *system, rigid));
            prepared.Guesses = Straining(*system, mass, SmoothGuesses(*system, problem));
            prepared.Rigid = static_cast<int>(rigid.cols());
            prepared.Free = std::move(system);
            return prepared;
        }
    }
    prepared.Statics.Solver = factorise(problem);
    return prepared;
}

ModalAnalysis::Found ModalAnalysis::Natural(const Prepared& prepared,
                                            const std::vector<Point>& points, int count,
                                            const QString& massless) {
    if (!prepared.Free)
        return Natural(prepared.System(), points, count, massless);
    Shifted shifted;
    shifted.Rigid = prepared.Rigid;
    shifted.Guesses = prepared.Guesses;
    ShiftedFound found = Natural(*prepared.Free, points, count, shifted);
    for (const double noise : found.Noise)
        if (!(noise <= ModeNoise))
            throw SolverError(shifted.OutOfRange);
    return {std::move(found.B), std::move(found.Modes), prepared.Rigid};
}

ModalAnalysis::Found ModalAnalysis::Buckling(const EquationSystem& system,
                                             const Eigen::VectorXd& state, int count) {
    Found found{GeometricStiffness(system, state), {}};
    found.Modes = PencilModes::Lowest(system, found.B, count);
    return found;
}

SolverOutcome ModalAnalysis::Write(const std::vector<PencilModes::Mode>& modes, int rigid,
                                   int wanted, const Listing& listing, bool json,
                                   ResultFile::Contents* file) {
    SolverOutcome outcome;
    ResultFile::Contents contents = listing.File;
    QJsonArray list;
    QString text = listing.Heading;
    if (rigid > 0)
        text += QStringLiteral("%1 rigid-body %2 at 0 Hz (the structure is free to move), not "
                               "listed; the elastic modes follow.\n")
                    .arg(rigid)
                    .arg(rigid == 1 ? QStringLiteral("mode") : QStringLiteral("modes"));
    if (const int bad = ModeReport::FrequencyTable(modes, wanted, text); bad >= 0)
        throw SolverError(listing.NotFinite(QStringLiteral("frequency of mode %1").arg(bad + 1)));
    const auto width = static_cast<int>(listing.Components.size());
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        ResultFile::Shapes::Shape shape{0, frequency, {}, {}};
        listing.Scale(modes[k].Shape, shape.Displacements, shape.Inner);
        if (!Finite(shape.Displacements) || !Finite(shape.Inner))
            throw SolverError(listing.NotFinite(QStringLiteral("shape of mode %1").arg(k + 1)));
        if (json)
            list.append(QJsonObject{
                {QStringLiteral("frequency"), frequency},
                {QStringLiteral("period"), 1 / frequency},
                {QStringLiteral("circular"), omega},
                {QStringLiteral("shape"), ModeReport::ShapeJson(shape.Displacements, width)}});
        text += QStringLiteral("\nMode %1, %2 Hz (largest %3 1)\n")
                    .arg(k + 1)
                    .arg(frequency, 0, 'g', 6)
                    .arg(listing.Largest) +
                ModeReport::ShapeText(shape.Displacements, listing.Components);
        contents.Modes.List.push_back(std::move(shape));
    }
    if (json) {
        outcome.Json = {{QStringLiteral("modes"), list}};
        if (rigid > 0)
            outcome.Json.insert(QStringLiteral("rigidModes"), rigid);
    }
    outcome.Protocol = text;
    if (file)
        *file = std::move(contents);
    else
        outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
