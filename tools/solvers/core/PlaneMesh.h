#pragma once

#include "ContinuumModel.h"

#include <QString>
#include <optional>
#include <vector>

// The cells of a plane mesh checked before anything is solved on them: a cell whose corners
// repeat a node or a point, whose area is zero, or (a quadrilateral) that is not convex would
// be solved into nonsense, so it is refused with the element and its line named. A cell whose
// corners all run clockwise is sound and is turned round: every element's corners then run
// counter-clockwise in the plane of the model.
namespace PlaneMesh {

struct Checked {
    std::vector<std::array<int, 4>> Corners; // counter-clockwise; the fourth -1 for a triangle
    QString Error;                           // "Line 27: element 3 ..."; empty when sound
};

Checked Check(const ContinuumModel& model);

} // namespace PlaneMesh
