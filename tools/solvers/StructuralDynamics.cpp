#include "StructuralDynamics.h"

#include "BarModelBuilder.h"
#include "PencilModes.h"
#include "ResultFile.h"
#include "StaticAnalysis.h"
#include "StaticReport.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

namespace {

// Members are cut into 1, 2, 4, ... pieces until the values asked for change by no more than
// this share from one division to the next; cubic bars with the consistent masses and
// geometric stiffness approach the exact values as the fourth power of the piece's length, so
// the last division is some sixteen times closer still.
constexpr double Convergence = 1e-5;
// The finest division: as fine as the arcs.
constexpr int MostPieces = BarModelBuilder::ArcPieces;

// The acceleration of gravity in the file's length unit per s^2, to turn unit weights into
// masses; lengths in metres unless the unit says otherwise.
double Gravity(const QString& lengthUnit) {
    const QString unit = lengthUnit.toLower();
    if (unit == QLatin1String("cm"))
        return 980.665;
    if (unit == QLatin1String("mm"))
        return 9806.65;
    if (unit == QLatin1String("dm"))
        return 98.0665;
    return 9.80665;
}

// The mass matrix (upper triangle): the consistent mass of each bar that bends, half of each
// truss bar's weight / g at each end in every translation the type keeps, and the masses of
// table 9 (with the rotational inertia J about y for plane frames) at their nodes.
StiffnessSystem::SparseMatrix Masses(const StiffnessSystem& system) {
    const BarModel& model = system.Model();
    const double g = Gravity(model.LengthUnit);
    std::vector<double> nodeMass(model.Nodes.size(), 0.0), nodeInertia(model.Nodes.size(), 0.0);
    std::vector<Eigen::Triplet<double>> triplets;
    for (size_t bar = 0; bar < model.Bars.size(); ++bar) {
        const BarModel::Bar& b = model.Bars[bar];
        const double perLength = b.Density * b.A / g;
        if (perLength == 0)
            continue;
        if (!b.Truss) {
            system.Scatter(static_cast<int>(bar), system.Elements()[bar].GlobalMass(perLength),
                           triplets);
            continue;
        }
        const double half = perLength * system.Elements()[bar].Length() / 2;
        nodeMass[static_cast<size_t>(b.I)] += half;
        nodeMass[static_cast<size_t>(b.J)] += half;
    }
    for (const BarModel::Mass& mass : model.Masses) {
        nodeMass[static_cast<size_t>(mass.Node)] += mass.M;
        nodeInertia[static_cast<size_t>(mass.Node)] += mass.J;
    }
    for (size_t node = 0; node < model.Nodes.size(); ++node) {
        for (int c : model.Components) {
            const int e = system.Equation(static_cast<int>(node), c);
            const double m = c < 3 ? nodeMass[node] : c == 4 ? nodeInertia[node] : 0;
            if (e >= 0 && m != 0)
                triplets.emplace_back(e, e, m);
        }
    }
    StiffnessSystem::SparseMatrix b(system.Equations(), system.Equations());
    b.setFromTriplets(triplets.begin(), triplets.end());
    return b;
}

// The characteristic values and shapes of one load case (0 for natural modes).
struct CaseModes {
    int Case = 0;
    std::vector<PencilModes::Mode> Modes;
};

// One division of the members: the model, its equations and the modes of every case.
struct Division {
    int Pieces = 1;
    std::unique_ptr<BarModel> Model;
    std::unique_ptr<StiffnessSystem> System;
    std::vector<CaseModes> Cases;
};

// The value a mode reports: the frequency in Hz for natural modes, the factor for buckling.
double Reported(const PencilModes::Mode& mode, bool natural) {
    return natural ? std::sqrt(mode.Lambda) / (2 * std::numbers::pi) : mode.Lambda;
}

// The largest relative change of the reported values between two divisions; infinite when
// they found different numbers of modes.
double Change(const Division& coarse, const Division& fine, bool natural) {
    double change = 0;
    for (size_t c = 0; c < fine.Cases.size(); ++c) {
        const std::vector<PencilModes::Mode>& a = coarse.Cases[c].Modes;
        const std::vector<PencilModes::Mode>& b = fine.Cases[c].Modes;
        if (a.size() != b.size())
            return std::numeric_limits<double>::infinity();
        for (size_t k = 0; k < a.size(); ++k) {
            const double x = Reported(a[k], natural), y = Reported(b[k], natural);
            change = std::max(change, std::abs(x - y) / std::max(std::abs(y), 1e-300));
        }
    }
    return change;
}

bool HasDivisibleMember(const BarModel& model) {
    for (const BarModel::Bar& bar : model.Bars) {
        if (!bar.Truss && bar.I != bar.J && model.Pieces[static_cast<size_t>(bar.Element)] == 1)
            return true;
    }
    return false;
}

// Solves one division; the error, or an empty text.
using Analysis = QString (*)(const StiffnessSystem&, std::vector<CaseModes>&, SolverProgress*);

QString NaturalModes(const StiffnessSystem& system, std::vector<CaseModes>& cases,
                     SolverProgress* progress) {
    const BarModel& model = system.Model();
    const StiffnessSystem::SparseMatrix b = Masses(system);
    if (!(b.diagonal().sum() > 0))
        return QStringLiteral("the structure has no mass: give the unit weight gamma of table 2 "
                              "or masses in table 9");
    SolverProgress::Report(progress, QStringLiteral("Natural modes: the lowest %1 of %2 equations")
                                         .arg(std::max(1, model.Modes))
                                         .arg(SolverProgress::Count(system.Equations())));
    QString error;
    cases.push_back({0, PencilModes::Lowest(system, b, std::max(1, model.Modes), error)});
    return error;
}

QString CriticalFactors(const StiffnessSystem& system, std::vector<CaseModes>& cases,
                        SolverProgress* progress) {
    const BarModel& model = system.Model();
    const int count = std::max(1, model.LoadCases);
    // Only the cases with loads are solved; the others cause no compression.
    const std::vector<StaticAnalysis::CaseLoads> loaded = StaticAnalysis::LoadedCases(model, count);
    size_t next = 0;
    for (int loadCase = 1; loadCase <= count; ++loadCase) {
        cases.push_back({loadCase, {}});
        if (next >= loaded.size() || loaded[next].Case != loadCase)
            continue;
        SolverProgress::Report(progress,
                               QStringLiteral("Load case %1: critical factors").arg(loadCase));
        const std::vector<double> normal = StaticAnalysis::NormalForces(system, loaded[next++]);
        std::vector<Eigen::Triplet<double>> triplets;
        for (size_t bar = 0; bar < normal.size(); ++bar)
            system.Scatter(static_cast<int>(bar),
                           -system.Elements()[bar].GlobalGeometricStiffness(normal[bar]), triplets);
        StiffnessSystem::SparseMatrix b(system.Equations(), system.Equations());
        b.setFromTriplets(triplets.begin(), triplets.end());
        QString error;
        cases.back().Modes = PencilModes::Lowest(system, b, std::max(1, model.Modes), error);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

// Divides the members ever finer until the values asked for settle. `division` gets the
// finest; the error, or an empty text.
QString Converge(const SolverInput& input, Analysis analysis, bool natural,
                 SolverProgress* progress, Division& division, double& lastChange) {
    lastChange = 0;
    for (int pieces = 1;; pieces *= 2) {
        Division next;
        next.Pieces = pieces;
        next.Model =
            std::make_unique<BarModel>(BarModelBuilder::Build(input.Problem, input.Data, pieces));
        if (pieces == 1)
            SolverProgress::Report(progress, StaticAnalysis::AssemblyStage(*next.Model));
        next.System = std::make_unique<StiffnessSystem>(*next.Model);
        if (!next.System->Prepare())
            return next.System->Error();
        const QString error = analysis(*next.System, next.Cases, progress);
        if (!error.isEmpty())
            return error;
        const bool first = pieces == 1;
        const bool divisible = HasDivisibleMember(*next.Model) || !first;
        if (!first)
            lastChange = Change(division, next, natural);
        // The equations refer to their model: they go first.
        division.System.reset();
        division = std::move(next);
        if (!divisible || (!first && lastChange <= Convergence) || pieces >= MostPieces)
            return {};
    }
}

// A shape at the nodes of the data file and at the inner points, scaled together so that the
// largest translation is 1, with the sign that makes the largest component positive.
void ScaleShape(const StiffnessSystem& system, const Eigen::VectorXd& shape,
                std::vector<double>& nodes, std::vector<double>& inner) {
    const BarModel& model = system.Model();
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
}

QJsonArray ShapeJson(const std::vector<double>& shape, int width) {
    QJsonArray rows;
    for (size_t node = 0; node * width < shape.size(); ++node) {
        QJsonArray row{static_cast<int>(node + 1)};
        for (int c = 0; c < width; ++c)
            row.append(shape[node * width + c]);
        rows.append(row);
    }
    return rows;
}

QString ShapeText(const std::vector<double>& shape, const QStringList& components) {
    const int width = static_cast<int>(components.size());
    QString text = QStringLiteral("    Node");
    for (const QString& name : components)
        text += name.rightJustified(13);
    text += u'\n';
    for (size_t node = 0; node * width < shape.size(); ++node) {
        StaticReport::AppendLine(text, static_cast<int>(node + 1), shape.data() + node * width,
                                 width);
    }
    return text;
}

QString Heading(const SolverInput& input, const Division& division, const QString& analysis,
                double change) {
    const BarModel& model = *division.Model;
    QString text = QStringLiteral("%1 of %2: %3\nNodes %4, elements %5, supports %6\n")
                       .arg(analysis, input.FormatName, input.Data.General[0].Text)
                       .arg(model.DataNodes)
                       .arg(model.DataElements)
                       .arg(model.Supports.size());
    if (division.Pieces > 1)
        text += QStringLiteral("Members that bend are divided into %1 pieces each (the values "
                               "changed by %2 from %3 pieces); the results are listed at the "
                               "nodes of the data.\n")
                    .arg(division.Pieces)
                    .arg(change, 0, 'g', 2)
                    .arg(division.Pieces / 2);
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
    double change = 0;
    const QString error = Converge(input, NaturalModes, true, progress, division, change);
    if (!error.isEmpty())
        return SolverOutcome::Failure(error);
    const BarModel& model = *division.Model;
    const StiffnessSystem& system = *division.System;
    const std::vector<PencilModes::Mode>& modes = division.Cases.front().Modes;

    SolverOutcome outcome;
    outcome.Ok = true;
    ResultFile::Contents contents = ShapesFile(ResultFile::Kind::Modes, input, model);
    QJsonArray list;
    QString text = Heading(input, division, QStringLiteral("Natural modes"), change);
    text += QStringLiteral("Masses: the bars' weight / g spread along them (truss bars: half at "
                           "each end) and the masses of table 9.\n");
    if (static_cast<int>(modes.size()) < model.Modes)
        text += QStringLiteral("Only %1 modes exist with the masses given.\n").arg(modes.size());
    text += QStringLiteral("\nMode  frequency [Hz]    period [s]  circular [1/s]\n");
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        if (!std::isfinite(frequency) || !(frequency > 0))
            return SolverOutcome::Failure(
                NotFinite(QStringLiteral("frequency of mode %1").arg(k + 1)));
        text += QString::number(k + 1).rightJustified(4) + StaticReport::Number(frequency) +
                StaticReport::Number(1 / frequency) + StaticReport::Number(omega) + u'\n';
    }
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        ResultFile::Shapes::Shape shape{0, frequency, {}, {}};
        ScaleShape(system, modes[k].Shape, shape.Displacements, shape.Inner);
        if (!Finite(shape.Displacements) || !Finite(shape.Inner))
            return SolverOutcome::Failure(NotFinite(QStringLiteral("shape of mode %1").arg(k + 1)));
        if (input.WantJson)
            list.append(QJsonObject{
                {QStringLiteral("frequency"), frequency},
                {QStringLiteral("period"), 1 / frequency},
                {QStringLiteral("circular"), omega},
                {QStringLiteral("shape"),
                 ShapeJson(shape.Displacements, static_cast<int>(model.Components.size()))}});
        text += QStringLiteral("\nMode %1, %2 Hz (largest translation 1)\n")
                    .arg(k + 1)
                    .arg(frequency, 0, 'g', 6) +
                ShapeText(shape.Displacements, model.ComponentNames());
        contents.Modes.List.push_back(std::move(shape));
    }
    if (input.WantJson)
        outcome.Json = {{QStringLiteral("modes"), list}};
    outcome.Protocol = text;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}

SolverOutcome StructuralDynamics::Buckling(const SolverInput& input, SolverProgress* progress) {
    Division division;
    double change = 0;
    const QString error = Converge(input, CriticalFactors, false, progress, division, change);
    if (!error.isEmpty())
        return SolverOutcome::Failure(error);
    const BarModel& model = *division.Model;
    const StiffnessSystem& system = *division.System;

    SolverOutcome outcome;
    outcome.Ok = true;
    ResultFile::Contents contents = ShapesFile(ResultFile::Kind::Buckling, input, model);
    QJsonArray critical;
    QString text = Heading(input, division, QStringLiteral("Buckling"), change);
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
            ScaleShape(system, found.Modes[k].Shape, shape.Displacements, shape.Inner);
            if (!std::isfinite(factor) || !Finite(shape.Displacements) || !Finite(shape.Inner))
                return SolverOutcome::Failure(
                    NotFinite(QStringLiteral("critical factor %1 of load case %2")
                                  .arg(k + 1)
                                  .arg(found.Case)));
            if (input.WantJson) {
                factors.append(factor);
                shapes.append(
                    ShapeJson(shape.Displacements, static_cast<int>(model.Components.size())));
            }
            text += QStringLiteral("\nMode %1: critical factor %2\n")
                        .arg(k + 1)
                        .arg(factor, 0, 'g', 8) +
                    ShapeText(shape.Displacements, model.ComponentNames());
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
