#include "ShellProjection.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>

ShellProjection::ShellProjection(const std::vector<ViewerModel::Point>& nodes,
                                 const std::vector<std::array<int, 4>>& polygons,
                                 const ViewCamera& camera) {
    screen_.resize(nodes.size());
    std::vector<double> depth(nodes.size());
    for (size_t n = 0; n < nodes.size(); ++n) {
        screen_[n] = camera.Project(nodes[n]);
        depth[n] = camera.Towards(nodes[n]); // larger nearer the viewer
    }
    const size_t elements = polygons.size();
    std::vector<double> centres(elements, 0);
    facing_.assign(elements, 0);
    order_.clear();
    order_.reserve(elements);
    for (size_t e = 0; e < elements; ++e) {
        const std::array<int, 4>& polygon = polygons[e];
        const int count = CornersOf(polygon);
        bool inside = count >= 3;
        for (int k = 0; k < count; ++k)
            inside = inside && static_cast<size_t>(polygon[static_cast<size_t>(k)]) < nodes.size();
        if (!inside)
            continue;
        double sum = 0;
        for (int k = 0; k < count; ++k)
            sum += depth[static_cast<size_t>(polygon[static_cast<size_t>(k)])];
        centres[e] = sum / count;
        // The normal from the diagonals (a quadrilateral need not be flat) or two sides.
        const auto at = [&](int k) { return nodes[static_cast<size_t>(polygon[size_t(k)])]; };
        const auto minus = [](const ViewerModel::Point& a, const ViewerModel::Point& b) {
            return std::array<double, 3>{double(a[0]) - b[0], double(a[1]) - b[1],
                                         double(a[2]) - b[2]};
        };
        const std::array<double, 3> u = count == 4 ? minus(at(2), at(0)) : minus(at(1), at(0));
        const std::array<double, 3> v = count == 4 ? minus(at(3), at(1)) : minus(at(2), at(0));
        const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                             u[0] * v[1] - u[1] * v[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0)
            facing_[e] = float(std::abs(camera.Towards(
                {float(n[0] / length), float(n[1] / length), float(n[2] / length)})));
        order_.push_back(static_cast<int>(e));
    }
    std::stable_sort(order_.begin(), order_.end(), [&centres](int a, int b) {
        return centres[static_cast<size_t>(a)] < centres[static_cast<size_t>(b)];
    });
}

int ShellProjection::CornersOf(const std::array<int, 4>& polygon) {
    int count = 0;
    while (count < 4 && polygon[static_cast<size_t>(count)] >= 0)
        ++count;
    return count;
}

int ShellProjection::ElementAt(const QPointF& point,
                               const std::vector<std::array<int, 4>>& polygons) const {
    for (auto e = order_.rbegin(); e != order_.rend(); ++e) {
        const std::array<int, 4>& polygon = polygons[static_cast<size_t>(*e)];
        QPolygonF outline;
        for (int k = 0; k < CornersOf(polygon); ++k)
            outline << screen_[static_cast<size_t>(polygon[static_cast<size_t>(k)])];
        if (outline.containsPoint(point, Qt::OddEvenFill))
            return *e;
    }
    return -1;
}
