#pragma once

#include <QChar>
#include <QString>

// Number texts exactly as the programs show and store them. Every function that shows a
// number to the user takes the decimal separator explicitly, so that tests can pin it and the
// windows pass the user's regional one; stored files always use '.'.
namespace NumberFormat {

// The user's regional decimal separator.
QChar systemDecimalPoint();

// printf-style fixed point ("%W.Pf"), right-aligned in W characters.
QString fixed(double value, int width, int precision, QChar decimalPoint = u'.');

// "%W.Pe" in the programs' scientific form: P significant digits, an upper-case E, the
// exponent's sign and at least three exponent digits ("6.000E+000"), right-aligned in W.
QString scientific(double value, int width, int precision, QChar decimalPoint = u'.');

// The section-file real: exactly 23 characters, sign blank or '-', 15 significant digits,
// exponent sign and four exponent digits (" 1.25000000000000E+0001").
QString fileReal(double value);

// The general form with up to 15 significant digits and no trailing zeros ("1", "0.5",
// "1.5E-7"); scientific only for very large or very small magnitudes.
QString general(double value, QChar decimalPoint = u'.');

// Reads a number typed by the user with the given decimal separator: optional blanks around
// it, optional sign, digits with at most one separator, optional exponent. Returns false for
// anything else (including empty text, inf and nan).
// Converts exactly [first, last) as a real with '.' (a leading '+' allowed), independent of
// the process locale. Values that overflow or are not finite are refused.
bool parseCReal(const char* first, const char* last, double& value);

bool parseUserReal(const QString& text, QChar decimalPoint, double& value);

} // namespace NumberFormat
