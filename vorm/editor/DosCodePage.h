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
    // A text is taken for DOS only on evidence that a Windows Cyrillic text cannot give:
    // its words are written in 0x80–0xBF, where Windows keeps only signs ("№", "ё", «, »,
    // dashes, quotes) that stand alone between letters of 0xC0–0xFF or blanks. So the test
    // weighs pairs of neighbouring different bytes: a pair within 0x80–0xBF is a piece of a
    // DOS word, a pair within 0xC0–0xFF with a small letter (0xE0–0xFF) a piece of a Windows
    // word; DOS box lines (0xC0–0xDF, mostly one byte repeated) do not count. The more
    // pieces decide. The byte 0x98, which Windows Cyrillic leaves unused, is DOS on its
    // own. Without either kind of word the text is taken for Windows.
    static bool IsDosEncoded(const QByteArray& bytes);

    // The text of DOS bytes; each of the 256 bytes has a character of its own.
    static QString Decode(const QByteArray& bytes);

    // The DOS bytes of a text. `failedAt` is set to the index of the first character that the
    // code page cannot hold (the bytes are then incomplete), or to -1.
    static QByteArray Encode(const QString& text, qsizetype& failedAt);
};
