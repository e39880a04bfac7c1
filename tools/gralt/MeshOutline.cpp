#include "MeshOutline.h"

#include "DataFileText.h"
#include "ItemLine.h"
#include "RegionMesher.h"
#include "ValueRule.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace MeshOutline {

namespace {

struct Element {
    std::array<int, 4> Corners{}; // the fourth 0 for a triangle
    int Material = 1;
    int Section = 1;
};

struct DataMesh {
    std::unordered_map<int, QPointF> Nodes;
    std::vector<Element> Elements;
};

std::optional<int> Whole(QStringView word) {
    double value = 0;
    if (!ValueRule::ParseWhole(word, value) || value < 0 || value > 1e9)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<DataMesh> Read(const QByteArray& bytes) {
    const DataFileText text = DataFileText::FromBytes(bytes);
    const DataFileText::Span nodes = text.Table(4), elements = text.Table(5);
    if (!nodes.Found() || !elements.Found())
        return std::nullopt;
    DataMesh mesh;
    for (int i = nodes.Header + 1; i < nodes.End; ++i) {
        if (!text.Line(i).startsWith(u'#'))
            continue;
        const ItemLine item = ItemLine::Parse(text.Line(i));
        double x = 0, y = 0;
        if (!item.Valid || item.Words.size() < 2 || !ValueRule::ParseReal(item.Words[0], x) ||
            !ValueRule::ParseReal(item.Words[1], y) || !std::isfinite(x) || !std::isfinite(y))
            return std::nullopt;
        mesh.Nodes[item.Number] = QPointF(x, y);
    }
    for (int i = elements.Header + 1; i < elements.End; ++i) {
        if (!text.Line(i).startsWith(u'#'))
            continue;
        const ItemLine item = ItemLine::Parse(text.Line(i));
        if (!item.Valid || item.Words.size() < 5)
            return std::nullopt;
        Element element;
        for (size_t c = 0; c < 4; ++c) {
            const std::optional<int> node = Whole(item.Words[c]);
            if (!node || (*node == 0 && c < 3) || (*node != 0 && !mesh.Nodes.contains(*node)))
                return std::nullopt;
            element.Corners[c] = *node;
        }
        const std::optional<int> material = Whole(item.Words[4]);
        const std::optional<int> section =
            item.Words.size() > 5 ? Whole(item.Words[5]) : std::optional<int>(1);
        element.Material = material && *material > 0 ? *material : 1;
        element.Section = section && *section > 0 ? *section : 1;
        mesh.Elements.push_back(element);
    }
    if (mesh.Elements.empty())
        return std::nullopt;
    return mesh;
}

int CornerCount(const Element& element) {
    return element.Corners[3] == 0 ? 3 : 4;
}

long long EdgeKey(int a, int b) {
    return (static_cast<long long>(std::min(a, b)) << 32) | std::max(a, b);
}

// The one region whose outline is the mesh's, when the mesh's boundary is one loop with four
// corners.
std::optional<MeshRegion> OneRegion(const DataMesh& mesh) {
    std::unordered_map<long long, int> uses;
    for (const Element& element : mesh.Elements) {
        const int n = CornerCount(element);
        for (int i = 0; i < n; ++i)
            ++uses[EdgeKey(element.Corners[i], element.Corners[(i + 1) % n])];
    }
    std::unordered_map<int, int> next; // the boundary, each node to the following one
    for (const Element& element : mesh.Elements) {
        const int n = CornerCount(element);
        for (int i = 0; i < n; ++i) {
            const int a = element.Corners[i], b = element.Corners[(i + 1) % n];
            if (uses[EdgeKey(a, b)] == 1 && !next.try_emplace(a, b).second)
                return std::nullopt; // two boundary edges leave one node: not one loop
        }
    }
    if (next.empty())
        return std::nullopt;
    std::vector<int> loop{next.begin()->first};
    while (loop.size() <= next.size()) {
        const auto found = next.find(loop.back());
        if (found == next.end())
            return std::nullopt;
        if (found->second == loop.front())
            break;
        loop.push_back(found->second);
    }
    if (loop.size() != next.size())
        return std::nullopt; // more than one loop: holes or separate parts
    std::vector<size_t> corners;
    const size_t n = loop.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF before = mesh.Nodes.at(loop[(i + n - 1) % n]);
        const QPointF at = mesh.Nodes.at(loop[i]);
        const QPointF after = mesh.Nodes.at(loop[(i + 1) % n]);
        const QPointF in = at - before, out = after - at;
        const double cross = in.x() * out.y() - in.y() * out.x();
        if (std::abs(cross) > 1e-6 * std::hypot(in.x(), in.y()) * std::hypot(out.x(), out.y()))
            corners.push_back(i);
    }
    if (corners.size() != 4)
        return std::nullopt;
    // The region starts at its lowest corner (the leftmost of the lowest), whatever node the
    // walk started from.
    const auto lower = [&](size_t a, size_t b) {
        const QPointF p = mesh.Nodes.at(loop[a]), q = mesh.Nodes.at(loop[b]);
        return p.y() < q.y() || (p.y() == q.y() && p.x() < q.x());
    };
    std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end(), lower),
                corners.end());
    const auto parts = [&](size_t from, size_t to) {
        return static_cast<int>((corners[to] + n - corners[from]) % n);
    };
    MeshRegion region;
    for (size_t c = 0; c < 4; ++c)
        region.Corners[c] = mesh.Nodes.at(loop[corners[c]]);
    region.Divisions12 = parts(0, 1);
    region.Divisions23 = parts(1, 2);
    region.Material = mesh.Elements.front().Material;
    region.Section = mesh.Elements.front().Section;
    if (!RegionMesher::Validate(region).isEmpty())
        return std::nullopt;
    return region;
}

// One region per element, so that the regions have the mesh's outline. A triangle cannot be a
// region: it becomes three, each from a corner to the middles of its sides and the centroid;
// the quadrilaterals are then divided in two each way, so that every edge of the mesh has a
// node at its middle on both sides.
std::vector<MeshRegion> RegionPerElement(const DataMesh& mesh, bool triangles) {
    std::vector<MeshRegion> regions;
    const auto add = [&](const std::array<QPointF, 4>& corners, int divisions,
                         const Element& element) {
        const MeshRegion region{corners, divisions, divisions, element.Material, element.Section};
        if (!RegionMesher::Validate(region).isEmpty())
            return false;
        regions.push_back(region);
        return true;
    };
    for (const Element& element : mesh.Elements) {
        const int n = CornerCount(element);
        std::array<QPointF, 4> c;
        for (int i = 0; i < n; ++i)
            c[size_t(i)] = mesh.Nodes.at(element.Corners[size_t(i)]);
        if (n == 4) {
            if (!add(c, triangles ? 2 : 1, element))
                return {};
            continue;
        }
        const QPointF centroid = (c[0] + c[1] + c[2]) / 3;
        for (size_t i = 0; i < 3; ++i) {
            const QPointF at = c[i], next = c[(i + 1) % 3], before = c[(i + 2) % 3];
            if (!add({at, (at + next) / 2, centroid, (at + before) / 2}, 1, element))
                return {};
        }
    }
    return regions;
}

std::vector<MeshRegion> Rectangle(const DataMesh& mesh) {
    QPointF low = mesh.Nodes.begin()->second, high = low;
    for (const auto& [number, node] : mesh.Nodes) {
        low = QPointF(std::min(low.x(), node.x()), std::min(low.y(), node.y()));
        high = QPointF(std::max(high.x(), node.x()), std::max(high.y(), node.y()));
    }
    const double width = high.x() - low.x(), height = high.y() - low.y();
    // Elements about as large as the file's: their number over the rectangle.
    const double side = std::sqrt(width * height / double(mesh.Elements.size()));
    const auto parts = [side](double length) {
        return side > 0 ? static_cast<int>(std::clamp(std::round(length / side), 1.0, 100.0)) : 1;
    };
    MeshRegion region{{low, QPointF(high.x(), low.y()), high, QPointF(low.x(), high.y())},
                      parts(width),
                      parts(height),
                      mesh.Elements.front().Material,
                      mesh.Elements.front().Section};
    if (!RegionMesher::Validate(region).isEmpty())
        return {};
    return {region};
}

} // namespace

Regions FromDataFile(const QByteArray& bytes) {
    const std::optional<DataMesh> mesh = Read(bytes);
    if (!mesh)
        return {};
    if (const std::optional<MeshRegion> region = OneRegion(*mesh))
        return {{*region}, true};
    // Regions of one element each stay within the points the mesher takes: four a region, nine
    // for a quadrilateral and twelve for a triangle once triangles make the mesh twice as fine.
    const auto triangleCount = std::count_if(mesh->Elements.begin(), mesh->Elements.end(),
                                             [](const Element& e) { return CornerCount(e) == 3; });
    const bool triangles = triangleCount > 0;
    const auto quadrilaterals = static_cast<long long>(mesh->Elements.size()) - triangleCount;
    const long long points =
        triangles ? 9 * quadrilaterals + 12 * triangleCount : 4 * quadrilaterals;
    if (points <= RegionMesher::MaxNodes) {
        std::vector<MeshRegion> regions = RegionPerElement(*mesh, triangles);
        if (!regions.empty())
            return {regions, true};
    }
    return {Rectangle(*mesh), false};
}

} // namespace MeshOutline
