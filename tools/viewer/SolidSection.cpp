#include "SolidSection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The edges of each kind of element, as positions among its corners.
const std::vector<std::array<int, 2>>& EdgesOf(int corners) {
    static const std::vector<std::array<int, 2>> brick{{0, 1}, {1, 2}, {2, 3}, {3, 0},
                                                       {4, 5}, {5, 6}, {6, 7}, {7, 4},
                                                       {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    static const std::vector<std::array<int, 2>> wedge{{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5},
                                                       {5, 3}, {0, 3}, {1, 4}, {2, 5}};
    static const std::vector<std::array<int, 2>> tetrahedron{{0, 1}, {1, 2}, {2, 0},
                                                             {0, 3}, {1, 3}, {2, 3}};
    static const std::vector<std::array<int, 2>> none;
    return corners == 8 ? brick : corners == 6 ? wedge : corners == 4 ? tetrahedron : none;
}

// Drops a vertex that repeats the one before it (a node on the plane reached along two
// edges); returns how many are left.
int Distinct(int* vertices, int count) {
    int kept = 0;
    for (int k = 0; k < count; ++k) {
        if (kept > 0 && vertices[kept - 1] == vertices[k])
            continue;
        vertices[kept++] = vertices[k];
    }
    while (kept > 1 && vertices[kept - 1] == vertices[0])
        --kept;
    return kept;
}

} // namespace

const std::vector<std::array<int, 4>>& SolidSection::Tetrahedra(int corners) {
    // A brick about its diagonal from n1 to n7: each tetrahedron holds the diagonal and one
    // edge of the ring n2 n3 n4 n8 n5 n6 round it.
    static const std::vector<std::array<int, 4>> brick{{0, 1, 2, 6}, {0, 2, 3, 6}, {0, 3, 7, 6},
                                                       {0, 7, 4, 6}, {0, 4, 5, 6}, {0, 5, 1, 6}};
    static const std::vector<std::array<int, 4>> wedge{{0, 1, 2, 3}, {1, 2, 3, 4}, {2, 3, 4, 5}};
    static const std::vector<std::array<int, 4>> tetrahedron{{0, 1, 2, 3}};
    static const std::vector<std::array<int, 4>> none;
    return corners == 8 ? brick : corners == 6 ? wedge : corners == 4 ? tetrahedron : none;
}

SolidSection::SolidSection(const std::vector<Point>& nodes,
                           const std::vector<SolidSurface::Corners>& elements,
                           const SolidSurface& surface, const SectionPlane& plane)
    : plane_(plane) {
    if (!plane.Active())
        return;
    // How far each node lies on the kept side; a node on the plane is kept.
    std::vector<double> side(nodes.size());
    const double sign = plane.KeepAbove ? 1 : -1;
    for (size_t n = 0; n < nodes.size(); ++n)
        side[n] = sign * (double(nodes[n][static_cast<size_t>(plane.Axis)]) - plane.At);
    nodeVertex_.assign(nodes.size(), -1);
    for (size_t e = 0; e < elements.size(); ++e) {
        const SolidSurface::Corners& element = elements[e];
        const int corners = SolidSurface::CornersOf(element);
        if (corners == 0 || !std::all_of(element.begin(), element.begin() + corners,
                                         [&](int n) { return size_t(n) < nodes.size(); }))
            continue;
        bool kept = false, hidden = false;
        for (int k = 0; k < corners; ++k)
            (side[size_t(element[size_t(k)])] >= 0 ? kept : hidden) = true;
        if (kept && hidden)
            CutElement(nodes, element, corners, static_cast<int>(e), side);
    }
    for (size_t f = 0; f < surface.Faces().size(); ++f)
        ClipFace(surface.Faces()[f], surface.Elements()[f], side);
    nodeVertex_ = {};
    edgeVertex_ = {};
}

int SolidSection::NodeVertex(int node) {
    int& vertex = nodeVertex_[static_cast<size_t>(node)];
    if (vertex < 0) {
        vertex = static_cast<int>(vertices_.size());
        vertices_.push_back({node, node, 0});
    }
    return vertex;
}

int SolidSection::EdgeVertex(int a, int b, double sa, double sb) {
    const double t = sa / (sa - sb);
    if (t <= 0)
        return NodeVertex(a);
    // One vertex for an edge, whichever element and direction reach it.
    const long long key = static_cast<long long>(std::min(a, b)) << 32 | std::max(a, b);
    const auto [at, added] = edgeVertex_.try_emplace(key, static_cast<int>(vertices_.size()));
    if (added)
        vertices_.push_back(Vertex{a, b, t}); // every element reaches it from its kept end
    return at->second;
}

void SolidSection::CutElement(const std::vector<Point>& nodes, const SolidSurface::Corners& element,
                              int corners, int index, const std::vector<double>& side) {
    const auto s = [&](int local) { return side[size_t(element[size_t(local)])]; };
    for (const std::array<int, 4>& tetrahedron : Tetrahedra(corners)) {
        int kept[4], hidden[4], keptCount = 0, hiddenCount = 0;
        for (int local : tetrahedron)
            (s(local) >= 0 ? kept[keptCount++] : hidden[hiddenCount++]) = local;
        if (keptCount == 0 || hiddenCount == 0)
            continue;
        const auto cross = [&](int k, int h) {
            return EdgeVertex(element[size_t(k)], element[size_t(h)], s(k), s(h));
        };
        int polygon[4];
        int count = 0;
        if (keptCount == 1 || hiddenCount == 1) {
            // One corner apart from the other three: a triangle.
            const bool lone = keptCount == 1;
            const int apart = lone ? kept[0] : hidden[0];
            const int* others = lone ? hidden : kept;
            for (int k = 0; k < 3; ++k)
                polygon[count++] = lone ? cross(apart, others[k]) : cross(others[k], apart);
        } else {
            // Two and two: the four crossed edges run round a quadrilateral.
            polygon[count++] = cross(kept[0], hidden[0]);
            polygon[count++] = cross(kept[0], hidden[1]);
            polygon[count++] = cross(kept[1], hidden[1]);
            polygon[count++] = cross(kept[1], hidden[0]);
        }
        count = Distinct(polygon, count);
        if (count < 3)
            continue;
        cut_.push_back({polygon[0], polygon[1], polygon[2], count == 4 ? polygon[3] : -1});
        cutElements_.push_back(index);
    }
    // The element's own outline on the plane: where the plane crosses its edges, in turn
    // about their middle (the section of a convex element is convex).
    std::vector<int> ring;
    for (const std::array<int, 2>& edge : EdgesOf(corners)) {
        const bool first = s(edge[0]) >= 0;
        if (first != (s(edge[1]) >= 0)) {
            const int k = first ? edge[0] : edge[1], h = first ? edge[1] : edge[0];
            ring.push_back(EdgeVertex(element[size_t(k)], element[size_t(h)], s(k), s(h)));
        }
    }
    std::sort(ring.begin(), ring.end());
    ring.erase(std::unique(ring.begin(), ring.end()), ring.end());
    if (ring.size() < 3)
        return;
    const size_t u = static_cast<size_t>(plane_.Axis + 1) % 3, v = (u + 1) % 3;
    std::vector<Point> at(ring.size());
    double mu = 0, mv = 0;
    for (size_t k = 0; k < ring.size(); ++k) {
        const Vertex& vertex = vertices_[size_t(ring[k])];
        for (size_t a = 0; a < 3; ++a)
            at[k][a] = float(nodes[size_t(vertex.A)][a] +
                             vertex.T * (nodes[size_t(vertex.B)][a] - nodes[size_t(vertex.A)][a]));
        mu += at[k][u] / double(ring.size());
        mv += at[k][v] / double(ring.size());
    }
    std::vector<std::pair<double, int>> turn;
    for (size_t k = 0; k < ring.size(); ++k)
        turn.push_back({std::atan2(at[k][v] - mv, at[k][u] - mu), ring[k]});
    std::sort(turn.begin(), turn.end());
    for (size_t k = 0; k < turn.size(); ++k)
        outline_.push_back({turn[k].second, turn[(k + 1) % turn.size()].second});
}

void SolidSection::ClipFace(const std::array<int, 4>& face, int element,
                            const std::vector<double>& side) {
    const int count = face[3] < 0 ? 3 : 4;
    int polygon[5];
    int size = 0;
    for (int k = 0; k < count; ++k) {
        const int a = face[size_t(k)], b = face[size_t((k + 1) % count)];
        const double sa = side[size_t(a)], sb = side[size_t(b)];
        if (sa >= 0)
            polygon[size++] = NodeVertex(a);
        if ((sa >= 0) != (sb >= 0))
            polygon[size++] = sa >= 0 ? EdgeVertex(a, b, sa, sb) : EdgeVertex(b, a, sb, sa);
    }
    size = Distinct(polygon, size);
    if (size < 3)
        return;
    // A quadrilateral with one corner cut off has five: a quadrilateral and a triangle.
    faces_.push_back({polygon[0], polygon[1], polygon[2], size >= 4 ? polygon[3] : -1});
    faceElements_.push_back(element);
    faceSeams_.push_back(size == 5 ? 3 : -1); // from polygon[3] back to polygon[0]
    if (size == 5) {
        faces_.push_back({polygon[0], polygon[3], polygon[4], -1});
        faceElements_.push_back(element);
        faceSeams_.push_back(0); // from polygon[0] to polygon[3]
    }
}

void SolidSection::Points(const std::vector<Point>& nodes, std::vector<Point>& points) const {
    points.resize(vertices_.size());
    for (size_t k = 0; k < vertices_.size(); ++k) {
        const Vertex& vertex = vertices_[k];
        const Point& a = nodes[size_t(vertex.A)];
        const Point& b = nodes[size_t(vertex.B)];
        for (size_t c = 0; c < 3; ++c)
            points[k][c] = float(a[c] + vertex.T * (b[c] - a[c]));
    }
}

std::vector<double> SolidSection::Values(const std::vector<double>& nodeValues) const {
    std::vector<double> values(vertices_.size(), 0);
    for (size_t k = 0; k < vertices_.size(); ++k) {
        const Vertex& vertex = vertices_[k];
        if (size_t(vertex.A) >= nodeValues.size() || size_t(vertex.B) >= nodeValues.size())
            continue;
        const double a = nodeValues[size_t(vertex.A)], b = nodeValues[size_t(vertex.B)];
        values[k] = a + vertex.T * (b - a);
    }
    return values;
}

int SolidSection::KeptNode(int vertex) const {
    return vertices_[static_cast<size_t>(vertex)].A;
}

std::array<double, 2> SolidSection::Range(const std::vector<Point>& nodes, int axis) {
    if (nodes.empty() || axis < 0 || axis > 2)
        return {0, 0};
    double low = std::numeric_limits<double>::max(), high = -low;
    for (const Point& p : nodes) {
        low = std::min(low, double(p[size_t(axis)]));
        high = std::max(high, double(p[size_t(axis)]));
    }
    return {low, high};
}
