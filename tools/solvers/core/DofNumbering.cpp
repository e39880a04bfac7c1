#include "DofNumbering.h"

#include "SolverError.h"

#include <algorithm>

void DofNumbering::Number(const std::vector<int>& kept, const std::vector<double>& diagonal,
                          const std::vector<bool>& fixed, const std::vector<bool>& loaded,
                          const Wording& wording) {
    const size_t nodes = diagonal.size() / 6;
    map_.assign(6 * nodes, -1);
    first_.assign(nodes + 1, 0);
    equations_ = 0;
    for (size_t node = 0; node < nodes; ++node) {
        first_[node] = equations_;
        for (int c : kept) {
            const size_t index = 6 * node + static_cast<size_t>(c);
            if (fixed[index])
                continue;
            if (diagonal[index] <= 0) {
                if (c >= 3 && !loaded[index])
                    continue;
                throw SolverError::AtNode(
                    static_cast<int>(node) + 1,
                    QStringLiteral("the %1 is not held: node %2 can move in %3 without "
                                   "resistance (no %4 or support holds it)")
                        .arg(wording.Whole)
                        .arg(node + 1)
                        .arg(wording.Components[static_cast<size_t>(c)], wording.Part));
            }
            map_[index] = equations_++;
        }
    }
    first_[nodes] = equations_;
}

QString DofNumbering::Describe(int equation, const Wording& wording) const {
    // The node by its first equation, then the component within it.
    const auto after = std::upper_bound(first_.begin(), first_.end(), equation);
    const size_t node = static_cast<size_t>(after - first_.begin()) - 1;
    for (int c = 0; c < 6; ++c) {
        if (map_[6 * node + static_cast<size_t>(c)] == equation)
            return QStringLiteral("node %1 can move in %2")
                .arg(node + 1)
                .arg(wording.Components[static_cast<size_t>(c)]);
    }
    return QStringLiteral("equation %1").arg(equation + 1);
}
