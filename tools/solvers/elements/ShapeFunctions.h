#pragma once

#include <Eigen/Dense>

// Shape functions of the plane reference elements and their derivatives with respect to the
// reference coordinates (xi, eta). The three-node triangle has corners (0, 0), (1, 0), (0, 1);
// the four-node quadrilateral (-1, -1), (1, -1), (1, 1), (-1, 1), counter-clockwise.
namespace ShapeFunctions {

// At most eight nodes: the values stay on the stack, which the assembly of millions of
// elements needs.
struct Values {
    Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, 8, 1> N; // one per node
    // Rows: d/dxi, d/deta; one column per node.
    Eigen::Matrix<double, 2, Eigen::Dynamic, Eigen::ColMajor, 2, 8> Derived;
};

Values Triangle3(double xi, double eta);
Values Quad4(double xi, double eta);

} // namespace ShapeFunctions
