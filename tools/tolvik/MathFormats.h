#pragma once

#include "DataFormat.h"

#include <optional>

// The input formats of the mathematics problem types, 21 to 27. Table 1 gives the title and
// the parameters of the task (items 2 to 4, and 9 where needed); items 5 to 8 count the items
// of tables 4, 5, 2 and 3 as in every format, so items 5 and 6 are 0. Tables 2 and 3 hold
// the numbers: matrix rows, right-hand sides, function values, polynomial terms, intervals.
namespace MathFormats {

// The format of `problem`; none for a number that is not a mathematics type.
std::optional<DataFormat> For(int problem);

} // namespace MathFormats
