#pragma once

#include "MeshRegion.h"

#include <QString>
#include <QStringList>
#include <optional>

// A region as the mesher's table shows it: twelve cells, the corners' two coordinates each,
// the two divisions, the material and the section. Either "." or "," is a decimal point.
namespace RegionTexts {

constexpr int Columns = 12;

QStringList ToTexts(const MeshRegion& region);
// The region of the cells, or none with `error` naming the cell at fault.
std::optional<MeshRegion> FromTexts(const QStringList& cells, const QStringList& headings,
                                    QString& error);
// The column headings for the coordinate names of the problem ("x" and "z" for plane ones).
QStringList Headings(const QString& first, const QString& second);

} // namespace RegionTexts
