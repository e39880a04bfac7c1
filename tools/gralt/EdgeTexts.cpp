#include "EdgeTexts.h"

#include "ItemLine.h"
#include "ValueRule.h"

namespace EdgeTexts {

namespace {

const QStringList& SideNames() {
    static const QStringList names{QStringLiteral("1-2"), QStringLiteral("2-3"),
                                   QStringLiteral("3-4"), QStringLiteral("4-1")};
    return names;
}

const QStringList& KindNames() {
    static const QStringList names{QStringLiteral("support"), QStringLiteral("pressure"),
                                   QStringLiteral("global")};
    return names;
}

QString AreaName() {
    return QStringLiteral("area");
}

// The place the cell names, with the side or corner; none when it names no place.
std::optional<EdgeCondition::Place> ReadPlace(const QString& cell, int& side) {
    const QString place = cell.trimmed().toLower();
    side = static_cast<int>(SideNames().indexOf(place));
    if (side >= 0)
        return EdgeCondition::Place::Side;
    if (place == AreaName()) {
        side = 0;
        return EdgeCondition::Place::Area;
    }
    if (place.size() == 1 && place[0] >= u'1' && place[0] <= u'4') {
        side = place[0].digitValue() - 1;
        return EdgeCondition::Place::Corner;
    }
    return std::nullopt;
}

bool ReadNumber(QString text, bool whole, double& value) {
    text = text.trimmed();
    text.replace(u',', u'.');
    return whole ? ValueRule::ParseWhole(text, value) && value <= 1e6
                 : ValueRule::ParseReal(text, value);
}

} // namespace

QStringList Headings(bool areas) {
    return {QStringLiteral("Region"),
            areas ? QStringLiteral("Side, corner or area") : QStringLiteral("Side or corner"),
            QStringLiteral("Kind"),
            QStringLiteral("Case"),
            QStringLiteral("Value 1"),
            QStringLiteral("Value 2"),
            QStringLiteral("Value 3"),
            QStringLiteral("Value 4")};
}

QString PlaceText(const EdgeCondition& condition) {
    switch (condition.At) {
    case EdgeCondition::Place::Corner:
        return QString::number(condition.Side + 1);
    case EdgeCondition::Place::Area:
        return AreaName();
    case EdgeCondition::Place::Side:
        break;
    }
    return SideNames().value(condition.Side);
}

QString KindText(EdgeCondition::Kind kind) {
    return KindNames().value(static_cast<int>(kind));
}

QStringList ToTexts(const EdgeCondition& condition) {
    QStringList cells{
        QString::number(condition.Region), PlaceText(condition), KindText(condition.Type),
        condition.Type == EdgeCondition::Kind::Support ? QString()
                                                       : QString::number(condition.Case)};
    for (double value : condition.Values)
        cells << ItemLine::NumberText(value);
    while (cells.size() < Columns)
        cells << QString();
    return cells;
}

std::optional<EdgeCondition> FromTexts(const QStringList& cells, QString& error, bool areas) {
    const QStringList headings = Headings(areas);
    const auto fail = [&](int column, const QString& what) {
        error = QStringLiteral("%1: \"%2\" is not %3")
                    .arg(headings.value(column), cells.value(column).trimmed(), what);
        return std::nullopt;
    };
    EdgeCondition condition;
    const int kind = KindNames().indexOf(cells.value(2).trimmed().toLower());
    if (kind < 0)
        return fail(2, QStringLiteral("support, pressure or global"));
    condition.Type = static_cast<EdgeCondition::Kind>(kind);
    const bool support = condition.Type == EdgeCondition::Kind::Support;
    const bool pressure = condition.Type == EdgeCondition::Kind::Pressure;
    double value = 0;
    if (!ReadNumber(cells.value(0), true, value) || value < 1)
        return fail(0, QStringLiteral("a region number"));
    condition.Region = static_cast<int>(value);
    const std::optional<EdgeCondition::Place> place = ReadPlace(cells.value(1), condition.Side);
    const bool fits =
        place && (support ? *place != EdgeCondition::Place::Area
                          : *place == EdgeCondition::Place::Side ||
                                (pressure && areas && *place == EdgeCondition::Place::Area));
    if (!fits)
        return fail(1, support ? QStringLiteral("a side (1-2, 2-3, 3-4, 4-1) or a corner (1 to 4)")
                       : pressure && areas
                           ? QStringLiteral("a side (1-2, 2-3, 3-4, 4-1) or area; loads lie on "
                                            "sides or over the region")
                           : QStringLiteral("a side (1-2, 2-3, 3-4 or 4-1); loads lie on "
                                            "sides"));
    condition.At = *place;
    if (support) {
        if (!cells.value(3).trimmed().isEmpty())
            return fail(3, QStringLiteral("empty; a support holds in every load case"));
    } else {
        if (!ReadNumber(cells.value(3), true, value) || value < 1)
            return fail(3, QStringLiteral("a load case, 1 or more"));
        condition.Case = static_cast<int>(value);
    }
    int last = Columns - 1; // the last value given; the cells after it are empty
    while (last >= 4 && cells.value(last).trimmed().isEmpty())
        --last;
    for (int column = 4; column <= last; ++column) {
        if (!ReadNumber(cells.value(column), support, value) ||
            (support && value != 0 && value != 1))
            return fail(column, support ? QStringLiteral("a code, 0 (free) or 1 (fixed)")
                                        : QStringLiteral("a number"));
        condition.Values.push_back(value);
    }
    const int count = static_cast<int>(condition.Values.size());
    if (support && count == 0) {
        error = QStringLiteral("a support needs its codes, 0 (free) or 1 (fixed), in Value 1 on");
        return std::nullopt;
    }
    if (pressure && condition.At == EdgeCondition::Place::Area && count != 1) {
        error = QStringLiteral("a pressure over the area needs 1 value: the force per unit area");
        return std::nullopt;
    }
    if (pressure && condition.At == EdgeCondition::Place::Side && count != 2) {
        error = QStringLiteral("a pressure needs 2 values: at the side's first and second corner");
        return std::nullopt;
    }
    if (condition.Type == EdgeCondition::Kind::Global && count != 4) {
        error = QStringLiteral("a global load needs 4 values: both components at the side's "
                               "first corner, then at its second");
        return std::nullopt;
    }
    return condition;
}

QStringList Retyped(QStringList cells, int problem) {
    const int kind = KindNames().indexOf(cells.value(2).trimmed().toLower());
    int side = 0;
    const std::optional<EdgeCondition::Place> place = ReadPlace(cells.value(1), side);
    if (kind < 0 || !place)
        return cells;
    const auto type = static_cast<EdgeCondition::Kind>(kind);
    const int count = EdgeConditions::ValueCount(type, *place, problem);
    while (cells.size() < Columns)
        cells << QString();
    for (int column = 4 + std::max(count, 0); column < Columns; ++column)
        cells[column].clear();
    if (type == EdgeCondition::Kind::Support)
        cells[3].clear();
    else if (cells[3].trimmed().isEmpty())
        cells[3] = QStringLiteral("1");
    return cells;
}

bool IsLine(QStringView firstWord) {
    return KindNames().contains(firstWord.toString());
}

QString ToLine(const EdgeCondition& condition) {
    QString line = KindText(condition.Type) + u' ' + QString::number(condition.Region) + u' ' +
                   PlaceText(condition);
    if (condition.Type != EdgeCondition::Kind::Support)
        line += u' ' + QString::number(condition.Case);
    for (double value : condition.Values)
        line += u' ' + ItemLine::NumberText(value);
    return line;
}

std::optional<EdgeCondition> FromLine(const std::vector<QStringView>& words, QString& error) {
    const bool support = words.front() == QLatin1String("support");
    const size_t first = support ? 3 : 4; // the first value
    if (words.size() < first + 1 || words.size() > first + MaxValues) {
        error = support ? QStringLiteral("a support line is \"support\", the region, the side or "
                                         "corner and 1 to 4 codes")
                        : QStringLiteral("a load line is its kind, the region, the side, the load "
                                         "case and its values");
        return std::nullopt;
    }
    QStringList cells{words[1].toString(), words[2].toString(), words[0].toString(),
                      support ? QString() : words[3].toString()};
    for (size_t w = first; w < words.size(); ++w)
        cells << words[w].toString();
    // The project always writes "."; a "," would be a line written by hand in another way.
    for (const QString& cell : cells) {
        if (cell.contains(u',')) {
            error = QStringLiteral("\"%1\" is not a number").arg(cell);
            return std::nullopt;
        }
    }
    return FromTexts(cells, error, true);
}

} // namespace EdgeTexts
