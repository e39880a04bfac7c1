#pragma once

#include "DataFormat.h"

// The optional tables 10 to 18 of the structural types: self-weight, temperatures, imposed
// displacements, springs, elastic foundations, point and partial loads on members, load
// combinations and envelopes. They follow a type's own tables in ascending order, each at most
// once; a type takes those that make sense for it, the dynamics variants none.
namespace ActionTables {

// Adds to `format`, a structural type's with its own tables, the tables 10 to 18 it takes.
// Where springs may hold the structure, table 6 may have no items.
void Add(DataFormat& format, bool dynamics);

} // namespace ActionTables
