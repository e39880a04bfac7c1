#pragma once

#include "DofNumbering.h"
#include "Element.h"
#include "LoadBalance.h"
#include "LoadCases.h"
#include "MeshModel.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// What is particular to one family of meshes in the one statics pipeline (MeshStatics): its
// mesh check and elements, and the few hooks where its mechanics differ. Everything else (the
// constraints, the assembly, the loads, the solution, the recovery, the checks) is the
// pipeline's, the same for every family.
class MeshFamily {
public:
    // How the nodal results are had from the elements': a patch recovery (a plane or a
    // quadratic surface fitted to the elements' sampled values around the node), or the mean of
    // the elements' own corner values.
    enum class Nodal { LinearPatch, QuadraticPatch, Mean };

    virtual ~MeshFamily() = default;
    // The family of a model's mesh kind.
    static std::unique_ptr<MeshFamily> Of(const MeshModel& model);

    // Checks the mesh and makes its elements; throws SolverError, with the line, when it cannot
    // be solved. Warnings are of what is solved but deserves a look.
    virtual void Build(const MeshModel& model, QStringList& warnings) = 0;
    virtual std::vector<const Element*> Elements() const = 0;
    virtual QStringList ComponentNames() const = 0;
    virtual DofNumbering::Wording Wording() const;
    // Whether the numbering must weigh the elements' real diagonal stiffness to tell a held
    // component from a free one, rather than take every element's components as stiffened.
    virtual bool WeighsDiagonal() const { return false; }
    // Components held by the geometry itself (a node on the axis of a body of revolution); six
    // flags per node.
    virtual void Constrain(const MeshModel& /*model*/, std::vector<bool>& /*fixed*/) const {}
    // What a load given at a node stands for, per unit the equations take: a ring value per
    // unit of the circumference is r per radian; 1 elsewhere.
    virtual double PerRadian(const std::array<double, 3>& /*at*/) const { return 1; }
    virtual LoadBalance::Resultant Balance() const { return LoadBalance::Resultant::Whole; }
    // Whether a support at `at` reacts in component c, or the family's symmetry already holds
    // the node there (the radial force and the moment of a ring on the axis of a shell of
    // revolution cancel round the circle).
    virtual bool Reacts(const std::array<double, 3>& /*at*/, int /*c*/) const { return true; }
    // The consistent loads of an element load, by the element's unknowns.
    virtual Element::Vector ElementLoad(const MeshModel::ElementLoad& load) const;
    // An element load as the balance weighs it where its direction is given by the data (a
    // bar's load along the axes of space): its resultant and where it acts. None where it is
    // weighed as its consistent loads at the nodes, in directions computed from the elements
    // (a pressure along their normals).
    // Moment: about At, of a load whose forces do not pass through one point of the bar (a
    // point moment, a partial load whose components vary differently).
    struct GivenLoad {
        Eigen::Vector3d At, Force;
        Eigen::Vector3d Moment = Eigen::Vector3d::Zero();
    };
    virtual std::optional<GivenLoad> Given(const MeshModel::ElementLoad& /*load*/) const {
        return std::nullopt;
    }
    // How the check measures |K u - f|: against |K| |u| + |f| (a mesh, whose condition grows
    // with its fineness), or against the loads alone.
    virtual LoadCases::Measure Residual() const { return LoadCases::Measure::Backward; }

    virtual Nodal NodalResults() const = 0;
    // Families whose elements give their results at their ends from what the nodes exert on
    // them (bars, the walls of shells of revolution), not by a recovery over the mesh: the layout
    // of those columns (empty for the others), and element e's values from its displacements and
    // the consistent loads acting along it (with the heat's, which also take `heat`: null where
    // the element is not heated in the case).
    virtual ResultLayout EndLayout() const { return {}; }
    virtual void EndForces(size_t /*e*/, const Element::Vector& /*u*/,
                           const Element::Vector& /*loads*/, const Element::Heat* /*heat*/,
                           double* /*into*/) const {}
    // The elastic (Winkler) foundation under element e of modulus k (per length of a bar, per
    // area of a plate): an element over the same nodes with its stiffness; none where the family
    // has no foundations.
    virtual std::unique_ptr<Element> Foundation(size_t /*e*/, double /*k*/) const {
        return nullptr;
    }
    // Whether an element's centre value is the mean of its samples rather than its own centre
    // row.
    virtual bool CentreFromSamples() const { return true; }
    // Of the element's own `own` columns, the first how many are summed at the nodes (a
    // tensor); the rest, and the derived columns, follow from them.
    virtual int Summed(int own) const { return own; }
    // The derived columns after the element's own ones (principal values) and how they follow.
    virtual ResultLayout Derived() const { return {}; }
    virtual void Derive(const double* /*own*/, double* /*derived*/) const {}
    // Adds element e's values at its corner a into a node's sum (in the node's axes).
    virtual void AddCorner(size_t e, size_t a, const double* row, int own, double* into) const;
    // Replaces what a node's fitted slopes give better than the fit itself: `slope` holds d/dx
    // and d/dy of each own column at the node.
    virtual void FromSlopes(const double* /*slope*/, double* /*at*/) const {}
    // Which of the six rigid motions of space (translations x y z, rotations about x y z) move
    // the family's models without straining them, as far as their components show them: what an
    // iterative solver's coarse levels must represent. And from how many equations on the
    // automatic choice iterates (see LinearSolver::Problem): by default only when the factors
    // would not fit.
    virtual std::vector<int> RigidMotions() const { return {0, 1, 2, 3, 4, 5}; }
    virtual int IterativeFrom() const { return 0; }
};
