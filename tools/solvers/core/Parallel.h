#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

// Loops whose passes are independent of each other (element by element), spread over the
// cores the process may use. The threads live for one loop only: nothing spins between loops
// to take a core from the solver libraries that run after them.
namespace Parallel {

// The cores this process may run on.
int Cores();

// How many ranges ForRanges splits `count` passes into.
inline size_t Parts(size_t count, int threads, size_t grain) {
    return std::clamp<size_t>(count / std::max<size_t>(grain, 1), 1,
                              static_cast<size_t>(std::max(1, threads)));
}

// Calls body(part, first, last) on Parts(count, threads, grain) contiguous ranges that together
// cover [0, count), each on a thread of its own, numbered from 0 in order: at most `threads`,
// none shorter than `grain` passes (a loop too short to repay a thread runs on the calling
// thread alone). The calling thread takes range 0. The body must not throw.
template <typename Body>
void ForRanges(size_t count, int threads, size_t grain, Body body) {
    const size_t parts = Parts(count, threads, grain);
    if (parts == 1) {
        body(size_t{0}, size_t{0}, count);
        return;
    }
    std::vector<std::jthread> others;
    others.reserve(parts - 1);
    for (size_t p = 1; p < parts; ++p)
        others.emplace_back(
            [&body, count, parts, p] { body(p, count * p / parts, count * (p + 1) / parts); });
    body(size_t{0}, size_t{0}, count / parts);
}

} // namespace Parallel
