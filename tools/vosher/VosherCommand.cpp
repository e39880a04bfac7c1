#include "VosherCommand.h"

#include "DataFileText.h"
#include "ExchangeFile.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "MeshFile.h"
#include "MeshTransfer.h"
#include "ProblemNumber.h"

#include <QDir>
#include <QFile>

namespace {

bool ReadAll(const QString& path, QByteArray& bytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > InputText::MaxBytes) {
        error = QStringLiteral("%1 is too large").arg(path);
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace

VosherCommand::Outcome VosherCommand::Run(const QStringList& arguments,
                                          const QString& workDirectory,
                                          const QString& toolsetDirectory) {
    if (arguments.isEmpty() || arguments.size() > 2)
        return {2, QStringLiteral("usage: Vosher DATAFILE [MESHFILE]")};
    const QDir directory(workDirectory);
    const QString dataPath = directory.filePath(arguments[0]);
    const QString meshPath =
        arguments.size() > 1 ? directory.filePath(arguments[1])
                             : QDir(toolsetDirectory).filePath(QStringLiteral("data/unnamed1.d13"));

    const ProblemNumber number = ProblemNumber::FromFileName(dataPath);
    if (!number.Valid)
        return {1, number.Error};
    if (!IsMeshProblem(number.Problem))
        return {1, QStringLiteral("Vosher puts meshes into the data of problems 9, 10, 11, 13 "
                                  "and 16, not of problem %1")
                       .arg(number.Problem)};
    QString error;
    QByteArray meshBytes, dataBytes;
    if (!ReadAll(meshPath, meshBytes, error) || !ReadAll(dataPath, dataBytes, error))
        return {1, error};
    const MeshFile::Result mesh = MeshFile::Read(meshBytes);
    if (!mesh.Ok)
        return {1, QStringLiteral("%1, %2").arg(meshPath, mesh.Error)};

    DataFileText text = DataFileText::FromBytes(dataBytes);
    error = MeshTransfer::Apply(text, *FormatCatalogue::For(number.Problem, number.Dynamics),
                                mesh.Mesh_);
    if (!error.isEmpty())
        return {1, error};
    error = ExchangeFile::Write(dataPath, text.ToBytes());
    if (!error.isEmpty())
        return {3, error};
    return {0, QStringLiteral("%1 nodes and %2 elements put into %3")
                   .arg(mesh.Mesh_.Nodes.size())
                   .arg(mesh.Mesh_.Elements.size())
                   .arg(dataPath)};
}
