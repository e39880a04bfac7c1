#pragma once

#include "Element.h"
#include "ShaftModel.h"

#include <array>

// One element of a round shaft along the x axis: Euler-Bernoulli bending in the x-y plane
// (the deflection uy and its slope rz; the round shaft repeats it in the other plane) and
// torsion (rx), linear, each with its consistent mass. Its first node is the one of lower x.
class ShaftElement : public Element {
public:
    ShaftElement(const ShaftModel& model, const ShaftModel::Element& element);

    std::span<const int> Nodes() const override { return ends_; }
    std::span<const int> Components() const override { return Own; }
    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override { return massPerLength_ * length_; }
    // The stiffness of a long shaft's mesh spans the number of its elements^4 from its lowest
    // mode to its highest: its bending is carried in extended precision, where a shaft of
    // 10,000 elements would lose the first digit of its lowest frequency in double.
    ExtendedMatrix ExtendedStiffness() const override;
    // The bending forces come from the end rotations against the chord, which stay accurate
    // however fine the mesh, where the assembled matrix cancels digits in every product.
    void AddExtendedProduct(const ExtendedVector& u, std::span<const int> equations,
                            ExtendedVector& out) const override;

private:
    using Real = long double;
    // The bending and the torsion share of AddExtendedProduct, over `at`(i), the displacement
    // of unknown i, and `add`(i, force).
    template <typename At, typename Add>
    void AddBendingProduct(At at, Add add) const;
    template <typename At, typename Add>
    void AddTorsionProduct(At at, Add add) const;
    static constexpr std::array<int, 3> Own = {1, 3, 5}; // uy, rx, rz

    std::array<int, 2> ends_;
    double length_ = 0, massPerLength_ = 0, polarInertiaPerLength_ = 0, torsion_ = 0;
    Real flexural_ = 0; // EI / l
};
