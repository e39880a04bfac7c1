#include "ProfileContours.h"

#include <algorithm>
#include <unordered_map>

namespace {

long long EdgeKey(int a, int b) {
    return (static_cast<long long>(std::min(a, b)) << 32) | std::max(a, b);
}

// Twice the signed area of a closed loop, taken from its first node so that a profile far
// from the origin keeps its digits.
double DoubleArea(const Mesh& mesh, const std::vector<int>& loop) {
    const QPointF origin = mesh.Nodes[size_t(loop.front() - 1)];
    double area = 0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const QPointF a = mesh.Nodes[size_t(loop[i] - 1)] - origin;
        const QPointF b = mesh.Nodes[size_t(loop[(i + 1) % loop.size()] - 1)] - origin;
        area += a.x() * b.y() - a.y() * b.x();
    }
    return area;
}

} // namespace

ProfileContours::Result ProfileContours::Find(const Mesh& mesh) {
    Result result;
    std::unordered_map<long long, int> uses;
    uses.reserve(mesh.Elements.size() * 4);
    for (const Mesh::Element& element : mesh.Elements) {
        for (int i = 0; i < 4; ++i)
            ++uses[EdgeKey(element.Corners[i], element.Corners[(i + 1) % 4])];
    }
    // The boundary edges as the elements run along them: the profile lies on their left.
    std::unordered_multimap<int, int> next; // start node -> end node
    for (const Mesh::Element& element : mesh.Elements) {
        for (int i = 0; i < 4; ++i) {
            const int a = element.Corners[i], b = element.Corners[(i + 1) % 4];
            if (uses[EdgeKey(a, b)] == 1)
                next.emplace(a, b);
        }
    }
    if (next.empty()) {
        result.Error = QStringLiteral("the mesh has no boundary");
        return result;
    }
    std::vector<int> starts;
    for (const auto& [from, to] : next)
        starts.push_back(from);
    std::sort(starts.begin(), starts.end());
    std::vector<std::vector<int>> loops;
    for (int start : starts) {
        if (next.find(start) == next.end())
            continue; // its edges were walked already
        std::vector<int> loop;
        int node = start;
        do {
            const auto edge = next.find(node);
            if (edge == next.end()) {
                result.Error =
                    QStringLiteral("the boundary of the mesh is not closed at node %1").arg(node);
                return result;
            }
            loop.push_back(node);
            node = edge->second;
            next.erase(edge);
        } while (node != start);
        loops.push_back(std::move(loop)); // starts at its lowest node: starts are ascending
    }
    size_t outer = 0;
    std::vector<double> areas;
    for (size_t l = 0; l < loops.size(); ++l) {
        areas.push_back(DoubleArea(mesh, loops[l]));
        if (std::abs(areas[l]) > std::abs(areas[outer]))
            outer = l;
    }
    // With counter-clockwise elements, a hole runs clockwise; another counter-clockwise loop
    // is a second piece, and a profile in torsion is one piece.
    for (size_t l = 0; l < loops.size(); ++l) {
        if (l != outer && areas[l] > 0) {
            result.Error = QStringLiteral("the profile falls into separate pieces (one of them "
                                          "has node %1); a profile in torsion is one piece")
                               .arg(loops[l].front());
            return result;
        }
    }
    result.Contours.push_back(loops[outer]);
    for (size_t l = 0; l < loops.size(); ++l) {
        if (l != outer)
            result.Contours.push_back(loops[l]);
    }
    result.Ok = true;
    return result;
}
