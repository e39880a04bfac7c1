#pragma once

#include "EdgeCondition.h"
#include "Mesh.h"
#include "MeshRegion.h"
#include "RegionMesher.h"

#include <QString>
#include <vector>

// The tables after 5 that the mesher gives with its mesh, so that the model solves without
// editing:
// - table 6, supports: the nodes the support rows name, one item per node in node order; a
//   node on several supported sides or corners is fixed in every displacement any of them
//   fixes;
// - table 7, nodal loads: the consistent nodal loads of the edge loads (see EdgeLoads), by
//   load case and node; on a plate Fz, with no moments;
// - table 8, element loads (plates): a region's pressure on each of its elements, by load case
//   and element, which the solver turns into consistent nodal forces as it does for any
//   element pressure;
// - for torsion profiles, table 6 lists the contour nodes instead (see ProfileContours).
// A table is given only when it has items.
namespace MeshConditions {

struct Result {
    bool Ok = false;
    QString Error;
    std::vector<Mesh::Table> Tables;
};

Result Build(int problem, const std::vector<MeshRegion>& regions,
             const RegionMesher::Result& meshed, const std::vector<EdgeCondition>& conditions);

} // namespace MeshConditions
