#include "PackageDir.h"

#include "FileLookup.h"

#include <QDir>
#include <QFileInfo>

PackageDir::PackageDir(const QString& path) : path(QDir::cleanPath(QDir(path).absolutePath())) {}

PackageDir PackageDir::FromCurrentDirectory() {
    return PackageDir(QDir::currentPath());
}

QString PackageDir::FilePath(const QString& name) const {
    return FileLookup::FindNoCase(path, name);
}

QString PackageDir::ExecutablePath(const QString& baseName) const {
    return FilePath(baseName + ExecutableSuffix());
}

bool PackageDir::HasExecutable(const QString& baseName) const {
    const QFileInfo info(ExecutablePath(baseName));
    return info.isFile() && info.isExecutable();
}

QString PackageDir::ExecutableSuffix() {
#ifdef Q_OS_WIN
    return QStringLiteral(".exe");
#else
    return {};
#endif
}
