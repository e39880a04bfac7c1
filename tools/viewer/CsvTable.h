#pragma once

#include "ExportFiles.h"
#include "ProblemType.h"
#include "ViewerResults.h"

#include <QAbstractItemModel>
#include <QString>
#include <vector>

// The viewer's result tables as CSV (RFC 4180): a header line naming each column with its unit
// ("Ni [kN]"), numbers with a '.' and every digit a double keeps, lines ended by CR LF, text
// quoted where it needs to be.
class CsvTable {
public:
    // A table as it is shown; `entry` adds a first column "Entry" holding that text in every
    // row (the load case or shape the rows belong to), or nothing when empty.
    static QString Header(const QAbstractItemModel& table, bool entry = false);
    static QString Rows(const QAbstractItemModel& table, const QString& entry = {});
    static QString Of(const QAbstractItemModel& table) { return Header(table) + Rows(table); }
    // One field, quoted when it holds a comma, a quote or a line break.
    static QString Field(const QString& text);

    // Every table of `results` for the command line, one file each named after `base` and the
    // table ("frame-displacements.csv"), the load cases or shapes one after another with an
    // "Entry" column; the forced vibrations' tables, which follow a chosen point, are not
    // among them.
    using File = ExportFiles::File;
    static std::vector<File> Files(const ViewerResults& results, const ProblemType& type,
                                   const QString& forceUnit, const QString& lengthUnit,
                                   const QString& base);
};
