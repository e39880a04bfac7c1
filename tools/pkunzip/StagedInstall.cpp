#include "StagedInstall.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A link of any kind: following it would write outside the folder the user chose.
bool IsLink(const QFileInfo& info) {
    return info.isSymLink() || info.isJunction();
}

} // namespace

StagedInstall::StagedInstall(QString target, QString staging, QString backup)
    : target_(std::move(target)), staging_(std::move(staging)), backup_(std::move(backup)) {}

QString StagedInstall::CheckTarget(const std::vector<PackEntryNames::Entry>& entries) const {
    const QDir target(target_);
    for (const PackEntryNames::Entry& entry : entries) {
        const QStringList parts = entry.Path.split(u'/');
        QString path;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            path = i == 0 ? parts[i] : path + u'/' + parts[i];
            const QFileInfo info(target.filePath(path));
            if (IsLink(info))
                return QStringLiteral("%1 is a symbolic link").arg(info.filePath());
            const bool isFolder = i + 1 < parts.size() || entry.IsDirectory;
            if (!info.exists())
                continue;
            if (isFolder && !info.isDir())
                return QStringLiteral("%1 is a file, so the folder for \"%2\" cannot be made")
                    .arg(info.filePath(), entry.Name);
            if (!isFolder && info.isDir())
                return QStringLiteral("%1 is a folder and cannot be replaced by a file")
                    .arg(info.filePath());
        }
    }
    return {};
}

QString StagedInstall::EnsureFolders(const QString& path) {
    const QStringList parts = path.split(u'/');
    QString folder;
    for (const QString& part : parts) {
        folder = folder.isEmpty() ? part : folder + u'/' + part;
        const QString full = QDir(target_).filePath(folder);
        if (QFileInfo(full).isDir())
            continue;
        if (!QDir().mkdir(full))
            return QStringLiteral("cannot create folder %1").arg(full);
        createdFolders_.push_back(full);
    }
    return {};
}

QString StagedInstall::MoveIntoPlace(const PackEntryNames::Entry& entry) {
    const qsizetype slash = entry.Path.lastIndexOf(u'/');
    if (slash > 0) {
        if (QString error = EnsureFolders(entry.Path.left(slash)); !error.isEmpty())
            return error;
    }
    const QString path = QDir(target_).filePath(entry.Path);
    Moved moved{path, {}};
    const QFileInfo existing(path);
    if (existing.exists() || IsLink(existing)) {
        moved.Backup = QDir(backup_).filePath(QString::number(moved_.size()));
        if (!QDir().rename(path, moved.Backup))
            return QStringLiteral("cannot replace %1").arg(path);
    }
    if (!QDir().rename(QDir(staging_).filePath(entry.Path), path)) {
        if (!moved.Backup.isEmpty())
            QDir().rename(moved.Backup, path);
        return QStringLiteral("cannot move %1 into place").arg(path);
    }
    moved_.push_back(moved);
    return {};
}

QString StagedInstall::Commit(const std::vector<PackEntryNames::Entry>& entries) {
    if (QString error = CheckTarget(entries); !error.isEmpty())
        return error;
    for (const PackEntryNames::Entry& entry : entries) {
        const QString error = entry.IsDirectory ? EnsureFolders(entry.Path) : MoveIntoPlace(entry);
        if (!error.isEmpty()) {
            RollBack();
            return error;
        }
    }
    moved_.clear();
    createdFolders_.clear();
    return {};
}

void StagedInstall::RollBack() {
    for (auto moved = moved_.rbegin(); moved != moved_.rend(); ++moved) {
        QFile::remove(moved->Path);
        if (!moved->Backup.isEmpty())
            QDir().rename(moved->Backup, moved->Path);
    }
    for (auto folder = createdFolders_.rbegin(); folder != createdFolders_.rend(); ++folder)
        QDir().rmdir(*folder);
    moved_.clear();
    createdFolders_.clear();
}
