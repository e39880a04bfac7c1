#pragma once

#include "Mesh.h"
#include "MeshRegion.h"

#include <QString>
#include <vector>

// Divides quadrilateral regions into quadrilateral elements. A region's points come from its
// corners by bilinear interpolation; the element corners run counter-clockwise whatever the
// order of the region's corners. Points that coincide (within a millionth of the model's
// size) are one node, so regions that share an edge share its nodes; a shared edge divided
// differently by its two regions would leave nodes hanging on it and is refused.
class RegionMesher {
public:
    struct Result {
        bool Ok = false;
        QString Error; // names the region, counted from 1
        Mesh Mesh_;
    };

    static constexpr int MaxDivisions = 1000;
    static constexpr int MaxNodes = 200000;

    // Why a region cannot be meshed, or an empty text.
    static QString Validate(const MeshRegion& region);
    static Result Build(const std::vector<MeshRegion>& regions);
};
