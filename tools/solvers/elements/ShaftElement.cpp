#include "ShaftElement.h"

namespace {

// Where v, phi and theta of the two nodes lie among the element's six unknowns.
constexpr int Deflection[2] = {0, 3};
constexpr int Twist[2] = {1, 4};
constexpr int Slope[2] = {2, 5};
constexpr int BendingIndex[4] = {Deflection[0], Slope[0], Deflection[1], Slope[1]};

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

ShaftElement::Bending ShaftElement::BendingStiffness() const {
    const Real l = length_;
    Bending k;
    k << 12, 6 * l, -12, 6 * l, 6 * l, 4 * l * l, -6 * l, 2 * l * l, -12, -6 * l, 12, -6 * l, 6 * l,
        2 * l * l, -6 * l, 4 * l * l;
    return k * (flexural_ / (l * l));
}

Eigen::Matrix4d ShaftElement::BendingMass() const {
    const double l = length_;
    const double mass = massPerLength_ * l / 420;
    Eigen::Matrix4d m;
    m << 156, 22 * l, 54, -13 * l, 22 * l, 4 * l * l, 13 * l, -3 * l * l, 54, 13 * l, 156, -22 * l,
        -13 * l, -3 * l * l, -22 * l, 4 * l * l;
    return mass * m;
}

Eigen::Matrix2d ShaftElement::TorsionStiffness() const {
    Eigen::Matrix2d k;
    k << torsion_, -torsion_, -torsion_, torsion_;
    return k;
}

Eigen::Matrix2d ShaftElement::TorsionMass() const {
    Eigen::Matrix2d m;
    m << 2, 1, 1, 2;
    return polarInertiaPerLength_ * length_ / 6 * m;
}

Element::Matrix ShaftElement::Stiffness() const {
    Matrix k = Matrix::Zero(6, 6);
    const Eigen::Matrix4d bending = BendingStiffness().cast<double>();
    const Eigen::Matrix2d torsion = TorsionStiffness();
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            k(BendingIndex[a], BendingIndex[b]) = bending(a, b);
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            k(Twist[a], Twist[b]) = torsion(a, b);
    return k;
}

Element::Matrix ShaftElement::Mass() const {
    Matrix m = Matrix::Zero(6, 6);
    const Eigen::Matrix4d bending = BendingMass();
    const Eigen::Matrix2d torsion = TorsionMass();
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            m(BendingIndex[a], BendingIndex[b]) = bending(a, b);
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            m(Twist[a], Twist[b]) = torsion(a, b);
    return m;
}
