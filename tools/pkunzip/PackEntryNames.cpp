#include "PackEntryNames.h"

#include <QHash>
#include <QSet>
#include <QStringList>

bool PackEntryNames::IsSafeEntryName(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\'))
        return false;
    if (name.size() >= 2 && name[1] == u':')
        return false;
    const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/');
    for (const QString& part : parts)
        if (part == QStringLiteral(".."))
            return false;
    return true;
}

QString PackEntryNames::RelativePath(const QString& name) {
    QStringList kept;
    for (const QString& part : QString(name).replace(u'\\', u'/').split(u'/'))
        if (!part.isEmpty() && part != u'.')
            kept << part;
    return kept.join(u'/');
}

QString PackEntryNames::FindClash(const std::vector<Entry>& entries) {
    // Keys ignore case; each file key remembers its first entry.
    QHash<QString, const Entry*> files;
    QHash<QString, QString> folders; // key -> a name that makes it a folder
    for (const Entry& entry : entries) {
        const QString key = entry.Path.toCaseFolded();
        if (entry.IsDirectory)
            folders.insert(key, entry.Name);
        // Every folder above an entry is a folder too.
        for (qsizetype slash = key.indexOf(u'/'); slash >= 0; slash = key.indexOf(u'/', slash + 1))
            folders.insert(key.left(slash), entry.Name);
        if (entry.IsDirectory)
            continue;
        const auto earlier = files.constFind(key);
        if (earlier == files.constEnd()) {
            files.insert(key, &entry);
            continue;
        }
        const Entry& first = **earlier;
        const bool sameBytes = first.Size == entry.Size && first.Crc == entry.Crc;
        if (first.Path == entry.Path || !sameBytes)
            return QStringLiteral("entries \"%1\" and \"%2\" name the same file")
                .arg(first.Name, entry.Name);
    }
    for (const Entry& entry : entries) {
        const auto folder = folders.constFind(entry.Path.toCaseFolded());
        if (!entry.IsDirectory && folder != folders.constEnd())
            return QStringLiteral("\"%1\" is a file, but \"%2\" makes it a folder")
                .arg(entry.Name, folder.value());
    }
    return {};
}
