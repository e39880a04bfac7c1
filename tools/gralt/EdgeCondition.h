#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A support or a load given on a side, at a corner or over the area of a mesher's region; it
// applies to every mesh node (or, over the area, every element) there.
//
// - Support: one code per displacement of the problem type (1 fixed, 0 free), on a side or
//   at a corner.
// - Pressure on a side: a force per unit length of the side, at the side's first and second
//   corner (q1 q2). On plane regions it acts normal to the side, positive pressing into the
//   region; on a plate it acts across the plate along z, as a plate's pressure does.
// - Pressure over the area: a plate's even pressure p along z, the one value.
// - Global: a force per unit length of the side along the two axes of table 4; `Values`
//   holds both components at the first corner, then at the second (qx1 qz1 qx2 qz2).
//
// Loads on a side vary linearly between its two corners, so that a water pressure growing
// with depth is one row.
struct EdgeCondition {
    enum class Kind { Support, Pressure, Global };
    enum class Place { Side, Corner, Area };

    Kind Type = Kind::Support;
    int Region = 1; // counted from 1, as the window numbers the regions
    int Side = 0;   // 0 to 3: side 1-2, 2-3, 3-4, 4-1; at a corner, corner Side + 1
    Place At = Place::Side;
    int Case = 0; // the load case of a load; 0 for a support
    std::vector<double> Values;

    bool operator==(const EdgeCondition&) const = default;
};

// The rules that tie edge conditions to the problem type and the regions.
namespace EdgeConditions {

// The displacements a support fixes in the problem type ("ux", "uz" for plane stress); none
// for torsion profiles, whose table 6 lists contour nodes instead.
QStringList SupportCodes(int problem);
// Whether the problem type takes loads: plane stress and strain and axisymmetric bodies on
// the sides of regions, plates on their sides and over their area.
bool TakesEdgeLoads(int problem);
// The number of values a row of `kind` at `place` holds in the problem type.
int ValueCount(EdgeCondition::Kind kind, EdgeCondition::Place place, int problem);
// Why condition `condition` cannot be used with `regionCount` regions in the problem type, or
// an empty text.
QString Check(const EdgeCondition& condition, int regionCount, int problem);
// The first row at fault as "Edge row N: ...", or an empty text.
QString CheckAll(const std::vector<EdgeCondition>& conditions, int regionCount, int problem);
// The conditions after region `removed` (counted from 1) is removed: its own conditions go
// with it and those of later regions follow their region's new number.
std::vector<EdgeCondition> AfterRegionRemoved(const std::vector<EdgeCondition>& conditions,
                                              int removed);

} // namespace EdgeConditions
