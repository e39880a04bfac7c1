#pragma once

#include "EquationSystem.h"
#include "MeshStatics.h"
#include "PencilModes.h"
#include "ResultFile.h"
#include "SolverOutcome.h"

#include <QStringList>
#include <functional>
#include <vector>

// Natural modes and linear buckling of any model of elements, written once over the element
// interface. The family prepares its equation system (numbered, constrained, the stiffness
// assembled and factorised) as its statics do; this assembles the masses of its elements and
// its point masses, or the geometric stiffness of a reference state, solves the pencil with
// the one eigen-solver and lists the modes. What a family says of its modes (its heading, how
// a shape is scaled) is a Listing of a few lines.
namespace ModalAnalysis {

using SparseMatrix = EquationSystem::SparseMatrix;

// A value held by one component of one node: a mass or an inertia, or a spring's stiffness.
struct Point {
    int Node = 0;
    int Component = 0;
    double Value = 0;
};

// The mass matrix (upper triangle): the consistent mass of every element that carries one and
// the point masses.
SparseMatrix Masses(const EquationSystem& system, const std::vector<Point>& points);
// The geometric stiffness, negated, of the elements' displacements in the solution `state`
// of the system: the critical factors of that state's loads are the positive values of the
// pencil K x = lambda (-Kg) x.
SparseMatrix GeometricStiffness(const EquationSystem& system, const Eigen::VectorXd& state);

// The modes of a pencil K x = lambda B x: B, and the lowest modes. What finds them throws
// SolverError when there are none to find.
struct Found {
    SparseMatrix B;
    std::vector<PencilModes::Mode> Modes;
    // Natural modes of a free structure: its rigid-body motions, found at 0 and not listed.
    int Rigid = 0;
};
// The lowest `count` natural modes (lambda = omega^2); `massless` is the error when nothing
// that can move has a mass.
Found Natural(const EquationSystem& system, const std::vector<Point>& points, int count,
              const QString& massless);
// The shifted factorisation, for a structure free to move without strain (a shaft turning on
// its bearings, a piece tilting on one bearing) or whose stiffness spans more decades than
// double carries (a long beam mesh: its elements' number^4): the eigen-solver factorises
// K + s M instead of K, in extended precision, finds the lowest values of that shifted pencil
// and refines them against the stiffness each element forms itself.
struct Shifted {
    // Springs to the ground (elastic supports), added to K before the elements.
    std::vector<Point> Springs;
    // Motions with K x = 0 that carry mass: found at lambda = 0 and left out. Those without
    // mass the caller holds at one component each; the pencil's values are the same.
    int Rigid = 0;
    // Smooth motions with strain, one value per equation, tried in turn: the shift s is the
    // first finite positive Rayleigh quotient among them, near the lowest values.
    std::vector<Eigen::VectorXd> Guesses;
    // Why values beyond the reach of the computation gave nothing; why K + s M could not be
    // factorised (a motion without stiffness and without mass that the caller left free).
    QString OutOfRange = QStringLiteral("the natural modes cannot be calculated: the values of "
                                        "the model are too far out of proportion to compute "
                                        "with");
    QString Unsolvable = QStringLiteral("the equations of the natural modes cannot be solved: "
                                        "a part moves without stiffness and without mass");
};
// The modes of a shifted solution, and per mode how far its lambda moves, relative, when its
// shape is rounded to double (PencilModes::ExtendedMode::Noise). Massless: nothing that can
// move has a mass (no error then: one family of a model may simply have no modes of its own).
struct ShiftedFound : Found {
    std::vector<double> Noise;
    bool Massless = false;
};
// The lowest `count` natural modes of a system numbered without a factorisation (Number, or
// Prepare with `factorise` false), by the shifted factorisation.
ShiftedFound Natural(const EquationSystem& system, const std::vector<Point>& points, int count,
                     const Shifted& shifted);
// The lowest `count` critical factors of the loads that caused the solution `state`.
Found Buckling(const EquationSystem& system, const Eigen::VectorXd& state, int count);

// A model's equations for its natural modes. When its supports hold it, as statics has them:
// factorised. When they leave it free to move as a rigid body (without supports, or with too
// few), and every such motion carries mass, numbered only: its modes are those of the shifted
// factorisation, the rigid motions found at 0 and counted. A motion without stiffness and
// without mass, and a mechanism within a free structure, are refused as statics refuses them.
struct Prepared {
    MeshStatics::Prepared Statics;        // the family always; the factorised solver when held
    std::unique_ptr<EquationSystem> Free; // the numbered equations of a free structure
    int Rigid = 0;                        // its rigid-body motions
    std::vector<Eigen::VectorXd> Guesses; // smooth motions with strain, for the shift
    const EquationSystem& System() const { return Free ? *Free : Statics.Solver->System(); }
};
Prepared Prepare(const MeshModel& model, std::unique_ptr<MeshFamily> family,
                 const std::vector<Point>& points, SolverProgress* progress = nullptr);
// The lowest `count` natural modes of a prepared model, supported or free.
Found Natural(const Prepared& prepared, const std::vector<Point>& points, int count,
              const QString& massless);

// What a family says of its natural modes.
struct Listing {
    QString Heading;           // the protocol up to the table of frequencies
    QString Largest;           // what is 1 in every shape: "translation", "deflection"
    QStringList Components;    // the names of the components listed per node
    ResultFile::Contents File; // the result file without its shapes
    // A mode's shape at the nodes listed and at the inner points, scaled; returns the factor
    // it was scaled by (1 for a shape of zeros).
    std::function<double(const Eigen::VectorXd& shape, std::vector<double>& nodes,
                         std::vector<double>& inner)>
        Scale;
    // Why a value that is not finite cannot be listed, naming `what` it is.
    std::function<QString(const QString& what)> NotFinite;
};

// The protocol, JSON and result file of the modes found, of `wanted` asked for, after the
// `rigid` rigid-body motions of a free structure; throws when a frequency or a shape is not
// finite. With `file`, the result file is left to the caller there, to add to it.
SolverOutcome Write(const std::vector<PencilModes::Mode>& modes, int rigid, int wanted,
                    const Listing& listing, bool json, ResultFile::Contents* file = nullptr);

} // namespace ModalAnalysis
