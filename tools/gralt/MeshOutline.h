#pragma once

#include "MeshRegion.h"

#include <QByteArray>
#include <vector>

// The regions that give back the mesh a data file already holds (tables 4 and 5), so that the
// mesher opens on the file's own outline instead of an unrelated example when there is no
// project yet. A mesh whose outline is one convex quadrilateral becomes one region divided as
// its sides are; another mesh of convex elements becomes one region per element (three per
// triangle, the quadrilaterals then divided in two each way); any other mesh (a concave
// element, or one too large for the mesher that way) the rectangle around it, divided about as
// finely. None when the file holds no mesh that can be read.
namespace MeshOutline {

struct Regions {
    std::vector<MeshRegion> List;
    bool Outline = false; // the regions have the mesh's outline, not the rectangle around it
};

Regions FromDataFile(const QByteArray& bytes);

} // namespace MeshOutline
