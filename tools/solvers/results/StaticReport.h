#pragma once

#include "BarModel.h"
#include "ResultLayout.h"
#include "StaticResults.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// The answers of a static analysis for people and programs: the JSON of `SOLVER --json` and
// the text of the protocol, with the units of the data file.
namespace StaticReport {

QJsonObject Json(const StaticResults& results);
// `solution`: the lines on how the equations were solved, where they are worth a word (an
// iterative solution, or a method asked for); empty for the direct default.
QString Protocol(const QString& title, const QString& typeName, const BarModel& model,
                 const StaticResults& results, const QString& solution = {});

// The line under a static protocol's title that counts the model: nodes, elements (with
// `kinds` in parentheses where a family tells them apart), supports and load cases, then the
// combinations and the envelopes where there are any, so a model without them reads as before.
QString CountLine(qsizetype nodes, qsizetype elements, const QString& kinds, qsizetype supports,
                  qsizetype cases, qsizetype combinations, qsizetype envelopes);
// The same from the results of any static family (bars or fields).
template <typename Results>
QString CountLine(const Results& results, size_t supports, const QString& kinds = {}) {
    return CountLine(results.Nodes, results.Elements, kinds, static_cast<qsizetype>(supports),
                     static_cast<qsizetype>(results.Cases.size()),
                     static_cast<qsizetype>(results.Combinations.size()),
                     static_cast<qsizetype>(results.Envelopes.size()));
}

// The titles of a static protocol's tables of displacements, reactions and element forces, and
// whether the reactions are per length (of a circumference).
struct Titles {
    QString Displacements, Reactions, Forces;
    bool PerLength = false;
};
// Appends the tables of every load case, then of every combination and every envelope.
void AppendTables(QString& text, const StaticResults& results, const Titles& titles,
                  const QString& force, const QString& length);

// A row of the JSON's tables: the number of its node or element, then the values.
QJsonArray JsonRow(int number, const double* values, int count);

// A number as the protocol prints it: 12 characters, 5 significant digits.
QString Number(double value);
// A line of a table: the number of its node or element in 8 characters, then the values as
// Number() prints them, each after a space. A protocol has millions of them.
void AppendLine(QString& text, int number, const double* values, int count);
// The heading of such a table: `first` in 8 characters, then each column's "name [unit]" in
// 13, its unit in the model's units written as `notation` says.
QString Heading(const QString& first, const ResultLayout& columns, const QString& force,
                const QString& length,
                ResultLayout::Notation notation = ResultLayout::Notation::Plain);
// The columns of a node's displacement components, each with its quantity.
ResultLayout ComponentLayout(const QStringList& components);

} // namespace StaticReport
