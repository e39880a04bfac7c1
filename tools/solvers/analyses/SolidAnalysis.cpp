#include "SolidAnalysis.h"

#include "FieldReport.h"
#include "MeshStatics.h"
#include "ResultFile.h"
#include "StaticCheck.h"

#include <QJsonArray>

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
    const LinearSolver::Report& solved = run.Solver;
    if (!run.Error.isEmpty())
        return SolverOutcome::Failure(run.Error);
    const FieldResults& results = run.Results;
    const bool iterative = solved.Used == LinearSolver::Method::Iterative;
    // An iteration stops at its residual: the check holds it to what that residual allows.
    const double backward = iterative ? std::max(StaticCheck::BackwardTolerance, options.Tolerance)
                                      : StaticCheck::BackwardTolerance;
    if (const QString fault = StaticCheck::FieldVerdict(results, model.ForceUnit, backward);
        !fault.isEmpty())
        return SolverOutcome::Failure(fault);

    SolverOutcome outcome;
    outcome.Ok = true;
    if (input.WantJson) {
        outcome.Json = FieldReport::Json(results);
        QJsonObject method;
        method[QStringLiteral("method")] =
            iterative ? QStringLiteral("iterative") : QStringLiteral("direct");
        if (iterative) {
            QJsonArray iterations;
            for (int n : solved.Iterations)
                iterations.append(n);
            method[QStringLiteral("iterations")] = iterations;
            method[QStringLiteral("tolerance")] = options.Tolerance;
            method[QStringLiteral("residual")] = solved.Tolerance;
            method[QStringLiteral("processes")] = solved.Processes;
        }
        outcome.Json[QStringLiteral("solution")] = method;
    }
    QString& text = outcome.Protocol;
    text += QStringLiteral("Static analysis of %1: %2\n").arg(input.FormatName, model.Title);
    text += QStringLiteral("Nodes %1, elements %2 (%3), supports %4, load cases %5\n")
                .arg(results.Nodes)
                .arg(results.Elements)
                .arg(Counts(model))
                .arg(model.Supports.size())
                .arg(results.Cases.size());
    text += QStringLiteral("Bricks of eight nodes with incompatible modes, wedges of six nodes, "
                           "tetrahedra of constant strain. s1 >= s2 >= s3 are the principal "
                           "stresses, mises the von Mises stress; nodal stresses are the mean "
                           "of the elements at the node.\n");
    text += solved.Why + u'\n';
    // What became of a number of processes asked for, said in one line.
    if (options.Processes > 1 && !iterative)
        text += QStringLiteral("--processes=%1 shares only an iterative solution: the direct "
                               "one ran in this process.\n")
                    .arg(options.Processes);
    else if (options.Processes > solved.Processes)
        text += QStringLiteral("--processes=%1 asked for %2 helper processes, which could not "
                               "be started: the iteration ran on %3.\n")
                    .arg(options.Processes)
                    .arg(options.Processes - 1)
                    .arg(solved.Processes);
    if (iterative) {
        QStringList counts;
        for (int n : solved.Iterations)
            counts << QString::number(n);
        text += QStringLiteral("Iterations per load case: %1; largest relative residual %2%3.\n")
                    .arg(counts.join(QStringLiteral(", ")))
                    .arg(solved.Tolerance, 0, 'g', 3)
                    .arg(solved.Processes > 1
                             ? QStringLiteral("; shared by %1 processes").arg(solved.Processes)
                             : QString());
    }
    text += StaticCheck::MeshSummary(results.Residual, results.Imbalance, backward);
    text += FieldReport::Tables(results, model.ForceUnit, model.LengthUnit, QString());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Field;
    contents.Problem = input.Problem;
    contents.Field = results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}
