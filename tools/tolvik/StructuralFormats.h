#pragma once

#include "DataFormat.h"

#include <optional>

// The input formats of the structural problem types, 1 to 17. All share one layout: table 1
// general data, 2 materials, 3 sections, 4 nodes, 5 elements, 6 supports, 7 nodal loads, 8
// element loads, 9 masses, then the optional tables 10 to 18 of ActionTables.h (statics) or 20
// to 30 of DynamicTables.h (dynamics); a type leaves out the tables it has no use for, and a
// table keeps its number and meaning in every type.
namespace StructuralFormats {

// The format of `problem`; `dynamics` for the ".p" files of space trusses, space frames and
// plates, which need at least one natural mode. None for a number that is not structural.
std::optional<DataFormat> For(int problem, bool dynamics);

} // namespace StructuralFormats
