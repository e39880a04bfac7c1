#include "PackageResults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QDir::Filters AnyFile = QDir::Files | QDir::Hidden | QDir::System;

// Removes the package result files among `names` of `directory`.
int RemoveResults(QDir& directory, const QStringList& names) {
    int removed = 0;
    for (const QString& name : names)
        if (PackageResults::IsPackageResult(directory.filePath(name)) && directory.remove(name))
            ++removed;
    return removed;
}

} // namespace

bool PackageResults::IsPackageResult(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(8) == "QVRESULT";
}

QString PackageResults::BaseOf(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.left(dot + 1);
}

bool PackageResults::HasDataFile(const QDir& directory, const QString& base) {
    return !directory
                .entryList({base + QStringLiteral("d??"), base + QStringLiteral("p??")}, AnyFile)
                .isEmpty();
}

int PackageResults::RemoveOrphans(const QString& directory) {
    QDir dir(directory);
    QStringList orphans;
    for (const QString& result : dir.entryList({QStringLiteral("*.bi?")}, AnyFile))
        if (!HasDataFile(dir, BaseOf(result)))
            orphans << result;
    return RemoveResults(dir, orphans);
}

int PackageResults::RemoveResultsOf(const QString& vanishedDataFile) {
    const QFileInfo info(vanishedDataFile);
    const QString base = BaseOf(info.fileName());
    QDir directory = info.dir();
    if (base.isEmpty() || info.exists() || HasDataFile(directory, base))
        return 0;
    return RemoveResults(directory, directory.entryList({base + QStringLiteral("bi?")}, AnyFile));
}
