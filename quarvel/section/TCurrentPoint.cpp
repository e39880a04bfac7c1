#include "TCurrentPoint.h"

#include "ShapeHost.h"

void TCurrentPoint::Track(int x, int y) {
    X = x;
    Y = y;
    Visible = true;
    host_.Repaint();
}
