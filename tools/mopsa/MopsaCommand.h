#pragma once

#include <QString>
#include <QStringList>

// The frame generator's command line: "Mopsa DATAFILE" expands the series lines of tables 4
// and 5 of a data file of problem 1 to 8 or 15, rewrites the file and writes the verdict as
// the first line of "Error.txt" in the working directory. Since the editor takes an "OK"
// verdict as acceptance of the data, the expanded text is checked as the checker would check
// it before anything is written, and only an accepted result is written: "OK - ..." or
// "Line N: ..." with N a line of the file as it stands (the series line for a generated
// item), the file untouched. A file without series gets the checker's own verdict.
class MopsaCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 accepted, 1 rejected, 2 wrong command line, 3 a file not written
        QString Verdict;
    };

    static bool IsFrameProblem(int problem) {
        return (problem >= 1 && problem <= 8) || problem == 15;
    }
    static Outcome Run(const QStringList& arguments, const QString& workDirectory);
};
