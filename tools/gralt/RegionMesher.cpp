#include "RegionMesher.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

double Cross(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}

double SignedArea(const std::array<QPointF, 4>& c) {
    double area = 0;
    for (int i = 0; i < 4; ++i)
        area += Cross(c[i], c[(i + 1) % 4]);
    return area / 2;
}

// Whether segments ab and cd cross in their interiors.
bool Cross(const QPointF& a, const QPointF& b, const QPointF& c, const QPointF& d) {
    const double d1 = Cross(b - a, c - a), d2 = Cross(b - a, d - a);
    const double d3 = Cross(d - c, a - c), d4 = Cross(d - c, b - c);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

QPointF Bilinear(const std::array<QPointF, 4>& c, double s, double t) {
    return c[0] * ((1 - s) * (1 - t)) + c[1] * (s * (1 - t)) + c[2] * (s * t) +
           c[3] * ((1 - s) * t);
}

// Finds nodes by position: points within `tolerance` of each other are one node.
class NodeIndex {
public:
    explicit NodeIndex(double tolerance) : tolerance_(tolerance) {}

    int Find(const QPointF& point, std::vector<QPointF>& nodes) {
        const long long cx = Cell(point.x()), cy = Cell(point.y());
        for (long long dx = -1; dx <= 1; ++dx) {
            for (long long dy = -1; dy <= 1; ++dy) {
                const auto found = cells_.find(Key(cx + dx, cy + dy));
                if (found == cells_.end())
                    continue;
                for (int node : found->second) {
                    const QPointF d = nodes[static_cast<size_t>(node - 1)] - point;
                    if (std::abs(d.x()) <= tolerance_ && std::abs(d.y()) <= tolerance_)
                        return node;
                }
            }
        }
        nodes.push_back(point);
        const int node = static_cast<int>(nodes.size());
        cells_[Key(cx, cy)].push_back(node);
        return node;
    }

private:
    long long Cell(double value) const { return std::llround(value / (tolerance_ * 4)); }
    static long long Key(long long x, long long y) { return x * 73856093LL ^ y * 19349663LL; }

    double tolerance_;
    std::unordered_map<long long, std::vector<int>> cells_;
};

bool Same(const QPointF& a, const QPointF& b, double tolerance) {
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

} // namespace

QString RegionMesher::Validate(const MeshRegion& region) {
    if (region.Divisions12 < 1 || region.Divisions23 < 1 || region.Divisions12 > MaxDivisions ||
        region.Divisions23 > MaxDivisions)
        return QStringLiteral("the divisions must be whole numbers from 1 to %1").arg(MaxDivisions);
    if (region.Material < 1 || region.Section < 1)
        return QStringLiteral("material and section are item numbers, 1 or more");
    for (const QPointF& corner : region.Corners) {
        if (!std::isfinite(corner.x()) || !std::isfinite(corner.y()))
            return QStringLiteral("a corner is not a number");
    }
    const auto& c = region.Corners;
    if (Cross(c[0], c[1], c[2], c[3]) || Cross(c[1], c[2], c[3], c[0]))
        return QStringLiteral("its sides cross; give the corners in order around the region");
    double size = 0;
    for (int i = 0; i < 4; ++i)
        size = std::max(size,
                        std::hypot(c[i].x() - c[(i + 1) % 4].x(), c[i].y() - c[(i + 1) % 4].y()));
    if (std::abs(SignedArea(c)) <= 1e-9 * size * size)
        return QStringLiteral("it has no area");
    // A reflex corner would fold the bilinear mesh over itself.
    const double sign = SignedArea(c) > 0 ? 1 : -1;
    for (int i = 0; i < 4; ++i) {
        if (sign * Cross(c[(i + 1) % 4] - c[i], c[(i + 2) % 4] - c[(i + 1) % 4]) <= 0)
            return QStringLiteral("it is not convex at corner %1").arg((i + 1) % 4 + 1);
    }
    return {};
}

RegionMesher::Result RegionMesher::Build(const std::vector<MeshRegion>& regions) {
    Result result;
    if (regions.empty()) {
        result.Error = QStringLiteral("there is no region to mesh");
        return result;
    }
    double extent = 0;
    long long points = 0;
    for (size_t r = 0; r < regions.size(); ++r) {
        const QString error = Validate(regions[r]);
        if (!error.isEmpty()) {
            result.Error = QStringLiteral("Region %1: %2").arg(r + 1).arg(error);
            return result;
        }
        for (const QPointF& corner : regions[r].Corners)
            extent = std::max({extent, std::abs(corner.x()), std::abs(corner.y())});
        points += (regions[r].Divisions12 + 1LL) * (regions[r].Divisions23 + 1LL);
    }
    if (points > MaxNodes) {
        result.Error = QStringLiteral("the regions would make about %1 nodes; at most %2")
                           .arg(points)
                           .arg(MaxNodes);
        return result;
    }
    const double tolerance = std::max(extent, 1.0) * 1e-6;
    // Shared edges must be divided alike on both sides.
    for (size_t a = 0; a < regions.size(); ++a) {
        for (size_t b = a + 1; b < regions.size(); ++b) {
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j) {
                    const auto& p = regions[a].Corners;
                    const auto& q = regions[b].Corners;
                    const bool shared = (Same(p[i], q[j], tolerance) &&
                                         Same(p[(i + 1) % 4], q[(j + 1) % 4], tolerance)) ||
                                        (Same(p[i], q[(j + 1) % 4], tolerance) &&
                                         Same(p[(i + 1) % 4], q[j], tolerance));
                    const int da = i % 2 == 0 ? regions[a].Divisions12 : regions[a].Divisions23;
                    const int db = j % 2 == 0 ? regions[b].Divisions12 : regions[b].Divisions23;
                    if (shared && da != db) {
                        result.Error = QStringLiteral("Regions %1 and %2 share an edge but divide "
                                                      "it into %3 and %4 parts")
                                           .arg(a + 1)
                                           .arg(b + 1)
                                           .arg(da)
                                           .arg(db);
                        return result;
                    }
                }
            }
        }
    }

    Mesh& mesh = result.Mesh_;
    NodeIndex index(tolerance);
    for (const MeshRegion& region : regions) {
        const int n = region.Divisions12, m = region.Divisions23;
        std::vector<int> grid(static_cast<size_t>((n + 1) * (m + 1)));
        for (int j = 0; j <= m; ++j) {
            for (int i = 0; i <= n; ++i)
                grid[static_cast<size_t>(j * (n + 1) + i)] =
                    index.Find(Bilinear(region.Corners, double(i) / n, double(j) / m), mesh.Nodes);
        }
        const bool clockwise = SignedArea(region.Corners) < 0;
        for (int j = 0; j < m; ++j) {
            for (int i = 0; i < n; ++i) {
                const auto at = [&](int di, int dj) {
                    return grid[static_cast<size_t>((j + dj) * (n + 1) + i + di)];
                };
                Mesh::Element element{
                    {at(0, 0), at(1, 0), at(1, 1), at(0, 1)}, region.Material, region.Section};
                if (clockwise)
                    std::swap(element.Corners[1], element.Corners[3]);
                mesh.Elements.push_back(element);
            }
        }
    }
    result.Ok = true;
    return result;
}
