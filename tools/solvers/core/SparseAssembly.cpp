#include "SparseAssembly.h"

#include <algorithm>

void SparseAssembly::Finish(std::vector<int>& start, std::vector<int>& joined) {
    const size_t nodes = start.size() - 1;
    const std::vector<int>& first = numbering_.NodeStarts();
    start_.assign(nodes + 1, 0);
    for (size_t node = 0; node < nodes; ++node) {
        const auto begin = joined.begin() + start[node], end = joined.begin() + start[node + 1];
        std::sort(begin, end);
        const auto last = std::unique(begin, end);
        std::copy(begin, last, joined.begin() + start_[node]);
        start_[node + 1] = start_[node] + static_cast<int>(last - begin);
    }
    joined.resize(static_cast<size_t>(start_[nodes]));
    joined_ = std::move(joined);
    before_.assign(joined_.size(), 0);
    above_.assign(nodes, 0);
    for (size_t node = 0; node < nodes; ++node) {
        int rows = 0;
        for (int k = start_[node]; k < start_[node + 1]; ++k) {
            before_[static_cast<size_t>(k)] = rows;
            const auto other = static_cast<size_t>(joined_[static_cast<size_t>(k)]);
            rows += first[other + 1] - first[other];
        }
        above_[node] = rows;
    }
}

int SparseAssembly::Offset(int low, int high) const {
    const auto begin = joined_.begin() + start_[static_cast<size_t>(high)];
    const auto end = joined_.begin() + start_[static_cast<size_t>(high) + 1];
    return before_[static_cast<size_t>(std::lower_bound(begin, end, low) - joined_.begin())];
}

SparseAssembly::SparseMatrix SparseAssembly::Empty() const {
    const std::vector<int>& first = numbering_.NodeStarts();
    const int equations = numbering_.Equations();
    const size_t nodes = above_.size();
    SparseMatrix matrix(equations, equations);
    int* const outer = matrix.outerIndexPtr();
    outer[0] = 0;
    for (size_t node = 0; node < nodes; ++node) {
        for (int e = first[node]; e < first[node + 1]; ++e)
            outer[e + 1] = outer[e] + above_[node] + (e - first[node] + 1);
    }
    matrix.resizeNonZeros(outer[equations]);
    int* const inner = matrix.innerIndexPtr();
    double* const values = matrix.valuePtr();
    std::fill(values, values + outer[equations], 0.0);
    for (size_t node = 0; node < nodes; ++node) {
        for (int e = first[node]; e < first[node + 1]; ++e) {
            int* row = inner + outer[e];
            for (int k = start_[node]; k < start_[node + 1]; ++k) {
                const auto other = static_cast<size_t>(joined_[static_cast<size_t>(k)]);
                for (int r = first[other]; r < first[other + 1]; ++r)
                    *row++ = r;
            }
            for (int r = first[node]; r <= e; ++r)
                *row++ = r;
        }
    }
    return matrix;
}
