#pragma once

// The deflection line of a straight Euler-Bernoulli bar across its axis, as the bar element
// assumes it: the cubic through the end values and slopes (a hinged end of a plane frame keeps
// no moment, so no curvature), plus the line of an even load between ends held in place. The
// viewer draws deformed bars with these, so that the drawing is the element's own shape.
// Hinge codes as the plane frames give them: 1 at i, 2 at j, 3 both.
namespace BarDeflection {

// The deflection at xi (0 at i, 1 at j) from end values and slopes (per unit length).
double Across(double wI, double slopeI, double wJ, double slopeJ, double length, int hinges,
              double xi);

// The deflection at xi of a bar under `load` per unit length across it whose ends do not
// move (and do not turn, unless hinged): q L^4 / 24 EI times xi^2 (1 - xi)^2 with both ends
// fixed, xi - 2 xi^3 + xi^4 with both hinged, and (2 xi^4 - 3 xi^3 + xi) / 2 with a hinge at i
// (mirrored for j). 0 when the bending stiffness is not positive.
double Loaded(double load, double bending, double length, int hinges, double xi);

// The same of a force across the bar and of a moment (turning from the bar's axis towards
// the deflection: its work is moment times the slope) at distance `at` from end i, and of a
// load per unit length across it varying linearly from `from` at distance a to `to` at b.
double Point(double force, double moment, double at, double bending, double length, int hinges,
             double xi);
double Partial(double from, double to, double a, double b, double bending, double length,
               int hinges, double xi);

} // namespace BarDeflection
