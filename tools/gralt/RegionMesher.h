#pragma once

#include "Mesh.h"
#include "MeshRegion.h"

#include <QString>
#include <vector>

// Divides quadrilateral regions into quadrilateral elements. A region's points come from its
// corners by bilinear interpolation; the element corners run counter-clockwise whatever the
// order of the region's corners. Points that coincide (within a thousandth of the finest
// spacing of the regions' points, wherever the regions lie) are one node, so regions that
// share an edge share its nodes. A shared edge divided differently by its two regions, or
// regions that share only part of an edge (a T-junction), would leave nodes hanging on an
// edge and the mesh cracked there: they are refused, as are regions that overlap. The work
// grows with the number of points, not with the square of the number of regions.
class RegionMesher {
public:
    struct Result {
        bool Ok = false;
        QString Error; // names the region, counted from 1
        Mesh Mesh_;
        std::vector<int> ElementRegion; // the region of each element, counted from 0
        // The nodes along side `side` (0 to 3: 1-2, 2-3, 3-4, 4-1) of region `region` (from 0),
        // from the side's first corner to its second, so that supports and edge loads find
        // their nodes.
        std::vector<int> SideNodes(size_t region, int side) const {
            const size_t at = region * 4 + size_t(side);
            return {SideNodeList.begin() + std::ptrdiff_t(SideStarts[at]),
                    SideNodeList.begin() + std::ptrdiff_t(SideStarts[at + 1])};
        }
        // All regions' sides in one list, so that many small regions cost no allocation each;
        // SideStarts holds where each side begins, and one more entry for the end.
        std::vector<int> SideNodeList;
        std::vector<size_t> SideStarts;
    };

    static constexpr int MaxDivisions = 1000;
    static constexpr int MaxNodes = 200000;

    // Why a region cannot be meshed, or an empty text.
    static QString Validate(const MeshRegion& region);
    static Result Build(const std::vector<MeshRegion>& regions);
};
