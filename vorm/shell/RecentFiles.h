#pragma once

#include <QString>
#include <QStringList>

// The data files opened last, newest first, kept in the package's settings as
// "RecentFiles" for the launcher's menu.
class RecentFiles {
public:
    static constexpr int Limit = 6;

    static QStringList Read();
    // Puts `path` first (once), keeps at most Limit entries and stores the list.
    static void Add(const QString& path);
    static QStringList Added(QStringList list, const QString& path);
    // A file moved to a new name (the check renames it between its two numbers): the old name
    // goes, the new one comes first, so the list never offers a name that has gone.
    static void Rename(const QString& from, const QString& to);
    static QStringList Renamed(QStringList list, const QString& from, const QString& to);
    // Takes a file off the list (one whose file has gone).
    static void Remove(const QString& path);
};
