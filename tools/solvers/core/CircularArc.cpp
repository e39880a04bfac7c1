#include "CircularArc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<CircularArc::Point> CircularArc::Points(const Point& a, const Point& b, double radius,
                                                    int pieces) {
    const double dx = b[0] - a[0], dz = b[2] - a[2];
    const double chord = std::hypot(dx, dz);
    if (chord <= 0 || radius == 0 || pieces < 1)
        return {a, b};
    const double r = std::max(std::abs(radius), chord / 2);
    const double h = std::sqrt(std::max(0.0, r * r - chord * chord / 4));
    // Left normal of the chord; the centre lies on the other side of the bulge.
    const double nx = -dz / chord, nz = dx / chord;
    const double side = radius > 0 ? -1 : 1;
    const double cx = (a[0] + b[0]) / 2 + side * nx * h;
    const double cz = (a[2] + b[2]) / 2 + side * nz * h;
    const double start = std::atan2(a[2] - cz, a[0] - cx);
    double sweep = std::atan2(b[2] - cz, b[0] - cx) - start;
    // The shorter arc, turning the way that puts its middle on the bulging side.
    while (sweep > std::numbers::pi)
        sweep -= 2 * std::numbers::pi;
    while (sweep < -std::numbers::pi)
        sweep += 2 * std::numbers::pi;
    std::vector<Point> points;
    points.reserve(static_cast<size_t>(pieces) + 1);
    points.push_back(a);
    for (int piece = 1; piece < pieces; ++piece) {
        const double angle = start + sweep * piece / pieces;
        points.push_back({cx + r * std::cos(angle), 0, cz + r * std::sin(angle)});
    }
    points.push_back(b);
    return points;
}
