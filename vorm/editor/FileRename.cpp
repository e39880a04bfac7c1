#include "FileRename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString FileRename::Move(const QString& from, const QString& to) {
    if (from == to)
        return {};
    if (!QFileInfo::exists(from))
        return QStringLiteral("the file no longer exists");
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return QStringLiteral("a file of that name already exists");
    QFile file(from);
    if (!file.rename(to))
        return file.errorString().isEmpty() ? QStringLiteral("the disk refused it")
                                            : file.errorString();
    return {};
}

QString FileRename::FailureMessage(const QString& from, const QString& to, const QString& reason) {
    return QStringLiteral("Cannot rename ") + QDir::toNativeSeparators(from) +
           QStringLiteral(" to ") + QDir::toNativeSeparators(to) + QStringLiteral(": ") + reason +
           QStringLiteral(".\r\nThe file keeps its name.");
}
