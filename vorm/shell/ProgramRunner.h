#pragma once

#include "PackageDir.h"

#include <QString>
#include <QStringList>

class QWidget;
class UserDialogs;

// Starts one of the package's programs and waits for its end while the launcher's windows
// stay served. The programs report back through files in the package directory, above all
// "Error.txt"; those of an earlier run are deleted before each start.
//
// The program and its arguments are passed apart, never through a shell, so a data path
// with blanks reaches the program whole.
class ProgramRunner {
public:
    // How the started program's first window is shown (Windows show states).
    static constexpr int Hidden = 0;
    static constexpr int Maximized = 3;
    static constexpr int Shown = 5;

    ProgramRunner(PackageDir packageDir, UserDialogs& dialogs);

    // What RunProgram returns for a program that could not be started or did not end by
    // itself (a crash).
    static constexpr int NotFinished = -1;

    // Runs `program` to its end. `form` (may be null) is disabled and shows the busy cursor
    // meanwhile; the other windows stay usable, so another run may start and end inside this
    // one. When the program cannot be started, says so in a message box that names
    // `shownCommandLine`, or the command line built from the program and its arguments when
    // it is empty. Raises nothing. Returns the program's exit code, for the callers that tell
    // a stopped or failed run from a finished one.
    int RunProgram(QWidget* form, const QString& program, const QStringList& arguments,
                   int showState, const QString& shownCommandLine = QString()) const;

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
    void DeleteExchangeFiles() const;

    PackageDir packageDir;
    UserDialogs& dialogs;
    // Counts the runs in progress; RunProgram is const for its callers, who only start
    // programs through it.
    mutable int running = 0;
};
