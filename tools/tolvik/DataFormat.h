#pragma once

#include "TableFormat.h"

#include <QString>
#include <functional>
#include <vector>

// How the preview sees a problem type: which columns of table 4 are the model's x, y and z,
// and how the leading node numbers of the items of table 5 make lines.
struct ModelShape {
    enum class Elements {
        None,     // no geometric model (mathematics, no problem type)
        Bars,     // items start with two end nodes: one line each
        Polygons, // items start with four corners, the fourth 0 for a triangle: their edges
        Solids,   // items start with eight corners (4 tetrahedron, 6 wedge, 8 brick): edges
    };
    Elements Kind = Elements::None;
    int X = -1; // column of table 4 that gives x; -1 when x is 0
    int Y = -1;
    int Z = -1;
};

// The input format of one problem type: the items of table 1 and the tables that follow it, in
// the order they must appear, with the checks that tie them together.
struct DataFormat {
    int Problem = 0; // 1 to 27
    QString Name;    // "plane frames", for the verdict and messages
    std::vector<GeneralItemFormat> General;
    std::vector<TableFormat> Tables;
    // A number without a problem type: table 1 and any tables in ascending order, with items
    // of any values; only the table rules and the counts of items 5 to 8 are checked.
    bool OpenTables = false;
    ModelShape Model;
    std::function<void(const ParsedData& data)> OnEnd; // checks of the whole file

    // Items 5 to 8 of table 1 count the items of tables 4, 5, 2 and 3 in every format; the
    // editor rewrites them before each check.
    static int CountItemOf(int table) {
        switch (table) {
        case 4:
            return 5;
        case 5:
            return 6;
        case 2:
            return 7;
        case 3:
            return 8;
        default:
            return 0;
        }
    }
    static int TableCountedBy(int item) {
        static constexpr int tables[] = {0, 0, 0, 0, 0, 4, 5, 2, 3};
        return item >= 5 && item <= 8 ? tables[item] : 0;
    }

    const TableFormat* Table(int number) const {
        for (const TableFormat& table : Tables) {
            if (table.Number == number)
                return &table;
        }
        return nullptr;
    }
};
