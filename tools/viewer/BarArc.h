#pragma once

#include "BarAxes.h"
#include "BarModelBuilder.h"

#include <cstddef>
#include <vector>

// A curved member of type 1: the circular arc from i to j in the x-z plane with radius |R|,
// bulging to the left of i -> j (seen with x to the right and z upwards) for R > 0, the shorter
// way round, cut into equal straight pieces as the solver cuts it. Its section forces between
// the ends follow from those at end i and the even load by the equilibrium of the part from i.
class BarArc {
public:
    static constexpr int Pieces = BarModelBuilder::ArcPieces; // as the solver divides an arc

    // Pieces + 1 points from i to j.
    static std::vector<BarAxes::Vec3> Points(const BarAxes::Vec3& i, const BarAxes::Vec3& j,
                                             double radius);

    struct Section {
        double N = 0, V = 0, M = 0;
    };
    // The section forces at each point of the arc from those at end i (N tension positive,
    // V and M as the plane frames' convention), under `load` per unit length in global
    // components (x, z used). The last point gives end j's forces back.
    static std::vector<Section> Sections(const std::vector<BarAxes::Vec3>& points,
                                         const Section& endI, const BarAxes::Vec3& load);
    // The unit tangent and left normal (x, z) of the piece that ends at point k (the first
    // piece for k = 0).
    static BarAxes::Vec3 Tangent(const std::vector<BarAxes::Vec3>& points, std::size_t k);
    static BarAxes::Vec3 Normal(const std::vector<BarAxes::Vec3>& points, std::size_t k);
};
