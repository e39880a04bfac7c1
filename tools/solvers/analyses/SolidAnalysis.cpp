#include "SolidAnalysis.h"

#include "FieldReport.h"
#include "MeshStatics.h"
#include "ResultFile.h"
#include "SolverReport.h"
#include "StaticCheck.h"
#include "StaticReport.h"

namespace {

QString Counts(const MeshModel& model) {
    int bricks = 0, wedges = 0, tetrahedra = 0;
    for (const MeshModel::Cell& cell : model.Cells)
        ++(cell.Count == 8 ? bricks : cell.Count == 6 ? wedges : tetrahedra);
    return QStringLiteral("%1 bricks, %2 wedges, %3 tetrahedra")
        .arg(bricks)
        .arg(wedges)
        .arg(tetrahedra);
}

} // namespace

SolverOutcome SolidAnalysis::Solve(const SolverInput& input, SolverProgress* progress) {
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    const LinearSolver::Options options = MeshStatics::OptionsOf(input.Options);
    const MeshStatics::Outcome run = MeshStatics::Run(model, options, progress);
    const FieldResults& results = run.Results;
    const double backward = SolverReport::BackwardTolerance(run.Solver, options);
    if (const QString fault = StaticCheck::FieldVerdict(results, model.ForceUnit, backward);
        !fault.isEmpty())
        throw SolverError(fault);

    SolverOutcome outcome;
    if (input.WantJson) {
        outcome.Json = FieldReport::Json(results);
        outcome.Json[QStringLiteral("solution")] = SolverReport::Json(run.Solver, options);
    }
    QString& text = outcome.Protocol;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(input.FormatName, model.Title);
    text += StaticReport::CountLine(results, model.Supports.size(), Counts(model));
    text += QStringLiteral("Bricks of eight nodes with incompatible modes, wedges of six nodes, "
                           "tetrahedra of constant strain. s1 >= s2 >= s3 are the principal "
                           "stresses, mises the von Mises stress; nodal stresses are the mean "
                           "of the elements at the node.\n");
    text += SolverReport::Protocol(run.Solver, options);
    text += StaticCheck::MeshSummary(results.Residual, results.Imbalance, backward);
    text += FieldReport::Tables(results, model.ForceUnit, model.LengthUnit, QString());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Field;
    contents.Problem = input.Problem;
    contents.Field = results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
