#include "PackageResults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QDir::Filters AnyFile = QDir::Files | QDir::Hidden | QDir::System;

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity NameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity NameCase = Qt::CaseSensitive;
#endif

// The files of `directory` named `base` followed by one of `letters` and two more
// characters. Compared by hand, since a name may hold "[" or "*", which patterns would read
// as wildcards and so match other files.
QStringList NamedLike(const QDir& directory, const QString& base, const QString& letters) {
    QStringList names;
    for (const QString& name : directory.entryList(AnyFile))
        if (name.size() == base.size() + 3 && name.startsWith(base, NameCase) &&
            letters.contains(name[base.size()], NameCase))
            names << name;
    return names;
}

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
    return !NamedLike(directory, base, QStringLiteral("dp")).isEmpty();
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
    QStringList results;
    for (const QString& name : NamedLike(directory, base, QStringLiteral("b")))
        if (name.mid(base.size(), 2).compare(QStringLiteral("bi"), NameCase) == 0)
            results << name;
    return RemoveResults(directory, results);
}
