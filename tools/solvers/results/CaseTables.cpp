#include "CaseTables.h"

#include "StaticReport.h"

#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

// The line without the spaces that pad its last value.
QString Trimmed(QString line) {
    while (line.endsWith(u' '))
        line.chop(1);
    return line;
}

// A value of an envelope and the combination that gives it: 12 characters of the value as the
// protocol prints it, then " (n)", together 18 characters for up to 99 combinations.
void AppendGoverned(QString& text, double value, double by) {
    text += u' ';
    text += StaticReport::Number(value);
    text += QStringLiteral(" (%1)").arg(std::lround(by)).leftJustified(5);
}

QString EnvelopeHeading(const CaseTables::Table& table, const CaseTables::Units& units) {
    QString line = table.First.leftJustified(12);
    for (const ResultColumn& column : table.Columns.Columns)
        line +=
            (column.Name + QStringLiteral(" [") +
             ResultLayout::UnitOf(column.What, units.Force, units.Length, units.Notation) + u']')
                .rightJustified(13) +
            QStringLiteral("     ");
    return Trimmed(line) + u'\n';
}

// A line of an envelope's table: its label, then each value with its combination.
void AppendRow(QString& text, const QString& label, const double* values, const double* by,
               int width) {
    QString line = label;
    for (int v = 0; v < width; ++v)
        AppendGoverned(line, values[v], by[v]);
    text += Trimmed(line) + u'\n';
}

} // namespace

void CaseTables::Table::Number(const std::vector<double>& values, int count) {
    const size_t width = static_cast<size_t>(Columns.Count());
    for (int row = 0; row < count && (static_cast<size_t>(row) + 1) * width <= values.size(); ++row)
        Rows.emplace_back(row + 1, values.data() + static_cast<size_t>(row) * width);
}

QString CaseTables::CombinationTitle(int number, const Terms& terms) {
    QString title = QStringLiteral("Combination %1 =").arg(number);
    bool first = true;
    for (const auto& [loadCase, factor] : terms) {
        const QString size = QString::number(std::abs(factor), 'g', 10);
        if (first)
            title += (factor < 0 ? QStringLiteral(" -") : QString()) + u' ' + size;
        else
            title += (factor < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ")) + size;
        title += QStringLiteral(" x case %1").arg(loadCase);
        first = false;
    }
    return title;
}

void CaseTables::Append(QString& text, const QString& title, const std::vector<Table>& tables,
                        const Units& units) {
    text += u'\n' + title + u'\n';
    for (const Table& table : tables) {
        text += u'\n' + table.Title + u'\n';
        text += StaticReport::Heading(table.First, table.Columns, units.Force, units.Length,
                                      units.Notation);
        for (const auto& [number, values] : table.Rows)
            StaticReport::AppendLine(text, number, values, table.Columns.Count());
    }
}

void CaseTables::AppendEnvelope(QString& text, int number, const std::vector<int>& combinations,
                                const std::vector<Table>& max, const std::vector<Table>& min,
                                const std::vector<Table>& maxBy, const std::vector<Table>& minBy,
                                const Units& units) {
    QStringList named;
    for (int combination : combinations)
        named << QString::number(combination);
    text += QStringLiteral("\nEnvelope %1 of combinations %2: the largest (max) and smallest (min) "
                           "values, each with its combination in parentheses\n")
                .arg(number)
                .arg(named.join(QStringLiteral(", ")));
    for (size_t t = 0; t < max.size() && t < min.size() && t < maxBy.size() && t < minBy.size();
         ++t) {
        text += u'\n' + max[t].Title + u'\n';
        text += EnvelopeHeading(max[t], units);
        // Per node or element its largest values, then its smallest ones.
        const int width = max[t].Columns.Count();
        const size_t rows = std::min(
            {max[t].Rows.size(), min[t].Rows.size(), maxBy[t].Rows.size(), minBy[t].Rows.size()});
        for (size_t row = 0; row < rows; ++row) {
            AppendRow(text,
                      QString::number(max[t].Rows[row].first).rightJustified(8) +
                          QStringLiteral(" max"),
                      max[t].Rows[row].second, maxBy[t].Rows[row].second, width);
            AppendRow(text, QStringLiteral("         min"), min[t].Rows[row].second,
                      minBy[t].Rows[row].second, width);
        }
    }
}

QJsonArray CaseTables::JsonTerms(const Terms& terms) {
    QJsonArray list;
    for (const auto& [loadCase, factor] : terms)
        list.append(
            QJsonObject{{QStringLiteral("case"), loadCase}, {QStringLiteral("factor"), factor}});
    return list;
}
