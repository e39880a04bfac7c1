#include "TFourAngle.h"

#include "TRegisteredNode.h"

TFourAngle::TFourAngle(ShapeHost& host) : TMasterShape(host) {
    Caption = QStringLiteral("Quadrangle");
    MaxPoints = 4;
    Kind = 1;
}

void TFourAngle::Draw(QPainter& canvas) {
    DrawPolygon(canvas, 4);
}

bool TFourAngle::Contains(int X, int Y) const {
    if (!IsComplete())
        return false;
    return InTriangle(X, Y, PixelOf(0), PixelOf(1), PixelOf(2)) ||
           InTriangle(X, Y, PixelOf(2), PixelOf(3), PixelOf(0));
}
