#include "ContinuumAnalysis.h"

#include "FieldReport.h"
#include "MeshStatics.h"
#include "ResultFile.h"
#include "SolverInput.h"
#include "SolverReport.h"
#include "StaticCheck.h"
#include "StaticReport.h"

#include <QFileInfo>

namespace {

using Mesh = ProblemType::Mesh;

QString Method(Mesh kind) {
    switch (kind) {
    case Mesh::PlaneStrain:
        return QStringLiteral("Plane strain of a slice of unit thickness; sy is the stress across "
                              "the plane.");
    case Mesh::Revolution:
        return QStringLiteral("Body of revolution about the z axis; st is the hoop stress. Loads "
                              "and reactions are ring values per unit length of the "
                              "circumference at the node's radius.");
    default:
        return QStringLiteral("Plane stress in a panel of the thickness of table 3.");
    }
}

} // namespace

SolverOutcome ContinuumAnalysis::Solve(const SolverInput& input, SolverProgress* progress) {
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
    }
    QString& text = outcome.Protocol;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(input.FormatName, model.Title);
    text += StaticReport::CountLine(results, model.Supports.size());
    text += Method(model.Kind) + u'\n';
    text += QStringLiteral("Triangles of constant strain, quadrilaterals with incompatible "
                           "bending modes. s1 and s2 are the principal stresses in the plane of "
                           "the model, angle that of s1 from the x (r) axis towards z.\n");
    text += SolverReport::Protocol(solved.Solver, options);
    text += StaticCheck::MeshSummary(results.Residual, results.Imbalance, backward);
    const bool axisymmetric = model.Kind == Mesh::Revolution;
    text += FieldReport::Tables(
        results, model.ForceUnit, model.LengthUnit,
        axisymmetric ? QStringLiteral(", per unit length of the circumference; on the axis per "
                                      "radian")
                     : QString());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Field;
    contents.Problem = input.Problem;
    contents.Field = results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
