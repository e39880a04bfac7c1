#include "RegionMesher.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

namespace {

double Cross(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}

// Taken from the first corner, so that regions far from the origin lose no digits.
double SignedArea(const std::array<QPointF, 4>& c) {
    double area = 0;
    for (int i = 1; i < 3; ++i)
        area += Cross(c[i] - c[0], c[i + 1] - c[0]);
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

// A hash of a cell of a grid; unsigned, so that far cells wrap instead of overflowing.
long long CellKey(long long x, long long y) {
    return static_cast<long long>(static_cast<unsigned long long>(x) * 73856093ULL ^
                                  static_cast<unsigned long long>(y) * 19349663ULL);
}

// Finds nodes by position: points within `tolerance` of each other are one node. Nodes are
// kept in cells four tolerances wide, each cell a chain through `next_`.
class NodeIndex {
public:
    NodeIndex(double tolerance, size_t points) : tolerance_(tolerance) {
        cells_.reserve(points);
        next_.reserve(points + 1);
        next_.push_back(0);
    }

    int Find(const QPointF& point, std::vector<QPointF>& nodes) {
        const long long cx = Cell(point.x()), cy = Cell(point.y());
        for (long long dx = -1; dx <= 1; ++dx) {
            for (long long dy = -1; dy <= 1; ++dy) {
                const auto found = cells_.find(Key(cx + dx, cy + dy));
                if (found == cells_.end())
                    continue;
                for (int node = found->second; node != 0; node = next_[size_t(node)]) {
                    const QPointF d = nodes[static_cast<size_t>(node - 1)] - point;
                    if (std::abs(d.x()) <= tolerance_ && std::abs(d.y()) <= tolerance_)
                        return node;
                }
            }
        }
        nodes.push_back(point);
        const int node = static_cast<int>(nodes.size());
        int& head = cells_[Key(cx, cy)];
        next_.push_back(head);
        head = node;
        return node;
    }

private:
    long long Cell(double value) const { return std::llround(value / (tolerance_ * 4)); }
    static long long Key(long long x, long long y) { return CellKey(x, y); }

    double tolerance_;
    std::unordered_map<long long, int> cells_; // the last node put into each cell
    std::vector<int> next_;                    // the node put into the same cell before it
};

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

namespace {

long long EdgeKey(int a, int b) {
    return (static_cast<long long>(std::min(a, b)) << 32) | std::max(a, b);
}

// The shortest distance between neighbouring points of the regions' grids: the sides divided
// by their numbers of parts.
double SmallestSpacing(const std::vector<MeshRegion>& regions) {
    double smallest = std::numeric_limits<double>::infinity();
    for (const MeshRegion& region : regions) {
        const auto& c = region.Corners;
        const auto length = [](const QPointF& a, const QPointF& b) {
            return std::hypot(a.x() - b.x(), a.y() - b.y());
        };
        smallest = std::min({smallest, length(c[0], c[1]) / region.Divisions12,
                             length(c[3], c[2]) / region.Divisions12,
                             length(c[1], c[2]) / region.Divisions23,
                             length(c[0], c[3]) / region.Divisions23});
    }
    return smallest;
}

// A node that lies on an edge of the mesh's boundary between the edge's ends is a hanging
// node: the elements on either side do not share that edge, and the mesh has a crack there.
// Returns the node and the edge's element, or node 0.
struct Hanging {
    int Node = 0;
    int Element = 0;
};

Hanging FindHangingNode(const Mesh& mesh, double tolerance) {
    std::unordered_map<long long, int> uses;
    uses.reserve(mesh.Elements.size() * 4);
    for (const Mesh::Element& element : mesh.Elements) {
        for (int i = 0; i < 4; ++i)
            ++uses[EdgeKey(element.Corners[i], element.Corners[(i + 1) % 4])];
    }
    struct Edge {
        int A, B, Element;
    };
    std::vector<Edge> boundary;
    double total = 0;
    for (size_t e = 0; e < mesh.Elements.size(); ++e) {
        const auto& corners = mesh.Elements[e].Corners;
        for (int i = 0; i < 4; ++i) {
            const int a = corners[i], b = corners[(i + 1) % 4];
            if (uses[EdgeKey(a, b)] != 1)
                continue;
            boundary.push_back({a, b, static_cast<int>(e)});
            const QPointF d = mesh.Nodes[size_t(b - 1)] - mesh.Nodes[size_t(a - 1)];
            total += std::hypot(d.x(), d.y());
        }
    }
    if (boundary.empty())
        return {};
    // Boundary nodes in cells about one boundary edge wide.
    const double cell = std::max(total / double(boundary.size()), tolerance * 4);
    const auto index = [cell](double value) {
        return static_cast<long long>(std::floor(value / cell));
    };
    std::unordered_map<long long, std::vector<int>> cells;
    std::vector<char> seen(mesh.Nodes.size() + 1, 0);
    for (const Edge& edge : boundary) {
        for (int node : {edge.A, edge.B}) {
            if (seen[size_t(node)])
                continue;
            seen[size_t(node)] = 1;
            const QPointF& p = mesh.Nodes[size_t(node - 1)];
            cells[CellKey(index(p.x()), index(p.y()))].push_back(node);
        }
    }
    for (const Edge& edge : boundary) {
        const QPointF p = mesh.Nodes[size_t(edge.A - 1)], q = mesh.Nodes[size_t(edge.B - 1)];
        const QPointF d = q - p;
        const double length = std::hypot(d.x(), d.y());
        // Column by column, only the cells the edge passes (widened by the tolerance), so that
        // a long edge costs its length in cells, not their square.
        const double left = std::min(p.x(), q.x()), right = std::max(p.x(), q.x());
        const double bottom = std::min(p.y(), q.y()), top = std::max(p.y(), q.y());
        const auto yAt = [&](double x) {
            return d.x() == 0 ? p.y() : p.y() + (x - p.x()) * d.y() / d.x();
        };
        for (long long x = index(left - tolerance); x <= index(right + tolerance); ++x) {
            const double from = std::max(double(x) * cell - tolerance, left);
            const double to = std::min(double(x + 1) * cell + tolerance, right);
            double low = std::min(yAt(from), yAt(to)), high = std::max(yAt(from), yAt(to));
            if (d.x() == 0 || from > to) {
                low = bottom;
                high = top;
            }
            low = std::max(low, bottom) - tolerance;
            high = std::min(high, top) + tolerance;
            for (long long y = index(low); y <= index(high); ++y) {
                const auto found = cells.find(CellKey(x, y));
                if (found == cells.end())
                    continue;
                for (int node : found->second) {
                    if (node == edge.A || node == edge.B)
                        continue;
                    const QPointF r = mesh.Nodes[size_t(node - 1)] - p;
                    const double along = (r.x() * d.x() + r.y() * d.y()) / length;
                    const double across = std::abs(Cross(d, r)) / length;
                    if (across <= tolerance && along > tolerance && along < length - tolerance)
                        return {node, edge.Element};
                }
            }
        }
    }
    return {};
}

// Whether two convex regions cover a common area: no side of either separates them by more
// than `tolerance` (regions that touch along a side or at a corner do not overlap).
bool Overlap(const MeshRegion& a, const MeshRegion& b, double tolerance) {
    for (const MeshRegion* region : {&a, &b}) {
        for (int i = 0; i < 4; ++i) {
            const QPointF side = region->Corners[(i + 1) % 4] - region->Corners[i];
            const QPointF normal(-side.y(), side.x());
            const double length = std::hypot(normal.x(), normal.y());
            const auto extent = [&](const MeshRegion& r) {
                double low = std::numeric_limits<double>::infinity(), high = -low;
                for (const QPointF& corner : r.Corners) {
                    const QPointF d = corner - region->Corners[i];
                    const double along = (d.x() * normal.x() + d.y() * normal.y()) / length;
                    low = std::min(low, along);
                    high = std::max(high, along);
                }
                return std::pair{low, high};
            };
            const auto [lowA, highA] = extent(a);
            const auto [lowB, highB] = extent(b);
            if (std::min(highA, highB) - std::max(lowA, lowB) <= tolerance)
                return false;
        }
    }
    return true;
}

// The first pair of regions (in their order) that overlap, or none. Regions are sorted into
// cells about as large as an average region, so only neighbours are compared.
std::optional<std::pair<size_t, size_t>> FindOverlap(const std::vector<MeshRegion>& regions,
                                                     double tolerance) {
    std::vector<QRectF> boxes;
    double sizes = 0;
    for (const MeshRegion& region : regions) {
        QPointF low = region.Corners[0], high = low;
        for (const QPointF& corner : region.Corners) {
            low = QPointF(std::min(low.x(), corner.x()), std::min(low.y(), corner.y()));
            high = QPointF(std::max(high.x(), corner.x()), std::max(high.y(), corner.y()));
        }
        boxes.emplace_back(low, high);
        sizes += std::max(high.x() - low.x(), high.y() - low.y());
    }
    const double cell = sizes / double(regions.size());
    const auto index = [cell](double value) {
        return static_cast<long long>(std::floor(value / cell));
    };
    // A region that would fill very many cells is compared with every other one instead.
    constexpr long long MaxCells = 256;
    std::unordered_map<long long, std::vector<size_t>> cells;
    std::vector<size_t> large;
    for (size_t r = 0; r < regions.size(); ++r) {
        const QRectF& box = boxes[r];
        const long long x0 = index(box.left()), x1 = index(box.right());
        const long long y0 = index(box.top()), y1 = index(box.bottom());
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > MaxCells) {
            large.push_back(r);
            continue;
        }
        for (long long x = x0; x <= x1; ++x) {
            for (long long y = y0; y <= y1; ++y)
                cells[CellKey(x, y)].push_back(r);
        }
    }
    std::optional<std::pair<size_t, size_t>> first;
    const auto consider = [&](size_t a, size_t b) {
        if (a == b)
            return;
        const auto pair = std::minmax(a, b);
        if (first && std::pair(pair.first, pair.second) >= *first)
            return;
        if (boxes[a].adjusted(-tolerance, -tolerance, tolerance, tolerance).intersects(boxes[b]) &&
            Overlap(regions[a], regions[b], tolerance))
            first = std::pair(pair.first, pair.second);
    };
    for (const auto& [key, members] : cells) {
        for (size_t i = 0; i < members.size(); ++i) {
            for (size_t j = i + 1; j < members.size(); ++j)
                consider(members[i], members[j]);
        }
    }
    for (size_t big : large) {
        for (size_t r = 0; r < regions.size(); ++r)
            consider(big, r);
    }
    return first;
}

} // namespace

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
    // Points closer than a thousandth of the finest spacing are one node, wherever the
    // regions lie; a spacing that the coordinates' digits cannot tell apart is refused.
    const double spacing = SmallestSpacing(regions);
    if (spacing < extent * 1e-9) {
        result.Error = QStringLiteral("elements %1 wide are too small for coordinates as large as "
                                      "%2; move the regions nearer to the origin")
                           .arg(spacing)
                           .arg(extent);
        return result;
    }
    const double tolerance = spacing * 1e-3;
    // Regions on top of one another would give elements that overlap, each carrying its own
    // stiffness: a model stiffer than the structure.
    if (const auto overlap = FindOverlap(regions, tolerance)) {
        result.Error = QStringLiteral("Regions %1 and %2 overlap; regions must not cover one "
                                      "another")
                           .arg(overlap->first + 1)
                           .arg(overlap->second + 1);
        return result;
    }

    Mesh& mesh = result.Mesh_;
    result.SideStarts.reserve(regions.size() * 4 + 1);
    result.SideStarts.push_back(0);
    long long sidePoints = 0;
    for (const MeshRegion& region : regions)
        sidePoints += 2LL * (region.Divisions12 + region.Divisions23 + 2);
    result.SideNodeList.reserve(static_cast<size_t>(sidePoints));
    NodeIndex index(tolerance, static_cast<size_t>(points));
    std::vector<int> nodeRegion{-1}; // the region that made each node, from node 1
    std::unordered_map<long long, std::pair<size_t, int>> sides; // region and parts of a side
    for (size_t r = 0; r < regions.size(); ++r) {
        const MeshRegion& region = regions[r];
        const int n = region.Divisions12, m = region.Divisions23;
        std::vector<int> grid(static_cast<size_t>((n + 1) * (m + 1)));
        for (int j = 0; j <= m; ++j) {
            for (int i = 0; i <= n; ++i) {
                const int node =
                    index.Find(Bilinear(region.Corners, double(i) / n, double(j) / m), mesh.Nodes);
                if (node == static_cast<int>(nodeRegion.size()))
                    nodeRegion.push_back(static_cast<int>(r));
                grid[static_cast<size_t>(j * (n + 1) + i)] = node;
            }
        }
        // Shared sides must be divided alike on both sides.
        const int corners[4] = {grid[0], grid[size_t(n)], grid[size_t(m * (n + 1) + n)],
                                grid[size_t(m * (n + 1))]};
        for (int i = 0; i < 4; ++i) {
            const int parts = i % 2 == 0 ? n : m;
            const auto [known, added] =
                sides.try_emplace(EdgeKey(corners[i], corners[(i + 1) % 4]), r, parts);
            if (!added && known->second.second != parts) {
                result.Error = QStringLiteral("Regions %1 and %2 share an edge but divide it into "
                                              "%3 and %4 parts")
                                   .arg(known->second.first + 1)
                                   .arg(r + 1)
                                   .arg(known->second.second)
                                   .arg(parts);
                result.Mesh_ = {};
                result.SideNodeList.clear();
                result.SideStarts.clear();
                return result;
            }
        }
        std::vector<int>& sides = result.SideNodeList;
        for (int i = 0; i <= n; ++i)
            sides.push_back(grid[size_t(i)]);
        result.SideStarts.push_back(sides.size());
        for (int j = 0; j <= m; ++j)
            sides.push_back(grid[size_t(j * (n + 1) + n)]);
        result.SideStarts.push_back(sides.size());
        for (int i = n; i >= 0; --i)
            sides.push_back(grid[size_t(m * (n + 1) + i)]);
        result.SideStarts.push_back(sides.size());
        for (int j = m; j >= 0; --j)
            sides.push_back(grid[size_t(j * (n + 1))]);
        result.SideStarts.push_back(sides.size());
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
        result.ElementRegion.insert(result.ElementRegion.end(), size_t(n) * size_t(m),
                                    static_cast<int>(r));
    }
    const Hanging hanging = FindHangingNode(mesh, tolerance);
    if (hanging.Node > 0) {
        const int side = result.ElementRegion[size_t(hanging.Element)];
        const int other = nodeRegion[size_t(hanging.Node)];
        const QPointF& at = mesh.Nodes[size_t(hanging.Node - 1)];
        result.Error = QStringLiteral("Regions %1 and %2 share only part of an edge: the point "
                                      "(%3, %4) lies on a side of region %5 between its nodes, "
                                      "which would leave a crack; regions must meet along whole "
                                      "edges")
                           .arg(std::min(side, other) + 1)
                           .arg(std::max(side, other) + 1)
                           .arg(at.x())
                           .arg(at.y())
                           .arg(side + 1);
        result.Mesh_ = {};
        result.ElementRegion.clear();
        result.SideNodeList.clear();
        result.SideStarts.clear();
        return result;
    }
    result.Ok = true;
    return result;
}
