#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Files the viewer exports (VTU, PVD, CSV), made in memory and then written together into one
// folder, each whole or not at all.
class ExportFiles {
public:
    struct File {
        QString Name; // "frame-case1.vtu"
        QByteArray Text;
    };
    struct Outcome {
        QStringList Written; // the paths written, in order
        QString Error;       // empty when all were written
    };
    // Stops at the first file that cannot be written and names it.
    static Outcome Write(const std::vector<File>& files, const QString& directory);
};
