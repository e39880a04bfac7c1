#pragma once

#include "EdgeCondition.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// An edge condition as the mesher's "Edges" table shows it and as a line of the project file
// holds it. The table's cells: region, side, corner or area ("1-2", "2-3", "3-4", "4-1"; "1"
// to "4"; "area"), kind ("support", "pressure", "global"), load case (empty for a support) and
// up to four values. The project line: the kind, the region, the place, the load case for a
// load, then the values:
//
//   support 1 1-2 1 1
//   support 2 3 0 1
//   pressure 1 4-1 1 0 98.1
//   global 3 2-3 2 5 0 5 0
//   pressure 2 area 1 -10
//
// Either "." or "," is a decimal point in the table; the project uses ".".
namespace EdgeTexts {

constexpr int Columns = 8;
constexpr int MaxValues = 4;

// `areas`: the type takes loads over a region's area (plates), which the place's heading says.
QStringList Headings(bool areas = false);
QStringList ToTexts(const EdgeCondition& condition);
// The condition of the cells, or none with `error` naming the cell at fault.
std::optional<EdgeCondition> FromTexts(const QStringList& cells, QString& error,
                                       bool areas = false);
// The cells of a row whose kind or place was typed anew: the values beyond those the new kind
// takes there in the problem type are cleared, so that none is left over from the old kind,
// and the case is emptied for a support, or set to 1 for a load that has none. A kind or place
// that cannot be read leaves the cells as they are.
QStringList Retyped(QStringList cells, int problem);

// Whether a project line of these words is an edge condition ("support", "pressure", ...).
bool IsLine(QStringView firstWord);
QString ToLine(const EdgeCondition& condition);
std::optional<EdgeCondition> FromLine(const std::vector<QStringView>& words, QString& error);

QString PlaceText(const EdgeCondition& condition);
QString KindText(EdgeCondition::Kind kind);

} // namespace EdgeTexts
