#pragma once

#include <QPointF>
#include <array>

// One quadrilateral region of the mesher: four corners in order around the region, the
// number of parts its sides 1-2 and 4-3 are divided into, the number for sides 2-3 and 1-4,
// and the material and section its elements get. Coordinates are those of table 4 of the
// problem type (x and z for plane problems, x and y for plates).
struct MeshRegion {
    std::array<QPointF, 4> Corners;
    int Divisions12 = 1;
    int Divisions23 = 1;
    int Material = 1;
    int Section = 1;

    bool operator==(const MeshRegion&) const = default;
};
