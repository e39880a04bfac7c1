#pragma once

#include "Element.h"

#include <array>
#include <vector>

// Springs from one node to the ground, one stiffness per component the node carries: an
// elastic support. It joins the assembly like any element, so a spring that holds a component
// no element stiffens also keeps the model from being a mechanism.
class NodeSpring final : public Element {
public:
    NodeSpring(int node, std::vector<int> components, const std::array<double, 6>& stiffness)
        : node_{node}, components_(std::move(components)) {
        for (int c : components_)
            stiffness_.push_back(stiffness[static_cast<size_t>(c)]);
    }

    std::span<const int> Nodes() const override { return node_; }
    std::span<const int> Components() const override { return components_; }
    Matrix Stiffness() const override {
        Matrix k = Matrix::Zero(Size(), Size());
        for (size_t c = 0; c < stiffness_.size(); ++c)
            k(static_cast<Eigen::Index>(c), static_cast<Eigen::Index>(c)) = stiffness_[c];
        return k;
    }

private:
    std::array<int, 1> node_;
    std::vector<int> components_;
    std::vector<double> stiffness_;
};
