#include "MeshView.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

MeshView::MeshView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 180);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void MeshView::SetMesh(const Mesh& mesh, const std::vector<MeshRegion>& regions) {
    mesh_ = mesh;
    regions_ = regions;
    update();
}

void MeshView::paintEvent(QPaintEvent*) {
    if (regions_.empty())
        return;
    QPointF low = regions_[0].Corners[0], high = low;
    for (const MeshRegion& region : regions_) {
        for (const QPointF& corner : region.Corners) {
            low = QPointF(std::min(low.x(), corner.x()), std::min(low.y(), corner.y()));
            high = QPointF(std::max(high.x(), corner.x()), std::max(high.y(), corner.y()));
        }
    }
    const QRectF box(low, high);
    const QRectF frame = QRectF(rect()).adjusted(16, 16, -16, -16);
    const double scale = std::min(box.width() > 0 ? frame.width() / box.width() : 1e9,
                                  box.height() > 0 ? frame.height() / box.height() : 1e9);
    if (scale <= 0 || scale >= 1e9)
        return;
    const QPointF centre = box.center();
    const auto map = [&](const QPointF& p) {
        return QPointF(frame.center().x() + (p.x() - centre.x()) * scale,
                       frame.center().y() - (p.y() - centre.y()) * scale);
    };
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(140, 140, 140), 0));
    for (const Mesh::Element& element : mesh_.Elements) {
        QPolygonF polygon;
        for (int corner : element.Corners)
            polygon << map(mesh_.Nodes[static_cast<size_t>(corner - 1)]);
        painter.drawPolygon(polygon);
    }
    painter.setPen(QPen(QColor(0, 70, 200), 2));
    for (size_t r = 0; r < regions_.size(); ++r) {
        QPolygonF outline;
        QPointF middle;
        for (const QPointF& corner : regions_[r].Corners) {
            outline << map(corner);
            middle += map(corner) / 4;
        }
        painter.drawPolygon(outline);
        // Numbers only where they fit inside their region.
        const QRectF bounds = outline.boundingRect();
        if (bounds.width() < 28 || bounds.height() < 20)
            continue;
        painter.fillRect(QRectF(middle - QPointF(10, 8), QSizeF(20, 16)), Qt::white);
        painter.drawText(QRectF(middle - QPointF(20, 10), QSizeF(40, 20)), Qt::AlignCenter,
                         QString::number(r + 1));
    }
}
