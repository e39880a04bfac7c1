#include "TSector.h"

#include "TRegisteredNode.h"

#include <QPainter>
#include <cmath>
#include <numbers>

TSector::TSector(ShapeHost& host) : TMasterShape(host) {
    Caption = QStringLiteral("Sector");
    MaxPoints = 3;
    Kind = 3;
}

double TSector::PixelAngle(QPoint centre, QPoint p) {
    double dx = p.x() - centre.x();
    if (dx == 0.0)
        dx = 1e-10; // keeps straight up and straight down on the right side of the cut
    return std::atan2(static_cast<double>(centre.y() - p.y()), dx);
}

void TSector::Draw(QPainter& canvas) {
    if (!IsComplete())
        return;
    const QPoint o = PixelOf(0);
    const QPoint p1 = PixelOf(1);
    const QPoint p2 = PixelOf(2);
    const double dx = p1.x() - o.x();
    const double dy = p1.y() - o.y();
    const int r = static_cast<int>(std::nearbyint(std::sqrt(dx * dx + dy * dy)));
    const QRect box(QPoint(o.x() - r, o.y() - r), QPoint(o.x() + r, o.y() + r));

    constexpr double degrees = 180.0 / std::numbers::pi;
    const double start = PixelAngle(o, p1) * degrees;
    double span = PixelAngle(o, p2) * degrees - start;
    while (span <= 0.0)
        span += 360.0;
    const int start16 = static_cast<int>(std::lround(start * 16.0));
    const int span16 = static_cast<int>(std::lround(span * 16.0));

    // A full disc is a circle: a pie of a whole turn would draw its two radials as a seam.
    const bool disc = span16 >= 360 * 16 || IsFullDisc();
    const QPen pen = canvas.pen();
    for (int pass = 1; pass <= 2; ++pass) {
        if (pass == 2)
            canvas.setPen(pen);
        SetDrawStyle(canvas, pass);
        if (disc)
            canvas.drawEllipse(box);
        else
            canvas.drawPie(box, start16, span16);
    }
}

bool TSector::IsFullDisc() const {
    if (!IsComplete())
        return false;
    const TNode& p2 = *GetPoint(1)->Node;
    const TNode& p3 = *GetPoint(2)->Node;
    if (std::fabs(p2.RealY - p3.RealY) < 0.01 && std::fabs(p2.RealZ - p3.RealZ) < 0.01)
        return true;
    const QPoint o = PixelOf(0);
    return PixelAngle(o, PixelOf(1)) == PixelAngle(o, PixelOf(2));
}

bool TSector::Contains(int X, int Y) const {
    if (!IsComplete())
        return false;
    const QPoint o = PixelOf(0);
    const QPoint p1 = PixelOf(1);
    const QPoint p2 = PixelOf(2);
    const double R = std::hypot(double(p1.x() - o.x()), double(p1.y() - o.y()));
    const double D = std::hypot(double(X - o.x()), double(Y - o.y()));
    const double a1 = PixelAngle(o, p1);
    const double a2 = PixelAngle(o, p2);
    const double aP = PixelAngle(o, QPoint(X, Y));
    const bool inside = IsFullDisc() || (a1 < a2 ? (a1 <= aP && aP <= a2) : (aP >= a1 || aP <= a2));
    return inside && D <= R;
}
