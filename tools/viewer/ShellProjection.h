#pragma once

#include "ViewCamera.h"
#include "ViewerModel.h"

#include <QPointF>
#include <array>
#include <vector>

// The facets of a mesh in space as the camera sees them: each node's place on the screen, and
// the elements ordered from the farthest to the nearest by the depth of their centres, so that
// filling them in that order leaves the nearer ones on top (the painter's algorithm; facets
// that cross each other are not split, which a shell's mesh does not need).
class ShellProjection {
public:
    ShellProjection(const std::vector<ViewerModel::Point>& nodes,
                    const std::vector<std::array<int, 4>>& polygons, const ViewCamera& camera);

    const std::vector<QPointF>& Screen() const { return screen_; }
    // Element indices, the farthest first.
    const std::vector<int>& Order() const { return order_; }
    // How squarely element `e` faces the viewer, from 0 (seen edge on) to 1, whichever of its
    // faces is seen.
    double Facing(int e) const { return facing_[static_cast<size_t>(e)]; }
    // The nearest element whose outline holds `point` on the screen, or -1.
    int ElementAt(const QPointF& point, const std::vector<std::array<int, 4>>& polygons) const;

    // The corners an element has (3 or 4), counted up to the first missing one.
    static int CornersOf(const std::array<int, 4>& polygon);

private:
    std::vector<QPointF> screen_;
    std::vector<int> order_;
    std::vector<float> facing_;
};
