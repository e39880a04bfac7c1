#pragma once

#include "BarModel.h"

class ParsedData;

// Builds the bar model of a checked data file of problem types 1, 3 to 8 and 15. Curved members
// of type 1 become chains of straight bars, fine enough that the results do not change in the
// fourth digit; straight members (not truss bars) may be cut into equal pieces as well, which
// modes and buckling need. The inner nodes follow the nodes of the file.
namespace BarModelBuilder {

// Straight pieces per circular arc.
inline constexpr int ArcPieces = 64;

bool Handles(int problem);
// `pieces`: per element of the file, the equal straight bars a straight member that bends is
// cut into (none: every member whole).
BarModel Build(int problem, const ParsedData& data, const std::vector<int>& pieces = {});

} // namespace BarModelBuilder
