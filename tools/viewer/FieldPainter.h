#pragma once

#include "ResultPainter.h"

// Draws the results of a continuum over its faint mesh: the deformed mesh, or one field (a
// stress, a profile's warping) as filled contour bands smooth from the values at the nodes,
// with the element edges thin on top and a colour bar at the right giving the bands' limits
// and unit; on request the principal stresses as crosses at the element centres (tension
// blue, compression red), or a profile's shear stresses as arrows.
class FieldPainter {
public:
    // The room the colour bar takes at the right of the drawing.
    static constexpr int ColourBarWidth = 120;
    // Elements smaller than this on screen (pixels across, on average) hide their colours
    // under their edges, which are then left out; so are crosses and arrows.
    static constexpr double SmallestDrawn = 5;

    static ResultPainter::Report Paint(QPainter& painter, const QRect& area,
                                       const ViewerModel& model, const ViewerResults& results,
                                       const ResultChoice& choice, const ViewCamera& camera,
                                       const ResultPainter::Options& options);
};
