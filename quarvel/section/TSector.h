#pragma once

#include "TMasterShape.h"

// A circular sector: centre, a point that fixes the radius and the start radial, and a point
// whose direction gives the end radial. The sector runs counter-clockwise from start to end;
// an end on the start radial gives the full disc.
class TSector : public TMasterShape {
public:
    explicit TSector(ShapeHost& host);
    void Draw(QPainter& canvas) override;
    bool Contains(int X, int Y) const override;

    // True when the end radial falls on the start radial: on the screen, or in the world
    // within the 0.01 by which the calculation takes the sector for a full disc.
    bool IsFullDisc() const;

    // Direction of a pixel seen from the centre, in radians, with the pixel y turned upwards.
    static double PixelAngle(QPoint centre, QPoint p);
};
