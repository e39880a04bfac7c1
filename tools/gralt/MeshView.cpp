#include "MeshView.h"

#include "ItemLine.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

const QColor SupportColour(0, 140, 60);
const QColor LoadColour(210, 30, 30);
constexpr double LongestArrow = 30;
constexpr double LargestCircle = 7;

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

// A load across the drawing as the end of an arrow seen head-on: a cross where it points away
// from the viewer (along -z), a dot where it points towards them.
void DrawAcross(QPainter& painter, const QPointF& at, double radius, bool towardsViewer) {
    if (radius < 1.5)
        return;
    painter.setBrush(Qt::white);
    painter.drawEllipse(at, radius, radius);
    painter.setBrush(Qt::NoBrush);
    if (towardsViewer) {
        painter.setBrush(painter.pen().color());
        painter.drawEllipse(at, radius / 3, radius / 3);
        painter.setBrush(Qt::NoBrush);
        return;
    }
    const double r = radius * 0.7;
    painter.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
    painter.drawLine(at + QPointF(-r, r), at + QPointF(r, -r));
}

// A support with its tip at `at`: filled when it fixes every displacement, else hollow over a
// line, the roller it slides on. `turned`: it holds only the first displacement, so it leans
// against the node from the left and rolls along the second axis.
void DrawSupport(QPainter& painter, const QPointF& at, bool fixed, bool turned) {
    // Screen offsets of the upright symbol, turned a quarter about the tip when asked.
    const auto place = [&](double dx, double dy) {
        return turned ? at + QPointF(-dy, dx) : at + QPointF(dx, dy);
    };
    painter.setBrush(fixed ? QBrush(SupportColour) : QBrush(Qt::white));
    painter.drawPolygon(QPolygonF{at, place(-6, 10), place(6, 10)});
    painter.setBrush(Qt::NoBrush);
    if (!fixed)
        painter.drawLine(place(-8, 13.5), place(8, 13.5));
}

} // namespace

MeshView::MeshView(bool plate, QWidget* parent) : QWidget(parent), plate_(plate) {
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

std::optional<MeshView::Fit> MeshView::Fitted() const {
    if (regions_.empty())
        return std::nullopt;
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
        return std::nullopt;
    return Fit{box.center(), frame.center(), scale};
}

QPointF MeshView::Map(const QPointF& point) const {
    const std::optional<Fit> map = Fitted();
    return map ? (*map)(point) : QPointF();
}

void MeshView::paintEvent(QPaintEvent*) {
    const std::optional<Fit> fitted = Fitted();
    if (!fitted)
        return;
    const Fit& map = *fitted;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (plate_) {
        // Regions under pressure are tinted beneath their mesh.
        QColor tint = LoadColour;
        tint.setAlpha(40);
        for (const EdgeCondition& condition : conditions_) {
            if (condition.At != EdgeCondition::Place::Area)
                continue;
            QPolygonF outline;
            for (const QPointF& corner : regions_[size_t(condition.Region - 1)].Corners)
                outline << map(corner);
            painter.setPen(Qt::NoPen);
            painter.setBrush(tint);
            painter.drawPolygon(outline);
        }
        painter.setBrush(Qt::NoBrush);
    }
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
    if (plate_)
        DrawPlateLoads(painter, map);
    else
        DrawPlaneLoads(painter, map);
    DrawSupports(painter, map);
}

void MeshView::DrawSupports(QPainter& painter, const Fit& map) const {
    for (const EdgeCondition& condition : conditions_) {
        if (condition.Type != EdgeCondition::Kind::Support)
            continue;
        const MeshRegion& region = regions_[size_t(condition.Region - 1)];
        const QPointF from = map(region.Corners[size_t(condition.Side)]);
        const QPointF to = map(region.Corners[size_t((condition.Side + 1) % 4)]);
        const bool corner = condition.At == EdgeCondition::Place::Corner;
        const auto& codes = condition.Values;
        const bool fixed = std::all_of(codes.begin(), codes.end(), [](double c) { return c == 1; });
        // A plane support that holds the first displacement alone leans against the node.
        const bool turned = !plate_ && codes.size() == 2 && codes[0] == 1 && codes[1] == 0;
        if (!corner) {
            painter.setPen(QPen(SupportColour, 4));
            painter.drawLine(from, to);
        }
        painter.setPen(QPen(SupportColour, 1.5));
        DrawSupport(painter, from, fixed, turned);
        if (!corner)
            DrawSupport(painter, to, fixed, turned);
    }
}

void MeshView::DrawPlaneLoads(QPainter& painter, const Fit& map) const {
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
    if (largest <= 0)
        return;
    painter.setPen(QPen(LoadColour, 1.5));
    for (const EdgeCondition& condition : conditions_) {
        if (condition.Type == EdgeCondition::Kind::Support)
            continue;
        const MeshRegion& region = regions_[size_t(condition.Region - 1)];
        const QPointF from = map(region.Corners[size_t(condition.Side)]);
        const QPointF to = map(region.Corners[size_t((condition.Side + 1) % 4)]);
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

void MeshView::DrawPlateLoads(QPainter& painter, const Fit& map) const {
    // Line loads per unit length and pressures are of different units: each kind is scaled by
    // its own largest value.
    double largestLine = 0;
    for (const EdgeCondition& condition : conditions_) {
        if (condition.Type == EdgeCondition::Kind::Pressure &&
            condition.At == EdgeCondition::Place::Side)
            largestLine = std::max(
                {largestLine, std::abs(condition.Values[0]), std::abs(condition.Values[1])});
    }
    for (const EdgeCondition& condition : conditions_) {
        if (condition.Type != EdgeCondition::Kind::Pressure)
            continue;
        const MeshRegion& region = regions_[size_t(condition.Region - 1)];
        if (condition.At == EdgeCondition::Place::Area) {
            QPointF middle;
            for (const QPointF& corner : region.Corners)
                middle += map(corner) / 4;
            const double p = condition.Values[0];
            const QPointF at = middle + QPointF(0, 20);
            painter.setPen(QPen(LoadColour, 1.5));
            DrawAcross(painter, at, LargestCircle, p > 0);
            painter.drawText(QRectF(at + QPointF(LargestCircle + 3, -9), QSizeF(120, 18)),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("p = %1").arg(ItemLine::NumberText(p)));
            continue;
        }
        if (largestLine <= 0)
            continue;
        const QPointF from = map(region.Corners[size_t(condition.Side)]);
        const QPointF to = map(region.Corners[size_t((condition.Side + 1) % 4)]);
        painter.setPen(QPen(LoadColour, 2.5));
        painter.drawLine(from, to);
        painter.setPen(QPen(LoadColour, 1.5));
        const double screenLength = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int marks = std::clamp(static_cast<int>(screenLength / 18), 2, 24);
        for (int k = 0; k <= marks; ++k) {
            const double t = double(k) / marks;
            const double q = condition.Values[0] * (1 - t) + condition.Values[1] * t;
            DrawAcross(painter, from + (to - from) * t, LargestCircle * std::abs(q) / largestLine,
                       q > 0);
        }
    }
}
