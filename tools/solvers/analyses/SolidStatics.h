#pragma once

#include "FieldResults.h"
#include "SolidModel.h"
#include "SolverProgress.h"

#include <QString>
#include <QStringList>
#include <vector>

// Linear statics of a solid meshed into bricks, wedges and tetrahedra: every load case with
// loads solved on one set of equations (a case without loads has zero results), the reactions,
// and the stresses sx sy sz txy tyz tzx with the principal stresses s1 >= s2 >= s3 and the von
// Mises stress at the element centres and at the nodes (the mean of the elements' own values
// at that corner, the principal and von Mises stresses then taken from the mean tensor).
//
// The equations are solved directly by a sparse Cholesky factorisation while its factors fit
// comfortably and are quick to make, and otherwise by the conjugate gradient with an algebraic
// multigrid made for elasticity, which needs memory only in proportion to the model; the
// choice can be forced.
namespace SolidStatics {

enum class Method { Automatic, Direct, Iterative };

struct Options {
    Method Use = Method::Automatic;
    // The relative residual |f - K u| / |f| at which the iterative method stops.
    double Tolerance = 1e-8;
    // The memory the run may take (bytes); 0: what the system has available.
    double Memory = 0;
    // The processes an iterative solution may share, in a program that can start them:
    // 0 takes one per core for a large enough model, 1 solves in this process alone.
    int Processes = 0;
};

// Above this many equations the automatic choice iterates. Timed whole with one load case, the
// multigrid draws level with the factorisation at about 15,000 equations on a cube of bricks
// and is 1.5 times quicker at 28,000 and 2.5 times at 150,000, for the factors of a compact
// mesh grow with nearly the square of the model; on a slender cantilever, whose factors stay
// thin, the two are even up to about 40,000, so iterating from here costs it little.
inline constexpr int IterativeFrom = 20000;

struct Timings {
    double Assembly = 0, Solution = 0, Recovery = 0; // seconds; Solution includes factorising
};

struct Outcome {
    FieldResults Results;
    QString Error; // why the model cannot be solved; empty when it was
    Method Used = Method::Direct;
    QString Why;                 // the protocol's line on the method and why it was chosen
    std::vector<int> Iterations; // iterative: per load case with loads
    double Tolerance = 0;        // iterative: the residual it stopped at
    int Processes = 1;           // iterative: that shared the solution
    Timings Time;
};

Outcome Run(const SolidModel& model, const Options& options = {},
            SolverProgress* progress = nullptr);

// The refusal of a mesh before anything is calculated: an element turned inside out or flat,
// or one given twice, with its line and number; empty when every element is sound. Elements whose
// corners merely run the other way round are taken as they are.
QString CheckShapes(const SolidModel& model);

QStringList ComponentNames();
QStringList StressNames();

} // namespace SolidStatics
