#include "ResultPainter.h"

#include "BarArc.h"
#include "BarDiagram.h"
#include "BarOrdinates.h"
#include "BarPieces.h"
#include "BarShape.h"
#include "BarSpan.h"
#include "FieldPainter.h"
#include "ProblemType.h"
#include "ResultScale.h"
#include "ValueLabels.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

using Vec3 = BarAxes::Vec3;

const QColor ShapeColour(0, 90, 200);
const QColor PositiveFill(70, 130, 220, 90);
const QColor PositiveLine(30, 80, 170);
const QColor NegativeFill(225, 70, 60, 90);
// The same over white, opaque: a model of tens of thousands of bars fills a hundred million
// pixels of diagrams, which Qt fills several times faster without blending.
const QColor PositiveSolid(202, 217, 243);
const QColor NegativeSolid(244, 207, 205);
const QColor NegativeLine(175, 35, 30);
const QColor ReactionColour(205, 110, 0);
const QColor CaptionColour(20, 20, 20);

Vec3 ToVec(const ViewerModel::Point& p) {
    return {p[0], p[1], p[2]};
}

ViewerModel::Point ToPoint(const Vec3& v) {
    return {float(v[0]), float(v[1]), float(v[2])};
}

QPointF Screen(const ViewCamera& camera, const Vec3& v) {
    return camera.Project(ToPoint(v));
}

using Text = ValueLabels::Text;
using Labels = ValueLabels;

// Whether Qt can fill a polygon: finite, and within a range its fixed-point rasteriser holds.
bool Drawable(const QPolygonF& polygon) {
    return std::all_of(polygon.begin(), polygon.end(), [](const QPointF& p) {
        return std::abs(p.x()) < 1e6 && std::abs(p.y()) < 1e6;
    });
}

QPointF Unit(const QPointF& v) {
    const double length = std::hypot(v.x(), v.y());
    return length > 1e-9 ? v / length : QPointF(0, -1);
}

// What bends bar `e` between its ends: its loads (none for mode shapes) and stiffness.
BarShape::Loading LoadingOf(const ViewerModel::Bar& bar, const std::vector<BarSpan>& spans,
                            size_t e) {
    BarShape::Loading loading;
    if (e < spans.size() && bar.Radius == 0) {
        loading.Span = &spans[e];
        loading.BendingY = bar.BendingY;
        loading.BendingZ = bar.BendingZ;
    }
    return loading;
}

// The translations of the points of the arcs (BarArc::Points, i to j): their ends move with
// their nodes, their inner points as the solver found them. Results of before it kept the inner
// points have none; then the translation is taken linear between the ends.
class ArcMoves {
public:
    ArcMoves(const std::vector<double>& values, const std::vector<double>& inner,
             const QStringList& components)
        : values_(values), inner_(inner), places_(ViewerResults::PlacesOf(components)),
          width_(static_cast<int>(components.size())) {}

    // `arc` counts the arcs before this one.
    std::vector<Vec3> Of(const ViewerModel::Bar& bar, int arc) const {
        constexpr int InnerPoints = BarArc::Pieces - 1;
        const bool known = inner_.size() >= static_cast<size_t>((arc + 1) * InnerPoints * width_);
        const Vec3 mi = ViewerResults::NodeMotion(values_, places_, width_, bar.I).Move;
        const Vec3 mj = ViewerResults::NodeMotion(values_, places_, width_, bar.J).Move;
        std::vector<Vec3> moves(BarArc::Pieces + 1);
        for (int k = 0; k <= BarArc::Pieces; ++k) {
            const double s = double(k) / BarArc::Pieces;
            moves[static_cast<size_t>(k)] =
                k == 0                ? mi
                : k == BarArc::Pieces ? mj
                : known
                    ? ViewerResults::NodeMotion(inner_, places_, width_, arc * InnerPoints + k - 1)
                          .Move
                    : BarAxes::Sum(BarAxes::Scaled(mi, 1 - s), BarAxes::Scaled(mj, s));
        }
        return moves;
    }

private:
    const std::vector<double>& values_;
    const std::vector<double>& inner_;
    ViewerResults::Places places_;
    int width_;
};

// The largest displacement drawn: at the nodes (the arcs' inner points among them, which are
// nodes to the solver) and along the bars, where the end rotations and the load of a frame bar
// can bend it further than its ends move.
double LargestMove(const ViewerModel& model, const ProblemType& type,
                   const std::vector<double>& values, const std::vector<double>& arcValues,
                   const QStringList& components, const std::vector<BarSpan>& loads,
                   bool alongBars = true, const BarPieces& pieces = {}) {
    const ViewerResults::Places places = ViewerResults::PlacesOf(components);
    const int width = static_cast<int>(components.size());
    const auto motion = [&](int node) {
        return ViewerResults::NodeMotion(values, places, width, node);
    };
    double largest = 0;
    for (int n = 0; n < static_cast<int>(model.Nodes.size()); ++n) {
        const ViewerResults::Motion m = motion(n);
        largest = std::max(largest, std::sqrt(BarAxes::Dot(m.Move, m.Move)));
    }
    // The inner points of divided members are nodes to the solver too.
    largest = std::max(largest, pieces.LargestMove());
    const ArcMoves arcMoves(values, arcValues, components);
    int arcs = 0;
    for (const ViewerModel::Bar& bar : model.Bars) {
        if (bar.Radius != 0) {
            for (const Vec3& move : arcMoves.Of(bar, arcs++))
                largest = std::max(largest, std::sqrt(BarAxes::Dot(move, move)));
        }
    }
    if (type.Truss || !alongBars)
        return largest;
    const ProblemType::Layout frame = type.Lies;
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const ViewerModel::Bar& bar = model.Bars[e];
        if (bar.Radius != 0 || pieces.Of(e) > 1)
            continue; // above
        const Vec3 a = ToVec(model.Nodes[static_cast<size_t>(bar.I)]);
        const BarAxes axes =
            BarAxes::Of(frame, a, ToVec(model.Nodes[static_cast<size_t>(bar.J)]), bar.Beta);
        const std::vector<Vec3> points =
            BarShape::Points(axes, {0, 0, 0}, motion(bar.I), motion(bar.J), bar.Hinges, false, 1,
                             ResultPainter::Segments, LoadingOf(bar, loads, e));
        for (size_t k = 0; k < points.size(); ++k) {
            const Vec3 move = BarAxes::Sum(
                points[k], BarAxes::Scaled(axes.X, -axes.Length * double(k) / (points.size() - 1)));
            largest = std::max(largest, std::sqrt(BarAxes::Dot(move, move)));
        }
    }
    return largest;
}

void DrawShape(QPainter& painter, const ViewerModel& model, const ProblemType& type,
               const std::vector<double>& values, const std::vector<double>& arcValues,
               const QStringList& components, const std::vector<BarSpan>& loads,
               const ViewCamera& camera, double scale, const BarPieces& pieces = {}) {
    const ProblemType::Layout frame = type.Lies;
    const bool truss = type.Truss;
    const ViewerResults::Places places = ViewerResults::PlacesOf(components);
    const int width = static_cast<int>(components.size());
    const auto motion = [&](int node) {
        return ViewerResults::NodeMotion(values, places, width, node);
    };
    const ArcMoves arcMoves(values, arcValues, components);
    int arcs = 0;
    const bool large = model.Bars.size() > size_t(ResultPainter::LargeModel);
    // All pieces in one call: a large model has a hundred thousand bars.
    QVector<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(model.Bars.size()) * (large ? 2 : 8));
    // A small model's bars as polylines, whose joints Qt rounds off cleanly; a larger one's
    // pieces all at once.
    const bool small = model.Bars.size() <= size_t(ResultPainter::OnePath);
    std::vector<QPolygonF> curves;
    QPolygonF curve;
    const auto finish = [&] {
        if (small)
            curves.push_back(curve);
        else
            for (qsizetype k = 1; k < curve.size(); ++k)
                lines.append(QLineF(curve[k - 1], curve[k]));
        curve.clear();
    };
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const ViewerModel::Bar& bar = model.Bars[e];
        const Vec3 a = ToVec(model.Nodes[static_cast<size_t>(bar.I)]);
        const Vec3 b = ToVec(model.Nodes[static_cast<size_t>(bar.J)]);
        if (bar.Radius != 0) {
            // An arc: through its displaced points, as the solver cut it.
            const std::vector<Vec3> arc = BarArc::Points(a, b, bar.Radius);
            const std::vector<Vec3> moves = arcMoves.Of(bar, arcs++);
            for (size_t k = 0; k < arc.size(); ++k)
                curve << Screen(camera, BarAxes::Sum(arc[k], BarAxes::Scaled(moves[k], scale)));
            finish();
            continue;
        }
        // A member the solver divided: each of its pieces bends between its own displaced
        // ends, the hinges of the member at its outer ends.
        const int count = pieces.Of(e);
        const Vec3 along = BarAxes::Scaled(BarAxes::Sum(b, BarAxes::Scaled(a, -1)), 1.0 / count);
        for (int k = 0; k < count; ++k) {
            const Vec3 from = BarAxes::Sum(a, BarAxes::Scaled(along, k));
            const Vec3 to = k + 1 == count ? b : BarAxes::Sum(from, along);
            const ViewerResults::Motion mi = k == 0 ? motion(bar.I) : pieces.Inner(e, k);
            const ViewerResults::Motion mj =
                k + 1 == count ? motion(bar.J) : pieces.Inner(e, k + 1);
            const int hinges =
                (k == 0 ? bar.Hinges & 1 : 0) | (k + 1 == count ? bar.Hinges & 2 : 0);
            const BarAxes axes = BarAxes::Of(frame, from, to, bar.Beta);
            // As many pieces as make a smooth curve on screen, not more.
            const double pixels = axes.Length * camera.PixelsPerUnit();
            const int segments = std::clamp(int(pixels / 10), 1, ResultPainter::Segments);
            const std::vector<Vec3> points =
                BarShape::Points(axes, from, mi, mj, hinges, truss, scale, segments,
                                 count == 1 ? LoadingOf(bar, loads, e) : BarShape::Loading{});
            // The pieces join: each after the first from its second point.
            for (size_t p = k == 0 ? 0 : 1; p < points.size(); ++p)
                curve << Screen(camera, points[p]);
        }
        finish();
    }
    // Round caps make Qt stroke each piece as a shape: for a small model only.
    painter.setPen(large   ? QPen(ShapeColour, 1.5)
                   : small ? QPen(ShapeColour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                           : QPen(ShapeColour, 2, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawLines(lines);
    for (const QPolygonF& bar : curves)
        painter.drawPolyline(bar);
    if (large)
        return;
    // The displaced nodes.
    QVector<QPointF> dots;
    dots.reserve(static_cast<qsizetype>(model.Nodes.size()));
    for (int n = 0; n < static_cast<int>(model.Nodes.size()); ++n)
        dots.append(Screen(camera, BarAxes::Sum(ToVec(model.Nodes[static_cast<size_t>(n)]),
                                                BarAxes::Scaled(motion(n).Move, scale))));
    painter.setPen(QPen(ShapeColour, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(dots.constData(), static_cast<int>(dots.size()));
}

void DrawDiagram(QPainter& painter, const ViewerModel& model, const ProblemType& type,
                 const std::vector<BarOrdinates>& ordinates, const ResultQuantity& q,
                 const ViewCamera& camera, bool values, Labels& labels,
                 ResultPainter::Report& report, double largest = 0, bool dashed = false) {
    const ProblemType::Layout frame = type.Lies;
    for (const BarOrdinates& o : ordinates)
        largest = std::max(largest, o.Largest());
    report.LargestOrdinate = largest;
    if (largest <= 0)
        return;
    // A truss's bands of constant force would cover each other at full height.
    const double share =
        q.ColumnI == q.ColumnJ ? ResultScale::DiagramShare / 2.5 : ResultScale::DiagramShare;
    const double worldHeight = share * ResultScale::ModelSize(model.Nodes);
    const double perUnit = worldHeight / largest; // world length per unit of the quantity
    const double pixelsPerWorld = camera.PixelsPerUnit();
    const double quiet = largest * 1e-3; // values this small are not written
    const QRectF visible(painter.viewport());
    std::vector<Text> texts;
    // A value to write, if it is worth it and its spot is on screen.
    const auto write = [&](double value, const QPointF& at, const QPointF& away) {
        if (std::abs(value) >= quiet && visible.contains(at))
            texts.push_back(
                {value, at, away, QString(), value >= 0 ? PositiveLine : NegativeLine, {}});
    };
    // A small model's parts of one sign go into one path, so that the diagrams of bars meeting
    // at a joint do not darken where they overlap; a larger model's are filled one by one, and
    // outlined in one call: filling one path of thousands of pieces takes seconds.
    const bool large = model.Bars.size() > size_t(ResultPainter::OnePath);
    const bool solid = model.Bars.size() > size_t(ResultPainter::LargeModel);
    QPainterPath positivePath, negativePath;
    positivePath.setFillRule(Qt::WindingFill);
    negativePath.setFillRule(Qt::WindingFill);
    QVector<QLineF> positiveLines, negativeLines;
    painter.setPen(Qt::NoPen);
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const ViewerModel::Bar& bar = model.Bars[e];
        const BarOrdinates& o = ordinates[e];
        const Vec3 a = ToVec(model.Nodes[static_cast<size_t>(bar.I)]);
        const Vec3 b = ToVec(model.Nodes[static_cast<size_t>(bar.J)]);
        const BarAxes axes = BarAxes::Of(frame, a, b, bar.Beta);
        const QPointF start = Screen(camera, a), end = Screen(camera, b);
        // The side of positive values on screen, in pixels per world length.
        const Vec3 sideWorld = q.GlobalSide ? q.Side : axes.ToGlobal(q.Side);
        QPointF side = camera.Direction(ToPoint(sideWorld)) * pixelsPerWorld;
        if (frame == ProblemType::Layout::Space) {
            // Space frames: in the screen plane, across the bar as it appears, on the side to
            // which the positive side points.
            const QPointF along = Unit(end - start);
            QPointF across(along.y(), -along.x());
            if (QPointF::dotProduct(across, side) < 0)
                across = -across;
            side = across * pixelsPerWorld;
        }
        const std::vector<BarDiagram::Station> stations = o.Stations(ResultPainter::Segments);
        // An arc is drawn as its chord, and its diagram between the ends is not that of a
        // straight bar: only the ordinates at its ends are drawn.
        for (const bool positive : {true, false}) {
            if (!o.Arc.empty()) {
                // Along the arc: the tips from i to j, then back along the arc.
                const std::vector<Vec3> arc = BarArc::Points(a, b, bar.Radius);
                QPolygonF outline;
                bool any = false;
                for (size_t k = 0; k < arc.size() && k < o.Arc.size(); ++k) {
                    const double value =
                        positive ? std::max(0.0, o.Arc[k]) : std::min(0.0, o.Arc[k]);
                    any = any || value != 0;
                    const QPointF across =
                        camera.Direction(
                            ToPoint(BarAxes::Scaled(BarArc::Normal(arc, k), q.Side[2]))) *
                        pixelsPerWorld;
                    outline << Screen(camera, arc[k]) + across * (value * perUnit);
                }
                for (size_t k = arc.size(); k-- > 0;)
                    outline << Screen(camera, arc[k]);
                if (any && Drawable(outline))
                    (positive ? positivePath : negativePath).addPolygon(outline);
                continue;
            }
            const QPolygonF outline =
                BarDiagram::Outline(start, end, side * perUnit, stations, positive);
            if (outline.isEmpty() || !Drawable(outline))
                continue;
            if (!large) {
                (positive ? positivePath : negativePath).addPolygon(outline);
                continue;
            }
            painter.setBrush(dashed  ? QBrush(Qt::NoBrush)
                             : solid ? (positive ? PositiveSolid : NegativeSolid)
                                     : (positive ? PositiveFill : NegativeFill));
            // A linear part (a triangle or a trapezoid) is convex, which fills faster.
            if (outline.size() <= 4)
                painter.drawConvexPolygon(outline);
            else
                painter.drawPolygon(outline);
            for (qsizetype k = 1; k + 2 < outline.size(); ++k)
                (positive ? positiveLines : negativeLines)
                    .append(QLineF(outline[k], outline[k + 1]));
        }
        if (!values)
            continue;
        const QPointF sideUnit = Unit(side);
        // A value is written beyond the tip of its ordinate; an end value a little inside the
        // bar, so that bars meeting at a node do not share the spot. The number is always the
        // value at that end itself.
        const auto add = [&](double xi, double value, double shift = 0) {
            if (std::abs(value) < quiet)
                return;
            const QPointF base = start + (end - start) * (xi + shift);
            const QPointF tip = base + side * (value * perUnit);
            const QPointF away = value >= 0 ? sideUnit : -sideUnit;
            write(value, tip + away * 9, away);
        };
        if (!o.Arc.empty()) {
            // An arc: the values at its ends and its largest within, beside their ordinates.
            const std::vector<Vec3> arc = BarArc::Points(a, b, bar.Radius);
            const auto addAt = [&](size_t k, double value) {
                if (std::abs(value) < quiet)
                    return;
                const QPointF across =
                    camera.Direction(ToPoint(BarAxes::Scaled(BarArc::Normal(arc, k), q.Side[2]))) *
                    pixelsPerWorld;
                const QPointF away = Unit(across) * (value >= 0 ? 1.0 : -1.0);
                write(value, Screen(camera, arc[k]) + across * (value * perUnit) + away * 9, away);
            };
            const size_t last = arc.size() - 1;
            addAt(std::min<size_t>(3, last), o.I);
            addAt(last - std::min<size_t>(3, last), o.J);
            // The largest and the smallest within the arc, where they are not at an end.
            size_t high = 1, low = 1;
            for (size_t k = 1; k + 1 < o.Arc.size(); ++k) {
                high = o.Arc[k] > o.Arc[high] ? k : high;
                low = o.Arc[k] < o.Arc[low] ? k : low;
            }
            for (const size_t k : {high, low}) {
                if (k + 1 < o.Arc.size() && std::abs(o.Arc[k] - o.I) > 0.03 * largest &&
                    std::abs(o.Arc[k] - o.J) > 0.03 * largest &&
                    (k == high ? o.Arc[k] >= o.Arc[k + 1] : o.Arc[k] <= o.Arc[k + 1]) &&
                    (k == high ? o.Arc[k] >= o.Arc[k - 1] : o.Arc[k] <= o.Arc[k - 1]))
                    addAt(k, o.Arc[k]);
            }
            continue;
        }
        const double inset = std::min(0.2, 18 / std::max(1.0, QLineF(start, end).length()));
        if (stations.size() == 2 && std::abs(o.I - o.J) < quiet) {
            add(0.5, (o.I + o.J) / 2);
        } else {
            add(0, o.I, inset);
            add(1, o.J, -inset);
            // The extremes within the bar, unless hardly more than an end value.
            for (const BarDiagram::Station& s : o.Extremes()) {
                if (std::abs(s.Value - o.I) > 0.03 * largest &&
                    std::abs(s.Value - o.J) > 0.03 * largest)
                    add(s.Xi, s.Value);
            }
        }
    }
    for (const bool positive : {true, false}) {
        const QPainterPath& path = positive ? positivePath : negativePath;
        const Qt::PenStyle style = dashed ? Qt::DashLine : Qt::SolidLine;
        if (!dashed)
            painter.fillPath(path, positive ? PositiveFill : NegativeFill);
        painter.strokePath(path, QPen(positive ? PositiveLine : NegativeLine, 1.2, style));
        painter.setPen(QPen(positive ? PositiveLine : NegativeLine, 0, style));
        painter.drawLines(positive ? positiveLines : negativeLines);
    }
    labels.Place(texts);
}

// A forced vibration of bars drawn as the statics draw a case: the section forces at the
// instant or phase drawn, a history's largest values filled over its smallest dashed (or the
// other way round), a spectrum's signed peaks. The members carry no loads between their ends
// here, so each diagram is straight between the values at its ends.
void DrawForcedDiagram(QPainter& painter, const ViewerModel& model, const ProblemType& type,
                       const ResultFile::Contents& contents,
                       const ResultFile::Forced::Excitation& x, ViewerResults::ForcedView view,
                       const ResultPainter::Options::Motion* motion, const ResultQuantity& q,
                       const ViewCamera& camera, bool values, Labels& labels,
                       ResultPainter::Report& report) {
    StaticResults bars;
    bars.Nodes = contents.Modes.Nodes;
    bars.Elements = contents.Modes.Elements;
    bars.Components = contents.Modes.Components;
    bars.Forces = contents.Vibrations.Columns;
    const auto caseOf = [](std::vector<double> forces) {
        StaticResults::Case c;
        c.Number = 0; // no load case: nothing between the ends
        c.Forces = std::move(forces);
        return c;
    };
    const auto bound = [&](int which) {
        std::vector<double> forces;
        for (size_t k = static_cast<size_t>(which); k < x.ElementPeaks.size(); k += 4)
            forces.push_back(x.ElementPeaks[k]);
        return forces;
    };
    const auto expected = static_cast<size_t>(bars.Elements) * size_t(bars.ForceCount());
    switch (view) {
    case ViewerResults::ForcedView::Motion:
        if (motion && motion->Frame.Elements.size() == expected)
            DrawDiagram(painter, model, type,
                        BarOrdinates::Of(model, type, bars, caseOf(motion->Frame.Elements), q), q,
                        camera, values, labels, report);
        break;
    case ViewerResults::ForcedView::Max:
    case ViewerResults::ForcedView::Min: {
        const bool max = view == ViewerResults::ForcedView::Max;
        if (x.ElementPeaks.size() != 4 * expected)
            break;
        const std::vector<BarOrdinates> shown =
            BarOrdinates::Of(model, type, bars, caseOf(bound(max ? 0 : 2)), q);
        const std::vector<BarOrdinates> other =
            BarOrdinates::Of(model, type, bars, caseOf(bound(max ? 2 : 0)), q);
        double largest = 0;
        for (const std::vector<BarOrdinates>* list : {&shown, &other})
            for (const BarOrdinates& o : *list)
                largest = std::max(largest, o.Largest());
        DrawDiagram(painter, model, type, other, q, camera, false, labels, report, largest, true);
        DrawDiagram(painter, model, type, shown, q, camera, values, labels, report, largest);
        break;
    }
    case ViewerResults::ForcedView::Peaks:
        if (x.ElementPeaks.size() == expected)
            DrawDiagram(painter, model, type,
                        BarOrdinates::Of(model, type, bars, caseOf(x.ElementPeaks), q), q, camera,
                        values, labels, report);
        break;
    }
}

void DrawReactions(QPainter& painter, const ViewerModel& model, const StaticResults& statics,
                   const StaticResults::Case& c, const ViewCamera& camera, bool values,
                   Labels& labels) {
    static const char* const axes[] = {"x", "y", "z"};
    constexpr double Pi = 3.14159265358979323846;
    const QRectF visible = QRectF(painter.viewport()).adjusted(-80, -80, 80, 80);
    std::vector<Text> texts;
    for (const StaticResults::Reaction& reaction : c.Reactions) {
        const ViewerModel::Point node = model.Nodes[static_cast<size_t>(reaction.Node - 1)];
        const QPointF at = camera.Project(node);
        if (!visible.contains(at))
            continue;
        // Rounding noise is 0 already (RoundingNoise).
        const ViewerResults::Motion r =
            ViewerResults::NodeMotion(reaction.Values, statics.Components, 0);
        for (int a = 0; a < 3; ++a) {
            const double value = r.Move[static_cast<size_t>(a)];
            if (value == 0)
                continue;
            ViewerModel::Point unit{0, 0, 0};
            unit[static_cast<size_t>(a)] = value > 0 ? 1.0f : -1.0f;
            texts.push_back(ValueLabels::Force(value, at, Unit(camera.Direction(unit)),
                                               QStringLiteral("R%1 = ").arg(QLatin1String(axes[a])),
                                               ReactionColour));
        }
        for (int a = 0; a < 3; ++a) {
            const double value = r.Turn[static_cast<size_t>(a)];
            if (value == 0)
                continue;
            ViewerModel::Point vector{0, 0, 0};
            vector[static_cast<size_t>(a)] = value > 0 ? 1.0f : -1.0f;
            const bool counter = camera.Towards(vector) >= 0;
            // An arc under the node from 200 to 340 degrees, its head at the end it turns to.
            const auto onArc = [&at](double degrees) {
                const double angle = degrees * Pi / 180;
                return QPointF(at.x() + 26 * std::cos(angle), at.y() - 26 * std::sin(angle));
            };
            // Its value beside the arc's tail, clear of the arrows of the forces (the upright
            // one under the node, the level one at its height and its value); the moments
            // about the other axes below it.
            const double side = counter ? -1 : 1;
            Text moment{value,          at + QPointF(side * 34, 18),
                        QPointF(0, 1),  QStringLiteral("M%1 = ").arg(QLatin1String(axes[a])),
                        ReactionColour, {}};
            moment.Along = QPointF(side, 0);
            for (int k = 0; k < 10; ++k)
                moment.With.Lines.append(QLineF(onArc(200 + 14 * k), onArc(200 + 14 * (k + 1))));
            const double end = (counter ? 340 : 200) * Pi / 180;
            const QPointF tip = onArc(counter ? 340 : 200);
            const QPointF tangent = counter ? QPointF(-std::sin(end), -std::cos(end))
                                            : QPointF(std::sin(end), std::cos(end));
            moment.With.Lines.append(QLineF(tip - tangent * 8, tip));
            moment.With.Heads.push_back(ValueLabels::Head(tip, tangent));
            texts.push_back(std::move(moment));
        }
    }
    if (values) {
        labels.Place(texts);
        return;
    }
    // Without their values every arrow is drawn, in one call: hundreds of supports.
    ValueLabels::Mark all;
    for (const Text& text : texts) {
        all.Lines += text.With.Lines;
        all.Heads.insert(all.Heads.end(), text.With.Heads.begin(), text.With.Heads.end());
    }
    ValueLabels::Draw(painter, all, ReactionColour);
}

} // namespace

bool ResultPainter::ReactionsAtFirst(const ViewerModel& model, const FieldLayout* field) {
    if (field && field->Solid())
        return false;
    const bool surface = field && (field->Flat() || field->Space());
    return model.Supports.size() <= size_t(surface ? ManyEdgeSupports : ManySupports);
}

// The caption: a framed box in the top left corner; its place is reserved before the values
// are written, so that none covers it.
QRectF ResultPainter::CaptionBox(const QPainter& painter, const QRect& area,
                                 const QStringList& lines) {
    QFont bold = painter.font();
    bold.setBold(true);
    const QFontMetrics plain(painter.font()), strong(bold);
    double width = 0;
    for (qsizetype k = 0; k < lines.size(); ++k)
        width = std::max<double>(width, (k == 0 ? strong : plain).horizontalAdvance(lines[k]));
    const double line = plain.height() + 2;
    return QRectF(area.left() + 8, area.top() + 8, width + 16, line * lines.size() + 10);
}

void ResultPainter::DrawCaption(QPainter& painter, const QRect& area, const QStringList& lines) {
    if (lines.isEmpty())
        return;
    QFont bold = painter.font();
    bold.setBold(true);
    const QRectF box = CaptionBox(painter, area, lines);
    const double line = (box.height() - 10) / lines.size();
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setPen(CaptionColour);
    const QFont normal = painter.font();
    for (qsizetype k = 0; k < lines.size(); ++k) {
        painter.setFont(k == 0 ? bold : normal);
        painter.drawText(QRectF(box.left() + 8, box.top() + 5 + line * k, box.width() - 12, line),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
    }
    painter.setFont(normal);
}

ResultPainter::Report ResultPainter::Paint(QPainter& painter, const QRect& area,
                                           const ViewerModel& model, const ProblemType& type,
                                           const ViewerResults& results, const ResultChoice& choice,
                                           const ViewCamera& camera, const Options& options) {
    Report report;
    if (!results.Ok())
        return report;
    if (choice.Field())
        return FieldPainter::Paint(painter, area, model, results, choice, camera, options);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, model.Bars.size() <= size_t(LargeModel));
    Labels labels(painter, area);
    const ResultFile::Contents& contents = results.Contents();
    report.Caption = choice.Caption(options.Entry, options.Show);
    const double size = ResultScale::ModelSize(model.Nodes);
    if (choice.Statics()) {
        const StaticResults& statics = contents.Statics;
        const StaticResults::Case* entry = results.StaticEntry(options.Entry);
        if (!entry) {
            painter.restore();
            return report;
        }
        const StaticResults::Case& c = *entry;
        const auto& quantities = choice.Quantities();
        if ((options.Show <= 0 || options.Show > static_cast<int>(quantities.size())) &&
            results.BoundOf(options.Entry)) {
            // The largest values of an envelope do not occur together: no shape has them.
            labels.Reserve(CaptionBox(painter, area, report.Caption));
        } else if (options.Show <= 0 || options.Show > static_cast<int>(quantities.size())) {
            const std::vector<BarSpan> loads = BarSpan::Of(model, type.Lies, c);
            const double largest = LargestMove(model, type, c.Displacements, c.ArcDisplacements,
                                               statics.Components, loads);
            report.Deformation = ResultScale::Deformation(largest, size);
            if (report.Deformation > 0)
                report.Caption << ResultScale::Caption(report.Deformation) +
                                      QStringLiteral("; largest at a node %1 %2")
                                          .arg(ResultChoice::Number(LargestMove(
                                                   model, type, c.Displacements, c.ArcDisplacements,
                                                   statics.Components, loads, false)),
                                               model.LengthUnit);
            else
                report.Caption << QStringLiteral("No node moves");
            labels.Reserve(CaptionBox(painter, area, report.Caption));
            if (report.Deformation > 0)
                DrawShape(painter, model, type, c.Displacements, c.ArcDisplacements,
                          statics.Components, loads, camera,
                          report.Deformation * options.Amplitude);
        } else if (const auto bound = results.BoundOf(options.Entry)) {
            // An envelope: the diagrams of its largest and its smallest values together, to
            // one scale: the bound chosen filled with its values written, the other dashed.
            const ResultQuantity& q = quantities[static_cast<size_t>(options.Show - 1)];
            const StaticResults::Envelope& envelope = statics.Envelopes[bound->Envelope];
            const std::vector<BarOrdinates> shown =
                BarOrdinates::Bound(model, type, statics, envelope, bound->Largest, q);
            const std::vector<BarOrdinates> other =
                BarOrdinates::Bound(model, type, statics, envelope, !bound->Largest, q);
            double largest = 0;
            for (const std::vector<BarOrdinates>* list : {&shown, &other})
                for (const BarOrdinates& o : *list)
                    largest = std::max(largest, o.Largest());
            labels.Reserve(CaptionBox(painter, area, report.Caption));
            DrawDiagram(painter, model, type, other, q, camera, false, labels, report, largest,
                        true);
            DrawDiagram(painter, model, type, shown, q, camera, options.Values, labels, report,
                        largest);
        } else {
            const ResultQuantity& q = quantities[static_cast<size_t>(options.Show - 1)];
            const std::vector<BarOrdinates> ordinates =
                BarOrdinates::Of(model, type, statics, c, q);
            labels.Reserve(CaptionBox(painter, area, report.Caption));
            DrawDiagram(painter, model, type, ordinates, q, camera, options.Values, labels, report);
        }
        if (options.Reactions)
            DrawReactions(painter, model, statics, c, camera, options.Values, labels);
    } else if (const auto forced = results.ForcedOf(options.Entry)) {
        // A motion of forced vibrations as a mode shape is drawn, to its excitation's scale; a
        // history's bounds and a spectrum's peaks are tables, which the caption names.
        const Options::Motion* motion = options.Forced;
        const ResultFile::Forced::Excitation& x = contents.Vibrations.List[forced->Excitation];
        if (const ResultQuantity* q = choice.DiagramOf(options.Show)) {
            if (motion)
                report.Caption = motion->Caption;
            labels.Reserve(CaptionBox(painter, area, report.Caption));
            DrawForcedDiagram(painter, model, type, contents, x, forced->View, motion, *q, camera,
                              options.Values, labels, report);
        } else if (forced->View == ViewerResults::ForcedView::Motion && motion) {
            report.Caption = motion->Caption;
            const BarPieces pieces(results.Pieces(), motion->Frame.Inner,
                                   contents.Modes.Components);
            report.Deformation = ResultScale::Deformation(motion->LargestMove, size);
            if (report.Deformation > 0)
                DrawShape(painter, model, type, motion->Frame.Nodes, {}, contents.Modes.Components,
                          {}, camera, report.Deformation, pieces);
        }
    } else {
        const auto& list = contents.Modes.List;
        if (options.Entry >= 0 && options.Entry < static_cast<int>(list.size())) {
            const auto& shape = list[static_cast<size_t>(options.Entry)];
            // The shapes are of types without arcs; their members may be divided.
            const BarPieces pieces(results.Pieces(),
                                   results.InnerShape(static_cast<size_t>(options.Entry)),
                                   contents.Modes.Components);
            const double largest = LargestMove(model, type, shape.Displacements, {},
                                               contents.Modes.Components, {}, true, pieces);
            report.Deformation = ResultScale::Deformation(largest, size);
            if (report.Deformation > 0)
                DrawShape(painter, model, type, shape.Displacements, {}, contents.Modes.Components,
                          {}, camera, report.Deformation * options.Amplitude, pieces);
        }
    }
    DrawCaption(painter, area, report.Caption);
    report.LabelsDrawn = labels.Count();
    report.LabelBoxes = labels.Written();
    report.MarkBoxes = labels.Marked();
    painter.restore();
    return report;
}
