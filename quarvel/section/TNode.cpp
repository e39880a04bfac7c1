#include "TNode.h"

#include <cmath>

namespace {

// Pixels far outside any screen are clamped so that absurd world coordinates (from a file,
// say) cannot overflow an int; such points are off the drawing area either way.
int ToPixel(long double value) {
    constexpr long double limit = 1 << 30;
    const long double rounded = std::nearbyintl(value);
    if (!(rounded < limit))
        return static_cast<int>(limit);
    if (!(rounded > -limit))
        return -static_cast<int>(limit);
    return static_cast<int>(rounded);
}

} // namespace

double RoundWorld(long double value) {
    return static_cast<double>(std::nearbyintl(value * 10000.0L) / 10000.0L);
}

TNode::TNode(const ViewValues& view, QPoint pixel) : view_(&view) {
    SetPixel(pixel);
}

TNode::TNode(const ViewValues& view, double realY, double realZ) : view_(&view) {
    SetReal(realY, realZ);
}

void TNode::SetPixel(QPoint p) {
    PixelX = p.x();
    PixelY = p.y();
    const long double scale = view_->Scale;
    RealY = RoundWorld(static_cast<long double>(PixelX - view_->OriginX) * scale);
    RealZ = RoundWorld(static_cast<long double>(view_->OriginY - PixelY) * scale);
}

void TNode::SetReal(double y, double z) {
    RealY = RoundWorld(static_cast<long double>(y));
    RealZ = RoundWorld(static_cast<long double>(z));
    const long double scale = view_->Scale;
    PixelX = ToPixel(static_cast<long double>(RealY) / scale) + view_->OriginX;
    PixelY = ToPixel(-static_cast<long double>(RealZ) / scale) + view_->OriginY;
}
