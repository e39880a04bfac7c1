#pragma once

#include "PackEntryNames.h"

#include <QString>
#include <vector>

// Moves unpacked entries from a staging folder into the target folder, so that a pack lands
// whole or not at all. Files it replaces are first moved aside into a backup folder; when a
// move fails, everything moved so far goes back. Nothing is ever written through a symbolic
// link: a link on the way to an entry refuses the pack before anything moves.
class StagedInstall {
public:
    StagedInstall(QString target, QString staging, QString backup);

    // What in the target folder keeps the entries from being put in place (a symbolic link on
    // the way, a folder where a file goes, a file where a folder goes), or an empty text.
    QString CheckTarget(const std::vector<PackEntryNames::Entry>& entries) const;

    // Moves every entry (staged under its relative path) into place. On failure the target
    // folder is as it was and the reason is returned; an empty text on success.
    QString Commit(const std::vector<PackEntryNames::Entry>& entries);

private:
    struct Moved {
        QString Path;   // in the target
        QString Backup; // where the file it replaced went; empty when there was none
    };

    QString EnsureFolders(const QString& path);
    QString MoveIntoPlace(const PackEntryNames::Entry& entry);
    void RollBack();

    QString target_;
    QString staging_;
    QString backup_;
    std::vector<Moved> moved_;
    std::vector<QString> createdFolders_;
};
