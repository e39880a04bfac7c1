#pragma once

#include "BarAxes.h"
#include "ViewerResults.h"

#include <vector>

// The deformed shape of a bar between its displaced ends: straight for a truss bar; for a
// frame bar a cubic across the bar in each bending plane that takes the end rotations as its
// slopes (a hinged end of a plane frame keeps no moment, so its curvature there is zero), and
// the axial displacement linear along it. Displacements are magnified by `scale`.
class BarShape {
public:
    static std::vector<BarAxes::Vec3> Points(const BarAxes& axes, const BarAxes::Vec3& start,
                                             const ViewerResults::Motion& motionI,
                                             const ViewerResults::Motion& motionJ, int hinges,
                                             bool truss, double scale, int segments);

    // The deflection across a bar at xi from end values and slopes (per unit length), with
    // the hinge codes of a plane frame (1 at i, 2 at j, 3 both).
    static double Across(double wI, double slopeI, double wJ, double slopeJ, double length,
                         int hinges, double xi);
};
