#pragma once

#include "EdgeCondition.h"
#include "Mesh.h"
#include "MeshProject.h"
#include "MeshRegion.h"

#include <QString>
#include <vector>

// The mesher's files in the toolset's data folder: the project "unnamed1.spj", read when the
// mesher starts, and on OK the project and the mesh "unnamed1.d13" for the follow-up. Both
// are written through temporary files, so a failed write leaves the old file.
class MeshOutput {
public:
    static QString ProjectName() { return QStringLiteral("unnamed1.spj"); }
    static QString MeshName() { return QStringLiteral("unnamed1.d13"); }
    // A larger project is refused rather than read in part; the mesher's limit of 200,000
    // nodes is reached by projects of a few megabytes.
    static constexpr qint64 MaxProjectBytes = 64 * 1024 * 1024;

    // The project of the folder; no regions and no error when there is no project file.
    static MeshProject::Result Load(const QString& dataFolder);
    struct Built {
        QString Error; // empty when the mesh was made
        Mesh Mesh_;
    };
    // Meshes the regions and adds the tables the edge conditions give for the problem type (or
    // the contours of a torsion profile).
    static Built Build(const std::vector<MeshRegion>& regions,
                       const std::vector<EdgeCondition>& conditions, int problem);
    // Writes the project and the mesh built from it; returns what went wrong, or an empty text.
    static QString Write(const QString& dataFolder, const std::vector<MeshRegion>& regions,
                         const std::vector<EdgeCondition>& conditions, const Mesh& mesh);
    // Build and Write. Nothing is written when the regions cannot be meshed or a condition
    // used.
    static QString Save(const QString& dataFolder, const std::vector<MeshRegion>& regions,
                        const std::vector<EdgeCondition>& conditions = {}, int problem = 9);
};
