#include "StaticReport.h"

#include "CaseTables.h"
#include "StaticCheck.h"

#include <QJsonArray>
#include <array>
#include <charconv>

namespace {

constexpr int NumberWidth = 12;

// Writes `value` right-justified into the NumberWidth characters from `out`, as "%.5g" would.
char* PutNumber(char* out, double value) {
    if (std::abs(value) < 1e-300)
        value = 0; // also drops the sign of -0
    std::array<char, 32> digits;
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                            std::chars_format::general, 5);
    const auto length = error == std::errc() ? end - digits.data() : 0;
    out = std::fill_n(out, std::max<std::ptrdiff_t>(0, NumberWidth - length), ' ');
    return std::copy(digits.data(), digits.data() + length, out);
}

} // namespace

QJsonArray StaticReport::JsonRow(int number, const double* values, int count) {
    QJsonArray row{number};
    for (int v = 0; v < count; ++v)
        row.append(values[v]);
    return row;
}

QString StaticReport::Number(double value) {
    std::array<char, 32> text;
    return QString::fromLatin1(text.data(), PutNumber(text.data(), value) - text.data());
}

void StaticReport::AppendLine(QString& text, int number, const double* values, int count) {
    // Up to 16 values fit the buffer; a longer row goes on in pieces.
    std::array<char, 16 * (NumberWidth + 1) + 16> line;
    std::array<char, 16> digits;
    char* end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
    char* out =
        std::fill_n(line.data(), std::max<std::ptrdiff_t>(0, 8 - (end - digits.data())), ' ');
    out = std::copy(digits.data(), end, out);
    for (int v = 0; v < count; ++v) {
        if (out + NumberWidth + 2 > line.data() + line.size()) {
            text += QLatin1StringView(line.data(), out - line.data());
            out = line.data();
        }
        *out++ = ' ';
        out = PutNumber(out, values[v]);
    }
    *out++ = '\n';
    text += QLatin1StringView(line.data(), out - line.data());
}

QString StaticReport::Heading(const QString& first, const ResultLayout& columns,
                              const QString& force, const QString& length,
                              ResultLayout::Notation notation) {
    QString line = first.leftJustified(8);
    for (const ResultColumn& column : columns.Columns)
        line += (column.Name + QStringLiteral(" [") +
                 ResultLayout::UnitOf(column.What, force, length, notation) + u']')
                    .rightJustified(13);
    return line + u'\n';
}

ResultLayout StaticReport::ComponentLayout(const QStringList& components) {
    ResultLayout layout;
    for (const QString& name : components)
        layout.Columns.push_back(
            {name, name, ResultLayout::OfComponent(name), ResultColumn::Where::Node});
    return layout;
}

namespace {

QJsonObject CaseJson(const StaticResults& results, const StaticResults::Case& c) {
    const int width = results.ComponentCount();
    QJsonArray displacements, reactions, forces;
    for (int node = 0; node < results.Nodes; ++node)
        displacements.append(StaticReport::JsonRow(
            node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width));
    for (const StaticResults::Reaction& reaction : c.Reactions)
        reactions.append(StaticReport::JsonRow(reaction.Node, reaction.Values.data(), width));
    for (int element = 0; element < results.Elements; ++element)
        forces.append(StaticReport::JsonRow(
            element + 1, c.Forces.data() + static_cast<size_t>(element) * results.ForceCount(),
            results.ForceCount()));
    return {{QStringLiteral("displacements"), displacements},
            {QStringLiteral("reactions"), reactions},
            {QStringLiteral("forces"), forces}};
}

QJsonArray EnvelopesJson(const StaticResults& results) {
    QJsonArray envelopes;
    for (const StaticResults::Envelope& e : results.Envelopes) {
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
    return envelopes;
}

} // namespace

QJsonObject StaticReport::Json(const StaticResults& results) {
    QJsonArray cases;
    for (const StaticResults::Case& c : results.Cases) {
        QJsonObject entry = CaseJson(results, c);
        entry[QStringLiteral("case")] = c.Number;
        cases.append(entry);
    }
    QJsonArray components, names;
    for (const QString& name : results.Components)
        components.append(name);
    for (const ResultColumn& column : results.Forces.Columns)
        names.append(column.Name);
    QJsonObject json{{QStringLiteral("components"), components},
                     {QStringLiteral("forceNames"), names},
                     {QStringLiteral("cases"), cases}};
    if (!results.Combinations.empty()) {
        QJsonArray combinations;
        for (const StaticResults::Case& c : results.Combinations) {
            QJsonObject entry = CaseJson(results, c);
            entry[QStringLiteral("number")] = c.Number;
            entry[QStringLiteral("terms")] = CaseTables::JsonTerms(c.Terms);
            combinations.append(entry);
        }
        json[QStringLiteral("combinations")] = combinations;
    }
    if (!results.Envelopes.empty())
        json[QStringLiteral("envelopes")] = EnvelopesJson(results);
    return json;
}

void StaticReport::AppendTables(QString& text, const StaticResults& results, const Titles& titles,
                                const QString& force, const QString& length) {
    const CaseTables::Units units{force, length, ResultLayout::Notation::PlainStarred};
    const ResultLayout components = ComponentLayout(results.Components);
    const ResultLayout reactions = ResultLayout::OfForceNames(results.Reactions, titles.PerLength);
    const auto tablesOf = [&](const StaticResults::Case& c) {
        std::vector<CaseTables::Table> tables(3);
        tables[0] = {titles.Displacements, QStringLiteral("Node"), components, {}};
        tables[0].Number(c.Displacements, results.Nodes);
        tables[1] = {titles.Reactions, QStringLiteral("Node"), reactions, {}};
        for (const StaticResults::Reaction& reaction : c.Reactions)
            tables[1].Rows.emplace_back(reaction.Node, reaction.Values.data());
        tables[2] = {titles.Forces, QStringLiteral("Element"), results.Forces, {}};
        tables[2].Number(c.Forces, results.Elements);
        return tables;
    };
    for (const StaticResults::Case& c : results.Cases)
        CaseTables::Append(text, QStringLiteral("Load case %1").arg(c.Number), tablesOf(c), units);
    for (const StaticResults::Case& c : results.Combinations)
        CaseTables::Append(text, CaseTables::CombinationTitle(c.Number, c.Terms), tablesOf(c),
                           units);
    for (const StaticResults::Envelope& e : results.Envelopes)
        CaseTables::AppendEnvelope(text, e.Number, e.Combinations, tablesOf(e.Max), tablesOf(e.Min),
                                   tablesOf(e.MaxBy), tablesOf(e.MinBy), units);
}

QString StaticReport::CountLine(qsizetype nodes, qsizetype elements, const QString& kinds,
                                qsizetype supports, qsizetype cases, qsizetype combinations,
                                qsizetype envelopes) {
    QString line = QStringLiteral("Nodes %1, elements %2").arg(nodes).arg(elements);
    if (!kinds.isEmpty())
        line += QStringLiteral(" (%1)").arg(kinds);
    line += QStringLiteral(", supports %1, load cases %2").arg(supports).arg(cases);
    if (combinations > 0)
        line += QStringLiteral(", combinations %1").arg(combinations);
    if (envelopes > 0)
        line += QStringLiteral(", envelopes %1").arg(envelopes);
    return line + u'\n';
}

QString StaticReport::Protocol(const QString& title, const QString& typeName, const BarModel& model,
                               const StaticResults& results, const QString& solution) {
    const int width = results.ComponentCount();
    const auto lineLength = [](int values) { return qsizetype{9} + (NumberWidth + 1) * values; };
    QString text;
    text.reserve(
        static_cast<qsizetype>(results.Cases.size() + results.Combinations.size()) *
        ((results.Nodes + static_cast<qsizetype>(model.Supports.size())) * lineLength(width) +
         results.Elements * lineLength(results.ForceCount())));
    text += QStringLiteral("Static analysis of %1: %2\n").arg(typeName, title);
    text += CountLine(results, model.Supports.size());
    if (model.Nodes.size() > static_cast<size_t>(model.DataNodes))
        text += QStringLiteral("Curved members are calculated as chains of straight pieces "
                               "(%1 inner nodes, not listed).\n")
                    .arg(model.Nodes.size() - static_cast<size_t>(model.DataNodes));
    text += QStringLiteral("Element forces are section forces at end i and end j; normal forces "
                           "are positive in tension.\n");
    text += solution;
    text += StaticCheck::Summary(results);
    AppendTables(text, results,
                 {QStringLiteral("Displacements (global axes)"),
                  QStringLiteral("Reactions (forces of the supports on the structure)"),
                  QStringLiteral("Element forces"), false},
                 model.ForceUnit, model.LengthUnit);
    return text;
}
