#pragma once

#include "CheckFault.h"
#include "MeshModel.h"

#include <QStringList>
#include <array>
#include <vector>

// The cells of a plate or shell mesh checked before anything is solved on them. A plate is a
// plane mesh in x-y and is held to everything a plane mesh is (see PlaneMesh); its cells come
// back counter-clockwise seen from above. A shell's cells keep their corners' order, since it
// gives the normal that the pressure follows; each is refused when a corner repeats, when it
// has no area, when it is given twice or when, seen on its mean plane, its sides cross or it is
// not convex. A quadrilateral whose corners lie out of one plane is calculated flat on its mean
// plane, with a warning once it is warped by more than WarpTolerance of its size.
namespace SurfaceMesh {

// The largest distance of a corner from the mean plane, relative to the square root of the
// element's area, that a shell quadrilateral is taken flat without a warning.
inline constexpr double WarpTolerance = 0.01;

struct Checked {
    std::vector<std::array<int, 4>> Corners; // the fourth -1 for a triangle
    QStringList Warnings;                    // "Line 12: element 7 is warped ..."
};

Checked Check(const MeshModel& model);

} // namespace SurfaceMesh
