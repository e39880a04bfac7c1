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
class ViewerLaunch {
public:
    enum class Mode { Model, Results };
    struct Outcome {
        int ExitCode = 0; // 0 shown, 1 the data has a fault, 2 wrong command line, 3 not written
        QString Verdict;
        bool ShowWindow = false;
        Mode ViewMode = Mode::Model;
        QString DataPath;
        const ProblemType* Type = &ProblemType::Of(0); // the data's row of the problem table
        bool Dynamics = false;                         // a ".p" file
        ViewerModel Model;
        ViewerResults Results; // read in result mode only
    };

    static Outcome Prepare(const QStringList& arguments, const QString& workDirectory);
};
