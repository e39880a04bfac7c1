#pragma once

#include "FieldResults.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"
#include "TorsionMesh.h"

#include <vector>

struct MeshModel;
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
// from the last changes), or the next division would exceed the node budget. The answers are
// given at the nodes and elements of the data file.
//
// Near a re-entrant corner (the inside corner of an L) the stress is infinite in theory: J
// then falls more slowly with each division, by a ratio that tends to 2^(-2 pi / angle), and
// the meshes would grow to the budget before J itself settled. The limit that the last three
// meshes point to settles long before: once two of those limits agree within the tolerance,
// and the largest stress away from the corners has settled too, J is that limit. The largest stress
// is sought away from such corners (beyond half the shortest element side at them), and the stress
// near each is reported as what it is on the finest mesh, which a finer one would raise.
namespace TorsionAnalysis {

// J is estimated to this share of itself before the divisions stop.
inline constexpr double Tolerance = 1e-4;
// On a profile with re-entrant corners, the largest stress away from them changes by at most
// this share of itself over the last division. Averaged at a node on a contour from the
// elements around it, it converges as the size of the elements, not its square: half a per
// cent then costs a division or two, where 1e-3 cost a small L-shaped profile 800,000 nodes.
// (Without such corners J settles as its stresses do; the corners of a polygon for a circle,
// whose stress falls to 0 as slowly as 1 % a division, are left to J.)
inline constexpr double StressTolerance = 5e-3;
// The most nodes a divided mesh may have.
inline constexpr long long NodeBudget = 1 << 20;

struct Level {
    int Division = 1; // each element divided into Division x Division
    int Nodes = 0, Elements = 0, Equations = 0;
    double J = 0;
    // The energy of the difference between the nodal average of the stresses and the
    // elements' own, relative to J: an estimate of J's error on this mesh alone.
    double Indicator = 0;
    double TauMax = 0;  // the largest stress away from re-entrant corners
    double Seconds = 0; // to divide, assemble, factorise and solve
};

// The largest stress on the finest mesh within the reach of a re-entrant corner.
struct CornerStress {
    TorsionMesh::Corner Corner;
    double Tau = 0;
    double AtY = 0, AtZ = 0; // in the coordinates of the file
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
    // Whether J is the limit the last meshes point to rather than J of the finest mesh, which
    // is then MeshJ; the stresses are those of the finest mesh, carrying the moment.
    bool Extrapolated = false;
    double MeshJ = 0;
    std::vector<CornerStress> Corners;
    // Checks of the finest solution: |K w - f| over |f|, and how far the moment of the
    // stresses is from the twisting moment, relative.
    double Residual = 0, MomentError = 0;
    Timing Time;
};

// Throws SolverError, with the line where the data is at fault, when the profile cannot be
// solved. `tolerance` and `budget` for tests that want a fixed division.
Answer Analyse(const MeshModel& model, SolverProgress* progress, double tolerance = Tolerance,
               long long budget = NodeBudget);

SolverOutcome Solve(const SolverInput& input, SolverProgress* progress);

} // namespace TorsionAnalysis
