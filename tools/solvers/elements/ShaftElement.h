#pragma once

#include "Element.h"
#include "ShaftModel.h"

#include <array>

// One element of a round shaft along the x axis: Euler-Bernoulli bending in the x-y plane
// (the deflection uy and its slope rz; the round shaft repeats it in the other plane) and
// torsion (rx), linear, each with its consistent mass. Its first node is the one of lower x.
class ShaftElement : public Element {
public:
    // The stiffness of a long shaft's mesh spans the number of its elements^4 from its lowest
    // mode to its highest: its bending is carried in extended precision, where a shaft of
    // 10,000 elements would lose the first digit of its lowest frequency in double.
    using Real = long double;
    using Bending = Eigen::Matrix<Real, 4, 4>;

    ShaftElement(const ShaftModel& model, const ShaftModel::Element& element);

    std::span<const int> Nodes() const override { return ends_; }
    std::span<const int> Components() const override { return Own; }
    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override { return massPerLength_ * length_; }

    // The bending stiffness and consistent mass over v and theta at the first node, then at
    // the second.
    Bending BendingStiffness() const;
    Eigen::Matrix4d BendingMass() const;
    // Adds the bending forces of the displacements `u` to `out`, where v and theta of the
    // first node are at `first` and `first` + 1, of the second at `second` and `second` + 1.
    // They come from the end rotations against the chord, which stay accurate however fine
    // the mesh, where the assembled matrix cancels digits in every product.
    template <typename Values>
    void AddBendingProduct(const Values& u, int first, int second, Values& out) const;
    // The torsion stiffness G Ip / l and consistent polar inertia over phi at both nodes.
    Eigen::Matrix2d TorsionStiffness() const;
    Eigen::Matrix2d TorsionMass() const;
    // Adds the torsion moments of the twists `u` to `out`, phi of the nodes at `first` and
    // `second`.
    template <typename Values>
    void AddTorsionProduct(const Values& u, int first, int second, Values& out) const {
        const Real gip = torsion_;
        out[first] += gip * u[first];
        out[second] += gip * u[second];
        out[first] += -gip * u[second];
        out[second] += -gip * u[first];
    }

private:
    static constexpr std::array<int, 3> Own = {1, 3, 5}; // uy, rx, rz

    std::array<int, 2> ends_;
    double length_ = 0, massPerLength_ = 0, polarInertiaPerLength_ = 0, torsion_ = 0;
    Real flexural_ = 0; // EI / l
};

template <typename Values>
void ShaftElement::AddBendingProduct(const Values& u, int first, int second, Values& out) const {
    const Real length = length_;
    const Real chord = (u[second] - u[first]) / length;
    const Real a = u[first + 1] - chord, b = u[second + 1] - chord;
    const Real ma = flexural_ * (4 * a + 2 * b), mb = flexural_ * (2 * a + 4 * b);
    const Real shear = (ma + mb) / length;
    out[first] += shear;
    out[first + 1] += ma;
    out[second] -= shear;
    out[second + 1] += mb;
}
