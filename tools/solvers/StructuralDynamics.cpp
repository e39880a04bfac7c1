#include "StructuralDynamics.h"

#include "BarModelBuilder.h"
#include "PencilModes.h"
#include "ResultFile.h"
#include "StaticAnalysis.h"
#include "StaticReport.h"

#include <QJsonArray>
#include <cmath>
#include <numbers>

namespace {

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

// The lumped masses of the equations: half of each bar's weight / g at each end in every
// translation the type keeps, and the masses of table 9 (with the rotational inertia J about
// y for plane frames).
Eigen::VectorXd LumpedMasses(const StiffnessSystem& system) {
    const BarModel& model = system.Model();
    const double g = Gravity(model.LengthUnit);
    std::vector<double> nodeMass(model.Nodes.size(), 0.0), nodeInertia(model.Nodes.size(), 0.0);
    for (size_t bar = 0; bar < model.Bars.size(); ++bar) {
        const BarModel::Bar& b = model.Bars[bar];
        const double half = b.Density * b.A * system.Elements()[bar].Length() / g / 2;
        nodeMass[static_cast<size_t>(b.I)] += half;
        nodeMass[static_cast<size_t>(b.J)] += half;
    }
    for (const BarModel::Mass& mass : model.Masses) {
        nodeMass[static_cast<size_t>(mass.Node)] += mass.M;
        nodeInertia[static_cast<size_t>(mass.Node)] += mass.J;
    }
    Eigen::VectorXd masses = Eigen::VectorXd::Zero(system.Equations());
    for (size_t node = 0; node < model.Nodes.size(); ++node) {
        for (int c : model.Components) {
            const int e = system.Equation(static_cast<int>(node), c);
            if (e >= 0)
                masses[e] = c < 3 ? nodeMass[node] : c == 4 ? nodeInertia[node] : 0;
        }
    }
    return masses;
}

// A shape per node of the data file, scaled so that its largest translation is 1.
std::vector<double> NodeShape(const StiffnessSystem& system, const Eigen::VectorXd& shape) {
    const BarModel& model = system.Model();
    std::vector<double> values;
    double largest = 0, largestAny = 0;
    for (int node = 0; node < model.DataNodes; ++node) {
        for (int c : model.Components) {
            const int e = system.Equation(node, c);
            const double v = e >= 0 ? shape[e] : 0;
            values.push_back(v);
            largestAny = std::max(largestAny, std::abs(v));
            if (c < 3)
                largest = std::max(largest, std::abs(v));
        }
    }
    const double scale = largest > 0 ? largest : largestAny;
    // The sign that makes the largest component positive, so that shapes compare.
    double extreme = 0;
    for (double v : values) {
        if (std::abs(v) >= scale * (1 - 1e-9) && std::abs(v) > std::abs(extreme))
            extreme = v;
    }
    const double factor = scale > 0 ? (extreme < 0 ? -1 : 1) / scale : 1;
    for (double& v : values)
        v *= factor;
    return values;
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

QString Heading(const SolverInput& input, const BarModel& model, const QString& analysis) {
    return QStringLiteral("%1 of %2: %3\nNodes %4, elements %5, supports %6\n")
        .arg(analysis, input.FormatName, input.Data.General[0].Text)
        .arg(model.DataNodes)
        .arg(model.DataElements)
        .arg(model.Supports.size());
}

// A result file of shapes for the nodes of the data file, still without its shapes.
ResultFile::Contents ShapesFile(ResultFile::Kind kind, const SolverInput& input,
                                const BarModel& model) {
    ResultFile::Contents contents;
    contents.Type = kind;
    contents.Problem = input.Problem;
    contents.Modes.Nodes = model.DataNodes;
    contents.Modes.Components = model.ComponentNames();
    return contents;
}

} // namespace

SolverOutcome StructuralDynamics::Modes(const SolverInput& input, SolverProgress* progress) {
    const BarModel model = BarModelBuilder::Build(input.Problem, input.Data);
    SolverProgress::Report(progress, StaticAnalysis::AssemblyStage(model));
    StiffnessSystem system(model);
    if (!system.Prepare())
        return SolverOutcome::Failure(system.Error());
    const Eigen::VectorXd masses = LumpedMasses(system);
    if (masses.maxCoeff() <= 0)
        return SolverOutcome::Failure(
            QStringLiteral("the structure has no mass: give the unit weight gamma of table 2 or "
                           "masses in table 9"));
    StiffnessSystem::SparseMatrix b(system.Equations(), system.Equations());
    std::vector<Eigen::Triplet<double>> diagonal;
    for (Eigen::Index e = 0; e < masses.size(); ++e)
        diagonal.emplace_back(static_cast<int>(e), static_cast<int>(e), masses[e]);
    b.setFromTriplets(diagonal.begin(), diagonal.end());
    SolverProgress::Report(progress, QStringLiteral("Natural modes: the lowest %1 of %2 equations")
                                         .arg(std::max(1, model.Modes))
                                         .arg(SolverProgress::Count(system.Equations())));
    QString error;
    const std::vector<PencilModes::Mode> modes =
        PencilModes::Lowest(system, b, std::max(1, model.Modes), error);
    if (!error.isEmpty())
        return SolverOutcome::Failure(error);

    SolverOutcome outcome;
    outcome.Ok = true;
    ResultFile::Contents contents = ShapesFile(ResultFile::Kind::Modes, input, model);
    QJsonArray list;
    QString text = Heading(input, model, QStringLiteral("Natural modes"));
    text += QStringLiteral("Masses: table 9 and the bars' weight / g, lumped at the nodes.\n");
    if (static_cast<int>(modes.size()) < model.Modes)
        text += QStringLiteral("Only %1 modes exist with the masses given.\n").arg(modes.size());
    text += QStringLiteral("\nMode  frequency [Hz]    period [s]  circular [1/s]\n");
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        text += QString::number(k + 1).rightJustified(4) + StaticReport::Number(frequency) +
                StaticReport::Number(1 / frequency) + StaticReport::Number(omega) + u'\n';
    }
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        const std::vector<double> shape = NodeShape(system, modes[k].Shape);
        if (input.WantJson)
            list.append(QJsonObject{{QStringLiteral("frequency"), frequency},
                                    {QStringLiteral("period"), 1 / frequency},
                                    {QStringLiteral("circular"), omega},
                                    {QStringLiteral("shape"),
                                     ShapeJson(shape, static_cast<int>(model.Components.size()))}});
        text += QStringLiteral("\nMode %1, %2 Hz (largest translation 1)\n")
                    .arg(k + 1)
                    .arg(frequency, 0, 'g', 6) +
                ShapeText(shape, model.ComponentNames());
        contents.Modes.List.push_back({0, frequency, shape});
    }
    if (input.WantJson)
        outcome.Json = {{QStringLiteral("modes"), list}};
    outcome.Protocol = text;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}

SolverOutcome StructuralDynamics::Buckling(const SolverInput& input, SolverProgress* progress) {
    const BarModel model = BarModelBuilder::Build(input.Problem, input.Data);
    SolverProgress::Report(progress, StaticAnalysis::AssemblyStage(model));
    StiffnessSystem system(model);
    if (!system.Prepare())
        return SolverOutcome::Failure(system.Error());

    SolverOutcome outcome;
    outcome.Ok = true;
    ResultFile::Contents contents = ShapesFile(ResultFile::Kind::Buckling, input, model);
    QJsonArray critical;
    QString text = Heading(input, model, QStringLiteral("Buckling"));
    text += QStringLiteral("Critical factors: the multiples of each load case's loads at which "
                           "the frame buckles (linear buckling with the geometric stiffness of "
                           "the normal forces).\n");
    for (int loadCase = 1; loadCase <= std::max(1, model.LoadCases); ++loadCase) {
        SolverProgress::Report(progress,
                               QStringLiteral("Load case %1: critical factors").arg(loadCase));
        const std::vector<double> normal = StaticAnalysis::NormalForces(system, loadCase);
        std::vector<Eigen::Triplet<double>> triplets;
        for (size_t bar = 0; bar < normal.size(); ++bar)
            system.Scatter(static_cast<int>(bar),
                           -system.Elements()[bar].GlobalGeometricStiffness(normal[bar]), triplets);
        StiffnessSystem::SparseMatrix b(system.Equations(), system.Equations());
        b.setFromTriplets(triplets.begin(), triplets.end());
        QString error;
        const std::vector<PencilModes::Mode> modes =
            PencilModes::Lowest(system, b, std::max(1, model.Modes), error);
        if (!error.isEmpty())
            return SolverOutcome::Failure(error);
        QJsonArray factors, shapes;
        text += QStringLiteral("\nLoad case %1\n").arg(loadCase);
        if (modes.empty())
            text += QStringLiteral("No buckling: the loads cause no compression that could "
                                   "make the frame unstable.\n");
        for (size_t k = 0; k < modes.size(); ++k) {
            const std::vector<double> shape = NodeShape(system, modes[k].Shape);
            factors.append(modes[k].Lambda);
            shapes.append(ShapeJson(shape, static_cast<int>(model.Components.size())));
            text += QStringLiteral("\nMode %1: critical factor %2\n")
                        .arg(k + 1)
                        .arg(modes[k].Lambda, 0, 'g', 8) +
                    ShapeText(shape, model.ComponentNames());
            contents.Modes.List.push_back({loadCase, modes[k].Lambda, shape});
        }
        critical.append(QJsonObject{{QStringLiteral("case"), loadCase},
                                    {QStringLiteral("factors"), factors},
                                    {QStringLiteral("shapes"), shapes}});
    }
    outcome.Json = {{QStringLiteral("critical"), critical}};
    outcome.Protocol = text;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
