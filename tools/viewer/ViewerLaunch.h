#pragma once

#include "ProblemType.h"
#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QString>
#include <QStringList>

// The model viewer's command line, "NAME DATAFILE [E|R]" (the launcher passes the mode as " E"
// or " R"; blanks around it do not count): E shows the model, R the results. The data file is
// checked as the checker checks it, and the checker's verdict is written as the first line of
// "Error.txt" in the working directory, since the launcher takes an "OK" there as acceptance:
// "OK - ..." and the window, or "Line N: ..." / "Error: ..." and no window. In result mode the
// solver's result file is read too; results that cannot be shown still show the model.
// "--vtu DATAFILE" and "--csv DATAFILE" write the results beside the data file instead and
// show no window (nor write "Error.txt"); "--help" and "--version" answer and stop.
class ViewerLaunch {
public:
    enum class Mode { Model, Results };
    enum class Export { None, Vtu, Csv };
    struct Outcome {
        // 0 shown or written, 1 the data or its results refused (or a file not written),
        // 2 wrong command line, 3 "Error.txt" not written
        int ExitCode = 0;
        QString Verdict; // the help, or the files written, one a line, for an export
        Export Exporting = Export::None;
        bool ShowWindow = false;
        Mode ViewMode = Mode::Model;
        QString DataPath;
        const ProblemType* Type = &ProblemType::Of(0); // the data's row of the problem table
        bool Dynamics = false;                         // a ".p" file
        ViewerModel Model;
        ViewerResults Results; // read in result mode only
    };

    // Whether the command line asks for no window (help, the version, an export), before any
    // application exists.
    static bool Headless(int argc, const char* const* argv);
    // `arguments` without the program's name, which `program` gives ("Pantex").
    static Outcome Prepare(const QStringList& arguments, const QString& workDirectory,
                           const QString& program = QStringLiteral("Kaddle"));
};
