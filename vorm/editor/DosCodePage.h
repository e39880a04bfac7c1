#pragma once

#include <QByteArray>

// Input files written under DOS keep their Cyrillic letters in a code page that puts the 64
// letters А…я at 0x80–0xBF. The editor shows such a file in the Windows Cyrillic code page and
// writes it back in its own, working on the bytes.
class DosCodePage {
public:
    // A text is taken for DOS when it holds a byte of 0x80–0xBF other than 0xA6 and 0xB0 (the
    // broken bar and the degree sign, which Windows texts use too).
    static bool IsDosEncoded(const QByteArray& bytes);

    // DOS bytes to Windows Cyrillic: letters move up by 0x40, the box line 0xD3 becomes "|",
    // 0xE9 becomes 0xD4 and the degree sign 0xF8 becomes 0xB0.
    static QByteArray FromDos(QByteArray bytes);

    // Windows Cyrillic back to DOS: 0xB0 becomes 0xF8, 0xD4 becomes 0xE9, the other bytes from
    // 0xC0 up move down by 0x40.
    static QByteArray ToDos(QByteArray bytes);
};
