#pragma once

#include <QString>

// Moves an edited file to the name of its new check state. A move that cannot be done leaves
// both names as they were, so the caller can keep the window on the old name.
class FileRename {
public:
    // Empty when the file now has the new name; otherwise the reason in words. A file that
    // already has the new name is never replaced.
    static QString Move(const QString& from, const QString& to);
    // The message for a move that failed.
    static QString FailureMessage(const QString& from, const QString& to, const QString& reason);
};
