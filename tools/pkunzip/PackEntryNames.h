#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

// The entries of a pack as the unpacker plans to write them, and the checks on their names
// that need no file system: each must stay inside the target folder, and no two may land on
// one file. Package files are looked up whatever their case, so names that differ only in case
// count as one file unless they hold the same bytes (the language packs carry the editor help
// as "EdHlp.htm" and "edhlp.htm" for systems that tell case apart).
class PackEntryNames {
public:
    struct Entry {
        QString Name; // as the pack gives it
        QString Path; // relative path in the target folder, "/"-separated, no "." or ".."
        bool IsDirectory = false;
        quint64 Size = 0;
        quint32 Crc = 0;
    };

    // An entry name that stays inside the target directory: relative, no "..", no drive.
    static bool IsSafeEntryName(const QString& name);

    // The relative path of a safe entry name: backslashes as separators, empty and "." parts
    // dropped. Empty when nothing remains.
    static QString RelativePath(const QString& name);

    // What keeps the entries from being written side by side (two entries on one file, a name
    // that is both a file and a folder), or an empty text.
    static QString FindClash(const std::vector<Entry>& entries);
};
