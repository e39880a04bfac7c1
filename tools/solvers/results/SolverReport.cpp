#include "SolverReport.h"

#include "StaticCheck.h"

#include <QJsonArray>
#include <QStringList>

namespace {

bool Iterative(const LinearSolver::Report& report) {
    return report.Used == LinearSolver::Method::Iterative;
}

} // namespace

bool SolverReport::Worded(const LinearSolver::Report& report,
                          const LinearSolver::Options& options) {
    return options.Use != LinearSolver::Method::Automatic ||
           report.Used != LinearSolver::Method::Direct;
}

QString SolverReport::Protocol(const LinearSolver::Report& report,
                               const LinearSolver::Options& options) {
    QString text = report.Why + u'\n';
    // What became of a number of processes asked for, said in one line.
    if (options.Processes > 1 && !Iterative(report))
        text += QStringLiteral("--processes=%1 shares only an iterative solution: the direct "
                               "one ran in this process.\n")
                    .arg(options.Processes);
    else if (options.Processes > report.Processes)
        text += QStringLiteral("--processes=%1 asked for %2 helper processes, which could not "
                               "be started: the iteration ran on %3.\n")
                    .arg(options.Processes)
                    .arg(options.Processes - 1)
                    .arg(report.Processes);
    if (Iterative(report)) {
        QStringList counts;
        for (int n : report.Iterations)
            counts << QString::number(n);
        text += QStringLiteral("Iterations per load case: %1; largest relative residual %2%3.\n")
                    .arg(counts.join(QStringLiteral(", ")))
                    .arg(report.Tolerance, 0, 'g', 3)
                    .arg(report.Processes > 1
                             ? QStringLiteral("; shared by %1 processes").arg(report.Processes)
                             : QString());
    }
    return text;
}

QJsonObject SolverReport::Json(const LinearSolver::Report& report,
                               const LinearSolver::Options& options) {
    QJsonObject method;
    method[QStringLiteral("method")] =
        Iterative(report) ? QStringLiteral("iterative") : QStringLiteral("direct");
    if (Iterative(report)) {
        QJsonArray iterations;
        for (int n : report.Iterations)
            iterations.append(n);
        method[QStringLiteral("iterations")] = iterations;
        method[QStringLiteral("tolerance")] = options.Tolerance;
        method[QStringLiteral("residual")] = report.Tolerance;
        method[QStringLiteral("processes")] = report.Processes;
    }
    return method;
}

double SolverReport::BackwardTolerance(const LinearSolver::Report& report,
                                       const LinearSolver::Options& options) {
    return Iterative(report) ? std::max(StaticCheck::BackwardTolerance, options.Tolerance)
                             : StaticCheck::BackwardTolerance;
}
