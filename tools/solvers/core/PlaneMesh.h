#pragma once

#include "CheckFault.h"
#include "MeshModel.h"
#include "ScalarField.h"

#include <array>
#include <cstdint>
#include <vector>

// The cells of a plane mesh checked before anything is solved on them, for every plane type:
// a cell whose corners repeat a node, whose area is zero, whose sides cross or that is not
// convex would be solved into nonsense, and so would a cell given twice, two cells on top of
// each other or a side that three cells share. Each is refused with the element and its line
// named. A cell whose corners all run clockwise is sound and is turned round: every element's
// corners then run counter-clockwise in the plane of the model.
namespace PlaneMesh {

// A side of a cell, from one corner to the next counter-clockwise.
struct Side {
    std::uint64_t Key = 0; // the two nodes, either way round
    int Cell = 0;
    int From = 0, To = 0;
};
std::uint64_t SideKey(int a, int b);

struct Checked {
    std::vector<std::array<int, 4>> Corners; // counter-clockwise; the fourth -1 for a triangle
    int Reversed = 0;                        // cells given clockwise
    std::vector<Side> Boundary;              // the sides that belong to one cell only
    int Sides = 0;                           // distinct sides
};

// A cell as the check sees it: its corners in the plane, and its line of the file.
struct Cell {
    std::array<int, 4> Corners{}; // the fourth -1 for a triangle
    int Count = 4;
    int Line = 0;
};

// Throws SolverError at the line of the first unsound cell.
Checked Check(const std::vector<std::array<double, 2>>& nodes, const std::vector<Cell>& cells);
// A plane model's or a plate's mesh, on its plan; a profile's.
Checked Check(const MeshModel& model);

// The fault of one cell's shape, in the words a refusal uses; `node` the corner it is at.
QString ShapeFault(const ScalarField::ShapeVerdict& verdict, int element, int node);

} // namespace PlaneMesh
