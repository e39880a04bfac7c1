#include "TMasterShape.h"

#include "SectionError.h"
#include "ShapeHost.h"
#include "TRegisteredNode.h"

#include <QPainter>
#include <QPolygon>

TMasterShape::TMasterShape(ShapeHost& host) : Filled(host.NewShapeFilled()), host_(host) {}

TMasterShape::~TMasterShape() {
    // The closing copy is not a placed point, so it is not counted twice.
    for (int i = 0; i < PointCount && i < PointSlots; ++i)
        if (Points[static_cast<std::size_t>(i)] != nullptr)
            --Points[static_cast<std::size_t>(i)]->RefCount;
}

void TMasterShape::AddPoint(int X, int Y) {
    if (host_.EditMode() != 0)
        return;
    if (PointCount >= MaxPoints)
        throw SectionError("No more points to add");
    SetPoint(PointCount, host_.AddPointToList(QPoint(X, Y)));
    MarkPoint(host_.SnapFound() ? host_.SnapPoint() : QPoint(X, Y));
    ++PointCount;
    if (PointCount == MaxPoints) {
        SetPoint(MaxPoints, GetPoint(0));
        MarkAllPoints();
    }
}

void TMasterShape::ToggleSelected() {
    Selected = !Selected;
    host_.Repaint();
}

void TMasterShape::DrawOn(QPainter& canvas) {
    struct PrintingGuard {
        bool& flag;
        ~PrintingGuard() { flag = false; }
    } guard{Printing};
    Printing = true;
    Draw(canvas);
}

void TMasterShape::MarkPoint(QPoint p) {
    host_.ToggleCross(p);
}

void TMasterShape::MarkAllPoints() {
    for (int i = 0; i < MaxPoints; ++i)
        if (GetPoint(i) != nullptr)
            MarkPoint(PixelOf(i));
}

bool TMasterShape::InTriangle(int X, int Y, QPoint T0, QPoint T1, QPoint T2) {
    const auto area2 = [](QPoint a, QPoint b, QPoint c) {
        return static_cast<long long>(a.x()) * (b.y() - c.y()) +
               static_cast<long long>(b.x()) * (c.y() - a.y()) +
               static_cast<long long>(c.x()) * (a.y() - b.y());
    };
    const QPoint P(X, Y);
    const long long d0 = area2(T0, T1, T2);
    const long long d1 = area2(P, T1, T2);
    const long long d2 = area2(T0, P, T2);
    const long long d3 = area2(T0, T1, P);
    return (d0 > 0 && d1 > 0 && d2 > 0 && d3 > 0) || (d0 < 0 && d1 < 0 && d2 < 0 && d3 < 0);
}

void TMasterShape::SetDrawStyle(QPainter& canvas, int pass) const {
    const QColor background = Printing ? QColor(Qt::white) : host_.BackgroundColor();
    if (pass == 1) {
        canvas.setPen(Qt::NoPen);
        canvas.setBrush(QBrush(background, Qt::SolidPattern));
        return;
    }
    QPen pen = canvas.pen();
    pen.setStyle(Qt::SolidLine);
    canvas.setPen(pen);
    if (Filled) {
        canvas.setBackgroundMode(Qt::TransparentMode);
        canvas.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
    } else {
        canvas.setBrush(QBrush(background, Qt::SolidPattern));
    }
}

void TMasterShape::DrawPolygon(QPainter& canvas, int corners) {
    if (!IsComplete())
        return;
    QPolygon polygon;
    for (int i = 0; i < corners; ++i)
        polygon << PixelOf(i);
    const QPen pen = canvas.pen();
    SetDrawStyle(canvas, 1);
    canvas.drawPolygon(polygon);
    canvas.setPen(pen);
    SetDrawStyle(canvas, 2);
    canvas.drawPolygon(polygon);
}

QPoint TMasterShape::PixelOf(int i) const {
    return GetPoint(i)->Node->Pixel();
}
