#pragma once

#include "ResultLayout.h"

#include <Eigen/Dense>
#include <array>
#include <span>

// One finite element as the assembly and the analyses see it, whatever its formulation: the
// nodes it joins, the global displacement components it works in at each of them (ux uy uz rx
// ry rz, numbered 0 to 5), and its matrices in global axes, ordered node by node with the
// components of a node in that order. A new formulation is one class of this kind; the
// numbering, the assembly, the equation solvers and the property tests take it as it is.
class Element {
public:
    // No element has more than 24 unknowns (a brick of eight nodes, a shell quadrilateral), so
    // its matrices live on the stack: millions of elements are assembled without a heap
    // allocation each.
    static constexpr int MaxSize = 24;
    using Matrix =
        Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::ColMajor, MaxSize, MaxSize>;
    using Vector = Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, MaxSize, 1>;

    virtual ~Element() = default;

    // Indices into the model's nodes, counted from 0.
    virtual std::span<const int> Nodes() const = 0;
    virtual std::span<const int> Components() const = 0;
    int Size() const { return static_cast<int>(Nodes().size() * Components().size()); }

    virtual Matrix Stiffness() const = 0;
    // The consistent mass; an element that carries none returns a zero matrix.
    virtual Matrix Mass() const { return Matrix::Zero(Size(), Size()); }
    // The geometric stiffness for the element's own displacements `u` of a reference load.
    virtual Matrix GeometricStiffness(const Vector& /*u*/) const {
        return Matrix::Zero(Size(), Size());
    }
    // The stiffness in extended precision, for a model whose stiffness spans more decades than
    // double carries (a long beam mesh); an element that computes no closer gives Stiffness().
    using ExtendedMatrix = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic,
                                         Eigen::ColMajor, MaxSize, MaxSize>;
    using ExtendedVector = Eigen::Matrix<long double, Eigen::Dynamic, 1>;
    virtual ExtendedMatrix ExtendedStiffness() const { return Stiffness().cast<long double>(); }
    // Adds the element's forces K u for the displacements `u` of the system's equations to
    // `out`; `equations` gives the equation of each of its unknowns, -1 where there is none (a
    // held or a left-out component, which does not move). An element that can form its forces
    // without the cancellation of an assembled matrix (a beam from its end rotations against
    // the chord) does so; the rest multiply ExtendedStiffness().
    virtual void AddExtendedProduct(const ExtendedVector& u, std::span<const int> equations,
                                    ExtendedVector& out) const {
        const auto size = static_cast<Eigen::Index>(equations.size());
        Eigen::Matrix<long double, Eigen::Dynamic, 1, Eigen::ColMajor, MaxSize, 1> local(size);
        for (Eigen::Index i = 0; i < size; ++i) {
            const int e = equations[static_cast<size_t>(i)];
            local[i] = e >= 0 ? u[e] : 0.0L;
        }
        local = (ExtendedStiffness() * local).eval();
        for (Eigen::Index i = 0; i < size; ++i)
            if (const int e = equations[static_cast<size_t>(i)]; e >= 0)
                out[e] += local[i];
    }
    // The element's mass (or area times density) that Mass() spreads: its rows add up to it.
    virtual double TotalMass() const { return 0; }
    // The consistent nodal loads of a load spread evenly over the element (per unit length of
    // a bar, per unit area of a plate or shell), given by its global components x, y, z.
    virtual Vector Loads(const std::array<double, 3>& /*perUnit*/) const {
        return Vector::Zero(Size());
    }

    // The consistent loads of a force per unit volume of the element's material, by its global
    // components: its weight is the unit weight times the multiples of g the data gives. A bar
    // takes it over its area, a plate or shell over its thickness, a plane body over its
    // thickness (a body of revolution per radian, as its other loads).
    virtual Vector VolumeLoads(const std::array<double, 3>& /*perVolume*/) const {
        return Vector::Zero(Size());
    }

    // The element's own results for its displacements `u` (stresses, forces per width, a
    // flux): the first row at its centre, then one row per node, the columns as Layout() gives
    // them. Nodal values of a mesh are the mean of the rows its elements give.
    // At most nine rows (a centre and eight nodes) and sixteen columns (a shell's forces,
    // moments and face stresses).
    using Results = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor, 9, 16>;
    virtual Results Recover(const Vector& /*u*/) const { return {}; }
    // The columns of Recover() and Sample(): their names, titles, quantities (and so units) and
    // where they live. The result file and the JSON take them from here. An element whose
    // results depend on the loads along it as well (a bar's section forces at its ends) states
    // them here and gives them through its family's end-force hook.
    virtual ResultLayout Layout() const { return {}; }

    // The same results at the points where the element computes them best (its integration
    // points), with those points' coordinates in the plane of the model: what a patch
    // recovery fits its smooth nodal values to.
    struct Sampled {
        Eigen::Matrix<double, Eigen::Dynamic, 2, Eigen::RowMajor, 8, 2> At;
        Results Values;
    };
    virtual Sampled Sample(const Vector& /*u*/) const { return {}; }

    // A change of temperature from the state the element is free of stress in: at each of its
    // nodes (in the order of Nodes()), and for bars, plates and shells a difference across the
    // depth: the face on the side of the element's normal (a bar's local z axis) less the
    // opposite face, over `Depth` (a bar's, as the data gives it; a plate or shell uses its
    // thickness).
    struct Heat {
        double Alpha = 0;
        std::array<double, 8> Change{};
        double Across = 0;
        double Depth = 0;
    };
    // The consistent loads that hold the nodes where the free heated element would take them:
    // the integral of B^T D eps0 (condensed as the stiffness is).
    virtual Vector HeatLoads(const Heat& /*heat*/) const { return Vector::Zero(Size()); }
    // What the free strains of the heat take off the element's own results: the same rows
    // and columns as Recover() (HeatResults) and as Sample()'s values (HeatSamples), D eps0 at
    // each. The results of a heated element are those of its displacements less these.
    virtual Results HeatResults(const Heat& /*heat*/) const { return {}; }
    virtual Results HeatSamples(const Heat& /*heat*/) const { return {}; }
};
