#pragma once

#include "Element.h"

#include <array>
#include <memory>

// The elasticity of a solid, stress = D strain with the strains (ex, ey, ez, gxy, gyz, gzx),
// and its density (mass per volume).
struct SolidMaterial {
    Eigen::Matrix<double, 6, 6> D = Eigen::Matrix<double, 6, 6>::Zero();
    double Density = 0;
};

// How a solid element's corners lie: a sound shape, one folded or twisted through itself (the
// mapping from the reference element turns inside out somewhere), or one of no volume (flat,
// or with corners that coincide).
enum class SolidShape { Sound, Inverted, Degenerate };

// What the solid elements share: their material, the displacements ux uy uz at each corner and
// the stresses they recover, sx sy sz txy tyz tzx, the principal stresses s1 >= s2 >= s3 and
// von Mises' equivalent stress.
//
// Corner orders: a brick has n1..n4 round one face and n5..n8 round the opposite one, n5
// opposite n1; a wedge the triangle n1 n2 n3 and the opposite triangle n4 n5 n6, n4 opposite
// n1; a tetrahedron n1..n4. Either sense of turning is accepted: an element numbered the other
// way round (n1..n4 clockwise seen from n5..n8) is the same solid, and Make() turns its order
// so that the first face runs counter-clockwise seen from the second (seen from n4 for a
// tetrahedron). Nodes() and the rows of Recover() follow the order the element keeps.
class SolidElement : public Element {
public:
    using Stress = Eigen::Matrix<double, 6, 1>;
    using StressRow = Eigen::Matrix<double, 1, 10>;

    struct ShapeCheck {
        SolidShape Shape = SolidShape::Sound;
        // Sound, but numbered the other way round: Make() reverses the order.
        bool Mirrored = false;
    };

    // The shape of 8 (brick), 6 (wedge) or 4 (tetrahedron) corners, from the sign of the
    // Jacobian's determinant at the integration points, the corners and the centre: the same sign
    // everywhere is sound, both signs inverted, one tiny against the element's own edges
    // degenerate. Throws std::invalid_argument for another number of corners.
    static ShapeCheck Classify(std::span<const Eigen::Vector3d> corners);

    // The element of those nodes and corners, mirrored if need be. `material` must outlive it.
    // Throws std::invalid_argument for another number of corners, as many nodes as corners
    // wanting, or a shape that is not sound: a mesh is meant to be classified first, so that
    // the message can name the element.
    static std::unique_ptr<SolidElement> Make(const SolidMaterial& material,
                                              std::span<const int> nodes,
                                              std::span<const Eigen::Vector3d> corners);

    std::span<const int> Components() const override { return Displacements; }
    ResultLayout Layout() const override { return StressLayout(); }
    double TotalMass() const override { return material_->Density * Volume(); }
    // The element's Loads() of a force per volume.
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override {
        return Loads(perVolume);
    }
    // The heat (HeatLoads(), HeatResults()): the stress of the free strain alpha T of an
    // isotropic material is hydrostatic, p = E alpha T / (1 - 2 nu) in sx sy sz. Taking it off
    // takes p off each principal stress and leaves von Mises' as it is, so HeatResults() has p
    // in the principal columns and nothing in von Mises', and its rows may be taken off those
    // of Recover() column by column. Solids give no samples, nor heat samples.

    virtual double Volume() const = 0;

    static ResultLayout StressLayout();
    // A stress's row of results: its six components, the principal stresses and von Mises'.
    static StressRow Describe(const Stress& stress);

protected:
    explicit SolidElement(const SolidMaterial& material) : material_(&material) {}

    const SolidMaterial* material_;

private:
    static constexpr std::array<int, 3> Displacements = {0, 1, 2};
};

// The nodes and corners of a solid element of N corners, in the order it keeps.
template <int N>
class SolidOf : public SolidElement {
public:
    using Corners = std::array<Eigen::Vector3d, N>;

    SolidOf(const SolidMaterial& material, const std::array<int, N>& nodes, const Corners& corners)
        : SolidElement(material), nodes_(nodes), corners_(corners) {}

    std::span<const int> Nodes() const override { return nodes_; }
    const Corners& At() const { return corners_; }

protected:
    std::array<int, N> nodes_;
    Corners corners_;
};

// The trilinear brick with the incompatible modes 1 - xi^2, 1 - eta^2, 1 - zeta^2 in each
// displacement condensed out, in Taylor's form: the modes' strains are taken with the Jacobian
// of the centre, so that they add nothing to a constant stress and a distorted mesh still
// passes the patch test, while a brick bends as a beam does instead of locking in shear.
// 2 x 2 x 2 Gauss points.
class SolidBrick final : public SolidOf<8> {
public:
    using SolidOf::SolidOf;

    Matrix Stiffness() const override;
    Matrix Mass() const override;
    Vector Loads(const std::array<double, 3>& perVolume) const override;
    Results Recover(const Vector& u) const override;
    double Volume() const override;
    // With the heat's share on the inner modes condensed out as the stiffness is, and the
    // stresses of the modes the heat moves itself. Where the change varies over the brick
    // those are not hydrostatic, and the principal and von Mises columns of HeatResults() are
    // those of the heat's stress alone: the results' own are to be taken from their tensor
    // (as the nodes' are), not by difference.
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;

private:
    struct Parts; // the matrices of the compatible and incompatible modes
    // `compatible`: with the stiffness of the compatible modes, which the stresses do not need.
    Parts Integrate(bool compatible = true) const;
};

// The six-node wedge, linear over its triangles and along its axis: three points over the
// triangle by two along the axis.
class SolidWedge final : public SolidOf<6> {
public:
    using SolidOf::SolidOf;

    Matrix Stiffness() const override;
    Matrix Mass() const override;
    Vector Loads(const std::array<double, 3>& perVolume) const override;
    Results Recover(const Vector& u) const override;
    double Volume() const override;
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;
};

// The four-node tetrahedron of constant strain.
class SolidTetrahedron final : public SolidOf<4> {
public:
    using SolidOf::SolidOf;

    Matrix Stiffness() const override;
    Matrix Mass() const override;
    Vector Loads(const std::array<double, 3>& perVolume) const override;
    Results Recover(const Vector& u) const override;
    double Volume() const override;
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;
};
