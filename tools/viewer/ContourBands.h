#pragma once

#include "ContourScale.h"

#include <QPointF>
#include <QRectF>
#include <array>
#include <vector>

// Filled contours of a field known at the corners of triangles: the field is taken linear over
// each triangle, so the lines between bands are straight across it and each band's part of the
// triangle is a convex polygon. A quadrilateral is cut into four triangles about its centre,
// whose value is the mean of its corners'. The pieces of all elements are kept band by band
// as flat lists of points, to be filled with one colour each.
class ContourBands {
public:
    explicit ContourBands(const ContourScale& scale);
    // Pieces reaching further than `Room` beyond `clip` (the window) are cut to it, so that no
    // point is too far out for the painter; none is cut without a clip.
    static constexpr double Room = 4000;
    void SetClip(const QRectF& clip);

    // Adds the pieces of a triangle or of a quadrilateral (`count` 3 or 4 corners).
    void AddTriangle(const std::array<QPointF, 3>& corners, const std::array<double, 3>& values);
    void AddPolygon(const QPointF* corners, const double* values, int count);

    struct Band {
        std::vector<QPointF> Points; // the pieces one after the other
        std::vector<int> Sizes;      // the number of points of each piece
    };
    const std::vector<Band>& Bands() const { return bands_; }
    // The area of the pieces of one band, in the units of the points.
    double Area(int band) const;
    void Clear();

    // A corner of a piece: where it is and the field's value there.
    struct Corner {
        QPointF At;
        double Value = 0;
    };

private:
    void Add(int band, const QPointF* points, int count);
    // The pieces of a convex polygon over which the field is linear.
    void AddConvex(const Corner* polygon, int count);
    bool Reaches(const QPointF* points, int count) const;

    const ContourScale& scale_;
    std::vector<Band> bands_;
    QRectF clip_;
};
