#pragma once

#include "BarModel.h"
#include "Element.h"

#include <Eigen/Dense>

// One straight bar in the stiffness method: its local axes, its stiffness in local and global
// axes with the released ends condensed out, and the fixed-end forces of an evenly spread load.
// Local components follow the global ones: u v w rx ry rz at end i, then at end j. End forces
// are the forces the nodes exert on the bar.
class BarElement : public Element {
public:
    using Matrix12 = Eigen::Matrix<double, 12, 12>;
    using Vector12 = Eigen::Matrix<double, 12, 1>;

    BarElement(const BarModel& model, const BarModel::Bar& bar);

    // Rows: the local x, y and z axes, in global coordinates, of a bar from i to j turned by
    // beta about itself, for the frame's kind of axes. The viewer draws in these axes too.
    static Eigen::Matrix3d LocalAxes(ProblemType::Layout frame, const Eigen::Vector3d& i,
                                     const Eigen::Vector3d& j, double betaDegrees);

    std::span<const int> Nodes() const override { return ends_; }
    // Every bar works in all six components; those a type does not keep get no equation.
    std::span<const int> Components() const override { return AllComponents; }
    Matrix Stiffness() const override { return GlobalStiffness(); }
    // The bar's own mass from its unit weight: consistent for a bar that bends; half at each
    // end in every translation for a truss bar, which has no shape across itself.
    Matrix Mass() const override;
    double TotalMass() const override { return massPerLength_ * length_; }
    // The consistent loads of an even load per unit length, in global components.
    Vector Loads(const std::array<double, 3>& perLength) const override;
    // Those of a force per unit volume: the load per length it gives over the area.
    Vector VolumeLoads(const std::array<double, 3>& perVolume) const override;
    // The loads that hold the ends of a heated bar: the even change (the mean of its ends')
    // stretches it by alpha dT, the difference across the depth bends it about its local y
    // axis by alpha dTd / h, the face on the local z side growing longer; a truss bar takes
    // the even change alone. Condensed at hinges as the stiffness is.
    Vector HeatLoads(const Heat& heat) const override;
    // The consistent loads of a force and a moment at distance `at` from end i, and of a load
    // per unit length varying linearly from `from` at distance a to `to` at b: in the axes of
    // space or, with `member`, in the bar's own.
    Vector PointLoads(const std::array<double, 3>& force, const std::array<double, 3>& moment,
                      double at, bool member) const;
    Vector PartialLoads(const std::array<double, 3>& from, const std::array<double, 3>& to,
                        double a, double b, bool member) const;
    // The stiffness in global axes of an elastic (Winkler) foundation of modulus k per unit
    // length under the bar, across it along its local z axis: k times the integral of the
    // deflection's shapes (N^T N), which follow a hinged end as the mass does. Under a truss
    // bar, which has no shape across itself, the linear one.
    Matrix12 FoundationStiffness(double k) const;
    // The geometric stiffness of the normal force that the ends' displacements `u` cause,
    // the mean of both ends: an even load along the bar adds the same to each end's share and
    // so nothing to it.
    Matrix GeometricStiffness(const Vector& u) const override;
    // The normal force (tension positive) that the ends' displacements cause.
    double NormalForce(const Vector12& globalDisplacements) const;

    double Length() const { return length_; }
    // Rows: the local x, y and z axes in global coordinates.
    const Eigen::Matrix3d& Axes() const { return axes_; }
    // Computed on each call rather than kept: a model of 200,000 bars would otherwise hold
    // half a gigabyte of element matrices.
    Matrix12 LocalStiffness() const;
    Matrix12 GlobalStiffness() const;
    // The consistent mass of a bar that bends, `perLength` of mass per unit length, in global
    // axes: linear along the bar, the cubic deflection across it (a hinged end rotating as the
    // unloaded bar lets it). The twist carries no mass, as in the lumped masses.
    Matrix12 GlobalMass(double perLength) const;
    // Geometric stiffness of an axial force N (tension positive), in global axes.
    Matrix12 GlobalGeometricStiffness(double normalForce) const;

    // Fixed-end forces in local axes of a load given per unit length in global components.
    Vector12 FixedEndForces(const BarModel::Vector& load) const;
    Vector12 ToLocal(const Vector12& global) const;
    Vector12 ToGlobal(const Vector12& local) const;
    // End forces in local axes from the global displacements of the two ends and the
    // consistent loads (Loads()) of the loads along the bar: the stiffness's forces less those
    // loads, which are the fixed-end forces turned round.
    Vector12 EndForces(const Vector12& globalDisplacements, const Vector12& loads) const;

    // The section forces at end i then at end j ("Ni" ... "Mj"), as the frame's kind has them:
    // N V M in a plane, V T M in a grillage, N Vy Vz T My Mz in space; N alone in a truss. The
    // beam convention: M positive when the fibres on the right of the bar, looking from i to j,
    // are in tension, and dM/dx = V.
    static ResultLayout EndLayout(ProblemType::Layout frame, bool truss);
    ResultLayout Layout() const override { return EndLayout(frame_, trussModel_); }
    // The first Layout().Count() are the section forces of the displacements `u` of the
    // ends and the consistent loads along the bar, as EndForces takes them.
    using Forces = std::array<double, 12>;
    Forces SectionForces(const Vector& u, const Vector& loads) const;

private:
    // Nodal loads, in local axes, equivalent to a force and a moment (local components) at
    // distance `at`: the work they do on the bar's shapes.
    Vector12 PointEquivalent(const Eigen::Vector3d& force, const Eigen::Vector3d& moment,
                             double at) const;
    // The consistent loads in global axes of loads equivalent to `equivalent` (local) in a
    // bar without hinges: a released end keeps none of its moment.
    Vector Consistent(const Vector12& equivalent) const;
    Eigen::Vector3d Local(const std::array<double, 3>& v, bool member) const;
    // Removes the released end rotations from k (and f); returns the map from the remaining
    // components to all twelve, with each released rotation as the unloaded bar takes it.
    Matrix12 Condense(Matrix12& k, Vector12* f) const;
    Matrix12 RigidStiffness() const;
    // Puts a 4 x 4 bending matrix (v or w with its rotation, at i then j), times `factor`,
    // into both bending planes.
    static void SetBending(Matrix12& matrix, const double block[4][4], double factor);
    // A matrix of the bar's cubic deflection made to follow the free rotation of a hinged end.
    Matrix12 Released(const Matrix12& matrix) const;
    Matrix12 ToGlobal(const Matrix12& local) const;

    static constexpr std::array<int, 6> AllComponents = {0, 1, 2, 3, 4, 5};

    const BarModel::Bar* bar_;
    ProblemType::Layout frame_;
    bool trussModel_; // the whole model's bars carry normal forces alone
    std::array<int, 2> ends_;
    double massPerLength_ = 0; // gamma A / g
    double length_ = 0;
    Eigen::Matrix3d axes_;
};
