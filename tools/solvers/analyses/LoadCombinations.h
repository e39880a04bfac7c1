#pragma once

#include "FieldResults.h"
#include "MeshFamily.h"
#include "MeshModel.h"

#include <functional>

// The load combinations of a model and their envelopes, from its solved load cases by
// superposition: a combination is the sum of its factors times its cases' displacements,
// reactions (matched by node) and element and node values. The columns a family derives from
// the others (principal values) are not linear in the loads, so they are derived again from
// the combined ones. An envelope holds, value by value, the largest and the smallest over the
// combinations it names, and which combination gives each; where several give the same
// extreme, the first named governs. A case without loads has zero results and still counts.
namespace LoadCombinations {

// How an element or node row of `width` values combines: its first `Linear` values are summed;
// `Derive`, where there is more, makes the rest from them.
struct Rows {
    int Width = 0;
    int Linear = 0;
    std::function<void(const double* linear, double* derived)> Derive;
};
// The rows of the results a family's pipeline recovered.
Rows RowsOf(const FieldResults& results, const MeshFamily& family);

// Fills results.Combinations and results.Envelopes from results.Cases for the model's
// combinations and envelopes (none: both stay empty). Throws SolverError, with the line, for a
// combination naming a case the results do not hold or an envelope naming a missing
// combination.
void Apply(const MeshModel& model, const MeshFamily& family, FieldResults& results);
// The same with the rows given: what Apply does once it knows them.
void Apply(const MeshModel& model, const Rows& rows, FieldResults& results);

} // namespace LoadCombinations
