#include "ToolsetFiles.h"

#include <QDir>
#include <QFile>

ToolsetFiles::ToolsetFiles(QString toolsetDir, const QString& fileName)
    : toolsetDir(std::move(toolsetDir)) {
    const qsizetype dot = fileName.indexOf(u'.');
    // A name without a dot keeps a project of its own rather than one shared by all such names.
    base = dot < 0 ? fileName + u'.' : fileName.left(dot + 1);
}

QString ToolsetFiles::MeshPath() const {
    return QDir(toolsetDir).filePath(QStringLiteral("data/unnamed1.d13"));
}

QString ToolsetFiles::WorkProjectPath() const {
    return QDir(toolsetDir).filePath(QStringLiteral("data/unnamed1.spj"));
}

QString ToolsetFiles::ProjectPath() const {
    return QDir(toolsetDir).filePath(QStringLiteral("data/") + base + QStringLiteral("spj"));
}

void ToolsetFiles::LendProject() const {
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
    return QStringLiteral("File ") + QDir::toNativeSeparators(toolsetDir) + QDir::separator() +
           QStringLiteral("data") + QDir::separator() + QStringLiteral("unnamed1.d13 not created!");
}
