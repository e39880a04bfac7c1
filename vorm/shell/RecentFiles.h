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
};
