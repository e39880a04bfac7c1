#pragma once

class DrawingState;
class QPainter;

// The printed page: a framed table at the right-hand edge with the node coordinates and the
// results, and the shapes at the top left at their screen pixels taken as printer units.
// Guides, axes and the shear-centre marker are not printed.
class SectionPrinter {
public:
    // Lays the page out on a painter that is already active on the page, `pageWidth` device
    // units wide, with the painter's font and pen.
    static void PrintPage(QPainter& canvas, int pageWidth, DrawingState& state);
};
