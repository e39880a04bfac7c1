#include "SurfaceAnalysis.h"

#include "EquationSystem.h"
#include "FieldReport.h"
#include "MeshStatics.h"
#include "ModeReport.h"
#include "PencilModes.h"
#include "ResultFile.h"
#include "SolverReport.h"
#include "StaticCheck.h"
#include "Units.h"

#include <QJsonArray>
#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>

namespace {

bool IsPlate(const MeshModel& model) {
    return model.Kind == ProblemType::Mesh::Plate;
}

QString Method(const MeshModel& model) {
    if (IsPlate(model))
        return QStringLiteral(
            "Thin plate in the x-y plane: discrete Kirchhoff triangles (DKT) and quadrilaterals "
            "(DKQ). Moments per unit width are positive when they stretch the bottom face "
            "(z < 0); qx = dmx/dx + dmxy/dy and qy = dmxy/dx + dmy/dy are the shear forces per "
            "unit width; m1 and m2 the principal moments, angle that of m1 from the x axis.\n");
    return QStringLiteral(
        "Flat shell elements: a membrane with drilling rotations and discrete Kirchhoff "
        "bending. Results are per unit width in each element's axes: x from n1 to n2, z the "
        "normal by the right hand from n1, n2, n3 (a positive pressure pushes along it); at "
        "the nodes in the axes of the node (its normal the mean of its elements', its x that of "
        "its first element). Moments are positive when they stretch the bottom (-z) face; "
        "face stresses s = n / t -+ 6 m / t^2 on the top (+z) and bottom faces.\n");
}

QJsonArray Texts(const QStringList& lines) {
    QJsonArray list;
    for (const QString& line : lines)
        list.append(line);
    return list;
}

QString WarningText(const QStringList& warnings) {
    QString text;
    for (const QString& warning : warnings)
        text += QStringLiteral("Warning: ") + warning + u'\n';
    return text;
}

QString NotFinite(const QString& what) {
    return QStringLiteral("the %1 is not a finite number; the data's values are out of "
                          "proportion (an element far thinner or stiffer than the others, or "
                          "values near the largest number)")
        .arg(what);
}

} // namespace

SolverOutcome SurfaceAnalysis::Statics(const SolverInput& input, SolverProgress* progress) {
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    const LinearSolver::Options options = MeshStatics::OptionsOf(input.Options);
    const MeshStatics::Outcome solved = MeshStatics::Run(model, options, progress);
    if (!solved.Error.isEmpty())
        return SolverOutcome::Failure(solved.Error);
    const FieldResults& results = solved.Results;
    // An answer that does not check is no answer: nothing of it is written.
    const double backward = SolverReport::BackwardTolerance(solved.Solver, options);
    if (const QString fault = StaticCheck::FieldVerdict(results, model.ForceUnit, backward);
        !fault.isEmpty())
        return SolverOutcome::Failure(fault);

    SolverOutcome outcome;
    outcome.Ok = true;
    if (input.WantJson) {
        outcome.Json = FieldReport::Json(results);
        outcome.Json[QStringLiteral("solution")] = SolverReport::Json(solved.Solver, options);
        if (!solved.Warnings.isEmpty())
            outcome.Json.insert(QStringLiteral("warnings"), Texts(solved.Warnings));
    }
    QString& text = outcome.Protocol;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(input.FormatName, model.Title);
    text += QStringLiteral("Nodes %1, elements %2, supports %3, load cases %4\n")
                .arg(results.Nodes)
                .arg(results.Elements)
                .arg(model.Supports.size())
                .arg(results.Cases.size());
    text += Method(model);
    text += WarningText(solved.Warnings);
    text += SolverReport::Protocol(solved.Solver, options);
    text += StaticCheck::MeshSummary(results.Residual, results.Imbalance, backward);
    text += FieldReport::Tables(results, model.ForceUnit, model.LengthUnit, QString(),
                                IsPlate(model) ? QStringLiteral("Moments and shear forces")
                                               : QStringLiteral("Forces, moments and face "
                                                                "stresses"));
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Field;
    contents.Problem = input.Problem;
    contents.Field = results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}

SolverOutcome SurfaceAnalysis::Modes(const SolverInput& input, SolverProgress* progress) {
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    // The modes need the factors of the stiffness.
    LinearSolver::Options direct;
    direct.Use = LinearSolver::Method::Direct;
    const MeshStatics::Prepared prepared = MeshStatics::Prepare(model, direct, progress);
    if (!prepared.Error.isEmpty())
        return SolverOutcome::Failure(prepared.Error);
    const size_t nodes = model.Nodes.size();
    const std::vector<const Element*> elements = prepared.Family->Elements();
    const EquationSystem& system = prepared.Solver->System();

    // The plate's own mass (gamma t / g per unit area, in uz) and the masses of table 9.
    EquationSystem::SparseMatrix b = system.Assemble([&](size_t e) {
        const Element& element = *elements[e];
        return element.TotalMass() > 0 ? element.Mass() : Element::Matrix();
    });
    for (const MeshModel::Mass& mass : model.Masses) {
        const int e = system.Equation(mass.Node, 2);
        if (e >= 0 && mass.M != 0)
            EquationSystem::AddDiagonal(b, e, mass.M);
    }
    if (b.nonZeros() == 0 || b.coeffs().cwiseAbs().maxCoeff() == 0)
        return SolverOutcome::Failure(
            QStringLiteral("the plate has no mass that can move: give the unit weight gamma in "
                           "table 2 or masses in table 9 at nodes that are not held in uz"));
    SolverProgress::Report(progress,
                           QStringLiteral("Finding the %1 lowest natural modes").arg(model.Modes));
    QString error;
    const std::vector<PencilModes::Mode> modes = PencilModes::Lowest(system, b, model.Modes, error);
    if (!error.isEmpty())
        return SolverOutcome::Failure(error);

    const QStringList names = prepared.Family->ComponentNames();
    const int width = static_cast<int>(names.size());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Modes;
    contents.Problem = input.Problem;
    contents.Modes.Nodes = static_cast<int>(nodes);
    contents.Modes.Elements = static_cast<int>(model.Cells.size());
    contents.Modes.Pieces.assign(model.Cells.size(), 1);
    contents.Modes.Components = names;

    SolverOutcome outcome;
    outcome.Ok = true;
    QJsonArray list;
    QString text = QStringLiteral("Natural modes of %1: %2\nNodes %3, elements %4, supports %5\n")
                       .arg(input.FormatName, model.Title)
                       .arg(nodes)
                       .arg(model.Cells.size())
                       .arg(model.Supports.size());
    text += QStringLiteral("Thin plate of DKT triangles and DKQ quadrilaterals. Masses: the "
                           "plate's weight gamma t / g per unit area, lumped at the nodes in uz, "
                           "and the masses of table 9.\n");
    if (const int bad = ModeReport::FrequencyTable(modes, model.Modes, text); bad >= 0)
        return SolverOutcome::Failure(
            NotFinite(QStringLiteral("frequency of mode %1").arg(bad + 1)));
    for (size_t k = 0; k < modes.size(); ++k) {
        const double omega = std::sqrt(modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        ResultFile::Shapes::Shape shape{0, frequency, {}, {}};
        shape.Displacements.assign(nodes * static_cast<size_t>(width), 0.0);
        // Scaled so that the largest deflection is 1, with the sign that makes it positive.
        double extreme = 0;
        for (size_t node = 0; node < nodes; ++node) {
            for (int c = 0; c < width; ++c) {
                const int e = system.Equation(static_cast<int>(node),
                                              model.Components[static_cast<size_t>(c)]);
                const double v = e >= 0 ? modes[k].Shape[e] : 0.0;
                shape.Displacements[node * static_cast<size_t>(width) + static_cast<size_t>(c)] = v;
                if (c == 0 && std::abs(v) > std::abs(extreme))
                    extreme = v;
            }
        }
        if (extreme != 0)
            for (double& v : shape.Displacements)
                v /= extreme;
        for (double v : shape.Displacements)
            if (!std::isfinite(v))
                return SolverOutcome::Failure(
                    NotFinite(QStringLiteral("shape of mode %1").arg(k + 1)));
        if (input.WantJson)
            list.append(QJsonObject{
                {QStringLiteral("frequency"), frequency},
                {QStringLiteral("period"), 1 / frequency},
                {QStringLiteral("circular"), omega},
                {QStringLiteral("shape"), ModeReport::ShapeJson(shape.Displacements, width)}});
        text += QStringLiteral("\nMode %1, %2 Hz (largest deflection 1)\n")
                    .arg(k + 1)
                    .arg(frequency, 0, 'g', 6) +
                ModeReport::ShapeText(shape.Displacements, names);
        contents.Modes.List.push_back(std::move(shape));
    }
    if (input.WantJson)
        outcome.Json = {{QStringLiteral("modes"), list}};
    outcome.Protocol = text;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
