#pragma once

#include "TMasterShape.h"

// A quadrangle: four corners in placing order.
class TFourAngle : public TMasterShape {
public:
    explicit TFourAngle(ShapeHost& host);
    void Draw(QPainter& canvas) override;
    // Tested as its two triangles on the diagonal from the first to the third corner.
    bool Contains(int X, int Y) const override;
};
