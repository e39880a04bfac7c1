#include "StructuralDynamics.h"

#include "BarFamily.h"
#include "BarModelBuilder.h"
#include "DynamicResponse.h"
#include "MeshStatics.h"
#include "ModalAnalysis.h"
#include "ModeReport.h"
#include "ResultFile.h"
#include "StaticReport.h"
#include "Units.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// A cubic bar with the consistent masses and geometric stiffness errs in a characteristic
// value by about (k L)^4 / 450 times the share of the mode's kinetic (or geometric) energy
// that its bending carries, k the wave number of the mode in the bar: k^4 = lambda m / EI for
// natural modes, k^2 = lambda |N| / EI for buckling (a pinned column in one piece: (k L)^4 =
// pi^4, share 1, 21.6 % too high). Its motion along itself is linear, and errs in a natural
// mode by (ka L)^2 / 12 times the share of the kinetic energy of that motion, ka^2 = lambda m
// / EA: a beam carried sideways by the columns at its ends is pushed along by them, so its
// normal force changes along it, which a linear motion cannot follow. Cutting a bar into n pieces
// divides the first by n^4 and the second by n^2. The members are cut until the sum over the bars
// is below this share of the value: frequencies within 5e-5, which the fourth digit does not see.
constexpr double Calibration = 450;
constexpr double AxialCalibration = 12;
constexpr double Tolerance = 1e-4;
// The finest division: the lengthwise error falls only as the square of the pieces, so that a
// member's third lengthwise mode (ka L = 5 pi / 2 with one end free) needs about 230 to come
// within the tolerance.
constexpr int MostPieces = 256;
// Divisions solved at most; the values fall as the members are cut, so that a second division
// seldom asks for more.
constexpr int MostRounds = 6;

// The masses of table 9 (with the rotational inertia J about y for plane frames) at their
// nodes; the bars' own come from their elements.
std::vector<ModalAnalysis::Point> PointMasses(const BarModel& model) {
    std::vector<ModalAnalysis::Point> points;
    for (const BarModel::Mass& mass : model.Masses)
        for (int c : model.Components)
            points.push_back({mass.Node, c, c < 3 ? mass.M : c == 4 ? mass.J : 0});
    return points;
}

// The characteristic values and shapes of one load case (0 for natural modes).
struct CaseModes {
    int Case = 0;
    std::vector<PencilModes::Mode> Modes;
};

// One division of the members: the model, its bars as the statics pipeline has them (their
// family and factorised equations) and the modes of every case. The family's bars refer to the
// model and the equations to the bars.
struct Division {
    std::unique_ptr<BarModel> Model;
    MeshModel Mesh;
    const BarFamily* Bars = nullptr;
    ModalAnalysis::Prepared Prepared;
    std::vector<CaseModes> Cases;
    int Rigid = 0; // natural modes of a free structure: its rigid-body motions

    // Makes the bars, constrains, numbers, assembles and factorises the stiffness as statics
    // does (buckling and the modes need its factors); for the natural modes of a structure
    // free to move, numbers and assembles only.
    void Prepare(bool modes) {
        Mesh = MeshModel::FromBars(*Model);
        auto family = std::make_unique<BarFamily>(*Model);
        Bars = family.get();
        if (modes) {
            Prepared = ModalAnalysis::Prepare(Mesh, std::move(family), PointMasses(*Model));
            return;
        }
        LinearSolver::Options direct;
        direct.Use = LinearSolver::Method::Direct;
        Prepared.Statics = MeshStatics::Prepare(Mesh, std::move(family), direct);
    }
    const EquationSystem& System() const { return Prepared.System(); }
    const BarElement& Bar(size_t bar) const { return Bars->Bar(bar); }
    // The displacements of a bar's two ends in global axes, from a solution of the equations.
    BarElement::Vector12 Ends(size_t bar, const Eigen::VectorXd& solution) const {
        return System().Gather(Bar(bar), solution);
    }
};

// Per element of the data, the pieces the modes found ask for: to bring their estimated
// errors within the tolerance, and within a quarter of it for when the values still move more
// than the estimates say.
struct Wanted {
    std::vector<int> Pieces, Finer;
};

// The bending stiffness a mode meets first: the weaker axis of a space frame's section.
double Bending(const BarModel& model, const BarModel::Bar& bar) {
    const double weak = model.Axes == ProblemType::Layout::Space && bar.Iz > 0
                            ? std::min(bar.Iy > 0 ? bar.Iy : bar.Iz, bar.Iz)
                            : bar.Iy;
    return bar.E * weak;
}

// An element's estimated error in a characteristic value, by how it falls when the element is
// cut into more pieces: its bending's as the fourth power of the pieces, its motion along
// itself as the square.
struct Error {
    double Bending = 0, Axial = 0;
    double Sum() const { return Bending + Axial; }
};

// Raises the pieces wanted so that the estimated error of one mode's value, the sum of the
// errors `error` of the elements, falls within the tolerance: the elements that err most
// are cut finer, together by the factor that brings their part to half the tolerance.
void Refine(const BarModel& model, const std::vector<Error>& error, double tolerance,
            std::vector<int>& wanted) {
    double total = 0;
    for (const Error& e : error)
        total += e.Sum();
    if (!(total > tolerance) || !std::isfinite(total))
        return;
    std::vector<size_t> order(error.size());
    for (size_t e = 0; e < order.size(); ++e)
        order[e] = e;
    std::sort(order.begin(), order.end(),
              [&error](size_t a, size_t b) { return error[a].Sum() > error[b].Sum(); });
    Error selected;
    double rest = total;
    size_t count = 0;
    while (count < order.size() && rest > tolerance / 2) {
        selected.Bending += error[order[count]].Bending;
        selected.Axial += error[order[count]].Axial;
        rest -= error[order[count]].Sum();
        ++count;
    }
    // The factor f with Bending / f^4 + Axial / f^2 = tolerance / 2: a quadratic in 1 / f^2.
    const double half = tolerance / 2;
    const double x = selected.Bending > 0
                         ? 2 * half /
                               (selected.Axial + std::sqrt(selected.Axial * selected.Axial +
                                                           4 * selected.Bending * half))
                         : half / selected.Axial;
    const double factor = 1 / std::sqrt(x);
    for (size_t k = 0; k < count; ++k) {
        const size_t e = order[k];
        const double pieces = std::ceil(model.Pieces[e] * factor);
        wanted[e] = std::max(wanted[e], static_cast<int>(std::min(pieces, double{MostPieces})));
    }
}

// Raises the pieces wanted for both tolerances by the estimated errors of one mode.
void Refine(const BarModel& model, const std::vector<Error>& error, Wanted& wanted) {
    Refine(model, error, Tolerance, wanted.Pieces);
    Refine(model, error, Tolerance / 4, wanted.Finer);
}

// The estimated errors per element of a natural mode of eigenvalue lambda (omega^2).
std::vector<Error> ModeErrors(const Division& division, const ModalAnalysis::SparseMatrix& b,
                              const PencilModes::Mode& mode) {
    const BarModel& model = *division.Model;
    const double g = Units::Gravity(model.LengthUnit);
    const Eigen::VectorXd& shape = mode.Shape;
    const double whole = shape.dot(b.selfadjointView<Eigen::Upper>() * shape);
    std::vector<Error> error(static_cast<size_t>(model.DataElements));
    for (size_t index = 0; index < model.Bars.size(); ++index) {
        const BarModel::Bar& bar = model.Bars[index];
        const double ei = Bending(model, bar), m = bar.Density * bar.A / g;
        if (bar.Truss || !(ei > 0) || !(m > 0) || !(whole > 0))
            continue;
        const BarElement& element = division.Bar(index);
        const BarElement::Vector12 d = division.Ends(index, shape);
        const BarElement::Vector12 local = element.ToLocal(d);
        const double L = element.Length();
        // The kinetic energy of the bar less that of its motion along itself.
        const double axial =
            m * L / 3 * (local(0) * local(0) + local(0) * local(6) + local(6) * local(6));
        const double bending = d.dot(element.GlobalMass(m) * d) - axial;
        const double kl4 = mode.Lambda * m * L * L * L * L / ei;
        Error& e = error[static_cast<size_t>(bar.Element)];
        e.Bending += kl4 * std::max(0.0, bending) / whole / Calibration;
        if (const double ea = bar.E * bar.A; ea > 0)
            e.Axial += mode.Lambda * m * L * L / ea * axial / whole / AxialCalibration;
    }
    return error;
}

// The forces of a load case's reference state per bar: its normal force, the mean along it,
// which is what its geometric stiffness takes, and the load along it per unit length, by
// which the normal force varies within it.
struct CaseForces {
    std::vector<double> Normal, Along;
};

// Each piece takes the mean of a normal force that varies along it by q x: the energy of a
// shape of slope a and curvature c at its middle misses q a c h^3 / 6 in each bending plane,
// a share of the whole that falls as the square of the pieces.
double VaryingForce(const BarElement& element, const BarElement::Vector12& local, double along) {
    const double L = element.Length();
    const double slopeV = (local(7) - local(1)) / L, curveV = (local(11) - local(5)) / L;
    const double slopeW = (local(8) - local(2)) / L, curveW = (local(4) - local(10)) / L;
    return std::abs(along) * L * L * L / 6 *
           (std::abs(slopeV * curveV) + std::abs(slopeW * curveW));
}

// The estimated errors per element of a buckling mode under the forces `forces`.
std::vector<Error> BucklingErrors(const Division& division, const ModalAnalysis::SparseMatrix& b,
                                  const CaseForces& forces, const PencilModes::Mode& mode) {
    const std::vector<double>& normal = forces.Normal;
    const BarModel& model = *division.Model;
    const Eigen::VectorXd& shape = mode.Shape;
    const double whole = std::abs(shape.dot(b.selfadjointView<Eigen::Upper>() * shape));
    std::vector<Error> error(static_cast<size_t>(model.DataElements));
    for (size_t index = 0; index < model.Bars.size(); ++index) {
        const BarModel::Bar& bar = model.Bars[index];
        const double ei = Bending(model, bar);
        if (bar.Truss || !(ei > 0) || normal[index] == 0 || !(whole > 0))
            continue;
        const BarElement& element = division.Bar(index);
        const BarElement::Vector12 d = division.Ends(index, shape);
        const double energy = std::abs(d.dot(element.GlobalGeometricStiffness(normal[index]) * d));
        const double L = element.Length();
        const double kl2 = mode.Lambda * std::abs(normal[index]) * L * L / ei;
        error[static_cast<size_t>(bar.Element)].Bending += kl2 * kl2 * energy / whole / Calibration;
        if (forces.Along[index] != 0)
            error[static_cast<size_t>(bar.Element)].Axial +=
                VaryingForce(element, element.ToLocal(d), forces.Along[index]) / whole;
    }
    return error;
}

// Solves one division; the error, or an empty text.
using Analysis = void (*)(Division&, Wanted&, SolverProgress*);

void NaturalModes(Division& division, Wanted& wanted, SolverProgress* progress) {
    const BarModel& model = *division.Model;
    SolverProgress::Report(progress,
                           QStringLiteral("Natural modes: the lowest %1 of %2 equations")
                               .arg(std::max(1, model.Modes))
                               .arg(SolverProgress::Count(division.System().Equations())));
    ModalAnalysis::Found found = ModalAnalysis::Natural(
        division.Prepared, PointMasses(model), std::max(1, model.Modes),
        QStringLiteral("the structure has no mass: give the unit weight gamma of table 2 or "
                       "masses in table 9"));
    for (const PencilModes::Mode& mode : found.Modes)
        Refine(model, ModeErrors(division, found.B, mode), wanted);
    division.Rigid = found.Rigid;
    division.Cases.push_back({0, std::move(found.Modes)});
}

void CriticalFactors(Division& division, Wanted& wanted, SolverProgress* progress) {
    const MeshModel& mesh = division.Mesh;
    const EquationSystem& system = division.System();
    const size_t bars = division.Model->Bars.size();
    // Only the cases with loads are solved; the others cause no compression.
    const std::vector<std::vector<size_t>> nodal = mesh.LoadsByCase();
    const std::vector<std::vector<size_t>> along = mesh.ElementLoadsByCase();
    for (int loadCase = 1; loadCase <= mesh.LoadCases; ++loadCase) {
        division.Cases.push_back({loadCase, {}});
        const auto c = static_cast<size_t>(loadCase);
        if (nodal[c].empty() && along[c].empty())
            continue;
        SolverProgress::Report(progress,
                               QStringLiteral("Load case %1: critical factors").arg(loadCase));
        Eigen::VectorXd loads = Eigen::VectorXd::Zero(system.Equations());
        MeshStatics::AddLoads(mesh, *division.Bars, *division.Prepared.Statics.Solver, nodal[c],
                              along[c], loads);
        const Eigen::VectorXd state = system.Solve(loads).col(0);
        ModalAnalysis::Found found =
            ModalAnalysis::Buckling(system, state, std::max(1, mesh.Modes));
        CaseForces forces{{}, std::vector<double>(bars, 0.0)};
        for (size_t bar = 0; bar < bars; ++bar)
            forces.Normal.push_back(division.Bar(bar).NormalForce(division.Ends(bar, state)));
        // The even load along each bar, which makes its normal force vary: it steers how
        // finely the members are divided. A load on part of a bar only steers it less well.
        for (size_t index : along[c]) {
            const MeshModel::ElementLoad& load = mesh.ElementLoads[index];
            if (load.Along != MeshModel::ElementLoad::Spread::Even)
                continue;
            const auto bar = static_cast<size_t>(load.Cell);
            forces.Along[bar] +=
                load.Member ? load.Q[0]
                            : division.Bar(bar).Axes().row(0).dot(Eigen::Vector3d(load.Q.data()));
        }
        for (const PencilModes::Mode& mode : found.Modes)
            Refine(*division.Model, BucklingErrors(division, found.B, forces, mode), wanted);
        division.Cases.back().Modes = std::move(found.Modes);
    }
}

// The largest relative change of the characteristic values between two divisions; infinite
// when they found different numbers of modes.
double Change(const Division& coarse, const Division& fine) {
    double change = 0;
    for (size_t c = 0; c < fine.Cases.size(); ++c) {
        const std::vector<PencilModes::Mode>& a = coarse.Cases[c].Modes;
        const std::vector<PencilModes::Mode>& b = fine.Cases[c].Modes;
        if (a.size() != b.size())
            return std::numeric_limits<double>::infinity();
        for (size_t k = 0; k < a.size(); ++k)
            change = std::max(change, std::abs(a[k].Lambda - b[k].Lambda) / std::abs(b[k].Lambda));
    }
    return change;
}

// Solves the members whole, then cut into as many pieces as the estimated errors of the modes
// found ask for, again until they ask for no more and the values stay within the tolerance of
// the division before. `division` gets the last.
void Converge(const SolverInput& input, Analysis analysis, SolverProgress* progress,
              Division& division) {
    std::vector<int> pieces; // none: every member whole
    std::vector<bool> divisible;
    for (int round = 1;; ++round) {
        Division next;
        next.Model =
            std::make_unique<BarModel>(BarModelBuilder::Build(input.Problem, input.Data, pieces));
        const BarModel& model = *next.Model;
        if (round == 1) {
            SolverProgress::Report(progress, BarFamily::AssemblyStage(model));
            // Straight members that bend; truss bars and arcs keep their bars.
            divisible.assign(static_cast<size_t>(model.DataElements), false);
            for (const BarModel::Bar& bar : model.Bars) {
                const auto element = static_cast<size_t>(bar.Element);
                if (!bar.Truss && bar.I != bar.J && model.Pieces[element] == 1)
                    divisible[element] = true;
            }
            pieces.assign(static_cast<size_t>(model.DataElements), 1);
        }
        next.Prepare(analysis == NaturalModes);
        Wanted wanted{pieces, pieces};
        analysis(next, wanted, progress);
        // The estimates hold within a few times. Values that moved several times the tolerance
        // between divisions show them off by more: then the stricter estimate cuts further.
        const bool moved = round > 1 && Change(division, next) > 4 * Tolerance;
        const auto raise = [&](const std::vector<int>& to) {
            bool more = false;
            for (size_t element = 0; element < to.size(); ++element) {
                if (divisible[element] && to[element] > pieces[element]) {
                    pieces[element] = to[element];
                    more = true;
                }
            }
            return more;
        };
        const bool more = raise(wanted.Pieces) || (moved && raise(wanted.Finer));
        // The equations refer to their model: they go first.
        division.Prepared = {};
        division = std::move(next);
        if (!more || round >= MostRounds)
            return;
    }
}

// A shape at the nodes of the data file and at the inner points, scaled together so that the
// largest translation is 1, with the sign that makes the largest component positive; the
// factor it took.
double ScaleShape(const Division& division, const Eigen::VectorXd& shape,
                  std::vector<double>& nodes, std::vector<double>& inner) {
    const BarModel& model = *division.Model;
    const EquationSystem& system = division.System();
    double largest = 0, largestAny = 0;
    const auto collect = [&](int first, int end, std::vector<double>& values) {
        for (int node = first; node < end; ++node) {
            for (int c : model.Components) {
                const int e = system.Equation(node, c);
                const double v = e >= 0 ? shape[e] : 0;
                values.push_back(v);
                largestAny = std::max(largestAny, std::abs(v));
                if (c < 3)
                    largest = std::max(largest, std::abs(v));
            }
        }
    };
    collect(0, model.DataNodes, nodes);
    collect(model.DataNodes, static_cast<int>(model.Nodes.size()), inner);
    const double scale = largest > 0 ? largest : largestAny;
    double extreme = 0;
    for (const std::vector<double>* values : {&nodes, &inner}) {
        for (double v : *values) {
            if (std::abs(v) >= scale * (1 - 1e-9) && std::abs(v) > std::abs(extreme))
                extreme = v;
        }
    }
    const double factor = scale > 0 ? (extreme < 0 ? -1 : 1) / scale : 1;
    for (double& v : nodes)
        v *= factor;
    for (double& v : inner)
        v *= factor;
    return factor;
}

QString Heading(const SolverInput& input, const Division& division, const QString& analysis) {
    const BarModel& model = *division.Model;
    QString text = QStringLiteral("%1 of %2: %3\nNodes %4, elements %5, supports %6\n")
                       .arg(analysis, input.FormatName, input.Data.General[0].Text)
                       .arg(model.DataNodes)
                       .arg(model.DataElements)
                       .arg(model.Supports.size());
    const int most =
        model.Pieces.empty() ? 1 : *std::max_element(model.Pieces.begin(), model.Pieces.end());
    if (most > 1)
        text += QStringLiteral("Members are divided as their modes bend them, into up to %1 "
                               "pieces (%2 inner points); the results are listed at the nodes "
                               "of the data.\n")
                    .arg(most)
                    .arg(model.Nodes.size() - static_cast<size_t>(model.DataNodes));
    return text;
}

// A result file of shapes, still without its shapes.
ResultFile::Contents ShapesFile(ResultFile::Kind kind, const SolverInput& input,
                                const BarModel& model) {
    ResultFile::Contents contents;
    contents.Type = kind;
    contents.Problem = input.Problem;
    contents.Modes.Nodes = model.DataNodes;
    contents.Modes.Elements = model.DataElements;
    contents.Modes.Pieces = model.Pieces;
    contents.Modes.Components = model.ComponentNames();
    return contents;
}

bool Finite(const std::vector<double>& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

QString NotFinite(const QString& what) {
    return QStringLiteral("the %1 is not a finite number; the data's values are out of "
                          "proportion (a bar far shorter or stiffer than the others, or values "
                          "near the largest number)")
        .arg(what);
}

} // namespace

SolverOutcome StructuralDynamics::Modes(const SolverInput& input, SolverProgress* progress) {
    Division division;
    Converge(input, NaturalModes, progress, division);
    const BarModel& model = *division.Model;
    ModalAnalysis::Listing listing;
    listing.Heading = Heading(input, division, QStringLiteral("Natural modes")) +
                      QStringLiteral("Masses: the bars' weight / g spread along them (truss bars: "
                                     "half at each end) and the masses of table 9.\n");
    listing.Largest = QStringLiteral("translation");
    listing.Components = model.ComponentNames();
    listing.File = ShapesFile(ResultFile::Kind::Modes, input, model);
    listing.Scale = [&division](const Eigen::VectorXd& shape, std::vector<double>& nodes,
                                std::vector<double>& inner) {
        return ScaleShape(division, shape, nodes, inner);
    };
    listing.NotFinite = NotFinite;
    ResultFile::Contents file;
    SolverOutcome outcome = ModalAnalysis::Write(division.Cases.front().Modes, division.Rigid,
                                                 model.Modes, listing, input.WantJson, &file);
    VibrationReport::Layout layout;
    layout.Nodes = model.DataNodes;
    layout.Components = model.Components;
    layout.Names = model.ComponentNames();
    layout.ForceUnit = model.ForceUnit;
    layout.LengthUnit = model.LengthUnit;
    // A motion's section forces at the ends of the members, from their pieces.
    const ResultLayout ends = division.Bars->EndLayout();
    layout.ElementColumns = ends;
    layout.ElementRows = [&division, &model, count = ends.Count()](const Eigen::VectorXd& u) {
        const auto width = static_cast<size_t>(count);
        std::vector<double> bars(model.Bars.size() * width);
        for (size_t b = 0; b < model.Bars.size(); ++b) {
            const BarElement::Vector12 ends = division.Ends(b, u);
            division.Bars->EndForces(b, ends, Element::Vector::Zero(ends.size()), nullptr,
                                     bars.data() + b * width);
        }
        Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> members(
            model.DataElements, count);
        BarFamily::MemberForces(model, bars.data(), members.data());
        return Eigen::MatrixXd(members);
    };
    DynamicResponse::Append(input, division.System(), PointMasses(model),
                            division.Cases.front().Modes, division.Prepared.Free != nullptr,
                            Units::Gravity(model.LengthUnit), layout, listing.Scale,
                            std::move(file), outcome);
    return outcome;
}

SolverOutcome StructuralDynamics::Buckling(const SolverInput& input, SolverProgress* progress) {
    Division division;
    Converge(input, CriticalFactors, progress, division);
    const BarModel& model = *division.Model;

    SolverOutcome outcome;
    ResultFile::Contents contents = ShapesFile(ResultFile::Kind::Buckling, input, model);
    QJsonArray critical;
    QString text = Heading(input, division, QStringLiteral("Buckling"));
    text += QStringLiteral("Critical factors: the multiples of each load case's loads at which "
                           "the frame buckles (linear buckling with the geometric stiffness of "
                           "the normal forces).\n");
    for (const CaseModes& found : division.Cases) {
        QJsonArray factors, shapes;
        text += QStringLiteral("\nLoad case %1\n").arg(found.Case);
        if (found.Modes.empty())
            text += QStringLiteral("No buckling: the loads cause no compression that could "
                                   "make the frame unstable.\n");
        for (size_t k = 0; k < found.Modes.size(); ++k) {
            const double factor = found.Modes[k].Lambda;
            ResultFile::Shapes::Shape shape{found.Case, factor, {}, {}};
            ScaleShape(division, found.Modes[k].Shape, shape.Displacements, shape.Inner);
            if (!std::isfinite(factor) || !Finite(shape.Displacements) || !Finite(shape.Inner))
                throw SolverError(NotFinite(QStringLiteral("critical factor %1 of load case %2")
                                                .arg(k + 1)
                                                .arg(found.Case)));
            if (input.WantJson) {
                factors.append(factor);
                shapes.append(ModeReport::ShapeJson(shape.Displacements,
                                                    static_cast<int>(model.Components.size())));
            }
            text += QStringLiteral("\nMode %1: critical factor %2\n")
                        .arg(k + 1)
                        .arg(factor, 0, 'g', 8) +
                    ModeReport::ShapeText(shape.Displacements, model.ComponentNames());
            contents.Modes.List.push_back(std::move(shape));
        }
        if (input.WantJson)
            critical.append(QJsonObject{{QStringLiteral("case"), found.Case},
                                        {QStringLiteral("factors"), factors},
                                        {QStringLiteral("shapes"), shapes}});
    }
    if (input.WantJson)
        outcome.Json = {{QStringLiteral("critical"), critical}};
    outcome.Protocol = text;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
