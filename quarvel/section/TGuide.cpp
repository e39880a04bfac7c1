#include "TGuide.h"

#include "ShapeHost.h"
#include "TRegisteredNode.h"

TGuide::TGuide(ShapeHost& host) : TMasterShape(host) {
    Caption = QStringLiteral("Guide");
    MaxPoints = 1;
    PointCount = 1;
}

void TGuide::Draw(QPainter& canvas) {
    const TRegisteredNode* node = GetPoint(0);
    if (node == nullptr)
        return;
    if (Kind == Horizontal)
        host_.WriteGuide(canvas, GuideBar::Top, 0, node->Node->PixelY);
    else if (Kind == Vertical)
        host_.WriteGuide(canvas, GuideBar::Left, node->Node->PixelX, 0);
}

bool TGuide::Contains(int, int) const {
    return false;
}
