#pragma once

#include "Mesh.h"

#include <QString>
#include <vector>

// The contours of a torsion profile, found from its mesh: the edges that belong to one
// element only form closed loops. The loop of the largest area is the outer contour (0), the
// others are holes (1, 2, ...) in the order of their lowest node numbers. Each contour lists
// its nodes in order along it, from its lowest node number, with the profile on the left:
// the outer contour counter-clockwise, holes clockwise.
class ProfileContours {
public:
    struct Result {
        bool Ok = false;
        QString Error;
        std::vector<std::vector<int>> Contours; // [0] the outer contour, then the holes
    };

    static Result Find(const Mesh& mesh);
};
