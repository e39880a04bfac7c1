#pragma once

#include <QString>
#include <QStringList>

// The mesher's follow-up: "Vosher DATAFILE [MESHFILE]" puts the mesh of MESHFILE (by default
// "unnamed1.d13" in the "data" folder of the toolset directory) into tables 4 and 5 of the
// data file of a plane stress, plane strain, axisymmetric, plate or torsion problem, through a
// temporary file. The launcher runs it hidden and reloads the data file; what it did is
// printed, and on a fault the data file stays as it was.
class VosherCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 done, 1 refused, 2 wrong command line, 3 the file not written
        QString Message;
    };

    static bool IsMeshProblem(int problem) {
        return (problem >= 9 && problem <= 11) || problem == 13 || problem == 16;
    }
    static Outcome Run(const QStringList& arguments, const QString& workDirectory,
                       const QString& toolsetDirectory);
};
