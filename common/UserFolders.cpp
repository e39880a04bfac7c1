#include "UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString Made(const QString& path) {
    QDir().mkpath(path);
    return QDir::cleanPath(path);
}

} // namespace

QString UserFolders::DataDirectory() {
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/VORM"));
}

QString UserFolders::RunsDirectory() {
    // Without a runtime folder of the session's own, Qt would make one up (and warn); the
    // cache folder is as good then.
    QString base;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
#endif
        base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return Made(base + QStringLiteral("/VORM-runs"));
}

QString UserFolders::MesherDataDirectory() {
    return DataDirectory() + QStringLiteral("/Yornik/data");
}
