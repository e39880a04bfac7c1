#pragma once

#include "SolverCommand.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <utility>
#include <vector>

// Data files written on the fly and solved without a process, and the answers read back from
// the solver's JSON.
namespace SolverFiles {

using Tables = std::vector<std::pair<int, QStringList>>; // table number, item values

// A structural data file: items 1 to 8 of table 1 (the counts from the tables), item 9 when
// `ninth` is not empty, then the tables in the order given.
inline QByteArray Structure(int cases, const Tables& tables, const QString& ninth = {}) {
    const auto rows = [&tables](int number) {
        for (const auto& [table, items] : tables) {
            if (table == number)
                return static_cast<int>(items.size());
        }
        return 0;
    };
    QString text = QStringLiteral("Test structure\r\n*1 General data\r\n");
    const QStringList general{QStringLiteral("Title = test"),
                              QStringLiteral("Force unit = kN"),
                              QStringLiteral("Length unit = m"),
                              QStringLiteral("Load cases = %1").arg(cases),
                              QStringLiteral("Nodes = %1").arg(rows(4)),
                              QStringLiteral("Elements = %1").arg(rows(5)),
                              QStringLiteral("Materials = %1").arg(rows(2)),
                              QStringLiteral("Sections = %1").arg(rows(3))};
    QStringList items = general;
    if (!ninth.isEmpty())
        items << QStringLiteral("Modes = ") + ninth;
    for (int i = 0; i < items.size(); ++i)
        text += QStringLiteral("# %1 %2\r\n").arg(i + 1).arg(items[i]);
    for (const auto& [table, values] : tables) {
        text += QStringLiteral("*%1 Table\r\n").arg(table);
        for (int i = 0; i < values.size(); ++i)
            text += QStringLiteral("# %1 %2\r\n").arg(i + 1).arg(values[i]);
    }
    text += QStringLiteral("&\r\n");
    return text.toLatin1();
}

class Run {
public:
    // Writes `bytes` as `fileName` into a scratch directory and solves it with `solver`.
    Run(const QString& solver, const QString& fileName, const QByteArray& bytes) {
        const QString path = directory_.filePath(fileName);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        try {
            outcome_ = SolverCommand::Solve(*SolverEntry::Named(solver), path);
        } catch (const SolverError& error) {
            error_ = error.Text();
        }
    }

    const SolverOutcome& Outcome() const { return outcome_; }
    bool Ok() const { return error_.isEmpty(); }
    // Why the data was refused, as the program prints it; empty when it was solved.
    const QString& Error() const { return error_; }
    QJsonObject Json() const { return outcome_.Json; }

    // Value `index` (after the leading number) of the row of `key` in load case `loadCase`
    // whose first value is `number`.
    double Case(int loadCase, const QString& key, int number, int index) const {
        for (const QJsonValue c : outcome_.Json[QStringLiteral("cases")].toArray()) {
            if (c[QStringLiteral("case")].toInt() != loadCase)
                continue;
            for (const QJsonValue row : c[key].toArray()) {
                if (row[0].toInt() == number)
                    return row[index + 1].toDouble();
            }
        }
        qFatal("no %s of %d in case %d", qPrintable(key), number, loadCase);
    }
    double Displacement(int node, int component, int loadCase = 1) const {
        return Case(loadCase, QStringLiteral("displacements"), node, component);
    }
    double Reaction(int node, int component, int loadCase = 1) const {
        return Case(loadCase, QStringLiteral("reactions"), node, component);
    }
    double Force(int element, int index, int loadCase = 1) const {
        return Case(loadCase, QStringLiteral("forces"), element, index);
    }

private:
    QTemporaryDir directory_;
    SolverOutcome outcome_;
    QString error_;
};

// The refusal of `run` as the program prints it ("Line 12: ..." or "Error: ..."); empty when
// it throws nothing.
template <typename Run>
QString Refusal(Run&& run) {
    try {
        run();
    } catch (const SolverError& error) {
        return error.Text();
    }
    return {};
}

} // namespace SolverFiles

// Compares with a relative tolerance; for an expected 0 the tolerance is absolute, in the
// quantity's own units. (A fixed absolute floor would pass any small value: a displacement of
// 1e-11 m against an expected 3e-4 m.)
#define QV_COMPARE_NEAR(actual, expected, tolerance)                                               \
    do {                                                                                           \
        const double a_ = (actual), e_ = (expected);                                               \
        const double allowed_ = e_ == 0 ? (tolerance) : (tolerance)*std::abs(e_);                  \
        if (!(std::abs(a_ - e_) <= allowed_))                                                      \
            QFAIL(qPrintable(QStringLiteral("%1 = %2, expected %3 (tolerance %4)")                 \
                                 .arg(QStringLiteral(#actual))                                     \
                                 .arg(a_, 0, 'g', 12)                                              \
                                 .arg(e_, 0, 'g', 12)                                              \
                                 .arg(tolerance)));                                                \
    } while (false)
