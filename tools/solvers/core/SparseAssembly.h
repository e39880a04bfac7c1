#pragma once

#include "DofNumbering.h"

#include <Eigen/SparseCore>
#include <span>
#include <vector>

// The pattern of a model's symmetric matrices (stiffness, mass, geometric stiffness) made once
// from the elements' connectivity, and element matrices added into it in place. Equations are
// numbered node by node, so the upper triangle of a column holds all equations of the
// lower-numbered nodes that share an element with the column's node, then those of its own
// node up to the column: the pattern is that of the nodes, and no sort of millions of triplets
// is needed.
class SparseAssembly {
public:
    using SparseMatrix = Eigen::SparseMatrix<double>;

    // `connectivity` yields the nodes of each element.
    template <typename Elements, typename NodesOf>
    SparseAssembly(const DofNumbering& numbering, const Elements& elements, NodesOf nodesOf)
        : numbering_(numbering) {
        Join(elements.size(), [&](size_t e) { return nodesOf(elements[e]); });
    }

    // An upper-triangular matrix of the pattern, all zeros.
    SparseMatrix Empty() const;
    // Adds an element matrix, ordered node by node with `components` at each node; rows and
    // columns without an equation are skipped. `target` is a matrix of the pattern, in double
    // or in extended precision.
    template <typename Target, typename Matrix>
    void Add(Target& target, std::span<const int> nodes, std::span<const int> components,
             const Matrix& matrix) const;

private:
    template <typename NodesAt>
    void Join(size_t elements, NodesAt nodesAt);
    void Finish(std::vector<int>& start, std::vector<int>& joined);
    // Where the rows of node `low` begin in the columns of node `high` (low < high).
    int Offset(int low, int high) const;

    const DofNumbering& numbering_;
    std::vector<int> start_;  // per node, its range in joined_
    std::vector<int> joined_; // per node, the lower-numbered nodes joined to it, ascending
    std::vector<int> before_; // per joined pair, the rows of the column above that node's
    std::vector<int> above_;  // per node, the rows of its columns above its own equations
};

template <typename NodesAt>
void SparseAssembly::Join(size_t elements, NodesAt nodesAt) {
    const size_t nodes = static_cast<size_t>(numbering_.Nodes());
    std::vector<int> start(nodes + 1, 0), joined;
    for (size_t e = 0; e < elements; ++e) {
        const auto list = nodesAt(e);
        for (int a : list)
            for (int b : list)
                if (b < a)
                    ++start[static_cast<size_t>(a) + 1];
    }
    for (size_t node = 0; node < nodes; ++node)
        start[node + 1] += start[node];
    joined.resize(static_cast<size_t>(start[nodes]));
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (size_t e = 0; e < elements; ++e) {
        const auto list = nodesAt(e);
        for (int a : list)
            for (int b : list)
                if (b < a)
                    joined[static_cast<size_t>(fill[static_cast<size_t>(a)]++)] = b;
    }
    Finish(start, joined);
}

template <typename Target, typename Matrix>
void SparseAssembly::Add(Target& target, std::span<const int> nodes,
                         std::span<const int> components, const Matrix& matrix) const {
    const int* const outer = target.outerIndexPtr();
    auto* const values = target.valuePtr();
    const std::vector<int>& first = numbering_.NodeStarts();
    const size_t width = components.size();
    for (size_t a = 0; a < nodes.size(); ++a) {
        const int rowNode = nodes[a];
        for (size_t b = 0; b < nodes.size(); ++b) {
            const int columnNode = nodes[b];
            if (columnNode < rowNode)
                continue;
            // Where the row node's equations begin in the column node's columns.
            const int base = rowNode == columnNode ? above_[static_cast<size_t>(columnNode)]
                                                   : Offset(rowNode, columnNode);
            for (size_t r = 0; r < width; ++r) {
                const int er = numbering_.Equation(rowNode, components[r]);
                if (er < 0)
                    continue;
                for (size_t c = 0; c < width; ++c) {
                    const int ec = numbering_.Equation(columnNode, components[c]);
                    if (ec < er)
                        continue;
                    values[outer[ec] + base + (er - first[static_cast<size_t>(rowNode)])] +=
                        matrix(static_cast<Eigen::Index>(a * width + r),
                               static_cast<Eigen::Index>(b * width + c));
                }
            }
        }
    }
}
