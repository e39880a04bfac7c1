#include "DynamicTables.h"

#include "ActionRules.h"
#include "DynamicRules.h"

#include <utility>
#include <vector>

namespace {

using Rule = ValueRule;
using Rules = std::vector<ValueRule>;
using ActionRules::Both;
using ActionRules::Item;
using DynamicRules::Direction;

// Damping ratios are fractions of the critical damping.
Rule Ratio(const QString& name) {
    return Rule::RealBelow(name, 0, 1);
}

Rule Excitation() {
    return Rule::Whole(QStringLiteral("excitation"), 1);
}

// The loads a node takes, as table 7 of the type gives them, and the directions the ground
// may move the structure in: its translations.
struct TypeSpace {
    QStringList Loads;
    QList<int> Directions;
};

TypeSpace SpaceOf(int problem) {
    switch (problem) {
    case 4:
        return {{QStringLiteral("Fx"), QStringLiteral("Fy"), QStringLiteral("Fz")},
                {Direction::X, Direction::Y, Direction::Z}};
    case 7:
        return {{QStringLiteral("Fx"), QStringLiteral("Fy"), QStringLiteral("Fz"),
                 QStringLiteral("Mx"), QStringLiteral("My"), QStringLiteral("Mz")},
                {Direction::X, Direction::Y, Direction::Z}};
    case 8:
        return {{QStringLiteral("Fx"), QStringLiteral("Fz"), QStringLiteral("My")},
                {Direction::X, Direction::Z}};
    default: // 13, plates
        return {{QStringLiteral("Fz"), QStringLiteral("Mx"), QStringLiteral("My")}, {Direction::Z}};
    }
}

TableFormat Damping() {
    TableFormat table = TableFormat::MakeOptional(
        20, QStringLiteral("Damping"), QStringLiteral("damping ratios"),
        {Rule::Whole(QStringLiteral("mode"), 0), Ratio(QStringLiteral("ratio"))});
    table.OnRow = DynamicRules::ComputedMode();
    table.OnEnd = ActionRules::Once(1, [](const double* values) {
        return values[0] == 0 ? QStringLiteral("mode 0 (every mode not listed)")
                              : QStringLiteral("mode %1").arg(Item(values, 0));
    });
    return table;
}

TableFormat RayleighDamping() {
    TableFormat table = TableFormat::MakeOptional(
        21, QStringLiteral("Rayleigh damping"), QStringLiteral("Rayleigh damping"),
        {Rule::Positive(QStringLiteral("f1")), Ratio(QStringLiteral("ratio1")),
         Rule::Positive(QStringLiteral("f2")), Ratio(QStringLiteral("ratio2"))});
    table.OnRow = Both(DynamicRules::OneItem(), DynamicRules::TwoFrequencies());
    return table;
}

TableFormat TimeFunctions() {
    TableFormat table = TableFormat::MakeOptional(
        22, QStringLiteral("Time functions"), QStringLiteral("function points"),
        {Rule::Whole(QStringLiteral("function"), 1), Rule::NonNegative(QStringLiteral("t")),
         Rule::Real(QStringLiteral("value"))});
    table.OnEnd = DynamicRules::PointsRise(QStringLiteral("function"), QStringLiteral("t"),
                                           QStringLiteral("times"));
    return table;
}

TableFormat FunctionFormulas() {
    TableFormat table = TableFormat::MakeOptional(
        23, QStringLiteral("Function formulas"), QStringLiteral("function formulas"),
        {Rule::Whole(QStringLiteral("function"), 1),
         Rule::OneOf(QStringLiteral("kind"),
                     {QStringLiteral("SIN"), QStringLiteral("PULSE"), QStringLiteral("RAMP")}),
         Rule::Real(QStringLiteral("a")), Rule::Real(QStringLiteral("b")),
         Rule::Real(QStringLiteral("c")), Rule::Real(QStringLiteral("d"))});
    table.OnRow = Both(DynamicRules::NotDefinedIn(22, QStringLiteral("function")),
                       DynamicRules::FormulaValues());
    table.OnEnd = ActionRules::Once(
        1, [](const double* values) { return QStringLiteral("function %1").arg(Item(values, 0)); });
    return table;
}

TableFormat DynamicLoads(const QStringList& loads) {
    Rules columns{Excitation(), Rule::Ref(QStringLiteral("node"), 4)};
    for (const QString& load : loads)
        columns.push_back(Rule::Real(load));
    TableFormat table = TableFormat::MakeOptional(
        24, QStringLiteral("Dynamic loads"), QStringLiteral("dynamic loads"), std::move(columns));
    table.OnRow = ActionRules::SomeNonZero(2, QStringLiteral("the load has no component; give "
                                                             "at least one not 0"));
    table.OnEnd = ActionRules::Once(2, [](const double* values) {
        return QStringLiteral("the load of node %1 in excitation %2")
            .arg(Item(values, 1), Item(values, 0));
    });
    return table;
}

TableFormat GroundMotions(const QList<int>& directions, const QString& type) {
    TableFormat table = TableFormat::MakeOptional(
        25, QStringLiteral("Ground motions"), QStringLiteral("ground motions"),
        {Excitation(),
         Rule::OneOf(QStringLiteral("direction"),
                     {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}),
         Rule::Whole(QStringLiteral("source"), 1), Rule::Real(QStringLiteral("factor"))});
    table.OnRow = Both(DynamicRules::GroundDirection(directions, type),
                       ActionRules::SomeNonZero(3, QStringLiteral("the ground motion has factor "
                                                                  "0; give one not 0")));
    table.OnEnd = ActionRules::Once(2, [](const double* values) {
        static const char* const names[] = {"X", "Y", "Z"};
        return QStringLiteral("the ground motion in %1 of excitation %2")
            .arg(QLatin1String(names[static_cast<int>(values[1])]), Item(values, 0));
    });
    return table;
}

TableFormat HarmonicExcitations() {
    TableFormat table = TableFormat::MakeOptional(
        26, QStringLiteral("Harmonic excitations"), QStringLiteral("harmonic excitations"),
        {Excitation(), Rule::Positive(QStringLiteral("from")), Rule::Positive(QStringLiteral("to")),
         Rule::Whole(QStringLiteral("steps"), 1)});
    table.OnRow = DynamicRules::Sweep();
    return table;
}

TableFormat HistoryExcitations() {
    TableFormat table = TableFormat::MakeOptional(
        27, QStringLiteral("History excitations"), QStringLiteral("history excitations"),
        {Excitation(), Rule::Whole(QStringLiteral("function"), 0),
         Rule::Positive(QStringLiteral("duration")), Rule::Positive(QStringLiteral("step")),
         Rule::OneOf(QStringLiteral("method"),
                     {QStringLiteral("MODAL"), QStringLiteral("DIRECT")})});
    table.OnRow = DynamicRules::HistorySteps();
    return table;
}

TableFormat SpectrumExcitations() {
    TableFormat table = TableFormat::MakeOptional(
        28, QStringLiteral("Spectrum excitations"), QStringLiteral("spectrum excitations"),
        {Excitation(),
         Rule::OneOf(QStringLiteral("modes"), {QStringLiteral("SRSS"), QStringLiteral("CQC")}),
         Rule::OneOf(QStringLiteral("directions"),
                     {QStringLiteral("SRSS"), QStringLiteral("100/30")})});
    return table;
}

TableFormat SpectrumPoints() {
    TableFormat table = TableFormat::MakeOptional(
        29, QStringLiteral("Spectrum points"), QStringLiteral("spectrum points"),
        {Rule::Whole(QStringLiteral("spectrum"), 1), Rule::NonNegative(QStringLiteral("T")),
         Rule::NonNegative(QStringLiteral("Sa"))});
    table.OnEnd = DynamicRules::PointsRise(QStringLiteral("spectrum"), QStringLiteral("T"),
                                           QStringLiteral("periods"));
    return table;
}

// The horizontal elastic spectrum of the European standard for buildings in seismic regions,
// its 2004 edition: the spectrum type, the ground type, the reference peak ground
// acceleration and the importance factor.
TableFormat CodeSpectra() {
    TableFormat table = TableFormat::MakeOptional(
        30, QStringLiteral("Code spectra"), QStringLiteral("code spectra"),
        {Rule::Whole(QStringLiteral("spectrum"), 1), Rule::Whole(QStringLiteral("type"), 1, 2),
         Rule::OneOf(QStringLiteral("ground"),
                     {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                      QStringLiteral("D"), QStringLiteral("E")}),
         Rule::Positive(QStringLiteral("agR")), Rule::Positive(QStringLiteral("gammaI"))});
    table.OnRow = DynamicRules::NotDefinedIn(29, QStringLiteral("spectrum"));
    table.OnEnd = ActionRules::Once(
        1, [](const double* values) { return QStringLiteral("spectrum %1").arg(Item(values, 0)); });
    return table;
}

} // namespace

namespace DynamicTables {

void Add(DataFormat& format, bool dynamics) {
    const int problem = format.Problem;
    const bool takes =
        problem == 8 || (dynamics && (problem == 4 || problem == 7 || problem == 13));
    if (!takes)
        return;
    const TypeSpace space = SpaceOf(problem);
    for (TableFormat& table : std::vector<TableFormat>{
             Damping(), RayleighDamping(), TimeFunctions(), FunctionFormulas(),
             DynamicLoads(space.Loads), GroundMotions(space.Directions, format.Name),
             HarmonicExcitations(), HistoryExcitations(), SpectrumExcitations(), SpectrumPoints(),
             CodeSpectra()})
        format.Tables.push_back(std::move(table));
    format.OnEnd = [excitations = DynamicRules::Excitations(),
                    rest = std::move(format.OnEnd)](const ParsedData& data) {
        if (rest)
            rest(data);
        excitations(data);
    };
}

} // namespace DynamicTables
