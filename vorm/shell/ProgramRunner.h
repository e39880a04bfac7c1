#pragma once

#include "PackageDir.h"

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class UserDialogs;

// Starts one of the package's programs and waits for its end while the launcher's windows
// stay served. The programs report back through files in their working directory, above all
// "Error.txt". Each run gets a fresh working directory of its own under the user's runs
// folder, removed when the run has been read, so that runs from two windows at once never see
// each other's files and the package directory, which may be installed read-only, is never
// written to.
//
// The program and its arguments are passed apart, never through a shell, so a data path
// with blanks reaches the program whole.
class ProgramRunner {
public:
    // How the started program's first window is shown (Windows show states).
    static constexpr int Hidden = 0;
    static constexpr int Maximized = 3;
    static constexpr int Shown = 5;

    // `runsDirectory` holds the runs' folders; empty for the user's own (UserFolders).
    ProgramRunner(PackageDir packageDir, UserDialogs& dialogs, QString runsDirectory = {});

    // Reads what a run left in its folder, called once the program has ended (or failed to
    // start), before the folder is removed.
    using Collector = std::function<void(const QString& runDirectory)>;

    // What RunProgram returns for a program that could not be started or did not end by
    // itself (a crash).
    static constexpr int NotFinished = -1;

    // Runs `program` to its end. `form` (may be null) is disabled and shows the busy cursor
    // meanwhile; the other windows stay usable, so another run may start and end inside this
    // one. When the program cannot be started, says so in a message box that names
    // `shownCommandLine`, or the command line built from the program and its arguments when
    // it is empty. Raises nothing. Returns the program's exit code, for the callers that tell
    // a stopped or failed run from a finished one.
    // `collect` (may be empty) reads the run's exchange files.
    int RunProgram(QWidget* form, const QString& program, const QStringList& arguments,
                   int showState, const QString& shownCommandLine = QString(),
                   const Collector& collect = {}) const;

    // Whether a program started here is still running (runs may nest). Windows that a run
    // returns to must stay while this holds.
    bool IsRunning() const { return running > 0; }

    // The executable that `program` names: a bare name is looked up in the package directory
    // first (without regard to case), then on the system's search path; a path is looked up
    // in its own directory without regard to case. ".exe" is added on Windows when the name
    // has no extension.
    QString ResolveProgram(const QString& program) const;

    // The command line as the user is shown it: the program, then each argument, quoted
    // where it holds a blank.
    static QString CommandLine(const QString& program, const QStringList& arguments);
    static QString StartFailureMessage(const QString& commandLine, int errorNumber);

private:
    int Execute(const QString& program, const QStringList& arguments, int showState,
                const QString& workDirectory, int& failure) const;

    PackageDir packageDir;
    UserDialogs& dialogs;
    QString runsDirectory;
    // Counts the runs in progress; RunProgram is const for its callers, who only start
    // programs through it.
    mutable int running = 0;
};
