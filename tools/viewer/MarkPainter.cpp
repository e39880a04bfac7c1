#include "MarkPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace {

using Kind = ModelMark::Kind;

const QColor SupportColour(0, 130, 60);
const QColor ShiftColour(190, 100, 0);
const QColor HeatColour(220, 40, 0);
const QColor GravityColour(90, 60, 160);

ViewerModel::Point Single(const ModelMark::Vec3& v) {
    return {float(v[0]), float(v[1]), float(v[2])};
}

double Size(const ModelMark::Vec3& v) {
    const double size = std::hypot(v[0], v[1], v[2]);
    return std::isfinite(size) ? size : 0;
}

// The screen direction of a world vector, one pixel long; a vector pointing (nearly) at the
// viewer is drawn as a diagonal.
QPointF ScreenUnit(const ViewCamera& camera, const ModelMark::Vec3& v) {
    const double size = Size(v);
    if (size <= 0)
        return {0.7, 0.7};
    const QPointF d = camera.Direction(Single({v[0] / size, v[1] / size, v[2] / size}));
    const double length = std::hypot(d.x(), d.y());
    return length > 0.15 ? d / length : QPointF(0.7, 0.7);
}

QString Value(double value) {
    return QString::number(value, 'g', 4);
}

void Ground(QPainter& painter, const QPointF& at, const QPointF& along) {
    const QPointF side(-along.y(), along.x());
    painter.drawLine(at - side * 9, at + side * 9);
    for (int k = -2; k <= 2; ++k) {
        const QPointF foot = at + side * (4.0 * k);
        painter.drawLine(foot, foot + along * 4 - side * 4);
    }
}

// A spring from the node against its axis, ending on a hatched ground.
void Spring(QPainter& painter, const QPointF& node, const QPointF& axis) {
    const QPointF side(-axis.y(), axis.x());
    QPolygonF zigzag{node, node - axis * 5};
    for (int k = 1; k <= 6; ++k)
        zigzag << node - axis * (5 + 3.0 * k) + side * (k % 2 ? 5 : -5);
    zigzag << node - axis * 26 << node - axis * 30;
    painter.drawPolyline(zigzag);
    Ground(painter, node - axis * 30, -axis);
}

// A turning spring: a spiral round the node, fixed to a short hatched ground.
void TurnSpring(QPainter& painter, const QPointF& node) {
    QPolygonF spiral;
    for (int k = 0; k <= 48; ++k) {
        const double angle = k * std::numbers::pi / 12;
        const double radius = 4 + 8.0 * k / 48;
        spiral << node + QPointF(radius * std::cos(angle), -radius * std::sin(angle));
    }
    painter.drawPolyline(spiral);
    Ground(painter, spiral.back() + QPointF(0, 3), QPointF(0, 1));
}

void HollowArrow(QPainter& painter, const QPointF& tail, const QPointF& head) {
    const QPointF d = head - tail;
    const double length = std::hypot(d.x(), d.y());
    if (length < 1)
        return;
    const QPointF unit = d / length, side(-unit.y(), unit.x());
    painter.setBrush(Qt::white);
    painter.drawLine(tail, head - unit * 9);
    painter.drawPolygon(QPolygonF{head, head - unit * 10 + side * 5, head - unit * 10 - side * 5});
}

void Turn(QPainter& painter, const QPointF& at) {
    const QRectF box(at.x() - 14, at.y() - 14, 28, 28);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(box, 30 * 16, 240 * 16);
    const double end = 270 * std::numbers::pi / 180;
    const QPointF tip(at.x() + 14 * std::cos(end), at.y() - 14 * std::sin(end));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF{tip + QPointF(7, 0), tip + QPointF(0, -4), tip + QPointF(0, 4)});
}

// A line under the bar with hatching, on the screen's lower side of it.
void Foundation(QPainter& painter, const QPointF& from, const QPointF& to) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length < 2) {
        Ground(painter, from + QPointF(0, 6), QPointF(0, 1));
        return;
    }
    const QPointF unit = d / length;
    QPointF below(-unit.y(), unit.x());
    if (below.y() < 0)
        below = -below;
    const QPointF a = from + below * 5, b = to + below * 5;
    painter.drawLine(a, b);
    const int count = std::max(2, static_cast<int>(length / 7));
    for (int k = 0; k <= count; ++k) {
        const QPointF at = a + (b - a) * (double(k) / count);
        painter.drawLine(at, at + below * 5 - unit * 4);
    }
}

void Gravity(QPainter& painter, const QRect& area, const ModelMark& mark, const QPointF& down) {
    // In the upper right corner, where the loads' values and the numbers seldom are.
    const QPointF centre(area.right() - 40, area.top() + 50);
    painter.setPen(QPen(GravityColour, 2));
    painter.setBrush(GravityColour);
    const QPointF tail = centre - down * 22, head = centre + down * 22;
    painter.drawLine(tail, head - down * 8);
    const QPointF side(-down.y(), down.x());
    painter.drawPolygon(QPolygonF{head, head - down * 9 + side * 4, head - down * 9 - side * 4});
    const QString text = QStringLiteral("self-weight: g \u00d7 %1").arg(Value(Size(mark.Vector)));
    const QRectF box(area.left(), centre.y() - 40, centre.x() - area.left() - 12, 20);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
}

bool Shown(const ModelMark& mark, const MarkPainter::Options& options) {
    const bool everyCase =
        mark.Type == Kind::Spring || mark.Type == Kind::TurnSpring || mark.Type == Kind::Foundation;
    if (everyCase)
        return options.Supports;
    return options.LoadCase > 0 && mark.Case == options.LoadCase;
}

} // namespace

int MarkPainter::Paint(QPainter& painter, const QRect& area, const std::vector<ModelMark>& marks,
                       const ViewCamera& camera, const Options& options) {
    painter.save();
    const QRectF visible = QRectF(area).adjusted(-10, -10, 10, 10);
    int drawn = 0;
    bool gravity = false;
    for (const ModelMark& mark : marks) {
        if (!Shown(mark, options) || mark.Type == Kind::Force || mark.Type == Kind::Moment ||
            mark.Type == Kind::PartialLoad)
            continue;
        if (mark.Type == Kind::Gravity) {
            // One arrow for the case: its self-weight is a single item.
            if (!gravity && Size(mark.Vector) > 0)
                Gravity(painter, area, mark, ScreenUnit(camera, mark.Vector));
            gravity = true;
            ++drawn;
            continue;
        }
        const QPointF at = camera.Project(Single(mark.At));
        if (!visible.contains(at) ||
            (options.Section && !options.Section->Plane().Keeps(Single(mark.At))))
            continue;
        ++drawn;
        switch (mark.Type) {
        case Kind::Spring:
            painter.setPen(QPen(SupportColour, 1.4));
            Spring(painter, at, ScreenUnit(camera, mark.Vector));
            break;
        case Kind::TurnSpring:
            painter.setPen(QPen(SupportColour, 1.4));
            TurnSpring(painter, at);
            break;
        case Kind::Foundation:
            painter.setPen(QPen(SupportColour, 1.2));
            Foundation(painter, at, camera.Project(Single(mark.To)));
            break;
        case Kind::Shift: {
            painter.setPen(QPen(ShiftColour, 1.6));
            const QPointF unit = ScreenUnit(camera, mark.Vector);
            // Clear of the support's triangle under the node.
            HollowArrow(painter, at + unit * 18, at + unit * 48);
            if (options.Labels)
                painter.drawText(at + unit * 52 + QPointF(3, 4), Value(Size(mark.Vector)));
            break;
        }
        case Kind::Turn:
            painter.setPen(QPen(ShiftColour, 1.6));
            Turn(painter, at);
            if (options.Labels)
                painter.drawText(at + QPointF(16, -10),
                                 Value(Size(mark.Vector)) + QStringLiteral(" rad"));
            break;
        case Kind::Heat: {
            painter.setPen(QPen(HeatColour, 1.2));
            painter.setBrush(HeatColour);
            painter.drawEllipse(at, 3.5, 3.5);
            QStringList parts;
            if (mark.Value != 0 || mark.Difference == 0)
                parts << QStringLiteral("\u0394T %1").arg(Value(mark.Value));
            if (mark.Difference != 0)
                parts << QStringLiteral("\u0394Td %1").arg(Value(mark.Difference));
            if (options.Labels)
                painter.drawText(at + QPointF(6, -6), parts.join(QStringLiteral(", ")));
            break;
        }
        default:
            break;
        }
    }
    painter.restore();
    return drawn;
}
