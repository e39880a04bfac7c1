#pragma once

#include <QString>
#include <functional>
#include <span>

// An element given twice, on the same nodes in any order or turned round, adds its stiffness
// twice: the answer changes without a word (a brick given twice halves a displacement). The
// mesh checks of every family refuse it, naming both elements.
namespace RepeatedElement {

struct Pair {
    int Earlier = -1, Later = -1; // elements counted from 0; -1 when none repeats
};

// The first element, in the order given, whose set of nodes is that of an earlier one.
Pair Find(size_t count, const std::function<std::span<const int>(size_t)>& nodesOf);

// Why the later element of a pair is refused; `earlierLine` the line of the earlier one.
QString Fault(const Pair& pair, int earlierLine);

} // namespace RepeatedElement
