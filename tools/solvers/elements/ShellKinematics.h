#pragma once

#include "Element.h"
#include "Quadrature.h"

#include <array>
#include <span>

// What the plate and membrane elements of three or four straight-sided corners share. Both
// interpolate a field quadratically, over the corners and the midpoints of the sides, and
// express the midpoints' values by the corners' unknowns (the slopes of a plate by the
// discrete Kirchhoff constraints, the displacements of a membrane by its drilling rotations);
// the geometry itself stays linear (bilinear): the midpoints lie halfway along straight
// sides. The reference elements are those of ShapeFunctions: the triangle (0, 0), (1, 0),
// (0, 1), the square [-1, 1]^2; side k runs from corner k to corner k + 1.
namespace ShellKinematics {

using Corners = std::span<const std::array<double, 2>>;

// At most eight functions: four corners and four midpoints.
struct Field {
    // The quadratic functions, corners first, then the midpoints of the sides, and their
    // derivatives with respect to x and y (rows).
    Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 8, 1> N;
    Eigen::Matrix<double, 2, Eigen::Dynamic, Eigen::ColMajor, 2, 8> Dxy;
    // The linear (bilinear) functions of the corners alone and their x, y derivatives.
    Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 4, 1> Linear;
    Eigen::Matrix<double, 2, Eigen::Dynamic, Eigen::ColMajor, 2, 4> LinearDxy;
    // dA = Measure dxi deta, positive whichever way the corners run.
    double Measure = 0;
};

// Throws std::invalid_argument unless the corners enclose an area: no two at one point, not
// all on one line. The elements would otherwise divide by nothing.
void Validate(Corners corners);

// The functions at reference point (xi, eta) of the element with these three or four corners.
Field At(Corners corners, double xi, double eta);

// The points a plate or membrane takes its stiffness and its results at: three inside a
// triangle (exact for quadratics), 2 x 2 Gauss points of a quadrilateral. They lie on the
// lines from the centre to the corners, in the corners' order.
const std::vector<Quadrature::Point>& SamplePoints(int corners);
// Reference coordinates of the centre and of each corner.
std::array<double, 2> Centre(int corners);
std::array<double, 2> Corner(int corners, int k);

// The field through values at SamplePoints(): its values and x, y gradients at (xi, eta),
// weights per sample point (columns). Linear in a triangle, bilinear in a quadrilateral.
struct Fit {
    Eigen::Matrix<double, 1, Eigen::Dynamic, Eigen::RowMajor, 1, 4> Value;
    Eigen::Matrix<double, 2, Eigen::Dynamic, Eigen::ColMajor, 2, 4> Gradient;
};
Fit FitAt(Corners corners, double xi, double eta);

// The area and the integrals of the corners' linear functions over it: each corner's share of
// an even load or of a lumped mass.
double Area(Corners corners);
Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 4, 1> Shares(Corners corners);

// Position in the plane of reference point (xi, eta).
std::array<double, 2> Position(Corners corners, double xi, double eta);

} // namespace ShellKinematics
