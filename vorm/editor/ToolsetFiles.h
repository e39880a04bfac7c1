#pragma once

#include <QString>

// The files of the region mesher in its data folder (PackageSettings::ToolsetDataDirectory). The
// mesher always works on the project "unnamed1.spj" and writes the mesh "unnamed1.d13"; each data
// file keeps its own project under its base name ("frame.spj" for "frame.d59"), which is lent to
// the mesher for one run.
class ToolsetFiles {
public:
    // `dataDir` without a trailing separator; `fileName` the data file's name.
    ToolsetFiles(QString dataDir, const QString& fileName);

    QString MeshPath() const;
    QString WorkProjectPath() const;
    QString ProjectPath() const;

    // Before the mesher: removes an old mesh and lends the data file's project, ignoring
    // every failure (a data file without a project starts the mesher without one).
    void LendProject() const;
    bool MeshCreated() const;
    // After the mesher: the project goes back to the data file's name, ignoring failures.
    void ReturnProject() const;

    // "File <data folder>\unnamed1.d13 not created!", for a mesher that ended without a mesh
    // when it was not cancelled (it failed, or could not start).
    QString MissingMeshWarning() const;
    // Whether the mesher ended by the user's Cancel, which it tells by its exit status 1: a
    // deliberate Cancel leaves no mesh and needs no word.
    static bool Cancelled(int exitCode) { return exitCode == 1; }

private:
    QString dataDir;
    QString base; // the name up to and including its first "."
};
