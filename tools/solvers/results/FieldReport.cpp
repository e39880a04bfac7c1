#include "FieldReport.h"

#include "CaseTables.h"
#include "StaticReport.h"

#include <QJsonArray>
#include <cmath>

namespace {

QJsonArray Rows(const std::vector<double>& values, int rows, int width) {
    QJsonArray list;
    for (int row = 0; row < rows; ++row)
        list.append(StaticReport::JsonRow(row + 1, values.data() + static_cast<size_t>(row) * width,
                                          width));
    return list;
}

QJsonArray Names(const QStringList& names) {
    QJsonArray list;
    for (const QString& name : names)
        list.append(name);
    return list;
}

bool Finite(const std::vector<double>& values) {
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

namespace {

// A case's displacements, reactions, stresses and nodeStresses.
QJsonObject CaseJson(const FieldResults& results, const FieldResults::Case& c) {
    const int width = results.ComponentCount(), stresses = results.StressCount();
    QJsonArray reactions;
    for (const FieldResults::Reaction& reaction : c.Reactions)
        reactions.append(StaticReport::JsonRow(reaction.Node, reaction.Values.data(), width));
    return {{QStringLiteral("displacements"), Rows(c.Displacements, results.Nodes, width)},
            {QStringLiteral("reactions"), reactions},
            {QStringLiteral("stresses"), Rows(c.Stresses, results.Elements, stresses)},
            {QStringLiteral("nodeStresses"), Rows(c.NodeStresses, results.Nodes, stresses)}};
}

// The tables of a case, a combination or an envelope's extremes, in the protocol's order.
std::vector<CaseTables::Table> CaseTablesOf(const FieldResults& results,
                                            const FieldResults::Case& c,
                                            const ResultLayout& reactions,
                                            const QString& reactionNote, const QString& what) {
    std::vector<CaseTables::Table> tables(4);
    tables[0] = {QStringLiteral("Displacements"),
                 QStringLiteral("Node"),
                 StaticReport::ComponentLayout(results.Components),
                 {}};
    tables[0].Number(c.Displacements, results.Nodes);
    tables[1] = {
        QStringLiteral("Reactions (forces of the supports on the body%1)").arg(reactionNote),
        QStringLiteral("Node"),
        reactions,
        {}};
    for (const FieldResults::Reaction& reaction : c.Reactions)
        tables[1].Rows.emplace_back(reaction.Node, reaction.Values.data());
    tables[2] = {what + QStringLiteral(" at the element centres"),
                 QStringLiteral("Element"),
                 results.Columns,
                 {}};
    tables[2].Number(c.Stresses, results.Elements);
    tables[3] = {what + QStringLiteral(" at the nodes (recovered from the elements around each "
                                       "node)"),
                 QStringLiteral("Node"),
                 results.Columns,
                 {}};
    tables[3].Number(c.NodeStresses, results.Nodes);
    return tables;
}

} // namespace

QJsonObject FieldReport::Json(const FieldResults& results) {
    QJsonArray cases;
    for (const FieldResults::Case& c : results.Cases) {
        QJsonObject entry = CaseJson(results, c);
        entry[QStringLiteral("case")] = c.Number;
        cases.append(entry);
    }
    QJsonObject json{{QStringLiteral("components"), Names(results.Components)},
                     {QStringLiteral("stressNames"), Names(results.Columns.Names())},
                     {QStringLiteral("cases"), cases}};
    if (!results.Combinations.empty()) {
        QJsonArray combinations;
        for (const FieldResults::Case& c : results.Combinations) {
            QJsonObject entry = CaseJson(results, c);
            entry[QStringLiteral("number")] = c.Number;
            entry[QStringLiteral("terms")] = CaseTables::JsonTerms(c.Terms);
            combinations.append(entry);
        }
        json[QStringLiteral("combinations")] = combinations;
    }
    if (!results.Envelopes.empty()) {
        QJsonArray envelopes;
        for (const FieldResults::Envelope& e : results.Envelopes) {
            QJsonArray named;
            for (int combination : e.Combinations)
                named.append(combination);
            envelopes.append(QJsonObject{{QStringLiteral("number"), e.Number},
                                         {QStringLiteral("combinations"), named},
                                         {QStringLiteral("max"), CaseJson(results, e.Max)},
                                         {QStringLiteral("min"), CaseJson(results, e.Min)},
                                         {QStringLiteral("maxBy"), CaseJson(results, e.MaxBy)},
                                         {QStringLiteral("minBy"), CaseJson(results, e.MinBy)}});
        }
        json[QStringLiteral("envelopes")] = envelopes;
    }
    return json;
}

QString FieldReport::Tables(const FieldResults& results, const QString& forceUnit,
                            const QString& lengthUnit, const QString& reactionNote,
                            const QString& what) {
    const int width = results.ComponentCount(), stresses = results.StressCount();
    QString text;
    text.reserve(static_cast<qsizetype>(results.Cases.size() + results.Combinations.size()) *
                 (qsizetype{results.Nodes} * (2 * 13 * width + 13 * stresses + 20) +
                  qsizetype{results.Elements} * (13 * stresses + 10)));
    const ResultLayout components = StaticReport::ComponentLayout(results.Components);
    // A rotation is held by a moment.
    ResultLayout reactions;
    for (const ResultColumn& component : components.Columns) {
        const bool turn = component.What == ResultColumn::Quantity::Rotation;
        reactions.Columns.push_back(
            {(turn ? QStringLiteral("M") : QStringLiteral("F")) + component.Name.mid(1),
             {},
             turn ? ResultColumn::Quantity::Moment : ResultColumn::Quantity::Force,
             ResultColumn::Where::Node});
    }
    const CaseTables::Units units{forceUnit, lengthUnit};
    const auto tablesOf = [&](const FieldResults::Case& c) {
        return CaseTablesOf(results, c, reactions, reactionNote, what);
    };
    for (const FieldResults::Case& c : results.Cases)
        CaseTables::Append(text, QStringLiteral("Load case %1").arg(c.Number), tablesOf(c), units);
    for (const FieldResults::Case& c : results.Combinations)
        CaseTables::Append(text, CaseTables::CombinationTitle(c.Number, c.Terms), tablesOf(c),
                           units);
    for (const FieldResults::Envelope& e : results.Envelopes)
        CaseTables::AppendEnvelope(text, e.Number, e.Combinations, tablesOf(e.Max), tablesOf(e.Min),
                                   tablesOf(e.MaxBy), tablesOf(e.MinBy), units);
    return text;
}

QString FieldReport::NonFinite(const FieldResults& results) {
    for (const FieldResults::Case& c : results.Cases) {
        if (!Finite(c.Displacements))
            return QStringLiteral("the displacements of load case %1").arg(c.Number);
        for (const FieldResults::Reaction& reaction : c.Reactions)
            if (!Finite(reaction.Values))
                return QStringLiteral("the reactions of load case %1").arg(c.Number);
        if (!Finite(c.Stresses) || !Finite(c.NodeStresses))
            return QStringLiteral("the stresses of load case %1").arg(c.Number);
    }
    return {};
}
