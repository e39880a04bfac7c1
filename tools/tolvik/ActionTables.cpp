#include "ActionTables.h"

#include "ActionRules.h"

#include <utility>

namespace {

using Rule = ValueRule;
using Rules = std::vector<ValueRule>;
using ActionRules::Both;
using ActionRules::Item;

bool IsStatics(int problem) {
    switch (problem) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 13:
    case 14:
    case 17:
        return true;
    default:
        return false;
    }
}

bool HasFoundations(int problem) {
    return problem == 1 || problem == 5 || problem == 6 || problem == 13;
}

bool HasMemberLoads(int problem) {
    return problem == 1 || problem == 5 || problem == 6 || problem == 7 || problem == 15;
}

// The names of a table's columns from `from` on, each followed by `suffix`.
QStringList NamesOf(const TableFormat* table, int from, const QString& suffix = {}) {
    QStringList names;
    for (size_t column = static_cast<size_t>(from); table && column < table->Columns.size();
         ++column)
        names << table->Columns[column].Name + suffix;
    return names;
}

int ColumnNamed(const TableFormat& table, const QString& name) {
    for (size_t column = 0; column < table.Columns.size(); ++column) {
        if (table.Columns[column].Name == name)
            return static_cast<int>(column);
    }
    return -1;
}

Rules Plus(Rules columns, const QStringList& names, Rule (*make)(const QString&)) {
    for (const QString& name : names)
        columns.push_back(make(name));
    return columns;
}

// Multiples of g along the axes of the type's space.
QStringList GravityFactors(int problem) {
    switch (problem) {
    case 2:
    case 11:
    case 13:
        return {QStringLiteral("gz")};
    case 4:
    case 7:
    case 14:
    case 17:
        return {QStringLiteral("gx"), QStringLiteral("gy"), QStringLiteral("gz")};
    default:
        return {QStringLiteral("gx"), QStringLiteral("gz")};
    }
}

TableFormat SelfWeight(int problem, int material) {
    TableFormat table =
        TableFormat::MakeOptional(10, QStringLiteral("Self-weight"), QStringLiteral("self-weights"),
                                  Plus({Rule::LoadCase()}, GravityFactors(problem), &Rule::Real));
    table.OnRow = Both(ActionRules::SomeNonZero(1, QStringLiteral("the self-weight has no factor; "
                                                                  "give at least one not 0")),
                       ActionRules::SomethingWeighs(material));
    table.OnEnd = ActionRules::Once(1, [](const double* values) {
        return QStringLiteral("the self-weight of load case %1").arg(Item(values, 0));
    });
    return table;
}

// What a temperature gives: a change dT, a difference dTd across the depth h, or some of them,
// of an element or, for bodies and solids, of a node.
TableFormat Temperatures(int problem, int material) {
    QStringList values{QStringLiteral("dT")};
    if (problem == 1 || problem == 5 || problem == 7)
        values = {QStringLiteral("dT"), QStringLiteral("dTd"), QStringLiteral("h")};
    else if (problem == 6)
        values = {QStringLiteral("dTd"), QStringLiteral("h")};
    else if (problem == 13)
        values = {QStringLiteral("dTd")};
    else if (problem == 2 || problem == 14)
        values = {QStringLiteral("dT"), QStringLiteral("dTd")};
    const bool atNodes = problem == 9 || problem == 10 || problem == 11 || problem == 17;
    const QString target = atNodes ? QStringLiteral("node") : QStringLiteral("element");

    Rules columns{Rule::LoadCase(), Rule::Ref(target, atNodes ? 4 : 5)};
    for (const QString& value : values)
        columns.push_back(value == QStringLiteral("h") ? Rule::NonNegative(value)
                                                       : Rule::Real(value));
    TableFormat table = TableFormat::MakeOptional(
        11, QStringLiteral("Temperatures"), QStringLiteral("temperatures"), std::move(columns));
    if (const qsizetype depth = values.indexOf(QStringLiteral("h")); depth >= 0)
        table.OnRow = ActionRules::DepthForDifference(
            2 + static_cast<int>(values.indexOf(QStringLiteral("dTd"))),
            2 + static_cast<int>(depth));
    if (!atNodes)
        table.OnRow = table.OnRow ? Both(ActionRules::ElementExpands(material), table.OnRow)
                                  : ActionRules::ElementExpands(material);
    const TableCheck once = ActionRules::Once(2, [target](const double* values) {
        return QStringLiteral("the temperature of %1 %2 in load case %3")
            .arg(target, Item(values, 1), Item(values, 0));
    });
    // The corners of an element are the columns of table 5 before its material.
    table.OnEnd = atNodes ? Both(ActionRules::NodesExpand(material, material), once) : once;
    return table;
}

TableFormat ImposedDisplacements(const QStringList& codes) {
    TableFormat table = TableFormat::MakeOptional(
        12, QStringLiteral("Imposed displacements"), QStringLiteral("imposed displacements"),
        Plus({Rule::LoadCase(), Rule::Ref(QStringLiteral("node"), 4)}, codes, &Rule::Real));
    table.OnRow = ActionRules::OnHeldComponents(codes);
    table.OnEnd = ActionRules::Once(2, [](const double* values) {
        return QStringLiteral("the imposed displacement of node %1 in load case %2")
            .arg(Item(values, 1), Item(values, 0));
    });
    return table;
}

TableFormat Springs(const QStringList& codes) {
    TableFormat table = TableFormat::MakeOptional(
        13, QStringLiteral("Springs"), QStringLiteral("springs"),
        Plus({Rule::Ref(QStringLiteral("node"), 4)}, codes, &Rule::NonNegative));
    table.OnRow = Both(ActionRules::SomeNonZero(1, QStringLiteral("the spring has no stiffness; "
                                                                  "give at least one greater "
                                                                  "than 0")),
                       ActionRules::OnFreeComponents(codes));
    table.OnEnd = ActionRules::Once(
        1, [](const double* values) { return QStringLiteral("node %1").arg(Item(values, 0)); });
    return table;
}

TableFormat Foundations() {
    TableFormat table = TableFormat::MakeOptional(
        14, QStringLiteral("Elastic foundations"), QStringLiteral("foundations"),
        {Rule::Ref(QStringLiteral("element"), 5), Rule::Positive(QStringLiteral("k"))});
    table.OnEnd = ActionRules::Once(
        1, [](const double* values) { return QStringLiteral("element %1").arg(Item(values, 0)); });
    return table;
}

// Loads at a point or along a part of a member: the case, the member, the axes the values are
// given in (G space, L the member's own), the distances from end i, then the values.
TableFormat MemberLoads(int number, const QString& title, const QStringList& distances,
                        const QStringList& values, int radius) {
    Rules columns{Rule::LoadCase(), Rule::Ref(QStringLiteral("element"), 5),
                  Rule::OneOf(QStringLiteral("axes"), {QStringLiteral("G"), QStringLiteral("L")})};
    TableFormat table = TableFormat::MakeOptional(
        number, title, title.toLower(),
        Plus(Plus(std::move(columns), distances, &Rule::NonNegative), values, &Rule::Real));
    table.OnRow = ActionRules::AlongMember(distances, radius);
    return table;
}

TableFormat Combinations() {
    TableFormat table = TableFormat::MakeOptional(
        17, QStringLiteral("Load combinations"), QStringLiteral("combination terms"),
        {Rule::Whole(QStringLiteral("combination"), 1), Rule::Whole(QStringLiteral("load case"), 1),
         Rule::Real(QStringLiteral("factor"))});
    table.OnRow = ActionRules::DeclaredCase(1);
    table.OnEnd = Both(ActionRules::NumberedWithoutGaps(QStringLiteral("combination"),
                                                        QStringLiteral("combinations")),
                       ActionRules::Once(2, [](const double* values) {
                           return QStringLiteral("load case %1 in combination %2")
                               .arg(Item(values, 1), Item(values, 0));
                       }));
    return table;
}

TableFormat Envelopes() {
    TableFormat table = TableFormat::MakeOptional(18, QStringLiteral("Envelopes"),
                                                  QStringLiteral("envelope members"),
                                                  {Rule::Whole(QStringLiteral("envelope"), 1),
                                                   Rule::Whole(QStringLiteral("combination"), 1)});
    table.OnEnd = Both(ActionRules::MadeOfCombinations(),
                       Both(ActionRules::NumberedWithoutGaps(QStringLiteral("envelope"),
                                                             QStringLiteral("envelopes")),
                            ActionRules::Once(2, [](const double* values) {
                                return QStringLiteral("combination %1 in envelope %2")
                                    .arg(Item(values, 1), Item(values, 0));
                            })));
    return table;
}

} // namespace

namespace ActionTables {

void Add(DataFormat& format, bool dynamics) {
    const int problem = format.Problem;
    const bool statics = IsStatics(problem);
    // Buckling of plane frames takes springs and loads along members.
    if (dynamics || (!statics && problem != 15))
        return;
    const TableFormat& elements = *format.Table(5);
    const int material = ColumnNamed(elements, QStringLiteral("material"));
    const QStringList codes = NamesOf(format.Table(6), 1);

    std::vector<TableFormat> added;
    if (statics) {
        // A grillage's sections give no area, so nothing to weigh.
        if (problem != 6)
            added.push_back(SelfWeight(problem, material));
        added.push_back(Temperatures(problem, material));
        added.push_back(ImposedDisplacements(codes));
    }
    added.push_back(Springs(codes));
    if (statics && HasFoundations(problem))
        added.push_back(Foundations());
    if (HasMemberLoads(problem)) {
        const int radius = ColumnNamed(elements, QStringLiteral("R"));
        added.push_back(MemberLoads(15, QStringLiteral("Point loads"), {QStringLiteral("a")},
                                    NamesOf(format.Table(7), 2), radius));
        const TableFormat* spread = format.Table(8);
        added.push_back(MemberLoads(
            16, QStringLiteral("Partial loads"), {QStringLiteral("a1"), QStringLiteral("a2")},
            NamesOf(spread, 2, QStringLiteral("1")) + NamesOf(spread, 2, QStringLiteral("2")),
            radius));
    }
    if (statics) {
        added.push_back(Combinations());
        added.push_back(Envelopes());
    }
    for (TableFormat& table : added)
        format.Tables.push_back(std::move(table));

    // Springs or a foundation alone may hold a structure: table 6 may then have no items.
    for (TableFormat& table : format.Tables) {
        if (table.Number == 6)
            table.MinItems = 0;
    }
    format.OnEnd = [supported = ActionRules::SupportsOrSprings(),
                    rest = std::move(format.OnEnd)](const ParsedData& data) {
        supported(data);
        if (rest)
            rest(data);
    };
}

} // namespace ActionTables
