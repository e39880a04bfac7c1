#include "SurfaceAnalysis.h"

#include "DynamicResponse.h"
#include "EquationSystem.h"
#include "FieldReport.h"
#include "MeshStatics.h"
#include "ModalAnalysis.h"
#include "ResultFile.h"
#include "SolverReport.h"
#include "StaticCheck.h"
#include "StaticReport.h"
#include "Units.h"

#include <QJsonArray>
#include <cmath>
#include <memory>
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

// The forced vibrations of a plate as listed: its nodes' components, and each element's
// moments and shear forces at its centre as the element recovers them from a motion.
// `elements` and `system` must outlive the layout.
VibrationReport::Layout VibrationLayout(const MeshModel& model, const EquationSystem& system,
                                        const std::vector<const Element*>& elements,
                                        const QStringList& names) {
    VibrationReport::Layout layout;
    layout.Nodes = static_cast<int>(model.Nodes.size());
    layout.Components = model.Components;
    layout.Names = names;
    layout.ForceUnit = model.ForceUnit;
    layout.LengthUnit = model.LengthUnit;
    const ResultLayout own = elements.empty() ? ResultLayout() : elements.front()->Layout();
    layout.ElementColumns = own;
    layout.ElementRows = [&system, &elements, count = own.Count()](const Eigen::VectorXd& u) {
        Eigen::MatrixXd rows =
            Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(elements.size()), count);
        for (size_t e = 0; e < elements.size(); ++e) {
            const Element::Results r = elements[e]->Recover(system.Gather(*elements[e], u));
            if (r.rows() > 0)
                rows.row(static_cast<Eigen::Index>(e)) =
                    r.row(0).head(std::min<Eigen::Index>(count, r.cols()));
        }
        return rows;
    };
    return layout;
}

} // namespace

SolverOutcome SurfaceAnalysis::Statics(const SolverInput& input, SolverProgress* progress) {
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    const LinearSolver::Options options = MeshStatics::OptionsOf(input.Options);
    const MeshStatics::Outcome solved = MeshStatics::Run(model, options, progress);
    const FieldResults& results = solved.Results;
    // An answer that does not check is no answer: nothing of it is written.
    const double backward = SolverReport::BackwardTolerance(solved.Solver, options);
    if (const QString fault = StaticCheck::FieldVerdict(results, model.ForceUnit, backward);
        !fault.isEmpty())
        throw SolverError(fault);

    SolverOutcome outcome;
    if (input.WantJson) {
        outcome.Json = FieldReport::Json(results);
        outcome.Json[QStringLiteral("solution")] = SolverReport::Json(solved.Solver, options);
        if (!solved.Warnings.isEmpty())
            outcome.Json.insert(QStringLiteral("warnings"), Texts(solved.Warnings));
    }
    QString& text = outcome.Protocol;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(input.FormatName, model.Title);
    text += StaticReport::CountLine(results, model.Supports.size());
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
    // The plate's own mass (gamma t / g per unit area, in uz) and the masses of table 9.
    std::vector<ModalAnalysis::Point> points;
    for (const MeshModel::Mass& mass : model.Masses)
        points.push_back({mass.Node, 2, mass.M});
    const ModalAnalysis::Prepared prepared =
        ModalAnalysis::Prepare(model, MeshFamily::Of(model), points, progress);
    const EquationSystem& system = prepared.System();
    SolverProgress::Report(progress,
                           QStringLiteral("Finding the %1 lowest natural modes").arg(model.Modes));
    const ModalAnalysis::Found found = ModalAnalysis::Natural(
        prepared, points, model.Modes,
        QStringLiteral("the plate has no mass that can move: give the unit weight gamma in "
                       "table 2 or masses in table 9 at nodes that are not held in uz"));

    const size_t nodes = model.Nodes.size();
    ModalAnalysis::Listing listing;
    listing.Heading =
        QStringLiteral("Natural modes of %1: %2\nNodes %3, elements %4, supports %5\n")
            .arg(input.FormatName, model.Title)
            .arg(nodes)
            .arg(model.Cells.size())
            .arg(model.Supports.size()) +
        QStringLiteral("Thin plate of DKT triangles and DKQ quadrilaterals. Masses: the plate's "
                       "weight gamma t / g per unit area, lumped at the nodes in uz, and the "
                       "masses of table 9.\n");
    listing.Largest = QStringLiteral("deflection");
    listing.Components = prepared.Statics.Family->ComponentNames();
    listing.File.Type = ResultFile::Kind::Modes;
    listing.File.Problem = input.Problem;
    listing.File.Modes.Nodes = static_cast<int>(nodes);
    listing.File.Modes.Elements = static_cast<int>(model.Cells.size());
    listing.File.Modes.Pieces.assign(model.Cells.size(), 1);
    listing.File.Modes.Components = listing.Components;
    listing.Scale = [&](const Eigen::VectorXd& shape, std::vector<double>& values,
                        std::vector<double>&) {
        // The largest deflection is 1, with the sign that makes it positive.
        double extreme = 0;
        for (size_t node = 0; node < nodes; ++node) {
            for (int c : model.Components) {
                const int e = system.Equation(static_cast<int>(node), c);
                values.push_back(e >= 0 ? shape[e] : 0.0);
                if (c == model.Components.front() && std::abs(values.back()) > std::abs(extreme))
                    extreme = values.back();
            }
        }
        if (extreme == 0)
            return 1.0;
        for (double& v : values)
            v /= extreme;
        return 1 / extreme;
    };
    listing.NotFinite = NotFinite;
    ResultFile::Contents file;
    SolverOutcome outcome =
        ModalAnalysis::Write(found.Modes, found.Rigid, model.Modes, listing, input.WantJson, &file);
    // A motion's moments and shear forces at the element centres, as each element gives them.
    const std::vector<const Element*> elements = prepared.Statics.Family->Elements();
    const VibrationReport::Layout layout =
        VibrationLayout(model, system, elements, listing.Components);
    DynamicResponse::Append(input, system, points, found.Modes, found.Rigid > 0,
                            Units::Gravity(model.LengthUnit), layout, listing.Scale,
                            std::move(file), outcome);
    return outcome;
}
