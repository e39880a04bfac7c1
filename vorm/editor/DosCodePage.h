#pragma once

#include <QByteArray>
#include <QString>

// Input files written under DOS keep their Cyrillic letters in a code page that puts the 64
// letters А…я at 0x80–0xBF and the box lines, Greek letters and signs of the old PC code page at
// 0xC0–0xFF (the vertical line at 0xD3, Θ at 0xE9, the degree sign at 0xF8). The editor shows
// such a file with those characters and writes every one back to the byte it came from, so a
// DOS file goes back to disk as it came, apart from the user's edits.
class DosCodePage {
public:
    // A text is taken for DOS when it holds a byte of 0x80–0xBF other than 0xA6 and 0xB0 (the
    // broken bar and the degree sign, which Windows texts use too).
    static bool IsDosEncoded(const QByteArray& bytes);

    // The text of DOS bytes; each of the 256 bytes has a character of its own.
    static QString Decode(const QByteArray& bytes);

    // The DOS bytes of a text. `failedAt` is set to the index of the first character that the
    // code page cannot hold (the bytes are then incomplete), or to -1.
    static QByteArray Encode(const QString& text, qsizetype& failedAt);
};
