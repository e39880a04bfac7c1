#pragma once

#include <Eigen/Dense>

// Shape functions of the plane reference elements and their derivatives with respect to the
// reference coordinates (xi, eta). The three-node triangle has corners (0, 0), (1, 0), (0, 1);
// the four-node quadrilateral (-1, -1), (1, -1), (1, 1), (-1, 1), counter-clockwise.
namespace ShapeFunctions {

struct Values {
    Eigen::VectorXd N;        // one per node
    Eigen::Matrix2Xd Derived; // rows: d/dxi, d/deta; one column per node
};

Values Triangle3(double xi, double eta);
Values Quad4(double xi, double eta);

} // namespace ShapeFunctions
