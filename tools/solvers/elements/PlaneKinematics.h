#pragma once

#include "PlaneSolid.h"

// The strain-displacement operator of the plane elements at a point, from the shape
// functions' values and their derivatives with respect to the plane's coordinates.
namespace PlaneKinematics {

using Shape = Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 8, 1>;
using Gradient = Eigen::Matrix<double, 2, Eigen::Dynamic, Eigen::ColMajor, 2, 8>;
using Operator = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::ColMajor, 4, 16>;

// Rows: the strains of the form; columns: ux (ur) and uz of each node in turn. `r` the radius
// of the point (bodies of revolution only, greater than 0).
Operator Strain(PlaneSolid::Form form, const Shape& n, const Gradient& dndx, double r);

// Adds an integration point's share of the consistent mass, `weight` times N_a N_b in both
// components of each pair of nodes.
void AddMass(Element::Matrix& m, double weight, const Shape& n);

} // namespace PlaneKinematics
