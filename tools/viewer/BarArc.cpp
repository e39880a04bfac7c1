#include "BarArc.h"

#include "CircularArc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<BarAxes::Vec3> BarArc::Points(const BarAxes::Vec3& i, const BarAxes::Vec3& j,
                                          double radius) {
    return CircularArc::Points(i, j, radius, Pieces);
}

BarAxes::Vec3 BarArc::Tangent(const std::vector<BarAxes::Vec3>& points, size_t k) {
    const size_t end = std::max<size_t>(k, 1);
    const BarAxes::Vec3& a = points[end - 1];
    const BarAxes::Vec3& b = points[end];
    const double length = std::hypot(b[0] - a[0], b[2] - a[2]);
    if (length <= 0)
        return {1, 0, 0};
    return {(b[0] - a[0]) / length, 0, (b[2] - a[2]) / length};
}

BarAxes::Vec3 BarArc::Normal(const std::vector<BarAxes::Vec3>& points, size_t k) {
    const BarAxes::Vec3 t = Tangent(points, k);
    return {-t[2], 0, t[0]};
}

std::vector<BarArc::Section> BarArc::Sections(const std::vector<BarAxes::Vec3>& points,
                                              const Section& endI, const BarAxes::Vec3& load) {
    // What the part beyond a cut exerts on the part before it: the force N t - V n and the
    // moment M, counter-clockwise seen with x to the right and z upwards.
    const auto cross = [](double rx, double rz, double fx, double fz) { return rx * fz - rz * fx; };
    std::vector<Section> sections;
    if (points.size() < 2)
        return sections;
    sections.reserve(points.size());
    const BarAxes::Vec3 t0 = Tangent(points, 0), n0 = Normal(points, 0);
    const double f0x = endI.N * t0[0] - endI.V * n0[0];
    const double f0z = endI.N * t0[2] - endI.V * n0[2];
    double loadX = 0, loadZ = 0; // the load on the part so far
    double loadMoment0 = 0;      // the moment of that load about the origin
    for (size_t k = 0; k < points.size(); ++k) {
        if (k > 0) {
            const BarAxes::Vec3& a = points[k - 1];
            const BarAxes::Vec3& b = points[k];
            const double length = std::hypot(b[0] - a[0], b[2] - a[2]);
            const double wx = load[0] * length, wz = load[2] * length;
            loadX += wx;
            loadZ += wz;
            // Kept about the origin, so that the moment about any point follows without a
            // second pass.
            loadMoment0 += cross((a[0] + b[0]) / 2, (a[2] + b[2]) / 2, wx, wz);
        }
        const BarAxes::Vec3& p = points[k];
        const double fx = f0x - loadX, fz = f0z - loadZ;
        // Moment of the loads about p: sum (mid - p) x w = sum mid x w - p x W.
        const double loadMoment = loadMoment0 - cross(p[0], p[2], loadX, loadZ);
        const double m =
            endI.M + cross(points[0][0] - p[0], points[0][2] - p[2], f0x, f0z) - loadMoment;
        const BarAxes::Vec3 t = Tangent(points, k), n = Normal(points, k);
        sections.push_back({fx * t[0] + fz * t[2], -(fx * n[0] + fz * n[2]), m});
    }
    return sections;
}
