#include "CommandLineHelp.h"
#include "HugePageMemory.h"
#ifdef QV_MPI_SESSION
#include "IterativeSolver.h"
#endif
#include "SolverCommand.h"
#include "SolverLaunch.h"
#include "SolverSession.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

// The command line before Qt has read it, only to choose the kind of application.
QStringList RawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

ProgramHelp Help(const SolverEntry& solver) {
    QList<QCommandLineOption> options{QCommandLineOption(
        QStringLiteral("json"), QStringLiteral("Print the answers as one JSON object on standard "
                                               "output and write no file."))};
    if (solver.Options().contains(QLatin1String("--solver")))
        options << QCommandLineOption(QStringLiteral("solver"),
                                      QStringLiteral("The linear solution: direct or iterative."),
                                      QStringLiteral("direct|iterative"))
                << QCommandLineOption(QStringLiteral("tolerance"),
                                      QStringLiteral("The relative residual of an iteration."),
                                      QStringLiteral("X"))
                << QCommandLineOption(QStringLiteral("processes"),
                                      QStringLiteral("Processes sharing an iterative solution."),
                                      QStringLiteral("N"));
    return {solver.Name,
            QStringLiteral("A solver of the package. It writes the result file beside the data "
                           "file, the protocol \"PROT.TXT\" into the working directory and the "
                           "same protocol beside the data as its report. ") +
                SolverCommand::Usage(solver),
            {{QStringLiteral("DATAFILE"), QStringLiteral("The data file to solve.")},
             {QStringLiteral("[S]"), QStringLiteral("Started by the editor.")}},
            options,
            QStringLiteral("  0  solved\n  1  the data cannot be solved\n  2  wrong command "
                           "line\n  3  a file could not be written\n  4  stopped by the user")};
}

int Report(const SolverCommand::Outcome& outcome) {
    if (!outcome.StandardOutput.isEmpty()) {
        std::fwrite(outcome.StandardOutput.constData(), 1,
                    static_cast<size_t>(outcome.StandardOutput.size()), stdout);
        std::fputc('\n', stdout);
    }
    if (outcome.ExitCode != 0)
        std::fprintf(stderr, "%s: %s\n", SOLVER_NAME, qPrintable(outcome.Message));
    return outcome.ExitCode;
}

} // namespace

// One solver program of the package; SOLVER_NAME says which. "NAME DATAFILE S" solves the
// file for the editor, with a window of its own on a display; "NAME --json DATAFILE" prints
// the answers for batch use.
int main(int argc, char* argv[]) {
    if (HugePageMemory::NamesLargeFile(argv))
        HugePageMemory::Request(argv);
#ifdef QV_MPI_SESSION
    // Under mpirun every process starts here: the first runs the program, the others only
    // help with its iterative solutions and read and write nothing. So do the helpers that a
    // large iterative solution starts when the program runs alone.
    IterativeSolver::Session session(argv);
    if (session.Rank() != 0)
        return session.Serve();
#endif
    const std::optional<SolverEntry> solver = SolverEntry::Named(QStringLiteral(SOLVER_NAME));
    if (!solver) {
        std::fprintf(stderr, "%s: not a solver of the package\n", SOLVER_NAME);
        return 2;
    }
    if (const auto answered = CommandLineHelp::Answer(argc, argv, Help(*solver)))
        return *answered;
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (SolverLaunch::ShowsWindow(RawArguments(argc, argv), environment)) {
        // A display that is named but cannot be reached would end the program in Qt's start;
        // the drawing-free platform after the usual ones lets it solve without a window.
        const QByteArray fallback = SolverLaunch::PlatformFallback(environment);
        if (!fallback.isEmpty())
            qputenv("QT_QPA_PLATFORM", fallback);
        QApplication application(argc, argv);
        if (!SolverLaunch::DrawsOnScreen(QGuiApplication::platformName()))
            return Report(SolverCommand::Run(*solver, QCoreApplication::arguments().mid(1),
                                             QDir::currentPath()));
        return Report(SolverSession::Exec(*solver, QCoreApplication::arguments().mid(1),
                                          QDir::currentPath()));
    }
    QCoreApplication application(argc, argv);
    return Report(
        SolverCommand::Run(*solver, QCoreApplication::arguments().mid(1), QDir::currentPath()));
}
