#pragma once

#include "GmshMesh.h"

#include <QString>
#include <QStringList>

// The Gmsh import from the command line:
//   Gmshin [--map MAPFILE] MSHFILE DATAFILE   puts the mesh into the data file, its type given
//                                             by the extension; the group map defaults to the
//                                             data file's name with ".gmi"
//   Gmshin --groups MSHFILE                   lists the physical groups, one per line:
//                                             DIMENSION TAB TAG TAB NAME TAB ELEMENTS
// A data file that does not exist yet starts from its type's template of the package. The
// verdict goes into "Error.txt" of the working directory, as the other programs leave theirs.
class GmshinCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 done, 1 a file refused, 2 wrong command line, 3 a file not written
        QString Verdict;
        QStringList Notes;  // the lines after the verdict
        QStringList Output; // the group list for standard output
    };

    // `arguments` without the program name; `packageDirectory` holds the templates.
    static Outcome Run(const QStringList& arguments, const QString& workDirectory,
                       const QString& packageDirectory);
    // The group list of a mesh, as --groups prints it.
    static QStringList GroupLines(const GmshMesh& mesh);
    // The map beside a data file: "bracket.gmi" for "bracket.d59".
    static QString MapPathFor(const QString& dataPath);
    static QString Usage();
};
