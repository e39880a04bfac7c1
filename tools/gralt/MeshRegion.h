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

    // The region of the twelve values of its line in the project file or the window's table:
    // the corners' x and y, the two divisions, material and section.
    static MeshRegion FromValues(const double (&values)[12]) {
        MeshRegion region;
        for (std::size_t c = 0; c < 4; ++c)
            region.Corners[c] = QPointF(values[2 * c], values[2 * c + 1]);
        region.Divisions12 = static_cast<int>(values[8]);
        region.Divisions23 = static_cast<int>(values[9]);
        region.Material = static_cast<int>(values[10]);
        region.Section = static_cast<int>(values[11]);
        return region;
    }

    bool operator==(const MeshRegion&) const = default;
};
