#include "SolidSurface.h"

#include <algorithm>
#include <cstdint>

namespace {

using Point = SolidSurface::Point;

// A face by its corners, sorted: the same for both elements that share it, whatever order
// each names them in.
using Key = std::array<int, 4>;

Key KeyOf(const std::array<int, 4>& face) {
    Key key = face;
    const int count = key[3] < 0 ? 3 : 4;
    std::sort(key.begin(), key.begin() + count);
    return key;
}

uint64_t HashOf(const Key& key) {
    uint64_t h = 1469598103934665603ull;
    for (int k : key) {
        h ^= static_cast<uint64_t>(static_cast<uint32_t>(k));
        h *= 1099511628211ull;
        h ^= h >> 29;
    }
    return h;
}

// An open-addressing table of the faces met so far and how often: a mesh of hundreds of
// thousands of elements has millions of faces, and a node-based map would allocate for
// each of them.
class FaceTable {
public:
    explicit FaceTable(size_t faces) {
        size_t capacity = 16;
        while (capacity < 2 * faces)
            capacity *= 2;
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
    }
    // Counts one more element at the face; returns its slot.
    size_t Add(const Key& key, int face) {
        size_t at = HashOf(key) & mask_;
        while (slots_[at].Face >= 0 && slots_[at].Sorted != key)
            at = (at + 1) & mask_;
        Slot& slot = slots_[at];
        if (slot.Face < 0) {
            slot.Sorted = key;
            slot.Face = face;
        }
        ++slot.Count;
        return at;
    }
    int Count(size_t slot) const { return slots_[slot].Count; }

private:
    struct Slot {
        Key Sorted{};
        int Face = -1;
        int Count = 0;
    };
    std::vector<Slot> slots_;
    size_t mask_ = 0;
};

std::array<double, 3> Minus(const Point& a, const Point& b) {
    return {double(a[0]) - b[0], double(a[1]) - b[1], double(a[2]) - b[2]};
}

} // namespace

int SolidSurface::CornersOf(const Corners& element) {
    int count = 0;
    while (count < 8 && element[static_cast<size_t>(count)] >= 0)
        ++count;
    return count == 8 || count == 6 || count == 4 ? count : 0;
}

const std::vector<std::array<int, 4>>& SolidSurface::LocalFaces(int corners) {
    static const std::vector<std::array<int, 4>> brick{{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                       {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    static const std::vector<std::array<int, 4>> wedge{
        {0, 1, 2, -1}, {3, 4, 5, -1}, {0, 1, 4, 3}, {1, 2, 5, 4}, {2, 0, 3, 5}};
    static const std::vector<std::array<int, 4>> tetrahedron{
        {0, 1, 2, -1}, {0, 1, 3, -1}, {1, 2, 3, -1}, {0, 2, 3, -1}};
    static const std::vector<std::array<int, 4>> none;
    return corners == 8 ? brick : corners == 6 ? wedge : corners == 4 ? tetrahedron : none;
}

SolidSurface SolidSurface::Of(const std::vector<Point>& nodes,
                              const std::vector<Corners>& elements) {
    // Every face of every element, then those met once.
    std::vector<std::array<int, 4>> all;
    std::vector<int> owners;
    all.reserve(elements.size() * 6);
    owners.reserve(elements.size() * 6);
    for (size_t e = 0; e < elements.size(); ++e) {
        const Corners& element = elements[e];
        const int corners = CornersOf(element);
        const bool inside = std::all_of(element.begin(), element.begin() + corners, [&](int n) {
            return static_cast<size_t>(n) < nodes.size();
        });
        if (!inside)
            continue;
        for (const std::array<int, 4>& local : LocalFaces(corners)) {
            std::array<int, 4> face{-1, -1, -1, -1};
            for (size_t k = 0; k < 4 && local[k] >= 0; ++k)
                face[k] = element[static_cast<size_t>(local[k])];
            all.push_back(face);
            owners.push_back(static_cast<int>(e));
        }
    }
    FaceTable table(all.size());
    std::vector<size_t> slots(all.size());
    for (size_t f = 0; f < all.size(); ++f)
        slots[f] = table.Add(KeyOf(all[f]), static_cast<int>(f));

    SolidSurface surface;
    for (size_t f = 0; f < all.size(); ++f) {
        if (table.Count(slots[f]) != 1)
            continue;
        std::array<int, 4> face = all[f];
        const Corners& element = elements[static_cast<size_t>(owners[f])];
        const int corners = CornersOf(element);
        const int count = face[3] < 0 ? 3 : 4;
        // Outwards: the face's normal points away from its element's centre. The corners'
        // order in the data decides nothing, so a mirrored element is drawn as well.
        std::array<double, 3> centre{0, 0, 0}, middle{0, 0, 0};
        for (int k = 0; k < corners; ++k) {
            for (size_t a = 0; a < 3; ++a)
                centre[a] += nodes[static_cast<size_t>(element[static_cast<size_t>(k)])][a];
        }
        for (int k = 0; k < count; ++k) {
            for (size_t a = 0; a < 3; ++a)
                middle[a] += nodes[static_cast<size_t>(face[static_cast<size_t>(k)])][a];
        }
        const auto at = [&](int k) { return nodes[static_cast<size_t>(face[size_t(k)])]; };
        const std::array<double, 3> u = count == 4 ? Minus(at(2), at(0)) : Minus(at(1), at(0));
        const std::array<double, 3> v = count == 4 ? Minus(at(3), at(1)) : Minus(at(2), at(0));
        const double normal[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                  u[0] * v[1] - u[1] * v[0]};
        double outwards = 0;
        for (size_t a = 0; a < 3; ++a)
            outwards += normal[a] * (middle[a] / count - centre[a] / corners);
        if (outwards < 0)
            std::reverse(face.begin(), face.begin() + count);
        surface.faces_.push_back(face);
        surface.elements_.push_back(owners[f]);
    }
    return surface;
}
