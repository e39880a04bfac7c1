#pragma once

#include <cmath>
#include <numbers>

namespace PlaneTensor {

// The principal values of a symmetric plane tensor (xx, yy, xy) — stresses in the plane of a
// model, a plate's moments — and the angle of the first from the x axis, in degrees from -90
// to 90: out[0] >= out[1], out[2] the angle.
inline void Principal(const double* t, double* out) {
    const double centre = (t[0] + t[1]) / 2, half = (t[0] - t[1]) / 2;
    const double radius = std::hypot(half, t[2]);
    out[0] = centre + radius;
    out[1] = centre - radius;
    out[2] = radius == 0 ? 0.0 : std::atan2(t[2], half) / 2 * 180 / std::numbers::pi;
}

} // namespace PlaneTensor
