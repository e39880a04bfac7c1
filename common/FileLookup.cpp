#include "FileLookup.h"

#include <QDir>
#include <QFileInfo>

namespace FileLookup {

QString FindNoCase(const QString& directory, const QString& name) {
    const QDir dir(directory);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return dir.filePath(name);
}

} // namespace FileLookup
