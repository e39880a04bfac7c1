#include "VormIcons.h"

#include <QPainter>
#include <QPainterPath>

QPixmap VormIcons::ProgramPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    // A portal frame on its supports with a load arrow: what the package computes.
    painter.setBrush(QColor(0x1F, 0x4E, 0x8C));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, 32, 32), 5, 5);
    painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(
        QPolygonF({QPointF(8, 25), QPointF(8, 12), QPointF(24, 12), QPointF(24, 25)}));
    painter.setPen(QPen(QColor(0xFF, 0xC8, 0x3C), 2));
    painter.drawLine(QPointF(16, 3), QPointF(16, 9));
    painter.setBrush(QColor(0xFF, 0xC8, 0x3C));
    painter.drawPolygon(QPolygonF({QPointF(13, 7), QPointF(19, 7), QPointF(16, 10.5)}));
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::white);
    for (double x : {8.0, 24.0})
        painter.drawPolygon(QPolygonF({QPointF(x, 25), QPointF(x - 3, 29), QPointF(x + 3, 29)}));
    return pixmap;
}

QIcon VormIcons::ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(ProgramPixmap(size));
    return icon;
}

QIcon VormIcons::SolverMark() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1B, 0x7F, 0x2A), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(3, 8.5);
    tick.lineTo(6.5, 12);
    tick.lineTo(13, 4);
    painter.drawPath(tick);
    return QIcon(pixmap);
}
