#pragma once

#include "ContourScale.h"

#include <QPointF>
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

private:
    void Add(int band, const QPointF* points, int count);

    const ContourScale& scale_;
    std::vector<Band> bands_;
};
