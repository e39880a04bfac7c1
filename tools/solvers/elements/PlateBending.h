#pragma once

#include "Element.h"
#include "ShellMaterial.h"

#include <array>

// Thin plates in the x-y plane by the discrete Kirchhoff elements: the normal's slopes are
// interpolated quadratically over corners and midpoints of the sides, the Kirchhoff condition
// (no transverse shear) holds at the corners and at the midpoints, where the slope along the
// side is that of a cubic w and the slope across it the mean of the corners'. Three unknowns
// per corner, components {2, 3, 4}: uz (w) and the right-handed rotations rx, ry about the
// global x and y axes, so rx = dw/dy and ry = -dw/dx.
//
// Results per unit width, columns {mx, my, mxy, qx, qy}. A moment is positive when it
// stretches the bottom face (z < 0), so a slab sagging under a downward load has positive
// mx and my:
//   mx = D (kxx + nu kyy), my = D (kyy + nu kxx), mxy = D (1 - nu) kxy,
// with kxx = d2w/dx2, kyy = d2w/dy2, kxy = d2w/dxdy and D = E t^3 / (12 (1 - nu^2)); every
// moment is minus the first moment of its stress through the thickness, m = -integral s z dz,
// so a positive mxy is a positive shear stress txy on the bottom face (w = c x y with c > 0).
// The shear forces are those of equilibrium, qx = dmx/dx + dmxy/dy, qy = dmxy/dx + dmy/dy
// (a beam's V = dM/dx), from the moments' gradient over the element: exact where the
// moments vary linearly in a quadrilateral, constant and coarse in a triangle, and, as any
// derivative, least accurate at a supported edge; smoothed nodal moments give better ones.
//
// The element's mass rho t A is lumped on uz, in the shares of the corners' linear (bilinear)
// functions, with no rotary inertia. An even pressure pz gives the same shares as nodal
// forces and no nodal moments: the discrete Kirchhoff element has no deflection inside
// besides its corners' and sides', and the moments of a consistent load would vanish as the
// mesh is refined anyway.
template <int N>
class PlateElement : public Element {
public:
    PlateElement(const ShellMaterial& m, std::array<int, N> nodes,
                 std::array<std::array<double, 2>, N> xy);

    std::span<const int> Nodes() const override { return nodes_; }
    std::span<const int> Components() const override { return Components3; }
    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override;
    Vector Loads(const std::array<double, 3>& perUnit) const override;
    Results Recover(const Vector& u) const override;
    ResultLayout Layout() const override;
    // At the integration points (three in a triangle, 2 x 2 in a quadrilateral), their (x, y).
    Sampled Sample(const Vector& u) const override;
    // The weight of the plate's thickness, as Loads() spreads a pressure (z alone).
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override;
    // A plate bends under a difference across it alone (the face on +z, its top, warmer by
    // Across): free, it would take the curvature alpha Across / t in every direction, hogging
    // (kxx = kyy = -alpha Across / t); held, its moments are D (1 + nu) alpha Across / t, which
    // stretch the cooler bottom face. An even change moves no plate.
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;
    Results HeatSamples(const Heat& heat) const override;

    // The curvatures (kxx, kyy, 2 kxy) at reference point (xi, eta) of the triangle (0, 0),
    // (1, 0), (0, 1) or the square [-1, 1]^2: one row each, one column per unknown.
    using Curvature = Eigen::Matrix<double, 3, Eigen::Dynamic, Eigen::ColMajor, 3, 3 * N>;
    Curvature CurvatureAt(double xi, double eta) const;
    // Moments of the curvatures (kxx, kyy, 2 kxy).
    Eigen::Matrix3d Rigidity() const;

    static constexpr std::array<int, 3> Components3 = {2, 3, 4};

private:
    ShellMaterial material_;
    std::array<int, N> nodes_;
    std::array<std::array<double, 2>, N> points_;

    // The slopes (dw/dx, dw/dy) of the corners and midpoints (rows, in pairs) by the corners'
    // unknowns: the discrete Kirchhoff constraints. Formed when needed rather than kept: a
    // mesh holds many elements.
    Eigen::Matrix<double, 4 * N, 3 * N> Slopes() const;
    // The moments of the heat's free curvature, (mx, my, mxy).
    Eigen::Vector3d HeatMoments(const Heat& heat) const;
    // The moments (mx, my, mxy) at the sample points, one row each.
    Eigen::Matrix<double, N, 3> SampleMoments(const Vector& u) const;
    // mx my mxy qx qy at reference point (xi, eta) of the field fitted to the sample points.
    Eigen::Matrix<double, 1, 5> Fitted(const Eigen::Matrix<double, N, 3>& moments, double xi,
                                       double eta) const;
};

extern template class PlateElement<3>;
extern template class PlateElement<4>;

// DKT (Batoz, Bathe, Ho 1980): moments linear over the element.
class PlateTriangle final : public PlateElement<3> {
public:
    using PlateElement::PlateElement;
};

// DKQ (Batoz, Ben Tahar 1982): the same constraints on the eight-node serendipity
// quadrilateral, integrated at 2 x 2 Gauss points; the corners' moments are extrapolated
// bilinearly from those points.
class PlateQuad final : public PlateElement<4> {
public:
    using PlateElement::PlateElement;
};

// The elastic (Winkler) foundation under a plate element of three or four corners: a ground
// pressure k w under its deflection w, in the plate's unknowns (uz rx ry). Its stiffness is
// k times the integral of L_a L_b over the element, L the corners' linear (bilinear)
// functions, on w alone: the consistent matrix of the deflection the plate's loads take, for
// a pressure has the shares of those same functions (Loads()). An evenly settled element
// rests on exactly k times its area, and the ground's pressure follows the deflection
// between the corners rather than in steps, converging as the square of the mesh's size.
class PlateFoundation final : public Element {
public:
    PlateFoundation(std::span<const int> nodes, std::span<const std::array<double, 2>> corners,
                    double k);

    std::span<const int> Nodes() const override { return {nodes_.data(), count_}; }
    std::span<const int> Components() const override { return Components3; }
    Matrix Stiffness() const override;

    static constexpr std::array<int, 3> Components3 = {2, 3, 4};

private:
    std::array<int, 4> nodes_{};
    std::array<std::array<double, 2>, 4> corners_{};
    size_t count_ = 0;
    double k_ = 0;
};
