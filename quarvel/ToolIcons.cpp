#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int Size = 16;

QPixmap Blank() {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A transparent image painted by `draw`; smooth edges for curves and slants, crisp ones for
// the rectangles of the file and printer images.
template <typename Draw>
QPixmap Icon(bool smooth, Draw draw) {
    QPixmap pixmap = Blank();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    draw(painter);
    return pixmap;
}

// A shape outline: material hatched like on the drawing, a hole plain white.
QPixmap ShapeIcon(const QPainterPath& path, bool filled) {
    return Icon(true, [&](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(path);
        if (filled) {
            p.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
            p.drawPath(path);
        }
    });
}

QPainterPath Quadrangle() {
    QPainterPath path;
    path.addPolygon(QPolygonF({{1.5, 3.5}, {14.5, 1.5}, {13.5, 14.5}, {2.5, 12.5}, {1.5, 3.5}}));
    return path;
}

QPainterPath Triangle() {
    QPainterPath path;
    path.addPolygon(QPolygonF({{1.5, 14.5}, {14.5, 14.5}, {4.5, 1.5}, {1.5, 14.5}}));
    return path;
}

QPainterPath Sector() {
    QPainterPath path;
    path.moveTo(2.5, 13.5);
    path.arcTo(QRectF(-10.5, 0.5, 26, 26), 0, 90);
    path.closeSubpath();
    return path;
}

QPixmap Arrow(bool up) {
    return Icon(true, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 0, 0));
        QPolygonF arrow({{1, 6}, {9, 6}, {9, 2}, {15, 8}, {9, 14}, {9, 10}, {1, 10}});
        if (up)
            arrow = QTransform().translate(0, Size).rotate(-90).map(arrow);
        p.drawPolygon(arrow);
    });
}

QPixmap OpenIcon() {
    return Icon(false, [&](QPainter& p) {
        p.setPen(QColor(120, 90, 0));
        p.setBrush(QColor(240, 200, 80));
        p.drawPolygon(QPolygon({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}));
        p.setBrush(QColor(255, 225, 130));
        p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {13, 13}, {1, 13}}));
    });
}

QPixmap SaveIcon() {
    return Icon(false, [&](QPainter& p) {
        p.setPen(QColor(20, 40, 110));
        p.setBrush(QColor(60, 100, 190));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(3, 9, 9, 5);
    });
}

QPixmap SelectIcon() {
    return Icon(true, [&](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(
            QPolygonF({{3, 1}, {3, 13}, {6, 10}, {8.5, 15}, {10.5, 14}, {8, 9}, {12, 9}}));
    });
}

QPixmap UndoIcon() {
    return Icon(true, [&](QPainter& p) {
        p.setPen(QPen(QColor(30, 60, 160), 2));
        QPainterPath path;
        path.moveTo(4, 6);
        path.cubicTo(10, 2, 16, 6, 13, 12);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 160));
        p.drawPolygon(QPolygonF({{1, 6}, {7, 1.5}, {7, 10}}));
    });
}

QPixmap PrintIcon() {
    return Icon(false, [&](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 5);
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(1, 6, 14, 6);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 8, 5);
        p.drawLine(6, 12, 10, 12);
    });
}

QPixmap HelpIcon() {
    return Icon(true, [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(12);
        p.setFont(font);
        p.drawText(QRect(0, 0, Size, Size), Qt::AlignCenter, QStringLiteral("?"));
    });
}

} // namespace

QVector<QPixmap> ToolIcons::Create() {
    QVector<QPixmap> images(Count, Blank());
    images[QuadrangleBlank] = ShapeIcon(Quadrangle(), false);
    images[TriangleBlank] = ShapeIcon(Triangle(), false);
    images[SectorBlank] = ShapeIcon(Sector(), false);
    images[Open] = OpenIcon();
    images[Save] = SaveIcon();
    images[Select] = SelectIcon();
    images[ArrowUp] = Arrow(true);
    images[ArrowRight] = Arrow(false);
    images[QuadrangleFilled] = ShapeIcon(Quadrangle(), true);
    images[SectorFilled] = ShapeIcon(Sector(), true);
    images[TriangleFilled] = ShapeIcon(Triangle(), true);
    images[Undo] = UndoIcon();
    images[Print] = PrintIcon();
    images[Help] = HelpIcon();
    return images;
}
