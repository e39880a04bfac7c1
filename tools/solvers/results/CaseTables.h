#pragma once

#include "ResultLayout.h"

#include <QJsonArray>
#include <QString>
#include <utility>
#include <vector>

// The tables of a load case, a load combination or an envelope as the protocols print them:
// each table a title, a heading and per node or element a row of values. A protocol says which
// tables its results have; the layout of a table is the same for every kind of results.
namespace CaseTables {

struct Table {
    QString Title; // "Displacements (global axes)"
    QString First; // the heading of the numbers: "Node", "Element"
    ResultLayout Columns;
    std::vector<std::pair<int, const double*>> Rows; // number and its Columns.Count() values
    // Adds `count` rows of `values`, Columns.Count() apiece, numbered from 1.
    void Number(const std::vector<double>& values, int count);
};
struct Units {
    QString Force, Length;
    ResultLayout::Notation Notation = ResultLayout::Notation::Plain;
};
using Terms = std::vector<std::pair<int, double>>;

// "Combination 2 = 1.35 x case 1 + 1.5 x case 2"
QString CombinationTitle(int number, const Terms& terms);
// The line `title`, then each table: its title, its heading and its rows.
void Append(QString& text, const QString& title, const std::vector<Table>& tables,
            const Units& units);
// An envelope: per table, per node or element a line of the largest values and one of the
// smallest, each value followed by the combination that gives it. The four lists of tables
// have the same shape; the combinations are values of `maxBy` and `minBy`.
void AppendEnvelope(QString& text, int number, const std::vector<int>& combinations,
                    const std::vector<Table>& max, const std::vector<Table>& min,
                    const std::vector<Table>& maxBy, const std::vector<Table>& minBy,
                    const Units& units);

// The JSON of a combination's terms: [{"case": n, "factor": f}, ...].
QJsonArray JsonTerms(const Terms& terms);

} // namespace CaseTables
