#include "ToolsetFiles.h"

#include <QDir>
#include <QFile>

ToolsetFiles::ToolsetFiles(QString dataDir, const QString& fileName) : dataDir(std::move(dataDir)) {
    const qsizetype dot = fileName.indexOf(u'.');
    // A name without a dot keeps a project of its own rather than one shared by all such names.
    base = dot < 0 ? fileName + u'.' : fileName.left(dot + 1);
}

QString ToolsetFiles::MeshPath() const {
    return QDir(dataDir).filePath(QStringLiteral("unnamed1.d13"));
}

QString ToolsetFiles::WorkProjectPath() const {
    return QDir(dataDir).filePath(QStringLiteral("unnamed1.spj"));
}

QString ToolsetFiles::ProjectPath() const {
    return QDir(dataDir).filePath(base + QStringLiteral("spj"));
}

void ToolsetFiles::LendProject() const {
    // A fresh user's folder has none yet; the mesher writes its files there.
    QDir().mkpath(dataDir);
    QFile::remove(MeshPath());
    QFile::rename(ProjectPath(), WorkProjectPath());
}

bool ToolsetFiles::MeshCreated() const {
    return QFile::exists(MeshPath());
}

void ToolsetFiles::ReturnProject() const {
    QFile::rename(WorkProjectPath(), ProjectPath());
}

QString ToolsetFiles::MissingMeshWarning() const {
    return QStringLiteral("File ") + QDir::toNativeSeparators(dataDir) + QDir::separator() +
           QStringLiteral("unnamed1.d13 not created!");
}
