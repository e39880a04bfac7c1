#include "DosCodePage.h"

#include <array>

namespace {

// 0xC0–0xFF of the DOS code page.
constexpr std::array<char16_t, 64> UpperHalf = {
    u'└', u'┴', u'┬', u'├', u'─', u'┼', u'╣', u'║', u'╚', u'╔', u'╩', u'╦',     u'╠',
    u'═', u'╬', u'┐', u'░', u'▒', u'▓', u'│', u'┤', u'№', u'§', u'╗', u'╝',     u'┘',
    u'┌', u'█', u'▄', u'▌', u'▐', u'▀', u'α', u'ß', u'Γ', u'π', u'Σ', u'σ',     u'µ',
    u'τ', u'Φ', u'Θ', u'Ω', u'δ', u'∞', u'φ', u'ε', u'∩', u'≡', u'±', u'≥',     u'≤',
    u'⌠', u'⌡', u'÷', u'≈', u'°', u'∙', u'·', u'√', u'ⁿ', u'²', u'■', u'\u00A0'};

constexpr char16_t FirstLetter = u'А'; // 0x80; the 64 letters А…я follow in order

char16_t CharOf(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b < 0xC0)
        return static_cast<char16_t>(FirstLetter + (b - 0x80));
    return UpperHalf[b - 0xC0];
}

int ByteOf(char16_t c) {
    if (c < 0x80)
        return c;
    if (c >= FirstLetter && c < FirstLetter + 64)
        return 0x80 + (c - FirstLetter);
    for (std::size_t i = 0; i < UpperHalf.size(); ++i)
        if (UpperHalf[i] == c)
            return 0xC0 + static_cast<int>(i);
    return -1;
}

} // namespace

bool DosCodePage::IsDosEncoded(const QByteArray& bytes) {
    auto dosRange = [](unsigned char b) { return b >= 0x80 && b <= 0xBF; };
    auto windowsRange = [](unsigned char b) { return b >= 0xC0; };
    // Windows words hold small letters (0xE0–0xFF); DOS box lines are made of 0xC0–0xDF.
    auto windowsSmall = [](unsigned char b) { return b >= 0xE0; };
    qsizetype dosPairs = 0;
    qsizetype windowsPairs = 0;
    unsigned char previous = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0x98)
            return true;
        if (b != previous) {
            if (dosRange(b) && dosRange(previous))
                ++dosPairs;
            else if (windowsRange(b) && windowsRange(previous) &&
                     (windowsSmall(b) || windowsSmall(previous)))
                ++windowsPairs;
        }
        previous = b;
    }
    return dosPairs > windowsPairs;
}

QString DosCodePage::Decode(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(CharOf(static_cast<unsigned char>(bytes[i])));
    return text;
}

QByteArray DosCodePage::Encode(const QString& text, qsizetype& failedAt) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = ByteOf(text[i].unicode());
        if (b < 0) {
            failedAt = i;
            return bytes.left(i);
        }
        bytes[i] = static_cast<char>(b);
    }
    failedAt = -1;
    return bytes;
}
