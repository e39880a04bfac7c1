#pragma once

#include "ProblemType.h"

#include <array>

// The local axes of a bar as the solvers take them: x from node i to node j; plane types keep
// the global y as local y (local z to the left of the bar, seen with x to the right and z up),
// grillages the global z as local z, space frames local z in the vertical plane through the
// bar (a vertical bar takes the global y as its local y), turned by beta about the bar: as the
// problem type's layout says.
struct BarAxes {
    using Vec3 = std::array<double, 3>;
    Vec3 X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};
    double Length = 0;

    static BarAxes Of(ProblemType::Layout frame, const Vec3& i, const Vec3& j,
                      double betaDegrees = 0);

    // A global vector in local components (x, y, z) and back.
    Vec3 ToLocal(const Vec3& global) const;
    Vec3 ToGlobal(const Vec3& local) const;

    static double Dot(const Vec3& a, const Vec3& b);
    static Vec3 Cross(const Vec3& a, const Vec3& b);
    static Vec3 Scaled(const Vec3& a, double factor);
    static Vec3 Sum(const Vec3& a, const Vec3& b);
};
