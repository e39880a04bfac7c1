#pragma once

#include <array>
#include <vector>

// Integration points of the reference elements that continuum elements are built on: the
// square [-1, 1]^2 (Gauss-Legendre, n x n points) and the triangle with corners (0, 0), (1, 0),
// (0, 1) (symmetric rules). The weights of a rule add up to the reference area: 4 and 1/2.
namespace Quadrature {

struct Point {
    std::array<double, 2> Xi; // reference coordinates (xi, eta)
    double Weight = 0;
};

// n = 1, 2 or 3 points in each direction: exact for polynomials up to degree 2n - 1 in each.
std::vector<Point> Square(int n);
// degree 1 (the centroid) or 2 (three points inside): exact for polynomials of that degree.
std::vector<Point> Triangle(int degree);

} // namespace Quadrature
