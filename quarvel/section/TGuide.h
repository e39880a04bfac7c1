#pragma once

#include "TMasterShape.h"

// A guide line that only helps placing points. Its one node sits at pixel (x, 0) for a
// vertical guide (Kind 4) or (0, y) for a horizontal one (Kind 5); its creator sets Kind.
class TGuide : public TMasterShape {
public:
    static constexpr std::uint8_t Vertical = 4;
    static constexpr std::uint8_t Horizontal = 5;

    explicit TGuide(ShapeHost& host);
    void Draw(QPainter& canvas) override;
    bool Contains(int X, int Y) const override;
};
