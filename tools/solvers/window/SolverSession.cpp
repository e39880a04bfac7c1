#include "SolverSession.h"

#include "QtUserDialogs.h"
#include "SolverLaunch.h"
#include "SolverWindow.h"

#include <QEventLoop>
#include <QThread>
#include <cstdio>
#include <cstdlib>

SolverSession::SolverSession(SolverEntry solver, QString dataPath, QString workDirectory, Job job,
                             EndProcess endProcess, UserDialogs& dialogs)
    : solver(std::move(solver)), dataPath(std::move(dataPath)),
      workDirectory(std::move(workDirectory)), job(std::move(job)),
      endProcess(std::move(endProcess)),
      window(std::make_unique<SolverWindow>(this->solver.Name, this->dataPath, state, dialogs)) {
    connect(window.get(), &SolverWindow::StopRequested, this, &SolverSession::Stopped);
    connect(window.get(), &SolverWindow::Closed, this, [this] { emit Ended(outcome.ExitCode); });
}

SolverSession::~SolverSession() {
    if (worker) {
        worker->wait();
        delete worker;
    }
}

void SolverSession::Start() {
    window->show();
    worker = QThread::create([this] { outcome = job(state); });
    // Emitted on the worker's thread; the session lives on the window's, so RunEnded runs
    // there once the outcome is complete.
    connect(worker, &QThread::finished, this, &SolverSession::RunEnded);
    worker->start();
}

void SolverSession::Stopped() {
    const SolverCommand::Outcome recorded =
        SolverCommand::RecordStop(solver, dataPath, workDirectory);
    stopped = true;
    endProcess(recorded);
}

void SolverSession::RunEnded() {
    worker->wait();
    state.Finish();
    if (stopped)
        outcome.ExitCode = SolverCommand::StoppedExitCode;
    switch (SolverLaunch::AfterRun(solver, outcome)) {
    case SolverLaunch::Ending::Close:
        window->hide();
        emit Ended(outcome.ExitCode);
        break;
    case SolverLaunch::Ending::ShowReport:
        window->ShowReport(outcome.Protocol);
        break;
    case SolverLaunch::Ending::ShowError:
        window->ShowError(outcome.Message);
        break;
    }
}

SolverCommand::Outcome SolverSession::Exec(const SolverEntry& solver, const QStringList& arguments,
                                           const QString& workDirectory) {
    QtUserDialogs dialogs;
    const auto end = [&solver](const SolverCommand::Outcome& stopped) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(solver.Name), qPrintable(stopped.Message));
        std::fflush(stderr);
        // The solver's thread may be deep in a factorisation that cannot be interrupted; it
        // has written nothing, so the process ends here without waiting for it.
        std::_Exit(stopped.ExitCode);
    };
    SolverSession session(
        solver, SolverCommand::DataPath(arguments, workDirectory), workDirectory,
        [&](SolverProgress& progress) {
            return SolverCommand::Run(solver, arguments, workDirectory, &progress);
        },
        end, dialogs);
    QEventLoop loop;
    connect(&session, &SolverSession::Ended, &loop, &QEventLoop::quit);
    session.Start();
    loop.exec();
    return session.Outcome();
}
