#pragma once

#include <array>

// What the calculation needs of one shape: its kind, whether it is material or a hole, and
// the world coordinates of its four point slots (a triangle's or sector's fourth slot holds
// its first point again).
struct ShapeGeometry {
    struct Point {
        double Y = 0.0;
        double Z = 0.0;
    };
    int Kind = 0; // 1 quadrangle, 2 triangle, 3 sector
    bool Filled = true;
    std::array<Point, 4> Points{};
};
