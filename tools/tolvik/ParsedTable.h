#pragma once

#include <QString>
#include <vector>

// The items of one table as read from a data file: a row of numbers per item (words are kept
// as their index in the list of accepted words), with the line each item stood on. Rows are
// stored in one flat array, so that a mesh of a hundred thousand elements costs no more than
// its numbers.
struct ParsedTable {
    int Number = 0;     // the table number of its header
    QString Title;      // "Nodes", for messages
    QString ItemsName;  // "nodes", for messages about references
    int HeaderLine = 0; // line of the header, counted from 1
    int Width = 0;      // values per item
    std::vector<double> Values;
    std::vector<int> Lines;

    int Rows() const { return static_cast<int>(Lines.size()); }
    double At(int row, int column) const {
        return Values[static_cast<size_t>(row) * Width + column];
    }
    const double* Row(int row) const { return Values.data() + static_cast<size_t>(row) * Width; }
};
