#include "ModelPainter.h"

#include "FieldPainter.h"
#include "MarkPainter.h"
#include "SolidPainter.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QVector>
#include <algorithm>
#include <cmath>

namespace {

const QColor ElementColour(30, 30, 30);
const QColor NodeColour(0, 90, 200);
const QColor FaintColour(165, 165, 165);
const QColor SupportColour(0, 130, 60);
const QColor LoadColour(200, 30, 30);
const QColor MomentColour(170, 60, 170);

void Arrow(QPainter& painter, const QPointF& tail, const QPointF& head) {
    const QPointF d = head - tail;
    const double length = std::hypot(d.x(), d.y());
    if (!std::isfinite(length))
        return;
    painter.drawLine(tail, head);
    if (length < 1)
        return;
    const QPointF unit = d / length, side(-unit.y(), unit.x());
    const double size = std::min(8.0, length / 2);
    painter.drawPolygon(QPolygonF{head, head - unit * size + side * (size / 2.5),
                                  head - unit * size - side * (size / 2.5)});
}

// A moment as a three-quarter arc round the point, its arrow head showing the turn: counter-
// clockwise on screen for a moment that points towards the viewer.
void Moment(QPainter& painter, const QPointF& at, double radius, bool counterClockwise) {
    const QRectF box(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius);
    const double start = counterClockwise ? -45.0 : 225.0;
    const double span = counterClockwise ? 270.0 : -270.0;
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(box, int(start * 16), int(span * 16));
    const double end = (start + span) * 3.14159265358979 / 180;
    const QPointF tip(at.x() + radius * std::cos(end), at.y() - radius * std::sin(end));
    const QPointF tangent = counterClockwise ? QPointF(-std::sin(end), -std::cos(end))
                                             : QPointF(std::sin(end), std::cos(end));
    const QPointF side(-tangent.y(), tangent.x());
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(QPolygonF{tip + tangent * 6, tip - side * 3, tip + side * 3});
}

QString Value(double value) {
    return QString::number(value, 'g', 4);
}

// Without overflow for loads near the largest number; one beyond it counts as none.
double Length(const ViewerModel::Vector& v) {
    const double length = std::hypot(v[0], v[1], v[2]);
    return std::isfinite(length) ? length : 0;
}

ViewerModel::Point Unit(const ViewerModel::Vector& v, double length) {
    return {float(v[0] / length), float(v[1] / length), float(v[2] / length)};
}

// The share of a load in the largest of its kind, 0 to 1.
double Share(double size, double largest) {
    return largest > 0 ? std::clamp(size / largest, 0.0, 1.0) : 1;
}

} // namespace

ModelPainter::Report ModelPainter::Paint(QPainter& painter, const QRect& area,
                                         const ViewerModel& model, const ViewCamera& camera,
                                         const Options& options) {
    Report report;
    painter.save();
    painter.fillRect(area, Qt::white);
    const bool smooth = model.Edges.size() <= static_cast<size_t>(SmoothEdges);
    painter.setRenderHint(QPainter::Antialiasing, smooth);

    std::vector<QPointF> screen(model.Nodes.size());
    for (size_t i = 0; i < model.Nodes.size(); ++i)
        screen[i] = camera.Project(model.Nodes[i]);

    // A solid by its outer surface, shaded, its edges while the faces are not too small.
    const bool solid = !model.Solids.empty();
    if (options.Mesh && solid && !options.Faint) {
        painter.save();
        SolidPainter::DrawShaded(painter, area, model, model.Nodes, options.Section, camera,
                                 SolidPainter::FacePixels(model, camera) >=
                                     FieldPainter::SmallestDrawn);
        painter.restore();
    }
    if (options.Mesh && !solid) {
        QVector<QLineF> lines;
        lines.reserve(static_cast<qsizetype>(model.Edges.size()));
        for (const auto& edge : model.Edges)
            lines.append(
                QLineF(screen[static_cast<size_t>(edge[0])], screen[static_cast<size_t>(edge[1])]));
        for (const std::vector<ViewerModel::Point>& curve : model.Curves) {
            for (size_t k = 1; k < curve.size(); ++k)
                lines.append(QLineF(camera.Project(curve[k - 1]), camera.Project(curve[k])));
        }
        painter.setPen(QPen(options.Faint ? FaintColour : ElementColour, smooth ? 1.2 : 0));
        painter.drawLines(lines);
    }

    // Nodes: dots that stay visible, but do not swamp a dense mesh.
    const QRectF visible = QRectF(area).adjusted(-10, -10, 10, 10);
    const double dot = model.Nodes.size() <= 2000 ? 5 : model.Nodes.size() <= 20000 ? 3 : 2;
    // Two pixels are a dot whatever their shape; squares of a dense mesh are drawn many
    // times faster than round ones.
    painter.setPen(QPen(options.Faint ? FaintColour : NodeColour, dot, Qt::SolidLine,
                        dot > 2 ? Qt::RoundCap : Qt::SquareCap));
    QVector<QPointF> dots;
    dots.reserve(static_cast<qsizetype>(screen.size()));
    for (const QPointF& p : screen) {
        if (visible.contains(p))
            dots.append(p);
    }
    // A solid's nodes lie inside it and behind it: its surface shows where they are.
    if (options.Mesh && !solid)
        painter.drawPoints(dots.constData(), static_cast<int>(dots.size()));

    if (options.Supports) {
        painter.setPen(QPen(SupportColour, 1.5));
        for (const ViewerModel::Support& support : model.Supports) {
            const QPointF p = screen[static_cast<size_t>(support.Node)];
            // Nothing of the part a section hides.
            if (!visible.contains(p) || (options.Section && !options.Section->Plane().Keeps(
                                                                model.Nodes[size_t(support.Node)])))
                continue;
            const QPolygonF triangle{p, p + QPointF(-8, 13), p + QPointF(8, 13)};
            painter.setBrush(support.Fixed ? QBrush(SupportColour) : QBrush(Qt::white));
            painter.drawPolygon(triangle);
            painter.drawLine(p + QPointF(-11, 16), p + QPointF(11, 16));
        }
    }

    if (!options.Faint)
        MarkPainter::Paint(painter, area, model.Marks, camera,
                           {options.LoadCase, options.Supports,
                            model.Marks.size() <= static_cast<size_t>(MaxLabels), options.Section});

    if (options.LoadCase > 0) {
        // Arrows from 20 to 60 pixels, by the size of the load against the largest of its kind
        // in the case: point loads and line or area loads have different units.
        double largestForce = 0, largestLine = 0, largestMoment = 0;
        for (const ViewerModel::Load& load : model.Loads) {
            if (load.Case != options.LoadCase)
                continue;
            (load.Distributed ? largestLine : largestForce) =
                std::max(load.Distributed ? largestLine : largestForce, Length(load.Force));
            largestMoment = std::max(largestMoment, Length(load.Moment));
        }
        const bool labels = model.Loads.size() <= static_cast<size_t>(MaxLabels);
        for (const ViewerModel::Load& load : model.Loads) {
            if (load.Case != options.LoadCase)
                continue;
            const QPointF at = camera.Project(load.At);
            if (!visible.contains(at) ||
                (options.Section && !options.Section->Plane().Keeps(load.At)))
                continue;
            ++report.LoadsDrawn;
            const double force = Length(load.Force);
            if (force > 0) {
                // The screen direction of the unit vector along the force.
                const QPointF direction = camera.Direction(Unit(load.Force, force));
                const double onScreen = std::hypot(direction.x(), direction.y());
                const double pixels =
                    20 + 40 * Share(force, load.Distributed ? largestLine : largestForce);
                // A force pointing (nearly) straight at the viewer is drawn as a diagonal.
                const QPointF unit = onScreen > 0.15 ? direction : QPointF(0.7, 0.7);
                painter.setPen(QPen(LoadColour, load.Distributed ? 1.2 : 1.6));
                painter.setBrush(LoadColour);
                if (load.AlongBar) {
                    // A line load: a row of arrows along the bar under a line through their
                    // tails.
                    const QPointF start = camera.Project(load.Start),
                                  end = camera.Project(load.End);
                    const int count = std::clamp(int(QLineF(start, end).length() / 30), 2, 12);
                    for (int k = 0; k <= count; ++k) {
                        const QPointF head = start + (end - start) * (double(k) / count);
                        Arrow(painter, head - unit * pixels, head);
                    }
                    painter.drawLine(start - unit * pixels, end - unit * pixels);
                    if (labels)
                        painter.drawText(at - unit * pixels + QPointF(4, -4), Value(force));
                } else {
                    const QPointF tail = at - unit * pixels;
                    Arrow(painter, tail, at);
                    if (labels)
                        painter.drawText(tail + QPointF(3, -3), Value(force));
                }
            }
            const double moment = Length(load.Moment);
            if (moment > 0) {
                painter.setPen(QPen(MomentColour, 1.6));
                Moment(painter, at, 10 + 8 * Share(moment, largestMoment),
                       camera.Towards(Unit(load.Moment, moment)) >= 0);
                if (labels)
                    painter.drawText(at + QPointF(14, 16), Value(moment));
            }
        }
    }

    report.LabelsLeftOut = PaintNumbers(painter, area, model, camera, options);
    painter.restore();
    return report;
}

bool ModelPainter::PaintNumbers(QPainter& painter, const QRect& area, const ViewerModel& model,
                                const ViewCamera& camera, const Options& options) {
    if (!options.NodeNumbers && !options.ElementNumbers)
        return false;
    painter.save();
    bool leftOut = false;
    // What a section hides has no numbers either.
    const auto hidden = [&](const std::array<float, 3>& p) {
        return options.Section && !options.Section->Plane().Keeps(p);
    };
    std::vector<std::pair<QPointF, int>> labels;
    if (options.NodeNumbers) {
        for (size_t i = 0; i < model.Nodes.size(); ++i) {
            const QPointF p = camera.Project(model.Nodes[i]);
            if (area.contains(p.toPoint()) && !hidden(model.Nodes[i]))
                labels.emplace_back(p + QPointF(4, -4), static_cast<int>(i + 1));
        }
    }
    const size_t nodeLabels = labels.size();
    if (options.ElementNumbers) {
        for (size_t i = 0; i < model.ElementCentres.size(); ++i) {
            const QPointF p = camera.Project(model.ElementCentres[i]);
            if (area.contains(p.toPoint()) && !hidden(model.ElementCentres[i]))
                labels.emplace_back(p, static_cast<int>(i + 1));
        }
    }
    if (labels.size() > static_cast<size_t>(MaxLabels)) {
        leftOut = true;
    } else {
        for (size_t i = 0; i < labels.size(); ++i) {
            painter.setPen(i < nodeLabels ? NodeColour : ElementColour);
            const QString text = QString::number(labels[i].second);
            if (i < nodeLabels) {
                painter.drawText(labels[i].first, text);
            } else {
                // Element numbers in a small frame, so that they differ from node numbers.
                QRectF box = painter.fontMetrics().boundingRect(text).toRectF();
                box.moveCenter(labels[i].first);
                box.adjust(-2, 0, 2, 0);
                painter.setBrush(Qt::white);
                painter.drawRect(box);
                painter.drawText(box, Qt::AlignCenter, text);
            }
        }
    }
    painter.restore();
    return leftOut;
}
