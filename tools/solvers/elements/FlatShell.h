#pragma once

#include "MembraneDrilling.h"
#include "PlateBending.h"

#include <array>

// A flat shell: the membrane with drilling rotations and the discrete Kirchhoff plate, side by
// side in the element's own plane and turned into global axes; six components per corner,
// {0, 1, 2, 3, 4, 5}. The membrane's stiffness against the drilling rotation is what keeps a
// node whose elements all lie in one plane from turning freely about their normal.
//
// Results per unit width in the element's local axes, columns
// {nx, ny, nxy, mx, my, mxy, sxTop, syTop, txyTop, sxBottom, syBottom, txyBottom}: the
// moments as the plate's (positive when they stretch the bottom face, local -z), the face
// stresses s = n / t -+ 6 m / t^2 (top, the +z face: n / t - 6 m / t^2). Sample() gives its
// points in local (x, y), measured from the first corner.
//
// The mass rho t A is lumped on the translations (no rotary inertia); an even load per unit
// area, given by its global components, has the corners' shares of it as nodal forces.
template <int N>
class ShellElement : public Element {
public:
    ShellElement(const ShellMaterial& m, std::array<int, N> nodes,
                 std::array<Eigen::Vector3d, N> points);

    std::span<const int> Nodes() const override { return nodes_; }
    std::span<const int> Components() const override { return Components6; }
    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override;
    Vector Loads(const std::array<double, 3>& perUnit) const override;
    Results Recover(const Vector& u) const override;
    ResultLayout Layout() const override;
    Sampled Sample(const Vector& u) const override;
    // The weight of its thickness, as Loads() spreads a load per area.
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override;
    // The membrane takes the change at the corners (the mean through the thickness), the plate
    // the difference across it (the face on the side of the normal, local +z, less the other).
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;
    Results HeatSamples(const Heat& heat) const override;

    // Rows: local x, y and z (the normal) in global components.
    Eigen::Matrix3d Axes() const { return axes_; }
    double Area() const;
    // The corners in the local axes, from the first corner.
    const std::array<std::array<double, 2>, N>& Local() const { return local_; }
    // The element's own displacements in local axes, per corner (ux uy uz rx ry rz).
    Vector ToLocal(const Vector& u) const;

    static constexpr std::array<int, 6> Components6 = {0, 1, 2, 3, 4, 5};

private:
    struct Frame {
        Eigen::Matrix3d Axes;
        std::array<std::array<double, 2>, N> Local;
        std::array<double, N> Offset; // how far each corner lies from the plane, along z
    };
    // The axes of the element's plane and its corners in them; `normal` the plane's.
    static Frame FrameOf(const std::array<Eigen::Vector3d, N>& points,
                         const Eigen::Vector3d& normal);

    ShellElement(const ShellMaterial& m, std::array<int, N> nodes, const Frame& frame);

    ShellMaterial material_;
    std::array<int, N> nodes_;
    Eigen::Matrix3d axes_;
    std::array<std::array<double, 2>, N> local_;
    std::array<double, N> offset_;
    DrillingMembrane<N> membrane_;
    PlateElement<N> plate_;

    // Global displacements of the corners to local ones of the element's plane.
    Matrix Turn() const;
    // The global loads of the membrane's and the plate's local ones.
    Vector Assemble(const Vector& membrane, const Vector& plate) const;
    // Face stresses and all columns from the membrane forces and the plate's moments.
    Results Combine(const Results& forces, const Results& moments) const;
};

extern template class ShellElement<3>;
extern template class ShellElement<4>;

// Local x runs from corner 1 to corner 2, z is the normal by the right hand from corners 1, 2,
// 3, and y = z x x.
class ShellTriangle final : public ShellElement<3> {
public:
    ShellTriangle(const ShellMaterial& m, std::array<int, 3> nodes,
                  std::array<Eigen::Vector3d, 3> points);
};

// A warped quadrilateral is projected onto its mean plane, whose normal is the cross product
// of the diagonals; local x is the projection of the side from corner 1 to corner 2. Its
// corners are joined rigidly to their projections, so that it still moves as a whole without
// straining.
class ShellQuad final : public ShellElement<4> {
public:
    ShellQuad(const ShellMaterial& m, std::array<int, 4> nodes,
              std::array<Eigen::Vector3d, 4> points);

    // How far the corners lie from the mean plane, relative to the element's size: the
    // largest distance of a corner over the square root of the projected area.
    static double Warping(const std::array<Eigen::Vector3d, 4>& points);
};
