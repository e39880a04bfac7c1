#pragma once

#include "MeshModel.h"

#include <Eigen/Dense>
#include <QString>
#include <vector>

// The cells of a solid mesh checked before anything is solved on them: an element turned
// inside out or flat, or one given twice, is refused with its line and number. Elements whose
// corners merely run the other way round are taken as they are (the elements turn them).
namespace SolidMesh {

// Throws SolverError at the line of the first element turned inside out, without volume or
// given twice.
void Check(const MeshModel& model);
// The corners of a cell in space.
std::vector<Eigen::Vector3d> Points(const MeshModel& model, const MeshModel::Cell& cell);

} // namespace SolidMesh
