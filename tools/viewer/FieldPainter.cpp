#include "FieldPainter.h"

#include "ContourBands.h"
#include "ElementCross.h"
#include "ProblemType.h"
#include "ResultScale.h"
#include "ShellPainter.h"
#include "SolidPainter.h"
#include "ValueLabels.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

using Show = FieldLayout::Show;

const QColor ShapeColour(0, 90, 200);
const QColor EdgeColour(40, 40, 40, 120);
const QColor TensionColour(0, 70, 210);
const QColor CompressionColour(210, 30, 30);
const QColor ArrowColour(20, 20, 20);
const QColor ReactionColour(205, 110, 0);
constexpr double Pi = 3.14159265358979323846;

// The corners an element has (3 or 4), counted up to the first missing one; fewer than 3 make
// no area to draw.
int CornersOf(const std::array<int, 4>& polygon) {
    int count = 0;
    while (count < 4 && polygon[static_cast<size_t>(count)] >= 0)
        ++count;
    return count;
}

// The mean size of an element on screen: the side of a square of its mean area.
double ElementPixels(const ViewerModel& model, const std::vector<QPointF>& screen) {
    if (model.Polygons.empty())
        return 0;
    double area = 0;
    for (const auto& polygon : model.Polygons) {
        double twice = 0;
        const int count = CornersOf(polygon);
        for (int k = 0; k < count && count >= 3; ++k) {
            const QPointF& a = screen[static_cast<size_t>(polygon[static_cast<size_t>(k)])];
            const QPointF& b =
                screen[static_cast<size_t>(polygon[static_cast<size_t>((k + 1) % count)])];
            twice += a.x() * b.y() - b.x() * a.y();
        }
        area += std::abs(twice) / 2;
    }
    return std::sqrt(area / model.Polygons.size());
}

void DrawEdges(QPainter& painter, const ViewerModel& model, const std::vector<QPointF>& screen,
               const QPen& pen) {
    QVector<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(model.Edges.size()));
    for (const auto& edge : model.Edges)
        lines.append(
            QLineF(screen[static_cast<size_t>(edge[0])], screen[static_cast<size_t>(edge[1])]));
    painter.setPen(pen);
    painter.drawLines(lines);
}

// The deformed mesh over the faint one, its displacements magnified by a round factor; a
// shell's as shaded facets in space.
void DrawDeformed(QPainter& painter, const QRect& area, const ViewerModel& model,
                  const FieldResults& results, const FieldResults::Case& c, bool space,
                  const ViewCamera& camera, double elementPixels, const SolidSection* section,
                  double amplitude, ResultPainter::Report& report) {
    const int width = results.ComponentCount();
    const size_t nodes = model.Nodes.size();
    if (space) {
        const ViewerResults::Places places = ViewerResults::PlacesOf(results.Components);
        double largest = 0;
        for (size_t n = 0; n < nodes; ++n) {
            const auto move =
                ViewerResults::NodeMotion(c.Displacements, places, width, int(n)).Move;
            largest = std::max(largest, std::hypot(move[0], move[1], move[2]));
        }
        report.Deformation = ResultScale::Deformation(largest, ResultScale::ModelSize(model.Nodes));
        report.Caption << (report.Deformation > 0
                               ? ResultScale::Caption(report.Deformation) +
                                     QStringLiteral("; largest at a node %1 %2")
                                         .arg(ResultChoice::Number(largest), model.LengthUnit)
                               : QStringLiteral("No node moves"));
        std::vector<ViewerModel::Point> moved = model.Nodes;
        for (size_t n = 0; n < nodes; ++n) {
            const auto move =
                ViewerResults::NodeMotion(c.Displacements, places, width, int(n)).Move;
            for (size_t a = 0; a < 3; ++a)
                moved[n][a] += float(move[a] * report.Deformation * amplitude);
        }
        if (!model.Solids.empty())
            SolidPainter::DrawShaded(painter, area, model, moved, section, camera,
                                     elementPixels >= FieldPainter::SmallestDrawn);
        else
            ShellPainter::DrawFacets(painter, area, model.Polygons,
                                     ShellProjection(moved, model.Polygons, camera),
                                     elementPixels >= FieldPainter::SmallestDrawn);
        return;
    }
    double largest = 0;
    for (size_t n = 0; n < nodes; ++n) {
        const double u = c.Displacements[n * width], w = c.Displacements[n * width + 1];
        largest = std::max(largest, std::hypot(u, w));
    }
    report.Deformation = ResultScale::Deformation(largest, ResultScale::ModelSize(model.Nodes));
    if (report.Deformation <= 0) {
        report.Caption << QStringLiteral("No node moves");
        return;
    }
    report.Caption << ResultScale::Caption(report.Deformation) +
                          QStringLiteral("; largest at a node %1 %2")
                              .arg(ResultChoice::Number(largest), model.LengthUnit);
    std::vector<QPointF> moved(nodes);
    for (size_t n = 0; n < nodes; ++n) {
        ViewerModel::Point p = model.Nodes[n];
        p[0] += float(c.Displacements[n * width] * report.Deformation * amplitude);
        p[2] += float(c.Displacements[n * width + 1] * report.Deformation * amplitude);
        moved[n] = camera.Project(p);
    }
    const bool large = model.Edges.size() > size_t(ResultPainter::LargeModel);
    DrawEdges(painter, model, moved, QPen(ShapeColour, large ? 0 : 1.5));
}

// The colour bar at the right: the bands from the highest down, their limits beside them.
void DrawColourBar(QPainter& painter, const QRect& area, const ContourScale& scale,
                   const QString& name) {
    const int bands = scale.Bands();
    const QFontMetrics metrics(painter.font());
    const double step = std::clamp((area.height() - 120.0) / std::max(1, bands), 12.0, 30.0);
    const double barWidth = 20;
    const double right = area.right() - 12;
    const double top = area.top() + 40;
    double labelWidth = metrics.horizontalAdvance(scale.Unit());
    QStringList labels;
    for (double limit : scale.Limits()) {
        // Round limits as they are: "800", "0.25"; the digits beyond hide sums' rounding.
        labels << QString::number(limit, 'g', 7);
        labelWidth = std::max<double>(labelWidth, metrics.horizontalAdvance(labels.back()));
    }
    const double left = right - barWidth - 6 - labelWidth;
    const QRectF box(left - 8, top - 2 * metrics.height() - 10, right - left + 16,
                     2 * metrics.height() + 18 + step * bands);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    painter.setPen(QColor(20, 20, 20));
    painter.drawText(QRectF(box.left(), box.top() + 4, box.width(), metrics.height()),
                     Qt::AlignCenter, name);
    painter.drawText(
        QRectF(box.left(), box.top() + 4 + metrics.height(), box.width(), metrics.height()),
        Qt::AlignCenter, scale.Unit());
    for (int band = 0; band < bands; ++band) {
        const QRectF cell(right - barWidth, top + step * (bands - 1 - band), barWidth, step);
        painter.setPen(Qt::NoPen);
        painter.setBrush(scale.ColourOf(band));
        painter.drawRect(cell);
    }
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(right - barWidth, top, barWidth, step * bands));
    painter.setPen(QColor(20, 20, 20));
    for (int k = 0; k <= bands; ++k) {
        const double y = top + step * (bands - k);
        painter.drawText(
            QRectF(left - 4, y - metrics.height() / 2.0, labelWidth + 4, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, labels[k]);
    }
}

// One field as filled bands over the mesh, its smallest and largest value in the caption; a
// shell's over its facets in space.
void DrawContours(QPainter& painter, const QRect& area, const ViewerModel& model,
                  const std::vector<QPointF>& screen, const std::vector<double>& values,
                  const QString& unit, bool space, const ViewCamera& camera, double elementPixels,
                  const SolidSection* section, ResultPainter::Report& report,
                  const std::pair<double, double>* range = nullptr) {
    if (values.size() != model.Nodes.size() || values.empty())
        return;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    // A motion that plays keeps its excitation's bands, not each frame's own.
    report.Contours =
        range ? ContourScale(range->first, range->second, unit) : ContourScale(*low, *high, unit);
    // A solver's rounding leaves 1e-10 where the field is 0.
    const double noise = 1e-9 * std::max(std::abs(*low), std::abs(*high));
    const auto number = [noise](double v) {
        return ResultChoice::Number(std::abs(v) <= noise ? 0.0 : v);
    };
    report.Caption << QStringLiteral("Smallest %1 at node %2, largest %3 at node %4")
                          .arg(number(*low))
                          .arg(low - values.begin() + 1)
                          .arg(number(*high))
                          .arg(high - values.begin() + 1);
    if (space && !model.Solids.empty()) {
        SolidPainter::DrawContours(painter, area, model, section, values, report.Contours, camera,
                                   elementPixels >= FieldPainter::SmallestDrawn);
        return;
    }
    if (space) {
        ShellPainter::DrawContours(painter, area, model.Polygons,
                                   ShellProjection(model.Nodes, model.Polygons, camera), values,
                                   report.Contours, elementPixels >= FieldPainter::SmallestDrawn);
        return;
    }
    ContourBands bands(report.Contours);
    bands.SetClip(QRectF(area));
    const QRectF visible = QRectF(area).adjusted(-2, -2, 2, 2);
    for (const auto& polygon : model.Polygons) {
        const int count = CornersOf(polygon);
        if (count < 3)
            continue;
        QPointF corners[4];
        double at[4];
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (int k = 0; k < count; ++k) {
            const size_t node = static_cast<size_t>(polygon[static_cast<size_t>(k)]);
            corners[k] = screen[node];
            at[k] = values[node];
            minX = std::min(minX, corners[k].x());
            maxX = std::max(maxX, corners[k].x());
            minY = std::min(minY, corners[k].y());
            maxY = std::max(maxY, corners[k].y());
        }
        if (maxX < visible.left() || minX > visible.right() || maxY < visible.top() ||
            minY > visible.bottom())
            continue;
        bands.AddPolygon(corners, at, count);
    }
    // Without antialiasing, so that neighbouring pieces meet without a seam.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (int band = 0; band < static_cast<int>(bands.Bands().size()); ++band) {
        const ContourBands::Band& b = bands.Bands()[static_cast<size_t>(band)];
        painter.setBrush(report.Contours.ColourOf(band));
        size_t first = 0;
        for (int size : b.Sizes) {
            painter.drawConvexPolygon(b.Points.data() + first, size);
            first += static_cast<size_t>(size);
        }
    }
    if (elementPixels >= FieldPainter::SmallestDrawn)
        DrawEdges(painter, model, screen, QPen(EdgeColour, 0));
}

// Crosses of the principal stresses or arrows of a profile's shear stresses at the element
// centres, as long as the element's share of the largest allows and its outline holds.
void DrawArrows(QPainter& painter, const QRect& area, const ViewerModel& model,
                const std::vector<QPointF>& screen, const FieldResults& results,
                const FieldResults::Case& c, const FieldLayout& layout, const ViewCamera& camera,
                double elementPixels, ResultPainter::Report& report) {
    const bool torsion = layout.Torsion();
    if (!torsion && layout.Principal.size() != 3)
        return;
    const int a = layout.StressColumn(torsion ? QStringLiteral("txy") : layout.Principal[0]);
    const int b = layout.StressColumn(torsion ? QStringLiteral("txz") : layout.Principal[1]);
    const int third = layout.StressColumn(torsion ? QStringLiteral("tau") : layout.Principal[2]);
    if (a < 0 || b < 0 || third < 0)
        return;
    const bool flat = layout.Flat();
    const QString principal =
        flat ? QStringLiteral("Principal moments") : QStringLiteral("Principal stresses");
    if (elementPixels < FieldPainter::SmallestDrawn) {
        report.Caption << (torsion ? QStringLiteral("Shear stress arrows: zoom in to see them")
                                   : principal + QStringLiteral(": zoom in to see them"));
        return;
    }
    const size_t width = static_cast<size_t>(results.StressCount());
    const size_t elements = model.ElementCentres.size();
    const auto value = [&](size_t e, int column) {
        return c.Stresses[e * width + static_cast<size_t>(column)];
    };
    double largest = 0;
    for (size_t e = 0; e < elements; ++e)
        largest = torsion ? std::max(largest, std::abs(value(e, third)))
                          : std::max({largest, std::abs(value(e, a)), std::abs(value(e, b))});
    if (!(largest > 0))
        return;
    // The largest reaches across most of a mean element.
    const double reach = 0.85 * elementPixels / 2;
    const QRectF visible = QRectF(area).adjusted(-reach, -reach, reach, reach);
    QVector<QLineF> tension, compression, arrows;
    std::vector<QPolygonF> heads;
    for (size_t e = 0; e < elements; ++e) {
        const QPointF centre = camera.Project(model.ElementCentres[e]);
        if (!visible.contains(centre) || e >= model.Polygons.size())
            continue;
        QPolygonF outline;
        const auto& polygon = model.Polygons[e];
        for (int k = 0; k < CornersOf(polygon); ++k)
            outline << screen[static_cast<size_t>(polygon[static_cast<size_t>(k)])];
        if (torsion) {
            const double tau = value(e, third);
            if (std::abs(tau) < largest * 1e-3)
                continue;
            // txy along y (the screen's x), txz along z (upwards).
            const QPointF along = camera.Direction({float(value(e, a)), 0, float(value(e, b))});
            const double length = std::hypot(along.x(), along.y());
            if (length <= 0)
                continue;
            const QPointF unit = along / length;
            double half = reach * std::abs(tau) / largest;
            half *= ElementCross::Fit(outline, centre, unit, half, 0);
            if (half < 0.5)
                continue;
            const QPointF tail = centre - unit * half, head = centre + unit * half;
            arrows.append(QLineF(tail, head));
            const double size = std::min(6.0, half);
            const QPointF side(-unit.y(), unit.x());
            heads.push_back(QPolygonF{head, head - unit * size + side * size / 2.5,
                                      head - unit * size - side * size / 2.5});
            continue;
        }
        const double angle = value(e, third) * Pi / 180;
        // The angle turns from x towards z in the x-z plane, towards y on a plate.
        const float cosine = float(std::cos(angle)), sine = float(std::sin(angle));
        const QPointF first = camera.Direction(flat ? ViewerModel::Point{cosine, sine, 0}
                                                    : ViewerModel::Point{cosine, 0, sine});
        const QPointF unit = first / std::max(1e-12, std::hypot(first.x(), first.y()));
        const QPointF across(-unit.y(), unit.x());
        const double fit =
            ElementCross::Fit(outline, centre, unit, reach * std::abs(value(e, a)) / largest,
                              reach * std::abs(value(e, b)) / largest);
        for (const auto& [stress, direction] :
             {std::pair{value(e, a), unit}, std::pair{value(e, b), across}}) {
            const double half = fit * reach * std::abs(stress) / largest;
            if (half < 0.5)
                continue;
            (stress >= 0 ? tension : compression)
                .append(QLineF(centre - direction * half, centre + direction * half));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, elements <= size_t(ResultPainter::LargeModel));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(TensionColour, 1.6));
    painter.drawLines(tension);
    painter.setPen(QPen(CompressionColour, 1.6));
    painter.drawLines(compression);
    painter.setPen(QPen(ArrowColour, 1.3));
    painter.drawLines(arrows);
    painter.setBrush(ArrowColour);
    for (const QPolygonF& head : heads)
        painter.drawConvexPolygon(head);
    report.ArrowsDrawn = static_cast<int>(tension.size() + compression.size() + arrows.size());
    report.Caption << (torsion ? QStringLiteral("Arrows: the shear stress at the element centres, "
                                                "by its size")
                       : flat  ? QStringLiteral("Principal moments at the element centres: "
                                                 "positive (bottom stretched) blue, negative red")
                               : QStringLiteral("Principal stresses at the element centres: "
                                                 "tension blue, compression red"));
}

// The support reactions as arrows pointing the way the support pushes the body, ending a
// little off their node, with their values, where both find room (the largest first).
void DrawReactions(QPainter& painter, const QRect& area, const ViewerModel& model,
                   const FieldResults& results, const FieldResults::Case& c,
                   const ViewCamera& camera, ResultPainter::Report& report) {
    ValueLabels labels(painter, area);
    labels.Reserve(ResultPainter::CaptionBox(painter, area, report.Caption));
    labels.Reserve(QRectF(area.right() - FieldPainter::ColourBarWidth, area.top(),
                          FieldPainter::ColourBarWidth, area.height()));
    const QRectF visible = QRectF(area).adjusted(-80, -80, 80, 80);
    std::vector<ValueLabels::Text> texts;
    for (const FieldResults::Reaction& reaction : c.Reactions) {
        const size_t node = static_cast<size_t>(reaction.Node - 1);
        if (node >= model.Nodes.size())
            continue;
        const QPointF at = camera.Project(model.Nodes[node]);
        if (!visible.contains(at))
            continue;
        for (size_t k = 0; k < reaction.Values.size() && k < size_t(results.Components.size());
             ++k) {
            const double value = reaction.Values[k];
            const QString& name = results.Components[static_cast<qsizetype>(k)];
            // Forces only: the moments of a plate's or shell's supports are in the table.
            // Rounding noise is 0 already (RoundingNoise).
            if (value == 0 || name.size() < 2 || !name.startsWith(u'u'))
                continue;
            const QString prefix = QStringLiteral("R%1 = ").arg(name.mid(1));
            // ux and ur along x, uy along y, uz upwards.
            const float sign = value > 0 ? 1.0f : -1.0f;
            ViewerModel::Point axis{0, 0, 0};
            axis[name.back() == u'z' ? 2 : name.back() == u'y' ? 1 : 0] = sign;
            const QPointF toward = camera.Direction(axis);
            const double length = std::hypot(toward.x(), toward.y());
            if (length < 0.2) {
                // Seen end on, as a plate's in plan: the value beside its node.
                texts.push_back(
                    {value, at + QPointF(0, -8), QPointF(0, -1), prefix, ReactionColour, {}});
                continue;
            }
            texts.push_back(ValueLabels::Force(value, at, toward / length, prefix, ReactionColour));
        }
    }
    labels.Place(texts);
    report.LabelsDrawn = labels.Count();
    report.LabelBoxes = labels.Written();
    report.MarkBoxes = labels.Marked();
}

// Where a solid is cut open, and which part is hidden.
QString SectionCaption(const SectionPlane& plane, const QString& lengthUnit) {
    const QString axis = QString(QChar(char16_t(u'x' + plane.Axis)));
    return QStringLiteral("Cut at %1 = %2 %3: the part at %1 %4 %2 hidden")
        .arg(axis, ResultChoice::Number(plane.At), lengthUnit,
             plane.KeepAbove ? QStringLiteral("<") : QStringLiteral(">"));
}

// A body of revolution's axis, r = 0, as a dash-dotted line a little beyond its height.
void DrawAxis(QPainter& painter, const ViewerModel& model, const ViewCamera& camera) {
    const ViewerModel::Box box = ViewerModel::BoxAround(model.Nodes);
    const double over = 0.08 * (box.High[2] - box.Low[2]);
    painter.setPen(QPen(QColor(90, 90, 90), 1, Qt::DashDotLine));
    painter.drawLine(camera.Project({0, 0, float(box.Low[2] - over)}),
                     camera.Project({0, 0, float(box.High[2] + over)}));
}

} // namespace

ResultPainter::Report FieldPainter::Paint(QPainter& painter, const QRect& area,
                                          const ViewerModel& model, const ViewerResults& results,
                                          const ResultChoice& choice, const ViewCamera& camera,
                                          const ResultPainter::Options& options) {
    ResultPainter::Report report;
    const FieldLayout* layout = choice.Field();
    const FieldResults& field = results.Contents().Field;
    const ResultFile::Shapes& shapes = results.Contents().Modes;
    const int entries = layout && layout->Modes()
                            ? static_cast<int>(shapes.List.size()) + results.ForcedEntries()
                            : results.StaticEntries();
    if (!layout || options.Entry < 0 || options.Entry >= entries || options.Show < 0 ||
        options.Show >= static_cast<int>(layout->Shows.size()) ||
        (layout->Solid() ? model.Solids.size() : model.Polygons.size()) !=
            model.ElementCentres.size())
        return report;
    const bool modes = layout->Modes();
    // A mode has no load case: an empty one stands for it where the drawing needs none.
    static const FieldResults::Case none;
    const FieldResults::Case& c = modes ? none : *results.FieldEntry(options.Entry);
    const Show& show = layout->Shows[static_cast<size_t>(options.Show)];
    // Forced vibrations of a mesh: the motion at its instant as contours of one scale for the
    // whole excitation, or a history's bound or a spectrum's peaks of the component.
    const auto forced = modes ? results.ForcedOf(options.Entry) : std::nullopt;
    const ResultPainter::Options::Motion* motion =
        forced && forced->View == ViewerResults::ForcedView::Motion ? options.Forced : nullptr;
    report.Caption = motion ? motion->Caption : choice.Caption(options.Entry, options.Show);
    painter.save();
    std::vector<QPointF> screen(model.Nodes.size());
    for (size_t n = 0; n < model.Nodes.size(); ++n)
        screen[n] = camera.Project(model.Nodes[n]);
    const double elementPixels =
        layout->Solid() ? SolidPainter::FacePixels(model, camera) : ElementPixels(model, screen);
    // A solid is drawn in space as a shell is; a section of it cut open.
    const bool space = layout->Space() || layout->Solid();
    const SolidSection* section =
        layout->Solid() && options.Section && options.Section->Plane().Active() ? options.Section
                                                                                : nullptr;
    if (section)
        report.Caption << SectionCaption(section->Plane(), model.LengthUnit);
    painter.setRenderHint(QPainter::Antialiasing,
                          model.Edges.size() <= size_t(ResultPainter::LargeModel));
    // The largest values of an envelope do not occur together: no shape has them.
    const auto bound = modes ? std::nullopt : results.BoundOf(options.Entry);
    if (show.From == Show::Source::Deformed && !bound)
        DrawDeformed(painter, area, model, field, c, space, camera, elementPixels, section,
                     options.Amplitude, report);
    else if (forced && (motion || forced->View != ViewerResults::ForcedView::Motion))
        DrawContours(painter, area, model, screen,
                     motion ? FieldLayout::ComponentValues(motion->Frame.Nodes,
                                                           shapes.Components.size(), show)
                            : FieldLayout::PeakValues(results.Contents(), *forced, show),
                     ResultLayout::UnitOf(show.What, model.ForceUnit, model.LengthUnit), space,
                     camera, elementPixels, section, report, motion ? &motion->Range : nullptr);
    else if (show.From != Show::Source::Deformed && !forced)
        DrawContours(painter, area, model, screen,
                     modes   ? FieldLayout::ShapeValues(shapes, size_t(options.Entry), show)
                     : bound ? FieldLayout::NodeValues(field, field.Envelopes[bound->Envelope],
                                                       bound->Largest, show)
                             : FieldLayout::NodeValues(field, c, show),
                     layout->UnitOf(show, model.ForceUnit, model.LengthUnit), space, camera,
                     elementPixels, section, report);
    if (layout->Type->Meshes == ProblemType::Mesh::Revolution && !model.Nodes.empty())
        DrawAxis(painter, model, camera);
    if (options.Arrows && !modes)
        DrawArrows(painter, area, model, screen, field, c, *layout, camera, elementPixels, report);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (options.Reactions && !layout->Torsion() && !modes)
        DrawReactions(painter, area, model, field, c, camera, report);
    if (show.From != Show::Source::Deformed)
        DrawColourBar(painter, area, report.Contours, show.Name);
    ResultPainter::DrawCaption(painter, area, report.Caption);
    painter.restore();
    return report;
}
