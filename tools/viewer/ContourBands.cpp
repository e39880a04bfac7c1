#include "ContourBands.h"

#include <algorithm>
#include <cmath>

namespace {

// A corner of a piece: where it is and the field's value there.
struct Corner {
    QPointF At;
    double Value = 0;
};

// A triangle cut by two lines holds at most five corners; each cut adds one.
constexpr int MaxCorners = 8;

// The part of a convex polygon where value >= limit (above) or <= limit (not above).
int Clip(const Corner* in, int count, double limit, bool above, Corner* out) {
    int kept = 0;
    const auto inside = [&](const Corner& c) {
        return above ? c.Value >= limit : c.Value <= limit;
    };
    for (int k = 0; k < count; ++k) {
        const Corner& a = in[k];
        const Corner& b = in[(k + 1) % count];
        const bool aIn = inside(a), bIn = inside(b);
        if (aIn && kept < MaxCorners)
            out[kept++] = a;
        if (aIn != bIn && kept < MaxCorners) {
            const double t = (limit - a.Value) / (b.Value - a.Value);
            out[kept++] = {a.At + (b.At - a.At) * t, limit};
        }
    }
    return kept;
}

double PolygonArea(const QPointF* points, int count) {
    double twice = 0;
    for (int k = 0; k < count; ++k) {
        const QPointF& a = points[k];
        const QPointF& b = points[(k + 1) % count];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::abs(twice) / 2;
}

// Whether the corners of a quadrilateral turn one way all round.
bool Convex(const QPointF* corners) {
    int positive = 0, negative = 0;
    for (int k = 0; k < 4; ++k) {
        const QPointF a = corners[(k + 1) % 4] - corners[k];
        const QPointF b = corners[(k + 2) % 4] - corners[(k + 1) % 4];
        const double turn = a.x() * b.y() - a.y() * b.x();
        positive += turn > 0;
        negative += turn < 0;
    }
    return positive == 0 || negative == 0;
}

} // namespace

ContourBands::ContourBands(const ContourScale& scale)
    : scale_(scale), bands_(static_cast<size_t>(std::max(1, scale.Bands()))) {}

void ContourBands::Clear() {
    for (Band& band : bands_) {
        band.Points.clear();
        band.Sizes.clear();
    }
}

void ContourBands::Add(int band, const QPointF* points, int count) {
    if (count < 3)
        return;
    Band& b = bands_[static_cast<size_t>(band)];
    b.Points.insert(b.Points.end(), points, points + count);
    b.Sizes.push_back(count);
}

void ContourBands::AddTriangle(const std::array<QPointF, 3>& corners,
                               const std::array<double, 3>& values) {
    const auto [low, high] = std::minmax({values[0], values[1], values[2]});
    const int first = scale_.BandOf(low), last = scale_.BandOf(high);
    if (first == last) {
        Add(first, corners.data(), 3);
        return;
    }
    const std::vector<double>& limits = scale_.Limits();
    Corner triangle[3];
    for (int k = 0; k < 3; ++k)
        triangle[k] = {corners[static_cast<size_t>(k)], values[static_cast<size_t>(k)]};
    for (int band = first; band <= last; ++band) {
        // The slab of the band; the outer bands reach beyond the scale.
        Corner lower[MaxCorners], piece[MaxCorners];
        int count = 3;
        const Corner* from = triangle;
        if (band > first) {
            count = Clip(from, count, limits[static_cast<size_t>(band)], true, lower);
            from = lower;
        }
        if (band < last)
            count = Clip(from, count, limits[static_cast<size_t>(band) + 1], false, piece);
        else
            std::copy(from, from + count, piece);
        QPointF points[MaxCorners];
        for (int k = 0; k < count; ++k)
            points[k] = piece[k].At;
        Add(band, points, count);
    }
}

void ContourBands::AddPolygon(const QPointF* corners, const double* values, int count) {
    if (count == 3) {
        AddTriangle({corners[0], corners[1], corners[2]}, {values[0], values[1], values[2]});
        return;
    }
    if (count != 4)
        return;
    const int band = scale_.BandOf(values[0]);
    if (scale_.BandOf(values[1]) == band && scale_.BandOf(values[2]) == band &&
        scale_.BandOf(values[3]) == band && Convex(corners)) {
        // All in one band: the whole element at once, as most of a fine mesh is.
        Add(band, corners, 4);
        return;
    }
    const QPointF centre = (corners[0] + corners[1] + corners[2] + corners[3]) / 4;
    const double middle = (values[0] + values[1] + values[2] + values[3]) / 4;
    for (int k = 0; k < 4; ++k)
        AddTriangle({corners[k], corners[(k + 1) % 4], centre},
                    {values[k], values[(k + 1) % 4], middle});
}

double ContourBands::Area(int band) const {
    if (band < 0 || band >= static_cast<int>(bands_.size()))
        return 0;
    const Band& b = bands_[static_cast<size_t>(band)];
    double area = 0;
    size_t at = 0;
    for (int size : b.Sizes) {
        area += PolygonArea(b.Points.data() + at, size);
        at += static_cast<size_t>(size);
    }
    return area;
}
