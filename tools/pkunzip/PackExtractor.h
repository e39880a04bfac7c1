#pragma once

#include <QString>
#include <QStringList>

// Unpacks a zip pack into a directory, replacing files of the same names. A pack is taken
// whole or not at all: every entry is checked and read before the first file is written, so
// a damaged pack or one with an entry that would land outside the directory changes nothing.
class PackExtractor {
public:
    struct Result {
        bool Ok = false;
        QString Error;         // what went wrong, for the user
        QStringList Extracted; // entry names written, in pack order
    };

    static Result Extract(const QString& packPath, const QString& targetDirectory);

    // An entry name that stays inside the target directory: relative, no "..", no drive.
    static bool IsSafeEntryName(const QString& name);
};
