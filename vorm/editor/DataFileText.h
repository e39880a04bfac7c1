#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// An input-data file as the editor reads and writes it: Windows Cyrillic bytes (or the DOS
// code page, detected on reading and kept on writing), lines ended by CR LF.
class DataFileText {
public:
    struct Loaded {
        QString Text; // lines joined by "\n"
        bool DosEncoded = false;
    };

    // The file's text; nothing when it cannot be read (the editor then starts a new file).
    static std::optional<Loaded> Load(const QString& path);
    static Loaded Decode(const QByteArray& bytes);

    // Every line of `text` written with CR LF; a line end at the end of the text starts no
    // further line. Throws VormError naming the line when a character has no place in the
    // code page, rather than writing "?" in its stead.
    static QByteArray Encode(const QString& text, bool dosEncoded);

    // Writes through a temporary file that replaces the old one only once it is complete, so
    // a failed save leaves the old file as it was. Throws VormError saying why it failed.
    static void Save(const QString& path, const QString& text, bool dosEncoded);
};
