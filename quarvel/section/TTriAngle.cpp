#include "TTriAngle.h"

#include "TRegisteredNode.h"

TTriAngle::TTriAngle(ShapeHost& host) : TMasterShape(host) {
    Caption = QStringLiteral("Triangle");
    MaxPoints = 3;
    Kind = 2;
}

void TTriAngle::Draw(QPainter& canvas) {
    DrawPolygon(canvas, 3);
}

bool TTriAngle::Contains(int X, int Y) const {
    if (!IsComplete())
        return false;
    return InTriangle(X, Y, PixelOf(0), PixelOf(1), PixelOf(2));
}
