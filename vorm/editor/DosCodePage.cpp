#include "DosCodePage.h"

bool DosCodePage::IsDosEncoded(const QByteArray& bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0xBF && b != 0xA6 && b != 0xB0)
            return true;
    }
    return false;
}

QByteArray DosCodePage::FromDos(QByteArray bytes) {
    for (char& c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        // Each byte is mapped once: a letter moved up is not looked at again.
        if (b >= 0x80 && b <= 0xBF)
            c = static_cast<char>(b + 0x40);
        else if (b == 0xD3)
            c = '|';
        else if (b == 0xE9)
            c = static_cast<char>(0xD4);
        else if (b == 0xF8)
            c = static_cast<char>(0xB0);
    }
    return bytes;
}

QByteArray DosCodePage::ToDos(QByteArray bytes) {
    for (char& c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0xB0)
            c = static_cast<char>(0xF8);
        else if (b == 0xD4)
            c = static_cast<char>(0xE9);
        else if (b >= 0xC0)
            c = static_cast<char>(b - 0x40);
    }
    return bytes;
}
