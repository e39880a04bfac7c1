#pragma once

#include <array>
#include <vector>

// The circular arc of a curved member in the x-z plane, from a to b with radius |R|, bulging
// to the left of a -> b (seen with x to the right and z upwards) for R > 0, the shorter way
// round. The solver cuts the member into straight pieces at these points and the viewer draws
// it through them, so both must take them from here.
namespace CircularArc {

using Point = std::array<double, 3>;

// pieces + 1 points from a to b (y = 0 between the ends); just a and b when the chord is 0 or
// R is 0. A radius shorter than half the chord is taken as half the chord.
std::vector<Point> Points(const Point& a, const Point& b, double radius, int pieces);

} // namespace CircularArc
