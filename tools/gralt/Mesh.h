#pragma once

#include <QPointF>
#include <QString>
#include <array>
#include <vector>

// A mesh of quadrilateral elements: nodes numbered from 1 in the order of the vector, each
// element with its four corners (node numbers, counter-clockwise), its material and section.
struct Mesh {
    struct Element {
        std::array<int, 4> Corners{};
        int Material = 1;
        int Section = 1;
        bool operator==(const Element&) const = default;
    };
    // Items of a table after 5 that come with the mesh because they name its nodes (supports,
    // nodal loads, contour nodes): each item's values as the data file's table holds them.
    struct Table {
        int Number = 0;
        QString Title; // "Supports", as the header names the table
        std::vector<std::vector<double>> Items;
    };
    std::vector<QPointF> Nodes;
    std::vector<Element> Elements;
    std::vector<Table> Tables; // in ascending order of their numbers
};
