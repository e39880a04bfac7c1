#include "PackageDir.h"

#include "FileLookup.h"
#include "UserFolders.h"

#include <QDir>
#include <QFileInfo>

PackageDir::PackageDir(const QString& path, const QString& userPath)
    : path(QDir::cleanPath(QDir(path).absolutePath())), dataPath(this->path),
      userPath(QDir::cleanPath(
          QDir(userPath.isEmpty() ? UserFolders::DataDirectory() : userPath).absolutePath())) {}

PackageDir PackageDir::FromCurrentDirectory() {
    PackageDir package(QDir::currentPath());
    // The templates tell the package's data folder.
    const QString apart =
        QDir::cleanPath(QDir(package.path).filePath(QStringLiteral(VORM_DATA_FROM_PROGRAMS)));
    if (!QFileInfo::exists(package.FilePath(QStringLiteral("Tablesw.dat"))) &&
        QFileInfo::exists(FileLookup::FindNoCase(apart, QStringLiteral("Tablesw.dat"))))
        package.dataPath = apart;
    return package;
}

QString PackageDir::FilePath(const QString& name) const {
    const QString inPackage = FileLookup::FindNoCase(path, name);
    if (QFileInfo::exists(inPackage))
        return inPackage;
    if (dataPath != path) {
        const QString inData = FileLookup::FindNoCase(dataPath, name);
        if (QFileInfo::exists(inData))
            return inData;
    }
    const QString ofUser = FileLookup::FindNoCase(userPath, name);
    return QFileInfo::exists(ofUser) ? ofUser : inPackage;
}

QString PackageDir::UserFilePath(const QString& name) const {
    QDir().mkpath(userPath);
    return FileLookup::FindNoCase(userPath, name);
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
