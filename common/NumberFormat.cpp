#include "NumberFormat.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace NumberFormat {
namespace {

QString withSeparator(QString text, QChar decimalPoint) {
    if (decimalPoint != u'.')
        text.replace(u'.', decimalPoint);
    return text;
}

// Splits a C "%.*E" text ("-1.250E-03") into mantissa and exponent and rewrites the exponent
// with a sign and at least `digits` digits.
QString widenExponent(const QString& cText, int digits) {
    const qsizetype e = cText.indexOf(u'E');
    if (e < 0)
        return cText;
    const QString mantissa = cText.left(e);
    const int exponent = cText.mid(e + 1).toInt();
    const QString sign = exponent < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return mantissa + u'E' + sign +
           QString::number(std::abs(exponent)).rightJustified(digits, u'0');
}

QString cFormat(const char* format, int precision, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    return QString::fromLatin1(buffer);
}

} // namespace

QChar systemDecimalPoint() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

QString fixed(double value, int width, int precision, QChar decimalPoint) {
    QString text = cFormat("%.*f", precision, value);
    // Rounding noise below the last digit must not show as "-0.0000".
    if (text.startsWith(u'-') && text.count(u'0') == text.size() - (precision > 0 ? 2 : 1))
        text.remove(0, 1);
    return withSeparator(text, decimalPoint).rightJustified(width);
}

QString scientific(double value, int width, int precision, QChar decimalPoint) {
    if (value == 0.0)
        value = 0.0; // no "-0.000E+000"
    if (!std::isfinite(value))
        return withSeparator(cFormat("%.*E", precision - 1, value), decimalPoint)
            .rightJustified(width);
    const QString text = widenExponent(cFormat("%.*E", precision - 1, value), 3);
    return withSeparator(text, decimalPoint).rightJustified(width);
}

QString fileReal(double value) {
    if (value == 0.0)
        value = 0.0; // a negative zero is written as zero
    QString text = widenExponent(cFormat("%.*E", 14, value), 4);
    if (!text.startsWith(u'-'))
        text.prepend(u' ');
    return text;
}

QString general(double value, QChar decimalPoint) {
    if (value == 0.0)
        return QStringLiteral("0");
    QString text = cFormat("%.*G", 15, value);
    const qsizetype e = text.indexOf(u'E');
    if (e >= 0) {
        // "1.5E-07" -> "1.5E-7", "1E+20" -> "1E20"
        const int exponent = text.mid(e + 1).toInt();
        text = text.left(e) + u'E' + QString::number(exponent);
    }
    return withSeparator(text, decimalPoint);
}

bool parseCReal(const char* first, const char* last, double& value) {
    if (first != last && *first == '+')
        ++first;
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool parseUserReal(const QString& text, QChar decimalPoint, double& value) {
    QString trimmed = text.trimmed();
    const QString point = QRegularExpression::escape(QString(decimalPoint));
    static const QString pattern = QStringLiteral("^[+-]?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?$");
    const QRegularExpression re(pattern.arg(point));
    if (!re.match(trimmed).hasMatch())
        return false;
    if (decimalPoint != u'.')
        trimmed.replace(decimalPoint, u'.');
    const QByteArray latin = trimmed.toLatin1();
    double parsed = 0.0;
    if (!parseCReal(latin.constData(), latin.constData() + latin.size(), parsed))
        return false;
    value = parsed;
    return true;
}

} // namespace NumberFormat
