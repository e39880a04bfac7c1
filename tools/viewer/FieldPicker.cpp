#include "FieldPicker.h"

#include "ResultChoice.h"
#include "ShellProjection.h"
#include "SolidPainter.h"

#include <QPolygonF>
#include <cmath>
#include <limits>

FieldPicker::Pick FieldPicker::At(const ViewerModel& model, const ViewCamera& camera,
                                  const QPointF& point) {
    if (!model.Solids.empty())
        return AtSolid(model, camera, point, nullptr, model.Nodes);
    Pick pick;
    double nearest = Reach;
    for (size_t n = 0; n < model.Nodes.size(); ++n) {
        const QPointF d = camera.Project(model.Nodes[n]) - point;
        const double distance = std::hypot(d.x(), d.y());
        if (distance <= nearest) {
            nearest = distance;
            pick.Node = static_cast<int>(n);
        }
    }
    if (pick.Node >= 0)
        return pick;
    // Of the elements under the pointer the one nearest the viewer: a shell's facets overlap.
    double nearestDepth = -std::numeric_limits<double>::infinity();
    for (size_t e = 0; e < model.Polygons.size(); ++e) {
        QPolygonF outline;
        for (int corner : model.Polygons[e]) {
            if (corner >= 0)
                outline << camera.Project(model.Nodes[static_cast<size_t>(corner)]);
        }
        if (outline.size() < 3 || !outline.containsPoint(point, Qt::OddEvenFill))
            continue;
        const double depth = e < model.ElementCentres.size()
                                 ? camera.Towards(model.ElementCentres[e])
                                 : nearestDepth;
        if (pick.Element < 0 || depth > nearestDepth) {
            pick.Element = static_cast<int>(e);
            nearestDepth = depth;
        }
    }
    return pick;
}

FieldPicker::Pick FieldPicker::AtSolid(const ViewerModel& model, const ViewCamera& camera,
                                       const QPointF& point, const SolidSection* section,
                                       const std::vector<ViewerModel::Point>& nodes) {
    Pick pick;
    if (nodes.size() != model.Nodes.size())
        return pick;
    const bool cut = section && section->Plane().Active();
    std::vector<ViewerModel::Point> points;
    if (cut)
        section->Points(nodes, points);
    const auto hit = [&](const std::vector<std::array<int, 4>>& polygons,
                         const std::vector<int>& elements) {
        const ShellProjection projection(cut ? points : nodes, polygons, camera);
        const int face = projection.ElementAt(point, polygons);
        if (face < 0)
            return false;
        const std::array<int, 4>& polygon = polygons[static_cast<size_t>(face)];
        int nearest = polygon[0];
        double distance = std::numeric_limits<double>::infinity();
        for (int k = 0; k < ShellProjection::CornersOf(polygon); ++k) {
            const QPointF d = projection.Screen()[static_cast<size_t>(polygon[size_t(k)])] - point;
            if (std::hypot(d.x(), d.y()) < distance) {
                distance = std::hypot(d.x(), d.y());
                nearest = polygon[size_t(k)];
            }
        }
        pick.Node = cut ? section->KeptNode(nearest) : nearest;
        pick.Element = elements[static_cast<size_t>(face)];
        return true;
    };
    if (!cut)
        hit(model.Surface.Faces(), model.Surface.Elements());
    else if (!SolidPainter::CutFacesViewer(section->Plane(), camera) ||
             !hit(section->Cut(), section->CutElements()))
        // The cut lies on top where the viewer sees it; otherwise the surface covers it.
        hit(section->Faces(), section->FaceElements());
    return pick;
}

QString FieldPicker::Describe(const Pick& pick, const ViewerModel& model,
                              const FieldResults& results, const FieldLayout& layout, int entry) {
    // The load cases, then the combinations.
    const size_t cases = results.Cases.size(), at = static_cast<size_t>(entry);
    if (!pick.Hit() || entry < 0 || at >= cases + results.Combinations.size())
        return {};
    const FieldResults::Case& c = at < cases ? results.Cases[at] : results.Combinations[at - cases];
    // The values of one row of a table: the components, with their units, or the file's
    // columns.
    ResultLayout components;
    for (const QString& name : layout.Components)
        components.Columns.push_back({name, name, ResultLayout::OfComponent(name)});
    const auto values = [&](const ResultLayout& columns, const std::vector<double>& all, int row) {
        QStringList parts;
        const size_t width = static_cast<size_t>(columns.Count());
        const size_t first = static_cast<size_t>(row) * width;
        for (size_t k = 0; k < width && first + k < all.size(); ++k) {
            const ResultColumn& column = columns.Columns[k];
            const QString unit =
                ResultLayout::UnitOf(column.What, model.ForceUnit, model.LengthUnit);
            // "angle = 30°", but "sx = 12 kN/m²".
            parts << QStringLiteral("%1 = %2%3%4")
                         .arg(column.Name, ResultChoice::Number(all[first + k]),
                              column.What == ResultColumn::Quantity::Angle || unit.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" "),
                              unit);
        }
        return parts.join(QStringLiteral(", "));
    };
    if (pick.Node >= 0) {
        QString text = QStringLiteral("Node %1: %2")
                           .arg(pick.Node + 1)
                           .arg(values(components, c.Displacements, pick.Node));
        const QString stresses = values(layout.Stresses, c.NodeStresses, pick.Node);
        return stresses.isEmpty() ? text : text + QStringLiteral("; ") + stresses;
    }
    return QStringLiteral("Element %1, at its centre: %2")
        .arg(pick.Element + 1)
        .arg(values(layout.Stresses, c.Stresses, pick.Element));
}

QString FieldPicker::Describe(const Pick& pick, const ViewerModel& model,
                              const ResultFile::Shapes& shapes, int entry, bool scaled) {
    if (!pick.Hit() || entry < 0 || entry >= static_cast<int>(shapes.List.size()))
        return {};
    const std::vector<double>& all = shapes.List[static_cast<size_t>(entry)].Displacements;
    const size_t width = static_cast<size_t>(shapes.Components.size());
    // A node's shape, or the mean of an element's corners: a mode has no values of its own
    // at the centres.
    std::vector<double> sums(width, 0);
    int count = 0;
    const auto add = [&](int node) {
        for (size_t k = 0; k < width && (size_t(node) + 1) * width <= all.size(); ++k)
            sums[k] += all[size_t(node) * width + k];
        ++count;
    };
    if (pick.Node >= 0) {
        add(pick.Node);
    } else if (size_t(pick.Element) < model.Polygons.size()) {
        for (int corner : model.Polygons[size_t(pick.Element)]) {
            if (corner >= 0)
                add(corner);
        }
    }
    QStringList parts;
    for (size_t k = 0; k < width && count > 0; ++k)
        parts << QStringLiteral("%1 = %2").arg(shapes.Components[qsizetype(k)],
                                               ResultChoice::Number(sums[k] / count));
    return (pick.Node >= 0
                ? QStringLiteral("Node %1: ").arg(pick.Node + 1)
                : QStringLiteral("Element %1, mean of its corners: ").arg(pick.Element + 1)) +
           parts.join(QStringLiteral(", ")) +
           (scaled ? QStringLiteral(" (shape scaled: largest uz 1)") : QString());
}
