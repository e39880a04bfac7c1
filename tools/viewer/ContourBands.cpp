#include "ContourBands.h"

#include <algorithm>
#include <cmath>

namespace {

// A triangle cut by the four sides of the window and the two limits of a band keeps at most
// nine corners; each cut adds one.
constexpr int MaxCorners = 12;

// The part of a convex polygon where `side` (linear over it) is 0 or more, its corners' values
// taken linearly along the cut edges.
template <typename Side>
int Clip(const ContourBands::Corner* in, int count, Side side, ContourBands::Corner* out) {
    int kept = 0;
    for (int k = 0; k < count; ++k) {
        const ContourBands::Corner& a = in[k];
        const ContourBands::Corner& b = in[(k + 1) % count];
        const double sa = side(a), sb = side(b);
        if (sa >= 0 && kept < MaxCorners)
            out[kept++] = a;
        if ((sa >= 0) != (sb >= 0) && kept < MaxCorners) {
            const double t = sa / (sa - sb);
            out[kept++] = {a.At + (b.At - a.At) * t, a.Value + (b.Value - a.Value) * t};
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

void ContourBands::SetClip(const QRectF& clip) {
    clip_ = clip;
}

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

bool ContourBands::Reaches(const QPointF* points, int count) const {
    if (clip_.isNull())
        return false;
    // Far beyond the window, where the painter's fixed-point numbers would not hold.
    const QRectF room = clip_.adjusted(-Room, -Room, Room, Room);
    return std::any_of(points, points + count,
                       [&room](const QPointF& p) { return !room.contains(p); });
}

void ContourBands::AddTriangle(const std::array<QPointF, 3>& corners,
                               const std::array<double, 3>& values) {
    Corner polygon[MaxCorners];
    for (int k = 0; k < 3; ++k)
        polygon[k] = {corners[static_cast<size_t>(k)], values[static_cast<size_t>(k)]};
    int count = 3;
    if (Reaches(corners.data(), 3)) {
        // Only what is in the window; the field stays linear over the rest.
        Corner cut[MaxCorners];
        const QRectF& r = clip_;
        count = Clip(
            polygon, count, [&r](const Corner& c) { return c.At.x() - r.left(); }, cut);
        count = Clip(
            cut, count, [&r](const Corner& c) { return r.right() - c.At.x(); }, polygon);
        count = Clip(
            polygon, count, [&r](const Corner& c) { return c.At.y() - r.top(); }, cut);
        count = Clip(
            cut, count, [&r](const Corner& c) { return r.bottom() - c.At.y(); }, polygon);
        if (count < 3)
            return;
    }
    AddConvex(polygon, count);
}

void ContourBands::AddConvex(const Corner* polygon, int count) {
    double low = polygon[0].Value, high = low;
    for (int k = 1; k < count; ++k) {
        low = std::min(low, polygon[k].Value);
        high = std::max(high, polygon[k].Value);
    }
    const int first = scale_.BandOf(low), last = scale_.BandOf(high);
    QPointF points[MaxCorners];
    if (first == last) {
        for (int k = 0; k < count; ++k)
            points[k] = polygon[k].At;
        Add(first, points, count);
        return;
    }
    const std::vector<double>& limits = scale_.Limits();
    for (int band = first; band <= last; ++band) {
        // The slab of the band; the outer bands reach beyond the scale.
        Corner lower[MaxCorners], piece[MaxCorners];
        int kept = count;
        const Corner* from = polygon;
        if (band > first) {
            const double limit = limits[static_cast<size_t>(band)];
            kept = Clip(
                from, kept, [limit](const Corner& c) { return c.Value - limit; }, lower);
            from = lower;
        }
        if (band < last) {
            const double limit = limits[static_cast<size_t>(band) + 1];
            kept = Clip(
                from, kept, [limit](const Corner& c) { return limit - c.Value; }, piece);
        } else {
            std::copy(from, from + kept, piece);
        }
        for (int k = 0; k < kept; ++k)
            points[k] = piece[k].At;
        Add(band, points, kept);
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
        scale_.BandOf(values[3]) == band && Convex(corners) && !Reaches(corners, 4)) {
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
