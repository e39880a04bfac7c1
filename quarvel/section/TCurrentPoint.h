#pragma once

#include "TNearestPoint.h"

// The blue square around the node selected in the node grid.
class TCurrentPoint : public TNearestPoint {
public:
    using TNearestPoint::TNearestPoint;
    void Track(int X, int Y) override;
    QColor Colour() const override { return {60, 60, 255}; }
};
