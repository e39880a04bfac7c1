#pragma once

#include "GroupChoices.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// What the editor's Gmsh import works with, without a window: which types take a mesh, the
// groups of a mesh with the roles the map beside the data file gave them, the map the user's
// choices make, and the files Gmsh is opened on.
class GmshImportPlan {
public:
    // The types the importer puts a mesh into (their not yet accepted numbers too).
    static bool Accepts(int problemCode);
    // The physical groups of `meshPath` as the importer `program` lists them, with the roles
    // of the map beside `dataPath`. Throws VormError with the importer's verdict when the
    // mesh is refused, naming the map and its line when the map cannot be read.
    static std::vector<GroupChoices::Row> Rows(const QString& program, const QString& meshPath,
                                               const QString& dataPath);
    // The importer's arguments for listing the groups.
    static QStringList ListArguments(const QString& meshPath);
    // Whether the map beside the data file exists, so the user may keep its answers.
    static bool HasMap(const QString& dataPath);
    // Writes the map of `rows` beside the data file; nothing is lost when the write fails.
    static void SaveMap(const QString& dataPath, const std::vector<GroupChoices::Row>& rows);
    // The importer's arguments for putting the mesh into the data file.
    static QStringList ImportArguments(const QString& meshPath, const QString& dataPath);
    // The Gmsh file beside the data file ("bracket.geo", else "bracket.msh"); empty for none.
    static QString GmshFileFor(const QString& dataPath);
    // The Gmsh on the search path; empty when it is not installed.
    static QString GmshExecutable();
    // Starts Gmsh, left running on its own, on the Gmsh file beside the data file (on none
    // when there is none); what went wrong, or empty.
    static QString StartGmsh(const QString& dataPath);
    static QString NotInstalledText() { return QStringLiteral("Gmsh is not installed"); }
};
