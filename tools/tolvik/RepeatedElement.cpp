#include "RepeatedElement.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The most nodes an element has (a brick's).
constexpr size_t MostNodes = 8;

struct Key {
    std::array<int, MostNodes> Nodes{}; // ascending, the unused ones -1
    int Element = 0;
};

} // namespace

RepeatedElement::Pair
RepeatedElement::Find(size_t count, const std::function<std::span<const int>(size_t)>& nodesOf) {
    std::vector<Key> keys(count);
    for (size_t e = 0; e < count; ++e) {
        const std::span<const int> nodes = nodesOf(e);
        Key& key = keys[e];
        key.Nodes.fill(-1);
        std::copy_n(nodes.begin(), std::min(nodes.size(), MostNodes), key.Nodes.begin());
        std::sort(key.Nodes.begin(), key.Nodes.end());
        key.Element = static_cast<int>(e);
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.Nodes != b.Nodes ? a.Nodes < b.Nodes : a.Element < b.Element;
    });
    // In a run of equal sets the elements ascend: the first two are the pair that repeats
    // first.
    Pair first;
    for (size_t k = 1; k < keys.size(); ++k) {
        const bool opens = k == 1 || keys[k - 2].Nodes != keys[k - 1].Nodes;
        if (opens && keys[k].Nodes == keys[k - 1].Nodes &&
            (first.Later < 0 || keys[k].Element < first.Later))
            first = {keys[k - 1].Element, keys[k].Element};
    }
    return first;
}

QString RepeatedElement::Fault(const Pair& pair, int earlierLine) {
    return QStringLiteral("element %1 repeats element %2 (line %3): an element on the same nodes "
                          "is the same element given twice, which would count its stiffness "
                          "twice")
        .arg(pair.Later + 1)
        .arg(pair.Earlier + 1)
        .arg(earlierLine);
}
