#include "MeshView.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

const QColor SupportColour(0, 140, 60);
const QColor LoadColour(210, 30, 30);
constexpr double LongestArrow = 30;

// The load per unit length at `t` (0 to 1) along the condition's side, in model axes.
QPointF LoadAt(const EdgeCondition& condition, const MeshRegion& region, double t) {
    const auto& v = condition.Values;
    if (condition.Type == EdgeCondition::Kind::Global)
        return QPointF(v[0], v[1]) * (1 - t) + QPointF(v[2], v[3]) * t;
    const QPointF d =
        region.Corners[size_t((condition.Side + 1) % 4)] - region.Corners[size_t(condition.Side)];
    const auto& c = region.Corners;
    double area = 0;
    for (int i = 0; i < 4; ++i)
        area += c[size_t(i)].x() * c[size_t((i + 1) % 4)].y() -
                c[size_t((i + 1) % 4)].x() * c[size_t(i)].y();
    QPointF inward = QPointF(-d.y(), d.x()) / std::hypot(d.x(), d.y());
    if (area < 0)
        inward = -inward;
    return inward * (v[0] * (1 - t) + v[1] * t);
}

void DrawArrow(QPainter& painter, const QPointF& tip, const QPointF& along) {
    const double length = std::hypot(along.x(), along.y());
    if (length < 2)
        return;
    const QPointF unit = along / length;
    const QPointF across(-unit.y(), unit.x());
    painter.drawLine(tip - along, tip);
    painter.drawLine(tip, tip - unit * 6 + across * 3);
    painter.drawLine(tip, tip - unit * 6 - across * 3);
}

void DrawSupport(QPainter& painter, const QPointF& at) {
    painter.drawPolygon(QPolygonF{at, at + QPointF(-6, 10), at + QPointF(6, 10)});
}

} // namespace

MeshView::MeshView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(240, 180);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void MeshView::SetMesh(const Mesh& mesh, const std::vector<MeshRegion>& regions,
                       const std::vector<EdgeCondition>& conditions) {
    mesh_ = mesh;
    regions_ = regions;
    conditions_ = conditions;
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
    // Room for the arrows and support marks outside the outline.
    const double margin = conditions_.empty() ? 16 : LongestArrow + 12;
    const QRectF frame = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
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

    double largest = 0;
    for (const EdgeCondition& condition : conditions_) {
        if (condition.Type == EdgeCondition::Kind::Support)
            continue;
        const MeshRegion& region = regions_[size_t(condition.Region - 1)];
        for (double t : {0.0, 1.0}) {
            const QPointF q = LoadAt(condition, region, t);
            largest = std::max(largest, std::hypot(q.x(), q.y()));
        }
    }
    for (const EdgeCondition& condition : conditions_) {
        const MeshRegion& region = regions_[size_t(condition.Region - 1)];
        const QPointF from = map(region.Corners[size_t(condition.Side)]);
        const QPointF to = map(region.Corners[size_t((condition.Side + 1) % 4)]);
        if (condition.Type == EdgeCondition::Kind::Support) {
            painter.setPen(QPen(SupportColour, condition.Corner ? 1.5 : 4));
            painter.setBrush(SupportColour);
            if (!condition.Corner)
                painter.drawLine(from, to);
            DrawSupport(painter, from);
            if (!condition.Corner)
                DrawSupport(painter, to);
            painter.setBrush(Qt::NoBrush);
            continue;
        }
        if (largest <= 0)
            continue;
        painter.setPen(QPen(LoadColour, 1.5));
        const double screenLength = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int arrows = std::clamp(static_cast<int>(screenLength / 14), 2, 24);
        for (int a = 0; a <= arrows; ++a) {
            const double t = double(a) / arrows;
            const QPointF q = LoadAt(condition, region, t) * (LongestArrow / largest);
            // The second coordinate points upwards in the model, downwards on the screen.
            DrawArrow(painter, from + (to - from) * t, QPointF(q.x(), -q.y()));
        }
    }
}
