#include "StaticReport.h"

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

QJsonObject StaticReport::Json(const StaticResults& results) {
    QJsonArray cases;
    const int width = results.ComponentCount();
    for (const StaticResults::Case& c : results.Cases) {
        QJsonArray displacements, reactions, forces;
        for (int node = 0; node < results.Nodes; ++node)
            displacements.append(JsonRow(
                node + 1, c.Displacements.data() + static_cast<size_t>(node) * width, width));
        for (const StaticResults::Reaction& reaction : c.Reactions)
            reactions.append(JsonRow(reaction.Node, reaction.Values.data(), width));
        for (int element = 0; element < results.Elements; ++element)
            forces.append(JsonRow(
                element + 1, c.Forces.data() + static_cast<size_t>(element) * results.ForceCount(),
                results.ForceCount()));
        cases.append(QJsonObject{{QStringLiteral("case"), c.Number},
                                 {QStringLiteral("displacements"), displacements},
                                 {QStringLiteral("reactions"), reactions},
                                 {QStringLiteral("forces"), forces}});
    }
    QJsonArray components, names;
    for (const QString& name : results.Components)
        components.append(name);
    for (const ResultColumn& column : results.Forces.Columns)
        names.append(column.Name);
    return {{QStringLiteral("components"), components},
            {QStringLiteral("forceNames"), names},
            {QStringLiteral("cases"), cases}};
}

QString StaticReport::Protocol(const QString& title, const QString& typeName, const BarModel& model,
                               const StaticResults& results, const QString& solution) {
    const int width = results.ComponentCount();
    const auto lineLength = [](int values) { return qsizetype{9} + (NumberWidth + 1) * values; };
    QString text;
    text.reserve(
        static_cast<qsizetype>(results.Cases.size()) *
        ((results.Nodes + static_cast<qsizetype>(model.Supports.size())) * lineLength(width) +
         results.Elements * lineLength(results.ForceCount())));
    text += QStringLiteral("Static analysis of %1: %2\n").arg(typeName, title);
    text += QStringLiteral("Nodes %1, elements %2, supports %3, load cases %4\n")
                .arg(results.Nodes)
                .arg(results.Elements)
                .arg(model.Supports.size())
                .arg(results.Cases.size());
    if (model.Nodes.size() > static_cast<size_t>(model.DataNodes))
        text += QStringLiteral("Curved members are calculated as chains of straight pieces "
                               "(%1 inner nodes, not listed).\n")
                    .arg(model.Nodes.size() - static_cast<size_t>(model.DataNodes));
    text += QStringLiteral("Element forces are section forces at end i and end j; normal forces "
                           "are positive in tension.\n");
    text += solution;
    text += StaticCheck::Summary(results);
    const QString &force = model.ForceUnit, &length = model.LengthUnit;
    constexpr auto starred = ResultLayout::Notation::PlainStarred;
    for (const StaticResults::Case& c : results.Cases) {
        text += QStringLiteral("\nLoad case %1\n\nDisplacements (global axes)\n").arg(c.Number);
        text += Heading(QStringLiteral("Node"), ComponentLayout(results.Components), force, length,
                        starred);
        for (int node = 0; node < results.Nodes; ++node)
            AppendLine(text, node + 1, c.Displacements.data() + static_cast<size_t>(node) * width,
                       width);
        text += QStringLiteral("\nReactions (forces of the supports on the structure)\n");
        text +=
            Heading(QStringLiteral("Node"), ResultLayout::OfForceNames(results.Reactions, false),
                    force, length, starred);
        for (const StaticResults::Reaction& reaction : c.Reactions)
            AppendLine(text, reaction.Node, reaction.Values.data(), width);
        text += QStringLiteral("\nElement forces\n");
        text += Heading(QStringLiteral("Element"), results.Forces, force, length, starred);
        for (int element = 0; element < results.Elements; ++element)
            AppendLine(text, element + 1,
                       c.Forces.data() + static_cast<size_t>(element) * results.ForceCount(),
                       results.ForceCount());
    }
    return text;
}
