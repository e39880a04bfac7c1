#include "ShellPainter.h"

#include "ContourBands.h"

#include <QPainter>
#include <algorithm>

namespace {

const QColor FacetColour(120, 165, 225);
const QColor FacetEdge(0, 60, 150);
const QColor ContourEdge(40, 40, 40, 120);

// The corners of an element on the screen, and whether any of it can reach the window.
int Corners(const std::array<int, 4>& polygon, const ShellProjection& projection,
            const QRectF& visible, QPointF* corners) {
    const int count = ShellProjection::CornersOf(polygon);
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (int k = 0; k < count; ++k) {
        corners[k] = projection.Screen()[static_cast<size_t>(polygon[static_cast<size_t>(k)])];
        minX = std::min(minX, corners[k].x());
        maxX = std::max(maxX, corners[k].x());
        minY = std::min(minY, corners[k].y());
        maxY = std::max(maxY, corners[k].y());
    }
    if (maxX < visible.left() || minX > visible.right() || maxY < visible.top() ||
        minY > visible.bottom())
        return 0;
    return count;
}

// The edge of polygon `e` that is not drawn, or -1.
int SeamOf(const ShellPainter::Seams* seams, int e) {
    return seams && static_cast<size_t>(e) < seams->size() ? (*seams)[static_cast<size_t>(e)] : -1;
}

// A polygon's outline with the painter's pen, all but its seam.
void Outline(QPainter& painter, const QPointF* corners, int count, int seam) {
    if (seam < 0 || seam >= count) {
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(corners, count);
        return;
    }
    QPointF path[4];
    for (int k = 0; k < count; ++k)
        path[k] = corners[(seam + 1 + k) % count];
    painter.drawPolyline(path, count);
}

// A polygon filled with the painter's brush and outlined with `pen` but for its seam.
void FillAndOutline(QPainter& painter, const QPointF* corners, int count, const QPen& pen,
                    int seam) {
    if (seam < 0 || pen.style() == Qt::NoPen) {
        painter.setPen(pen);
        painter.drawPolygon(corners, count);
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(corners, count);
    painter.setPen(pen);
    Outline(painter, corners, count, seam);
}

} // namespace

void ShellPainter::DrawFacets(QPainter& painter, const QRect& area,
                              const std::vector<std::array<int, 4>>& polygons,
                              const ShellProjection& projection, bool edges, const Seams* seams) {
    const QRectF visible = QRectF(area).adjusted(-2, -2, 2, 2);
    const QRectF room = QRectF(area).adjusted(-ContourBands::Room, -ContourBands::Room,
                                              ContourBands::Room, ContourBands::Room);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPen pen = edges ? QPen(FacetEdge, 0) : QPen(Qt::NoPen);
    for (int e : projection.Order()) {
        QPointF corners[4];
        const int count = Corners(polygons[static_cast<size_t>(e)], projection, visible, corners);
        // Too far out of the window for the painter's numbers only when zoomed far in.
        if (count < 3 || !std::all_of(corners, corners + count,
                                      [&room](const QPointF& p) { return room.contains(p); }))
            continue;
        // Lit from the viewer: a facet seen edge on is darker than one seen face on.
        const double light = 0.55 + 0.45 * projection.Facing(e);
        painter.setBrush(QColor::fromRgbF(float(FacetColour.redF() * light),
                                          float(FacetColour.greenF() * light),
                                          float(FacetColour.blueF() * light)));
        FillAndOutline(painter, corners, count, pen, SeamOf(seams, e));
    }
}

void ShellPainter::DrawContours(QPainter& painter, const QRect& area,
                                const std::vector<std::array<int, 4>>& polygons,
                                const ShellProjection& projection,
                                const std::vector<double>& values, const ContourScale& scale,
                                bool edges, bool shade, const Seams* seams) {
    if (values.size() != projection.Screen().size())
        return;
    const QRectF visible = QRectF(area).adjusted(-2, -2, 2, 2);
    const QRectF room = QRectF(area).adjusted(-ContourBands::Room, -ContourBands::Room,
                                              ContourBands::Room, ContourBands::Room);
    const QPen edgePen = edges ? QPen(ContourEdge, 0) : QPen(Qt::NoPen);
    ContourBands bands(scale);
    bands.SetClip(QRectF(area));
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int e : projection.Order()) {
        const std::array<int, 4>& polygon = polygons[static_cast<size_t>(e)];
        QPointF corners[4];
        const int count = Corners(polygon, projection, visible, corners);
        if (count < 3)
            continue;
        double at[4];
        int lowBand = scale.Bands(), highBand = -1;
        for (int k = 0; k < count; ++k) {
            at[k] = values[static_cast<size_t>(polygon[static_cast<size_t>(k)])];
            const int band = scale.BandOf(at[k]);
            lowBand = std::min(lowBand, band);
            highBand = std::max(highBand, band);
        }
        // Most elements of a fine mesh lie in one band: one fill with its outline (a
        // quadrilateral seen from aside need not be convex on the screen). Points far out of
        // the window go through the bands, which cut them to what the painter can hold.
        const bool near = std::all_of(corners, corners + count,
                                      [&room](const QPointF& p) { return room.contains(p); });
        const double light = shade ? 0.72 + 0.28 * projection.Facing(e) : 1;
        const auto colour = [&](int band) {
            const QColor c = scale.ColourOf(band);
            return shade ? QColor::fromRgbF(float(c.redF() * light), float(c.greenF() * light),
                                            float(c.blueF() * light))
                         : c;
        };
        if (lowBand == highBand && near) {
            painter.setBrush(colour(lowBand));
            FillAndOutline(painter, corners, count, edgePen, SeamOf(seams, e));
            continue;
        }
        bands.Clear();
        bands.AddPolygon(corners, at, count);
        painter.setPen(Qt::NoPen);
        for (int band = lowBand; band <= highBand; ++band) {
            const ContourBands::Band& b = bands.Bands()[static_cast<size_t>(band)];
            if (b.Sizes.empty())
                continue;
            painter.setBrush(colour(band));
            size_t first = 0;
            for (int size : b.Sizes) {
                painter.drawConvexPolygon(b.Points.data() + first, size);
                first += static_cast<size_t>(size);
            }
        }
        if (edges && near) {
            painter.setPen(edgePen);
            Outline(painter, corners, count, SeamOf(seams, e));
        }
    }
}
