#pragma once

#include "ViewValues.h"

#include <QPoint>

// A point of the section with both its pixel position on the drawing area and its world
// coordinates (Y to the right, Z upwards). World coordinates are kept rounded to four decimals
// so that points typed, drawn and read from files compare exactly.
class TNode {
public:
    TNode(const ViewValues& view, QPoint pixel);
    TNode(const ViewValues& view, double realY, double realZ);

    void SetPixel(QPoint p);
    void SetReal(double y, double z);

    QPoint Pixel() const { return {PixelX, PixelY}; }

    int PixelX = 0;
    int PixelY = 0;
    double RealY = 0.0;
    double RealZ = 0.0;

private:
    const ViewValues* view_;
};

// Rounds a world value to four decimals: nearest, halves to even, the product formed in
// extended precision as the stored files expect.
double RoundWorld(long double value);
