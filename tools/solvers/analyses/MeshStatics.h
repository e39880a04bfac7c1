#pragma once

#include "CaseActions.h"
#include "FieldResults.h"
#include "LinearSolver.h"
#include "MeshFamily.h"
#include "MeshModel.h"
#include "SolverInput.h"
#include "SolverProgress.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <span>

// Linear statics of a mesh of any family, as one pipeline: check the mesh and make its
// elements, constrain (the supports and what the family's geometry holds), assemble and solve
// every load case with loads (nodal loads and element loads added once; a case without loads
// has zero results), recover the results at the elements' centres and at the nodes, check
// the residual and the balance of loads and reactions. The reactions are what the elements at
// a support need less the loads there, per unit the family gives its loads in.
namespace MeshStatics {

struct Timings {
    double Assembly = 0, Factorisation = 0, Solution = 0, Recovery = 0; // seconds
};

struct Outcome {
    FieldResults Results;
    QStringList Warnings; // what was calculated but deserves a look (warped elements)
    LinearSolver::Report Solver;
    Timings Time;
};

Outcome Run(const MeshModel& model, const LinearSolver::Options& options = {},
            SolverProgress* progress = nullptr);
// The same with a family made apart from the mesh (bars, whose sections their own model holds).
Outcome Run(const MeshModel& model, std::unique_ptr<MeshFamily> family,
            const LinearSolver::Options& options = {}, SolverProgress* progress = nullptr);

// What statics and the natural modes share: the family with its checked elements and the
// factorised stiffness equations with the supports. Both Run and Prepare throw SolverError
// when the model cannot be solved.
struct Prepared {
    std::unique_ptr<MeshFamily> Family;
    std::unique_ptr<GroundSupports> Ground; // springs and foundations, in the equations too
    std::unique_ptr<LinearSolver> Solver;
    QStringList Warnings;
};
Prepared Prepare(const MeshModel& model, const LinearSolver::Options& options = {},
                 SolverProgress* progress = nullptr);
Prepared Prepare(const MeshModel& model, std::unique_ptr<MeshFamily> family,
                 const LinearSolver::Options& options = {}, SolverProgress* progress = nullptr);

// The equations of a built family's model: its elements (and the springs and foundations of
// `ground`), the supports and what the family's geometry holds, the loaded components and where
// the elements stiffen the nodes.
LinearSolver::Problem ProblemOf(const MeshModel& model, const MeshFamily& family,
                                const GroundSupports* ground = nullptr);

// Adds the loads of one case into a column of the prepared solver's equations: the nodal loads
// `nodal` and the consistent loads of the element loads `element` (indices into the model's).
void AddLoads(const MeshModel& model, const MeshFamily& family, const LinearSolver& solver,
              std::span<const size_t> nodal, std::span<const size_t> element,
              Eigen::VectorXd& column);

// The solver a run's command line chose (--solver, --tolerance, --processes).
LinearSolver::Options OptionsOf(const SolverInput::Choices& choices);

} // namespace MeshStatics
