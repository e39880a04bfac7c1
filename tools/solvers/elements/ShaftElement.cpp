#include "ShaftElement.h"

#include <algorithm>
#include <initializer_list>

namespace {

// Where v, phi and theta of the two nodes lie among the element's six unknowns.
constexpr int Deflection[2] = {0, 3};
constexpr int Twist[2] = {1, 4};
constexpr int Slope[2] = {2, 5};
constexpr int BendingIndex[4] = {Deflection[0], Slope[0], Deflection[1], Slope[1]};

// A 4 x 4 bending and a 2 x 2 torsion matrix placed among the element's six unknowns.
template <typename Target, typename Bending, typename Torsion>
Target Placed(const Bending& bending, const Torsion& torsion) {
    Target matrix = Target::Zero(6, 6);
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            matrix(BendingIndex[a], BendingIndex[b]) = bending(a, b);
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            matrix(Twist[a], Twist[b]) = torsion(a, b);
    return matrix;
}

} // namespace

ShaftElement::ShaftElement(const ShaftModel& model, const ShaftModel::Element& element) {
    const bool forward =
        model.X[static_cast<size_t>(element.J)] > model.X[static_cast<size_t>(element.I)];
    ends_ = forward ? std::array<int, 2>{element.I, element.J}
                    : std::array<int, 2>{element.J, element.I};
    const ShaftModel::Material& material = model.Materials[static_cast<size_t>(element.Material)];
    const ShaftModel::Section& section = model.Sections[static_cast<size_t>(element.Section)];
    const double density = material.Gamma / model.Gravity;
    length_ = model.Length(element);
    massPerLength_ = density * section.Area();
    polarInertiaPerLength_ = density * section.PolarInertia();
    torsion_ = material.E / (2 * (1 + material.Nu)) * section.PolarInertia() / length_;
    flexural_ = static_cast<Real>(material.E) * section.Inertia() / length_;
}

Element::ExtendedMatrix ShaftElement::ExtendedStiffness() const {
    const Real l = length_;
    Eigen::Matrix<Real, 4, 4> bending;
    bending << 12, 6 * l, -12, 6 * l, 6 * l, 4 * l * l, -6 * l, 2 * l * l, -12, -6 * l, 12, -6 * l,
        6 * l, 2 * l * l, -6 * l, 4 * l * l;
    bending *= flexural_ / (l * l);
    Eigen::Matrix<Real, 2, 2> torsion;
    torsion << torsion_, -torsion_, -torsion_, torsion_;
    return Placed<ExtendedMatrix>(bending, torsion);
}

Element::Matrix ShaftElement::Stiffness() const {
    return ExtendedStiffness().cast<double>();
}

Element::Matrix ShaftElement::Mass() const {
    const double l = length_;
    const double mass = massPerLength_ * l / 420;
    Eigen::Matrix4d bending;
    bending << 156, 22 * l, 54, -13 * l, 22 * l, 4 * l * l, 13 * l, -3 * l * l, 54, 13 * l, 156,
        -22 * l, -13 * l, -3 * l * l, -22 * l, 4 * l * l;
    Eigen::Matrix2d torsion;
    torsion << 2, 1, 1, 2;
    return Placed<Matrix>(Eigen::Matrix4d(mass * bending),
                          Eigen::Matrix2d(polarInertiaPerLength_ * length_ / 6 * torsion));
}

void ShaftElement::AddExtendedProduct(const ExtendedVector& u, std::span<const int> equations,
                                      ExtendedVector& out) const {
    const auto at = [&](int i) {
        const int e = equations[static_cast<size_t>(i)];
        return e >= 0 ? u[e] : Real(0);
    };
    const auto add = [&](int i, Real value) {
        if (const int e = equations[static_cast<size_t>(i)]; e >= 0)
            out[e] += value;
    };
    const auto moves = [&](std::initializer_list<int> unknowns) {
        return std::any_of(unknowns.begin(), unknowns.end(),
                           [&](int i) { return equations[static_cast<size_t>(i)] >= 0; });
    };
    if (moves({Deflection[0], Slope[0], Deflection[1], Slope[1]}))
        AddBendingProduct(at, add);
    if (moves({Twist[0], Twist[1]}))
        AddTorsionProduct(at, add);
}

template <typename At, typename Add>
void ShaftElement::AddBendingProduct(At at, Add add) const {
    // The end moments of the rotations against the chord, the shear that balances them.
    const Real length = length_;
    const Real chord = (at(Deflection[1]) - at(Deflection[0])) / length;
    const Real a = at(Slope[0]) - chord, b = at(Slope[1]) - chord;
    const Real ma = flexural_ * (4 * a + 2 * b), mb = flexural_ * (2 * a + 4 * b);
    const Real shear = (ma + mb) / length;
    add(Deflection[0], shear);
    add(Slope[0], ma);
    add(Deflection[1], -shear);
    add(Slope[1], mb);
}

template <typename At, typename Add>
void ShaftElement::AddTorsionProduct(At at, Add add) const {
    // G Ip / l times the twists.
    const Real gip = torsion_;
    add(Twist[0], gip * at(Twist[0]));
    add(Twist[1], gip * at(Twist[1]));
    add(Twist[0], -gip * at(Twist[1]));
    add(Twist[1], -gip * at(Twist[0]));
}
