#pragma once

#include "ParsedTable.h"

#include <QString>
#include <vector>

// Everything a check has read from a data file: the items of table 1 and the rows of the
// other tables. The checker fills it table by table, so while a table is read it already
// answers for the tables above it (item counts for references, load cases).
class ParsedData {
public:
    struct GeneralItem {
        int Line = 0;
        QString Text;      // the value after the first "=", trimmed
        double Number = 0; // the value as a number, for numeric items
    };

    int GeneralHeaderLine = 0;
    std::vector<GeneralItem> General; // item k of table 1 at index k - 1
    std::vector<ParsedTable> Tables;  // the tables after table 1, in file order

    // The table with that number, or null when the file has none.
    const ParsedTable* Table(int number) const;
    // Items of the table; 0 when there is no such table.
    int ItemCount(int number) const;
    // The numeric value of item `item` of table 1; 0 when there is no such item.
    double GeneralNumber(int item) const;
    int GeneralLine(int item) const;
};
