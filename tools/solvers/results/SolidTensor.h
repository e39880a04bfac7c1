#pragma once

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>

namespace SolidTensor {

// The principal values of a symmetric stress tensor in space given as (sx sy sz txy tyz tzx),
// largest first, and its von Mises stress: out[0] >= out[1] >= out[2], out[3] the von Mises.
inline void Principal(const double* t, double* out) {
    Eigen::Matrix3d s;
    s << t[0], t[3], t[5], t[3], t[1], t[4], t[5], t[4], t[2];
    // The closed form of a 3 x 3 problem: several times faster than iterating for each of
    // millions of points. Where two values nearly coincide (an even pressure, a uniaxial
    // state) it keeps only about half the digits, as the root of the rounding noise, so
    // those points are iterated.
    Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver;
    solver.computeDirect(s, Eigen::EigenvaluesOnly);
    Eigen::Vector3d values = solver.eigenvalues(); // ascending
    const double size = values.cwiseAbs().maxCoeff();
    if (std::min(values[1] - values[0], values[2] - values[1]) <= 1e-5 * size) {
        solver.compute(s, Eigen::EigenvaluesOnly);
        values = solver.eigenvalues();
    }
    out[0] = values[2];
    out[1] = values[1];
    out[2] = values[0];
    const double dx = t[0] - t[1], dy = t[1] - t[2], dz = t[2] - t[0];
    out[3] = std::sqrt(std::max(0.0, 0.5 * (dx * dx + dy * dy + dz * dz) +
                                         3 * (t[3] * t[3] + t[4] * t[4] + t[5] * t[5])));
}

} // namespace SolidTensor
