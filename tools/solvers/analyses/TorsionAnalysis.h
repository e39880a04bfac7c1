#pragma once

#include "CheckFault.h"
#include "FieldResults.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"
#include "TorsionMesh.h"

#include <optional>
#include <vector>

struct ContinuumModel;
struct SolverInput;

// Saint-Venant torsion of a meshed profile (type 16). The warping per unit twist w solves
// Laplace's equation with d w / dn = z n_y - y n_z on every contour, in the weak form
// K w = f, f_i the integral of (dN_i/dy z - dN_i/dz y): an integral over the area, so holes
// need no constants of their own. The torsion constant is J = Ip - w^T K w, computed as the
// integral of (dw/dy - z)^2 + (dw/dz + y)^2, a sum of squares that loses no digits.
//
// Linear elements overestimate J on a coarse mesh (a 2 x 2 mesh of a rectangle by a sixth).
// The error of J is the energy of the error of the stresses, which their nodal averages
// estimate; unless that leaves J well within its tolerance, the analysis divides every element
// evenly, twice as finely each time, until J changes by less than its tolerance (estimated
// from the last changes) or the next division would exceed the node budget. The answers are
// given at the nodes and elements of the data file.
namespace TorsionAnalysis {

// J is estimated to this share of itself before the divisions stop.
inline constexpr double Tolerance = 1e-4;
// The most nodes a divided mesh may have.
inline constexpr long long NodeBudget = 1 << 20;

struct Level {
    int Division = 1; // each element divided into Division x Division
    int Nodes = 0, Elements = 0, Equations = 0;
    double J = 0;
    // The energy of the difference between the nodal average of the stresses and the
    // elements' own, relative to J: an estimate of J's error on this mesh alone.
    double Indicator = 0;
    double Seconds = 0; // to divide, assemble, factorise and solve
};

struct Timing {
    double Mesh = 0, Assembly = 0, Factor = 0, Recovery = 0; // seconds
};

struct Answer {
    FieldResults Results; // Twist, warping at the nodes, stresses
    TorsionMesh::Profile Profile;
    double PolarMoment = 0; // Ip about the centroid, weighted by G / G of reference
    std::vector<Level> Levels;
    // How far J may still be from the exact J of the profile as meshed, relative; negative
    // when the mesh was too large to divide and no estimate exists.
    double ErrorEstimate = -1;
    // Whether that estimate comes from the stresses of one mesh, not from the changes of J.
    bool EstimatedFromStresses = false;
    // Checks of the finest solution: |K w - f| over |f|, and how far the moment of the
    // stresses is from the twisting moment, relative.
    double Residual = 0, MomentError = 0;
    Timing Time;
};

struct Outcome {
    std::optional<Answer> Solved;
    CheckFault Fault; // Line 0: no line of the file
};

// `tolerance` and `budget` for tests that want a fixed division.
Outcome Analyse(const ContinuumModel& model, SolverProgress* progress, double tolerance = Tolerance,
                long long budget = NodeBudget);

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress);

} // namespace TorsionAnalysis
