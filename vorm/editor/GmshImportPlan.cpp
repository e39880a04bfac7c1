#include "GmshImportPlan.h"

#include "GmshElementKinds.h"
#include "VormError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

bool GmshImportPlan::Accepts(int problemCode) {
    return GmshElementKinds::Dimension(problemCode > 50 ? problemCode - 50 : problemCode) > 0;
}

std::vector<GroupChoices::Row> GmshImportPlan::Rows(const QString& program, const QString& meshPath,
                                                    const QString& dataPath) {
    // The listing runs in a folder of its own: a refusal leaves its verdict file there, never
    // beside the user's files. It reads the mesh only, so it is waited for here.
    const QTemporaryDir scratch;
    QProcess listing;
    listing.setWorkingDirectory(scratch.path());
    listing.setStandardInputFile(QProcess::nullDevice());
    listing.start(program, ListArguments(meshPath));
    if (!listing.waitForStarted())
        throw VormError(
            QStringLiteral("%1 cannot be started: %2").arg(program, listing.errorString()));
    listing.waitForFinished(-1);
    const QString output = QString::fromUtf8(listing.readAllStandardOutput());
    if (listing.exitStatus() != QProcess::NormalExit || listing.exitCode() != 0) {
        const QString said = QString::fromUtf8(listing.readAllStandardError()).trimmed();
        throw VormError(said.isEmpty() ? QStringLiteral("%1 cannot be read").arg(meshPath) : said);
    }
    GroupMap previous;
    const QString mapPath = GroupMap::PathFor(dataPath);
    QFile map(mapPath);
    if (map.open(QIODevice::ReadOnly)) {
        GroupMap::Result read = GroupMap::Read(map.readAll());
        if (!read.Ok)
            throw VormError(QStringLiteral("%1, %2").arg(mapPath, read.Error));
        previous.Entries = std::move(read.Entries);
    }
    return GroupChoices::FromListing(output.split(u'\n', Qt::SkipEmptyParts), previous);
}

QStringList GmshImportPlan::ListArguments(const QString& meshPath) {
    return {QStringLiteral("--groups"), meshPath};
}

bool GmshImportPlan::HasMap(const QString& dataPath) {
    return QFileInfo(GroupMap::PathFor(dataPath)).isFile();
}

void GmshImportPlan::SaveMap(const QString& dataPath, const std::vector<GroupChoices::Row>& rows) {
    const QString path = GroupMap::PathFor(dataPath);
    QSaveFile file(path);
    const QByteArray bytes = GroupChoices::ToMap(rows).ToBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw VormError(QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString()));
}

QStringList GmshImportPlan::ImportArguments(const QString& meshPath, const QString& dataPath) {
    return {meshPath, dataPath};
}

QString GmshImportPlan::GmshFileFor(const QString& dataPath) {
    const QFileInfo data(dataPath);
    for (const char* extension : {".geo", ".msh"}) {
        const QString path =
            data.dir().filePath(data.completeBaseName() + QString::fromLatin1(extension));
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString GmshImportPlan::GmshExecutable() {
    return QStandardPaths::findExecutable(QStringLiteral("gmsh"));
}

QString GmshImportPlan::StartGmsh(const QString& dataPath) {
    const QString gmsh = GmshExecutable();
    if (gmsh.isEmpty())
        return NotInstalledText();
    const QString file = GmshFileFor(dataPath);
    const QStringList arguments = file.isEmpty() ? QStringList() : QStringList{file};
    if (!QProcess::startDetached(gmsh, arguments, QFileInfo(dataPath).absolutePath()))
        return QStringLiteral("%1 cannot be started").arg(gmsh);
    return {};
}
