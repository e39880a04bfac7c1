#include "BarDiagram.h"

#include <algorithm>
#include <cmath>

double BarDiagram::At(double valueI, double valueJ, double bulge, double length, double xi) {
    return valueI * (1 - xi) + valueJ * xi + bulge * length * length * xi * (1 - xi) / 2;
}

std::optional<double> BarDiagram::ExtremeAt(double valueI, double valueJ, double bulge,
                                            double length) {
    const double curvature = bulge * length * length;
    if (curvature == 0 || !std::isfinite(curvature))
        return std::nullopt;
    // d/dxi: (vj - vi) + curvature (1 - 2 xi) / 2 = 0
    const double xi = 0.5 + (valueJ - valueI) / curvature;
    if (xi <= 1e-6 || xi >= 1 - 1e-6)
        return std::nullopt;
    return xi;
}

std::vector<BarDiagram::Station> BarDiagram::Stations(double valueI, double valueJ, double bulge,
                                                      double length, int count) {
    std::vector<Station> stations;
    stations.reserve(static_cast<size_t>(count) + 1);
    for (int k = 0; k <= count; ++k) {
        const double xi = double(k) / count;
        stations.push_back({xi, At(valueI, valueJ, bulge, length, xi)});
    }
    return WithZeros(stations);
}

std::vector<BarDiagram::Station> BarDiagram::WithZeros(const std::vector<Station>& stations) {
    std::vector<Station> all;
    all.reserve(stations.size() + 2);
    for (const Station& next : stations) {
        if (!all.empty()) {
            const Station& last = all.back();
            if ((last.Value < 0 && next.Value > 0) || (last.Value > 0 && next.Value < 0)) {
                // Linear between the stations: exact for a linear diagram.
                const double t = last.Value / (last.Value - next.Value);
                all.push_back({last.Xi + (next.Xi - last.Xi) * t, 0});
            }
        }
        all.push_back(next);
    }
    return all;
}

QPolygonF BarDiagram::Outline(const QPointF& start, const QPointF& end, const QPointF& side,
                              const std::vector<Station>& stations, bool positive) {
    QPolygonF outline;
    bool any = false;
    outline << start;
    for (const Station& s : stations) {
        const double value = positive ? std::max(0.0, s.Value) : std::min(0.0, s.Value);
        any = any || value != 0;
        outline << start + (end - start) * s.Xi + side * value;
    }
    outline << end;
    return any ? outline : QPolygonF();
}
