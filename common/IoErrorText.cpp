#include "IoErrorText.h"

#include <cerrno>

QString IoErrorText(int systemError) {
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("File not found");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return QStringLiteral("File access denied");
    case ENOSPC:
        return QStringLiteral("Disk full");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case ENAMETOOLONG:
    case EINVAL:
        return QStringLiteral("Invalid filename");
    default:
        return QStringLiteral("I/O error %1").arg(systemError);
    }
}
