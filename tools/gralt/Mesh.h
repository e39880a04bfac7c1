#pragma once

#include <QPointF>
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
    std::vector<QPointF> Nodes;
    std::vector<Element> Elements;
};
