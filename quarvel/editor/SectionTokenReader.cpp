#include "SectionTokenReader.h"

#include "NumberFormat.h"
#include "SectionError.h"

#include <QRegularExpression>
#include <charconv>

namespace {

[[noreturn]] void InvalidInput() {
    throw SectionError("Invalid numeric input");
}

bool IsSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

QByteArray SectionTokenReader::NextToken(int maxLength) {
    while (pos_ < data_.size() && IsSpace(data_[pos_]))
        ++pos_;
    const qsizetype start = pos_;
    while (pos_ < data_.size() && !IsSpace(data_[pos_]))
        ++pos_;
    const qsizetype length = pos_ - start;
    SkipLine();
    // A token longer than a number may be would have to be cut, and a cut number is another
    // number: refuse it.
    if (length > maxLength)
        InvalidInput();
    return data_.mid(start, length);
}

int SectionTokenReader::ReadInteger() {
    const QByteArray token = NextToken(32);
    if (token.isEmpty())
        return 0;
    const char* first = token.constData();
    const char* last = first + token.size();
    if (*first == '+')
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last)
        InvalidInput();
    return value;
}

double SectionTokenReader::ReadReal() {
    const QByteArray token = NextToken(64);
    if (token.isEmpty())
        return 0.0;
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!pattern.match(QString::fromLatin1(token)).hasMatch())
        InvalidInput();
    double value = 0.0;
    if (!NumberFormat::parseCReal(token.constData(), token.constData() + token.size(), value))
        InvalidInput();
    return value;
}

void SectionTokenReader::SkipLine() {
    while (pos_ < data_.size() && data_[pos_] != '\n')
        ++pos_;
    if (pos_ < data_.size())
        ++pos_;
}

QByteArray SectionTokenReader::ReadLine() {
    const qsizetype start = pos_;
    while (pos_ < data_.size() && data_[pos_] != '\n')
        ++pos_;
    const QByteArray line = data_.mid(start, pos_ - start);
    if (pos_ < data_.size())
        ++pos_;
    return line;
}
