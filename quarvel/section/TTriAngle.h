#pragma once

#include "TMasterShape.h"

// A triangle: three corners in placing order.
class TTriAngle : public TMasterShape {
public:
    explicit TTriAngle(ShapeHost& host);
    void Draw(QPainter& canvas) override;
    bool Contains(int X, int Y) const override;
};
