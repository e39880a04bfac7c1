#pragma once

#include "ContourScale.h"
#include "ShellProjection.h"

#include <QRect>

class QPainter;

// Draws a shell's facets in space, the farthest first so that the nearer cover them: either
// the deformed shell, each facet shaded by how squarely it faces the viewer, or one field as
// filled contour bands over the undeformed surface (on request shaded as the facets are, a
// little, so that a solid's form shows through its bands: the hue still tells the band); the
// element edges on top of each facet while the elements are large enough on the screen to
// show them.
//
// `seams`, when given, holds for each polygon the edge (from its corner k to the next) that
// only splits a larger face in two and is not drawn, or -1.
class ShellPainter {
public:
    using Seams = std::vector<signed char>;

    static void DrawFacets(QPainter& painter, const QRect& area,
                           const std::vector<std::array<int, 4>>& polygons,
                           const ShellProjection& projection, bool edges,
                           const Seams* seams = nullptr);
    static void DrawContours(QPainter& painter, const QRect& area,
                             const std::vector<std::array<int, 4>>& polygons,
                             const ShellProjection& projection, const std::vector<double>& values,
                             const ContourScale& scale, bool edges, bool shade = false,
                             const Seams* seams = nullptr);
};
