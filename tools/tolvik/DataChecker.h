#pragma once

#include "CheckFault.h"
#include "DataFormat.h"
#include "ParsedData.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Checks the lines of a data file against the format of its problem type and reads its
// values. Lines are taken in order and the first fault ends the check, so the fault reported
// is the one the user meets first when reading the file from the top.
//
// The table rules: a line starting with "*" is a table header (the table number is the first
// run of digits on it, one or two), "#" an item with its number, "&" the end of the data;
// anything else is free text (titles, column headings, comments). Tables come in the format's
// order, optional ones may be left out, items are numbered 1, 2, 3, ... in each table, and
// items 5 to 8 of table 1 count the items of tables 4, 5, 2 and 3.
class DataChecker {
public:
    struct Result {
        bool Ok = false;
        CheckFault Fault;
        ParsedData Data;
    };

    static Result Check(const QStringList& lines, const DataFormat& format);

private:
    explicit DataChecker(const DataFormat& format) : format_(format) {}

    void Run(const QStringList& lines);
    void Header(int line, QStringView text);
    void Item(int line, QStringView text);
    void GeneralItem(int line, int item, QStringView rest);
    void TableItem(int line, QStringView rest);
    void FreeText(int line, QStringView text);
    void CloseTable();
    void CloseGeneral();
    void CheckCount(int table, int rows);
    // The index in the format of the table `number` whose header stands in `line`, after the
    // tables opened so far and with no required table left out before it.
    int Position(int line, int number) const;
    // The first table from the next one to open up to (not including) index `before` that
    // cannot be left out, or null.
    const TableFormat* Required(int before) const;
    void End(int line);
    QString ColumnNames() const;
    const TableFormat* CurrentFormat() const;

    [[noreturn]] static void Fail(int line, const QString& message);

    const DataFormat& format_;
    ParsedData data_;
    int table_ = 0;    // number of the table being read; 0 before table 1
    int position_ = 0; // index in the format after the last table opened
    int lastItem_ = 0; // number of the last item of the current table
};
