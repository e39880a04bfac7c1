#pragma once

#include <QFont>

// The font of a solver's report: its columns line up only in a font whose characters all take
// the same width. Qt's fixed-pitch flag is not enough to tell (it is false for some monospaced
// families), so each candidate is judged by the advances of its characters.
namespace ReportFont {

// The system's fixed font when it is monospaced, else the first monospaced of the common
// families, else the system's fixed font after all.
QFont Choose();
// Whether "i", "M", "0" and " " take the same width in the font as it resolves.
bool IsMonospaced(const QFont& font);

} // namespace ReportFont
