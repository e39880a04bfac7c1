#pragma once

#include "Element.h"

#include <array>

// The wall of a shell of revolution between two nodes of its meridian: a conical frustum, a
// cylinder or a flat annulus (a disc when one end lies on the axis). Thin-shell theory in the
// classic form of Grafton and Strome: the displacement along the meridian is linear, the one
// normal to it cubic (Hermitian), so that the membrane state of a cylinder and the rigid shift
// along the axis come out exactly. All matrices and loads are per radian of the circumference:
// a ring value per unit length at radius r is r times as much per radian.
//
// The meridian runs from node i to node j along s = (dr, dz) / L; the normal is
// n = (dz, -dr) / L, outwards for a wall drawn upwards and for a bottom plate drawn from the
// axis outwards. The components are ur (global x), uz and the rotation about y (turning z
// towards r), which for the wall is dw/ds, w the displacement along n.
class ConicalShell : public Element {
public:
    struct Section {
        double E = 0, Nu = 0, Thickness = 0;
        double Density = 0; // mass per unit volume, for Mass()
    };

    // `at`: the (r, z) of nodes i and j; r >= 0, not both on the axis, not the same point.
    ConicalShell(const Section& section, std::array<int, 2> nodes,
                 std::array<std::array<double, 2>, 2> at);

    std::span<const int> Nodes() const override { return nodes_; }
    std::span<const int> Components() const override { return Components_; }
    Matrix Stiffness() const override;
    Matrix Mass() const override;
    double TotalMass() const override;
    // A traction per unit area of the wall, by its global components (r, y, z); y is ignored.
    Vector Loads(const std::array<double, 3>& perUnit) const override;
    // The consistent loads of a pressure normal to the wall, positive along n.
    Vector PressureLoads(double p) const;
    // The weight of the wall's thickness, as Loads() spreads a traction.
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override;

    // The heat: the change at the nodes (the mean through the wall, linear between them)
    // strains the wall alpha T along the meridian and round the hoop; the difference across
    // it (the face on the side of n warmer by Across) curves it alpha Across / t both ways.
    // Held, Ns = Nt = -E t alpha T / (1 - nu) and Ms = Mt = -D (1 + nu) alpha Across / t (the
    // warmer face pressed). Its rows take nothing off Q: the heat's moments are even.
    Vector HeatLoads(const Heat& heat) const override;
    Results HeatResults(const Heat& heat) const override;

    // Ns, Nt, Ms, Mt and Q per unit length of the parallel or the meridian, from the strains of
    // the element's own fields: at its middle, then at i and at j.
    Results Recover(const Vector& u) const override;
    ResultLayout Layout() const override { return WallLayout(); }
    // Its section forces per unit length of the circumference: Ns Nt Ms Mt Q.
    static ResultLayout WallLayout();

    // The section forces at both ends, Nsi Nti Msi Mti Qi Nsj Ntj Msj Mtj Qj, from what the
    // nodes exert on the element: `loads` are the consistent loads of what acts along it.
    // Nodal forces balance the loads exactly, so the meridional force, the moment and the
    // shear at an end are those of the equilibrium, not of the element's coarser curvature.
    // At an end on the axis, where a ring has no circumference, the strains give them (there
    // Nt = Ns, Mt = Ms and Q = 0 by symmetry). A heated element (`heat` not null) has the
    // heat's loads among `loads`, and its hoop values and those of the strains lose the
    // heat's free strains.
    std::array<double, 10> EndForces(const Vector& u, const Vector& loads,
                                     const Heat* heat = nullptr) const;

    double Length() const { return length_; }
    // The area of the wall per radian of the circumference: the integral of r along it.
    double AreaPerRadian() const;
    // dr/ds and dz/ds along the meridian.
    double Cos() const { return cos_; }
    double Sin() const { return sin_; }

private:
    static constexpr std::array<int, 3> Components_{0, 2, 4};
    using Strains = Eigen::Matrix<double, 4, 6>; // es et ks kt over the local u w b of i, j

    // Local (u, w, b) of both nodes from the global (ur, uz, rot): its own inverse.
    Eigen::Matrix<double, 6, 6> Turn() const;
    Strains StrainsAt(double xi) const;
    // w', w'' and w''' along s over the local unknowns.
    Eigen::Matrix<double, 3, 6> SlopesAt(double xi) const;
    Eigen::Matrix<double, 2, 6> FieldsAt(double xi) const; // u and w
    double RadiusAt(double xi) const;
    Eigen::Vector4d ForcesAt(double xi, const Eigen::Matrix<double, 6, 1>& local) const;
    // The forces (Ns Nt Ms Mt) of strains (es et ks kt).
    Eigen::Matrix4d Elastic() const;
    // The heat's free strains (es et ks kt) at xi.
    Eigen::Vector4d FreeStrains(const Heat& heat, double xi) const;

    Section section_;
    std::array<int, 2> nodes_;
    std::array<std::array<double, 2>, 2> at_;
    double length_ = 0, cos_ = 0, sin_ = 0;
};
