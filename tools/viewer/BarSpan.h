#pragma once

#include "BarAxes.h"
#include "StaticResults.h"
#include "ViewerModel.h"

#include <vector>

// What loads a straight bar between its ends in one load case or combination, in the bar's
// local axes: its even load (table 8) and its point and partial loads (tables 15 and 16), at
// distances from end i. Their equilibrium gives the section forces between the ends and their
// deflection the bar's line, so that a diagram shows the jump under a point load and the
// curve under a partial one.
class BarSpan {
public:
    using Vec3 = BarAxes::Vec3;
    struct Point {
        double At = 0;
        Vec3 Force{}, Moment{};
    };
    struct Partial {
        double A = 0, B = 0; // from A to B, linear between its values there
        Vec3 From{}, To{};   // per unit length
    };

    Vec3 Even{}; // per unit length over the whole bar
    std::vector<Point> Points;
    std::vector<Partial> Partials;
    double Length = 0;

    // Whether anything loads the bar other than an even load.
    bool Inner() const { return !Points.empty() || !Partials.empty(); }

    // One per bar of the model, in element order: of a load case, or of a combination (the
    // sum of its terms' factors times their cases' loads). Curved members take their even
    // load only (in global axes, as BarArc wants it).
    static std::vector<BarSpan> Of(const ViewerModel& model, ProblemType::Layout frame,
                                   const StaticResults::Case& loadCase);

    // The section force `component` (local forces x, y, z, then moments about x, y, z: what
    // the part beyond the section exerts on the part from end i, as the solvers' end forces
    // give it at both ends) at distance x, less its value at end i and less what the forces
    // and moment at end i add: the part that the loads between alone make. A point load at x
    // counts when `after`.
    double Particular(int component, double x, bool after) const;

    // The distances where the diagrams break or kink, within the bar, in increasing order.
    std::vector<double> Breaks() const;

private:
    void Add(const BarSpan& other, double factor);
};
