#include "SolidPainter.h"

#include "ShellPainter.h"

#include <QPainter>
#include <cmath>

namespace {

using Point = ViewerModel::Point;

const QColor OutlineColour(40, 40, 40, 120);

// The elements' outlines on the cut, which its filling (split into tetrahedra) has not.
void DrawOutline(QPainter& painter, const SolidSection& section,
                 const std::vector<QPointF>& screen) {
    QVector<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(section.Outline().size()));
    for (const std::array<int, 2>& edge : section.Outline())
        lines.append(QLineF(screen[size_t(edge[0])], screen[size_t(edge[1])]));
    painter.setPen(QPen(OutlineColour, 0));
    painter.drawLines(lines);
}

// Draws the kept surface and the cut in the order that leaves the nearer on top; `draw`
// fills one list of polygons over the section's vertices.
template <typename Draw>
void DrawCutOpen(QPainter& painter, const SolidSection& section, const std::vector<Point>& points,
                 const ViewCamera& camera, bool edges, Draw draw) {
    const ShellProjection faces(points, section.Faces(), camera);
    const ShellProjection cut(points, section.Cut(), camera);
    const ShellPainter::Seams* seams = &section.FaceSeams();
    if (SolidPainter::CutFacesViewer(section.Plane(), camera)) {
        draw(section.Faces(), faces, edges, seams);
        draw(section.Cut(), cut, false, nullptr);
        if (edges)
            DrawOutline(painter, section, cut.Screen());
    } else {
        draw(section.Cut(), cut, false, nullptr);
        draw(section.Faces(), faces, edges, seams);
    }
}

} // namespace

bool SolidPainter::CutFacesViewer(const SectionPlane& plane, const ViewCamera& camera) {
    if (!plane.Active())
        return false;
    // The cut's outward normal points to the hidden side.
    Point normal{0, 0, 0};
    normal[size_t(plane.Axis)] = plane.KeepAbove ? -1.0f : 1.0f;
    return camera.Towards(normal) > 0;
}

double SolidPainter::FacePixels(const ViewerModel& model, const ViewCamera& camera) {
    const auto& faces = model.Surface.Faces();
    if (faces.empty())
        return 0;
    double area = 0;
    // Seen edge on a face has no area on the screen: the size of a face seen squarely.
    const double scale = camera.PixelsPerUnit();
    for (const auto& face : faces) {
        const int count = face[3] < 0 ? 3 : 4;
        const auto at = [&](int k) { return model.Nodes[size_t(face[size_t(k)])]; };
        double n[3] = {0, 0, 0};
        for (int k = 1; k + 1 < count; ++k) {
            const Point a = at(0), b = at(k), c = at(k + 1);
            const double u[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
            const double v[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
            n[0] += u[1] * v[2] - u[2] * v[1];
            n[1] += u[2] * v[0] - u[0] * v[2];
            n[2] += u[0] * v[1] - u[1] * v[0];
        }
        area += std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) / 2;
    }
    return std::sqrt(area / double(faces.size())) * scale;
}

void SolidPainter::DrawShaded(QPainter& painter, const QRect& area, const ViewerModel& model,
                              const std::vector<Point>& nodes, const SolidSection* section,
                              const ViewCamera& camera, bool edges) {
    const auto draw = [&](const std::vector<std::array<int, 4>>& polygons,
                          const ShellProjection& projection, bool withEdges,
                          const ShellPainter::Seams* seams) {
        ShellPainter::DrawFacets(painter, area, polygons, projection, withEdges, seams);
    };
    if (!section || !section->Plane().Active()) {
        draw(model.Surface.Faces(), ShellProjection(nodes, model.Surface.Faces(), camera), edges,
             nullptr);
        return;
    }
    std::vector<Point> points;
    section->Points(nodes, points);
    DrawCutOpen(painter, *section, points, camera, edges, draw);
}

void SolidPainter::DrawContours(QPainter& painter, const QRect& area, const ViewerModel& model,
                                const SolidSection* section, const std::vector<double>& values,
                                const ContourScale& scale, const ViewCamera& camera, bool edges) {
    if (values.size() != model.Nodes.size())
        return;
    if (!section || !section->Plane().Active()) {
        ShellPainter::DrawContours(painter, area, model.Surface.Faces(),
                                   ShellProjection(model.Nodes, model.Surface.Faces(), camera),
                                   values, scale, edges, true);
        return;
    }
    std::vector<Point> points;
    section->Points(model.Nodes, points);
    const std::vector<double> at = section->Values(values);
    DrawCutOpen(painter, *section, points, camera, edges,
                [&](const std::vector<std::array<int, 4>>& polygons,
                    const ShellProjection& projection, bool withEdges,
                    const ShellPainter::Seams* seams) {
                    ShellPainter::DrawContours(painter, area, polygons, projection, at, scale,
                                               withEdges, true, seams);
                });
}
