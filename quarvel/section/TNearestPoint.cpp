#include "TNearestPoint.h"

#include "ShapeHost.h"

TNearestPoint::TNearestPoint(ShapeHost& host) : host_(host) {}

void TNearestPoint::Track(int x, int y) {
    const bool wasVisible = Visible;
    const int oldX = X;
    const int oldY = Y;
    if (host_.FindNearestPoint(x, y)) {
        X = host_.SnapPoint().x();
        Y = host_.SnapPoint().y();
        Visible = true;
    } else {
        Visible = false;
    }
    if (wasVisible != Visible || oldX != X || oldY != Y)
        host_.Repaint();
}
