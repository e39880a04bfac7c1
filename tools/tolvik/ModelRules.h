#pragma once

#include "TableFormat.h"

#include <QString>
#include <functional>

class ParsedData;
struct ParsedTable;

// Checks of a structural model that single values cannot show: elements whose ends or corners
// coincide, supports that fix nothing, nodes named twice, nodes that no element uses. Each
// names the line of the item at fault.
namespace ModelRules {

// The sizes of an element (its largest distance between two corners) that the solvers can
// compute with, in any length unit: far beyond what a structure measures, far within the
// range of numbers that its size to the fourth and its stiffness still need.
inline constexpr double SmallestSize = 1e-30;
inline constexpr double LargestSize = 1e30;

// The distance between nodes `first` and `second` (from 1) of the table of nodes.
double Distance(const ParsedTable& nodes, int first, int second);

// Why an element whose corners `from` and `to` lie `size` apart, the farthest of any two, is
// too small or too large to compute with; empty when it is not (or has no size at all, which
// the checks of coinciding corners judge).
QString SizeFault(double size, int from, int to);

// Every element below also measures between SmallestSize and LargestSize.
// Items that start with two end nodes: the ends differ and lie apart.
RowCheck Bar();
// A bar that may be a circular arc: its radius (0 for a straight bar) in column `column` must
// be at least half the chord, or no arc joins the ends.
RowCheck ArcBar(int column);
// Items that start with four corners, the fourth 0 for a triangle: no corner twice.
RowCheck Polygon();
// Items that start with eight corners: a tetrahedron (corners 5 to 8 are 0), a wedge (7 and 8
// are 0) or a brick; no corner twice.
RowCheck Solid();
// Items of a node followed by 0/1 codes: at least one code is 1.
RowCheck FixesSomething();
// Every node appears at most once in column 0 of the table.
TableCheck UniqueNodes();
// No element stands on the nonzero nodes of the first `corners` columns of an earlier one:
// given twice, its stiffness would count twice.
TableCheck DistinctElements(int corners);
// Every node is a corner of some element (the first `corners` columns of table 5); a loose
// node leaves the solver a singular system.
std::function<void(const ParsedData&)> AllNodesUsed(int corners);

} // namespace ModelRules
