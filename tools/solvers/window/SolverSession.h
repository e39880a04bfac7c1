#pragma once

#include "SolverCatalogue.h"
#include "SolverCommand.h"
#include "SolverRunState.h"

#include <QObject>
#include <functional>
#include <memory>

class QThread;
class SolverWindow;
class UserDialogs;

// One solver run with its window: the solver works on a thread of its own so that the window
// stays responsive; Stop records the stop in the protocol and ends the run at once; at the end
// the window closes, or shows the report or the error until the user closes it.
class SolverSession : public QObject {
    Q_OBJECT

public:
    // The work of the run; the real one is SolverCommand::Run with the progress passed on.
    using Job = std::function<SolverCommand::Outcome(SolverProgress&)>;
    // Ends the run after a stop has been recorded. The real one ends the process at once,
    // whatever the solver's thread is doing: it has not begun to write, so nothing is lost.
    using EndProcess = std::function<void(const SolverCommand::Outcome&)>;

    SolverSession(SolverEntry solver, QString dataPath, QString workDirectory, Job job,
                  EndProcess endProcess, UserDialogs& dialogs);
    ~SolverSession() override;

    void Start();
    SolverWindow& Window() { return *window; }
    SolverRunState& State() { return state; }
    // The outcome of the run once Ended has been emitted.
    const SolverCommand::Outcome& Outcome() const { return outcome; }

    // The program's run with its window: shows it, solves, and returns the outcome once the
    // window is gone. Needs a QApplication.
    static SolverCommand::Outcome Exec(const SolverEntry& solver, const QStringList& arguments,
                                       const QString& workDirectory);

signals:
    // The run is over and the window closed; the exit status of the program.
    void Ended(int exitCode);

private:
    void RunEnded();
    void Stopped();

    const SolverEntry solver;
    const QString dataPath;
    const QString workDirectory;
    Job job;
    EndProcess endProcess;
    SolverRunState state;
    std::unique_ptr<SolverWindow> window;
    QThread* worker = nullptr;
    SolverCommand::Outcome outcome;
    bool stopped = false;
};
