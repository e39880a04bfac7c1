#include "SolverCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// One solver program of the package; SOLVER_NAME says which. "NAME DATAFILE S" solves the
// file for the editor, "NAME --json DATAFILE" prints the answers for batch use.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const std::optional<SolverEntry> solver = SolverEntry::Named(QStringLiteral(SOLVER_NAME));
    if (!solver) {
        std::fprintf(stderr, "%s: not a solver of the package\n", SOLVER_NAME);
        return 2;
    }
    const SolverCommand::Outcome outcome =
        SolverCommand::Run(*solver, QCoreApplication::arguments().mid(1), QDir::currentPath());
    if (!outcome.StandardOutput.isEmpty()) {
        std::fwrite(outcome.StandardOutput.constData(), 1,
                    static_cast<size_t>(outcome.StandardOutput.size()), stdout);
        std::fputc('\n', stdout);
    }
    if (outcome.ExitCode != 0)
        std::fprintf(stderr, "%s: %s\n", SOLVER_NAME, qPrintable(outcome.Message));
    return outcome.ExitCode;
}
