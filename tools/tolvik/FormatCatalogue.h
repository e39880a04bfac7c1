#pragma once

#include "DataFormat.h"

#include <optional>

// The input format of every problem number, 1 to 27. Numbers 18 to 20 have no problem type;
// their files are held to the table rules only.
namespace FormatCatalogue {

// `dynamics` for a ".p" file (the dynamic analyses of problems 4, 7 and 13).
std::optional<DataFormat> For(int problem, bool dynamics = false);

} // namespace FormatCatalogue
