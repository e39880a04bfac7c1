#pragma once

#include "Element.h"

#include <Eigen/Dense>
#include <vector>

// The axes a shell's nodal values are given in, and how each element's corner values turn into
// them: the node's normal is the mean of its elements' normals, its x the local x of its first
// element laid onto that plane. A plane tensor (xx, yy, xy) in the element's axes becomes
// R T R^T with R the node's tangent axes dotted with the element's.
class ShellNodeAxes {
public:
    // `axes`: per element, its local x, y and z as rows.
    ShellNodeAxes(const std::vector<const Element*>& elements,
                  const std::vector<Eigen::Matrix3d>& axes, size_t nodes);

    // Adds element e's values at corner a (groups of xx, yy, xy) turned into the node's axes.
    void Add(size_t e, size_t a, const double* values, int count, double* into) const;

private:
    std::vector<double> turn_; // per element 4 corners x 2 x 2
};
