#include "MeshOutput.h"

#include "ExchangeFile.h"
#include "MeshConditions.h"
#include "MeshFile.h"
#include "RegionMesher.h"

#include <QDir>
#include <QFile>

MeshProject::Result MeshOutput::Load(const QString& dataFolder) {
    QFile file(QDir(dataFolder).filePath(ProjectName()));
    if (!file.exists())
        return {true, {}, {}, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {false,
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()),
                {},
                {}};
    // Read whole or not at all: a project cut short would lose regions, and OK would then
    // write the rest over it.
    if (file.size() > MaxProjectBytes)
        return {false,
                QStringLiteral("%1 is larger than %2 MB and is not read")
                    .arg(file.fileName())
                    .arg(MaxProjectBytes / (1024 * 1024)),
                {},
                {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return {false,
                QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString()),
                {},
                {}};
    MeshProject::Result result = MeshProject::Read(bytes);
    if (!result.Ok)
        result.Error = file.fileName() + QStringLiteral(", ") + result.Error;
    return result;
}

MeshOutput::Built MeshOutput::Build(const std::vector<MeshRegion>& regions,
                                    const std::vector<EdgeCondition>& conditions, int problem) {
    RegionMesher::Result meshed = RegionMesher::Build(regions);
    if (!meshed.Ok)
        return {meshed.Error, {}};
    MeshConditions::Result tables = MeshConditions::Build(problem, regions, meshed, conditions);
    if (!tables.Ok)
        return {tables.Error, {}};
    meshed.Mesh_.Tables = std::move(tables.Tables);
    return {{}, std::move(meshed.Mesh_)};
}

QString MeshOutput::Write(const QString& dataFolder, const std::vector<MeshRegion>& regions,
                          const std::vector<EdgeCondition>& conditions, const Mesh& mesh) {
    const QDir folder(dataFolder);
    if (!folder.exists() && !QDir().mkpath(dataFolder))
        return QStringLiteral("cannot create the folder %1").arg(dataFolder);
    const QString title = QStringLiteral("Mesh of %1 regions: %2 nodes, %3 elements")
                              .arg(regions.size())
                              .arg(mesh.Nodes.size())
                              .arg(mesh.Elements.size());
    QString error = ExchangeFile::Write(folder.filePath(ProjectName()),
                                        MeshProject::Write(regions, conditions));
    if (error.isEmpty())
        error = ExchangeFile::Write(folder.filePath(MeshName()), MeshFile::Write(mesh, title));
    return error;
}

QString MeshOutput::Save(const QString& dataFolder, const std::vector<MeshRegion>& regions,
                         const std::vector<EdgeCondition>& conditions, int problem) {
    const Built built = Build(regions, conditions, problem);
    if (!built.Error.isEmpty())
        return built.Error;
    return Write(dataFolder, regions, conditions, built.Mesh_);
}
