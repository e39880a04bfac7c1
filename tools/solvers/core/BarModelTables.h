#pragma once

#include "BarModel.h"

class ParsedData;

// Reads the optional tables of a bar model's loads and supports beyond the nodal and even
// element loads: self-weight, temperatures, imposed displacements, springs, elastic
// foundations, point and partial loads on members, load combinations and envelopes. What is
// given per element of the file goes onto every bar it was cut into: a temperature or a
// foundation onto each piece, a member load onto the piece (or the stretches of pieces) it
// falls on, at the piece's own distances.
namespace BarModelTables {

// `barsOf`: per element of the file, its bars from end i to end j.
void Read(const ProblemType& type, const ParsedData& data,
          const std::vector<std::vector<int>>& barsOf, BarModel& model);

} // namespace BarModelTables
