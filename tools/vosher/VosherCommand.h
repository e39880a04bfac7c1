#pragma once

#include "DataFileText.h"
#include "Mesh.h"
#include "MeshTransfer.h"

#include <QString>
#include <QStringList>

// The mesher's follow-up: "Vosher DATAFILE [MESHFILE]" puts the mesh of MESHFILE (by default
// "unnamed1.d13" in the mesher's data folder, PackageSettings::ToolsetDataDirectory) into tables 4
// and 5 of the data file of a plane stress, plane strain, axisymmetric, plate or torsion problem,
// through a temporary file; the supports, loads or contour nodes the mesh file brings replace those
// tables' items, and the items of other later tables that named the old nodes and elements are
// removed. The launcher runs it hidden and shows what it left in "Error.txt" of the working
// directory: first the verdict, "OK - the mesh of ... was taken into FILE; table 6: 12 supports" or
// "Error: ...", then one line per table that lost items. On a fault the data file stays as it was.
class VosherCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 done, 1 refused, 2 wrong command line, 3 a file not written
        QString Verdict;
        QStringList Notes; // the lines after the verdict
    };

    static bool IsMeshProblem(int problem) {
        return (problem >= 9 && problem <= 11) || problem == 13 || problem == 16;
    }
    static Outcome Run(const QStringList& arguments, const QString& workDirectory,
                       const QString& mesherDataDirectory);
    // What putting `mesh` into the data file at `dataPath` does, without writing anything: the
    // transfer's result, its Error also saying why the file cannot be read or is of a type that
    // takes no mesh. `text`, when given, receives the new text. The mesher asks this before it
    // writes its mesh, so that what the follow-up would refuse or remove is known at OK.
    static MeshTransfer::Result Preview(const QString& dataPath, const Mesh& mesh,
                                        DataFileText* text = nullptr);
    // Writes "Error.txt" of the outcome into the working directory; the exit code becomes 3
    // when it cannot be written.
    static Outcome Report(Outcome outcome, const QString& workDirectory);
    // The outcome of a fault that ends the run before it could start.
    static Outcome Refused(int exitCode, const QString& message);
};
