#pragma once

#include "ValueRule.h"

#include <QString>
#include <functional>
#include <vector>

class ParsedData;
struct ParsedTable;

// Checks beyond the single values, run after an item has been read (`row` is its index) or
// when its table is complete. They throw a CheckFault naming the line at fault.
using RowCheck = std::function<void(const ParsedTable& table, int row, const ParsedData& data)>;
using TableCheck = std::function<void(const ParsedTable& table, const ParsedData& data)>;

// One item of table 1: "#", its number, a label, "=", the value.
struct GeneralItemFormat {
    enum class Kind {
        Text,  // anything, also nothing (a title)
        Unit,  // one word: the editor hands it to the profile and material choosers
        Value, // one value under `Rule`, optionally followed by a ";" remark
    };
    QString Label;
    Kind Type = Kind::Value;
    ValueRule Rule;
};

// One table after table 1: its number, what its items hold and how many there must be.
struct TableFormat {
    enum class Widths {
        Fixed,       // one value per rule in Columns
        FirstRow,    // a matrix: every item as long as the first, each value under Columns[0]
        RowsOfTable, // as many values as table WidthTable has items, each under Columns[0]
    };

    int Number = 0;
    QString Title;     // "Nodes"
    QString ItemsName; // "nodes": how references to its items are named in messages
    std::vector<ValueRule> Columns;
    Widths Width = Widths::Fixed;
    int WidthTable = 0;
    int MinItems = 0;
    // An optional table may be left out; the tables that are there keep the format's order.
    bool Optional = false;
    RowCheck OnRow;

    // A table of fixed columns, the way most formats declare theirs.
    static TableFormat Make(int number, const QString& title, const QString& items,
                            std::vector<ValueRule> columns, int minItems) {
        TableFormat table;
        table.Number = number;
        table.Title = title;
        table.ItemsName = items;
        table.Columns = std::move(columns);
        table.MinItems = minItems;
        return table;
    }
    // An optional table of fixed columns, which may also be there without items.
    static TableFormat MakeOptional(int number, const QString& title, const QString& items,
                                    std::vector<ValueRule> columns) {
        TableFormat table = Make(number, title, items, std::move(columns), 0);
        table.Optional = true;
        return table;
    }
    TableCheck OnEnd;
};
