#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Unpacks a zip pack into a directory, replacing files of the same names. A pack is taken
// whole or not at all: every entry is checked first (names inside the directory, no two on
// one file, a total size fit for a language pack, no symbolic link on the way), then streamed
// into a temporary folder inside the directory, and only when every entry has been unpacked
// and verified are the files moved into place. A damaged or refused pack changes nothing.
class PackExtractor {
public:
    struct Result {
        bool Ok = false;
        QString Error;         // what went wrong, for the user
        QStringList Extracted; // entry names written, in pack order
    };

    // Language packs hold a few texts and help pages; nothing near this.
    static constexpr quint64 DefaultSizeLimit = quint64(256) << 20;

    static Result Extract(const QString& packPath, const QString& targetDirectory,
                          quint64 sizeLimit = DefaultSizeLimit);

    // An entry name that stays inside the target directory: relative, no "..", no drive.
    static bool IsSafeEntryName(const QString& name);
};
