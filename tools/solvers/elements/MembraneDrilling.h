#pragma once

#include "Element.h"
#include "ShellMaterial.h"

#include <array>

// A plane membrane with a drilling rotation at each corner, in the element's own 2-D axes:
// per corner u, v and theta (the right-handed rotation about the normal). The displacements
// are quadratic over corners and midpoints of the sides; a midpoint moves with the mean of its
// corners plus, normal to the side, what a side bent by its corners' rotations adds:
//   u_mid = (ui + uj) / 2 + (thetaj - thetai) / 8 (yj - yi, -(xj - xi)),
// so the sides bend without shearing and a panel bent in its plane does not lock (Allman's
// triangle, and the quadrilateral of Ibrahimbegovic, Taylor and Wilson). Equal rotations
// at every corner strain nothing; a small penalty on the difference between theta and the
// displacements' own rotation (v,x - u,y) / 2 at the centre holds that motion without
// stiffening anything else.
//
// Results per unit width: the membrane forces {nx, ny, nxy}.
template <int N>
class DrillingMembrane {
public:
    DrillingMembrane(const ShellMaterial& m, std::array<std::array<double, 2>, N> xy);

    // 3N x 3N, the corners' (u, v, theta) in turn.
    Element::Matrix Stiffness() const;
    // Rows: the centre, then each corner.
    Element::Results Forces(const Element::Vector& u) const;
    // At the sample points (three inside a triangle, 2 x 2 Gauss points of a quadrilateral).
    Element::Sampled Sample(const Element::Vector& u) const;

    // An even change of temperature in the plane, per corner (Heat::Change), strains it alpha
    // T in every direction: the loads that hold it, and the forces it takes off Forces() and
    // Sample()'s values (the thickness times E alpha T / (1 - nu) in nx and ny).
    Element::Vector HeatLoads(const Element::Heat& heat) const;
    Element::Results HeatForces(const Element::Heat& heat) const;
    Element::Results HeatSamples(const Element::Heat& heat) const;

    // The strains (ex, ey, gxy) at reference point (xi, eta).
    using Strain = Eigen::Matrix<double, 3, Eigen::Dynamic, Eigen::ColMajor, 3, 3 * N>;
    Strain StrainAt(double xi, double eta) const;
    // Membrane forces of a strain: the thickness times plane stress.
    Eigen::Matrix3d Elastic() const;

    // The penalty on the drilling rotation, relative to the shear modulus.
    static constexpr double Penalty = 1e-3;

private:
    // The displacements (u, v) of corners and midpoints (rows, in pairs) by the corners'
    // unknowns; formed when needed rather than kept.
    Eigen::Matrix<double, 4 * N, 3 * N> Expand() const;

    ShellMaterial material_;
    std::array<std::array<double, 2>, N> points_;

    Eigen::Matrix<double, N, 3> SampleForces(const Element::Vector& u) const;
    Eigen::Matrix<double, N, 3> SampleHeatForces(const Element::Heat& heat) const;
    // The centre and the corners of the field through the sample points' forces.
    Element::Results Fitted(const Eigen::Matrix<double, N, 3>& forces) const;
    // The free strain of the heat at reference point (xi, eta).
    Eigen::Vector3d FreeStrain(const Element::Heat& heat, double xi, double eta) const;
};

extern template class DrillingMembrane<3>;
extern template class DrillingMembrane<4>;

class MembraneTriangle final : public DrillingMembrane<3> {
public:
    using DrillingMembrane::DrillingMembrane;
};

class MembraneQuad final : public DrillingMembrane<4> {
public:
    using DrillingMembrane::DrillingMembrane;
};
