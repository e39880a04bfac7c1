#pragma once

#include "EquationSystem.h"
#include "FieldResults.h"
#include "SolverProgress.h"
#include "SurfaceElements.h"
#include "SurfaceMesh.h"
#include "SurfaceModel.h"

#include <QString>
#include <QStringList>
#include <memory>

// Linear statics of a plate or a shell: every load case with loads on one factorisation (a
// case without loads has zero results), nodal forces and moments and even pressures on the
// elements as consistent loads, the reactions, and the element's forces and moments per unit
// width at the element centres and at the nodes.
//
// A plate's nodal values are recovered by fitting planes to the elements' values at their
// integration points around each node (as for the plane types), and its principal moments m1,
// m2 and the angle of m1 from x follow. A shell's results are in each element's own axes; at a
// node they are the mean of its elements' corner values, each turned into the axes of the
// node: its normal the mean of the elements' normals, its x the local x of its first element
// laid onto that plane.
namespace SurfaceStatics {

struct Timings {
    double Assembly = 0, Factorisation = 0, Solution = 0, Recovery = 0; // seconds
};

struct Outcome {
    FieldResults Results;
    QString Error;        // why the model cannot be solved; empty when it was
    QStringList Warnings; // what was calculated but deserves a look (warped elements)
    Timings Time;
};

Outcome Run(const SurfaceModel& model, SolverProgress* progress = nullptr);

// What statics and the natural modes share: the checked mesh, its elements and the
// factorised stiffness equations with the supports; or why they cannot be had (Error).
struct Prepared {
    SurfaceMesh::Checked Mesh;
    std::unique_ptr<const SurfaceElements> Elements;
    std::unique_ptr<EquationSystem> System;
    QString Error;
};
Prepared Prepare(const SurfaceModel& model, SolverProgress* progress = nullptr);

// The names of the displacement components of plates and shells.
QStringList ComponentNames(const SurfaceModel& model);

} // namespace SurfaceStatics
