#pragma once

class DrawingState;
class QPainter;

// Paints the drawing area: every shape in list order (selected ones in blue), the principal
// axes and, in sectorial mode, the shear centre after the last shape, the guides, and the
// transient marks (snap and grid squares, placing crosses, the rubber guide line). Painting
// also recalculates the characteristics, since every repaint passes the shapes to the report.
class SectionPainter {
public:
    static void Paint(QPainter& canvas, DrawingState& state);

    // The red principal axes through the centroid (lengths 2L and L, L a fifth of the Max
    // Width the view shows) and the shear-centre square; only after the last shape.
    static void DrawAxes(QPainter& canvas, const DrawingState& state, int index);

private:
    static void DrawMarks(QPainter& canvas, DrawingState& state);
};
