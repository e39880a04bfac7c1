#include "ElementCross.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double Cross(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}

} // namespace

double ElementCross::Reach(const QPolygonF& outline, const QPointF& from, const QPointF& unit) {
    if (outline.size() < 3 || !outline.containsPoint(from, Qt::OddEvenFill))
        return 0;
    double nearest = std::numeric_limits<double>::infinity();
    for (qsizetype k = 0; k < outline.size(); ++k) {
        const QPointF& p = outline[k];
        const QPointF edge = outline[(k + 1) % outline.size()] - p;
        const double denominator = Cross(unit, edge);
        if (std::abs(denominator) < 1e-12)
            continue; // parallel: the ray meets it at its ends, which the other edges give
        const QPointF offset = p - from;
        const double t = Cross(offset, edge) / denominator;
        const double s = Cross(offset, unit) / denominator;
        if (t >= 0 && s >= 0 && s <= 1)
            nearest = std::min(nearest, t);
    }
    return std::isfinite(nearest) ? nearest : 0;
}

double ElementCross::Fit(const QPolygonF& outline, const QPointF& centre, const QPointF& unit,
                         double along, double across) {
    double factor = 1;
    const QPointF square(-unit.y(), unit.x());
    for (const auto& [half, direction] : {std::pair{along, unit}, std::pair{across, square}}) {
        if (!(half > 0))
            continue;
        const double room =
            std::min(Reach(outline, centre, direction), Reach(outline, centre, -direction));
        factor = std::min(factor, std::max(0.0, room - Margin) / half);
    }
    return factor;
}
