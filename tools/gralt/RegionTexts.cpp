#include "RegionTexts.h"

#include "ItemLine.h"
#include "ValueRule.h"

namespace RegionTexts {

QStringList ToTexts(const MeshRegion& region) {
    QStringList cells;
    for (const QPointF& corner : region.Corners)
        cells << ItemLine::NumberText(corner.x()) << ItemLine::NumberText(corner.y());
    cells << QString::number(region.Divisions12) << QString::number(region.Divisions23)
          << QString::number(region.Material) << QString::number(region.Section);
    return cells;
}

std::optional<MeshRegion> FromTexts(const QStringList& cells, const QStringList& headings,
                                    QString& error) {
    double values[Columns] = {};
    for (int c = 0; c < Columns; ++c) {
        QString text = cells.value(c).trimmed();
        text.replace(u',', u'.');
        const bool whole = c >= 8;
        const bool ok = whole ? ValueRule::ParseWhole(text, values[c]) && values[c] <= 1e6
                              : ValueRule::ParseReal(text, values[c]);
        if (!ok) {
            error = QStringLiteral("%1: \"%2\" is not %3")
                        .arg(headings.value(c), cells.value(c),
                             whole ? QStringLiteral("a whole number") : QStringLiteral("a number"));
            return std::nullopt;
        }
    }
    return MeshRegion::FromValues(values);
}

QStringList Headings(const QString& first, const QString& second) {
    QStringList headings;
    for (int corner = 1; corner <= 4; ++corner)
        headings << first + QString::number(corner) << second + QString::number(corner);
    headings << QStringLiteral("Parts 1-2") << QStringLiteral("Parts 2-3")
             << QStringLiteral("Material") << QStringLiteral("Section");
    return headings;
}

} // namespace RegionTexts
