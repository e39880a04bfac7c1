#pragma once

#include "BarAxes.h"
#include "BarDeflection.h"
#include "BarSpan.h"
#include "ViewerResults.h"

#include <vector>

// The deformed shape of a bar between its displaced ends: straight for a truss bar; for a
// frame bar a cubic across the bar in each bending plane that takes the end rotations as its
// slopes (a hinged end of a plane frame keeps no moment, so its curvature there is zero), plus
// the deflection of the loads across the bar (even, point and partial) between ends held in
// place, and the axial displacement linear along it. For a straight Euler-Bernoulli bar that
// is the exact line. Displacements are magnified by `scale`.
struct BarLoading {
    const BarSpan* Span = nullptr;     // the loads between the ends; none: unloaded
    double BendingY = 0, BendingZ = 0; // E·I of the x-z and x-y planes; 0: left out
};

class BarShape {
public:
    using Loading = BarLoading;

    static std::vector<BarAxes::Vec3> Points(const BarAxes& axes, const BarAxes::Vec3& start,
                                             const ViewerResults::Motion& motionI,
                                             const ViewerResults::Motion& motionJ, int hinges,
                                             bool truss, double scale, int segments,
                                             const Loading& loading = {});

    // The bar element's own deflection lines.
    static double Loaded(double load, double bending, double length, int hinges, double xi) {
        return BarDeflection::Loaded(load, bending, length, hinges, xi);
    }
    static double Across(double wI, double slopeI, double wJ, double slopeJ, double length,
                         int hinges, double xi) {
        return BarDeflection::Across(wI, slopeI, wJ, slopeJ, length, hinges, xi);
    }
};
