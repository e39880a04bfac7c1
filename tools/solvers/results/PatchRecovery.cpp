#include "PatchRecovery.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

namespace {

// The samples of one element take at most this many places.
constexpr size_t MostSamples = 8;

} // namespace

PatchRecovery::PatchRecovery(const std::vector<std::array<double, 2>>& nodes,
                             const std::vector<const Element*>& elements, int count)
    : nodes_(nodes), elements_(elements), count_(count) {
    counts_.assign(elements.size(), 0);
    at_.assign(2 * MostSamples * elements.size(), 0.0);
    values_.assign(static_cast<size_t>(count) * MostSamples * elements.size(), 0.0);
}

void PatchRecovery::Add(size_t element, const Element::Sampled& sampled) {
    const size_t first = MostSamples * element;
    const size_t points = std::min<size_t>(MostSamples, static_cast<size_t>(sampled.At.rows()));
    for (size_t p = 0; p < points; ++p) {
        at_[2 * (first + p)] = sampled.At(static_cast<Eigen::Index>(p), 0);
        at_[2 * (first + p) + 1] = sampled.At(static_cast<Eigen::Index>(p), 1);
        for (int c = 0; c < count_; ++c)
            values_[(first + p) * static_cast<size_t>(count_) + static_cast<size_t>(c)] =
                sampled.Values(static_cast<Eigen::Index>(p), c);
    }
    counts_[element] = points;
}

std::vector<double> PatchRecovery::Recover(const std::vector<double>& fallback) const {
    const size_t nodes = nodes_.size();
    const size_t width = static_cast<size_t>(count_);
    // The elements around each node.
    std::vector<size_t> around(nodes + 1, 0);
    for (const Element* element : elements_)
        for (int node : element->Nodes())
            ++around[static_cast<size_t>(node) + 1];
    for (size_t n = 0; n < nodes; ++n)
        around[n + 1] += around[n];
    std::vector<size_t> list(around[nodes]);
    {
        std::vector<size_t> fill(around.begin(), around.end() - 1);
        for (size_t e = 0; e < elements_.size(); ++e)
            for (int node : elements_[e]->Nodes())
                list[fill[static_cast<size_t>(node)]++] = e;
    }
    // Boundary nodes: on an element side that no other element has.
    std::vector<std::array<int, 2>> sides;
    sides.reserve(4 * elements_.size());
    for (const Element* element : elements_) {
        const auto corners = element->Nodes();
        for (size_t a = 0; a < corners.size(); ++a) {
            const int p = corners[a], q = corners[(a + 1) % corners.size()];
            sides.push_back({std::min(p, q), std::max(p, q)});
        }
    }
    std::sort(sides.begin(), sides.end());
    std::vector<bool> boundary(nodes, false);
    for (size_t s = 0; s < sides.size();) {
        size_t next = s + 1;
        while (next < sides.size() && sides[next] == sides[s])
            ++next;
        if (next - s == 1) {
            boundary[static_cast<size_t>(sides[s][0])] = true;
            boundary[static_cast<size_t>(sides[s][1])] = true;
        }
        s = next;
    }

    // The plane of each inner node: value, d/dx and d/dz per result, about the node.
    std::vector<double> plane(3 * width * nodes, 0.0);
    std::vector<bool> fitted(nodes, false);
    for (size_t n = 0; n < nodes; ++n) {
        if (boundary[n])
            continue;
        const double x0 = nodes_[n][0], z0 = nodes_[n][1];
        // The patch's size scales the terms, so that the fit's matrix is well conditioned.
        double size = 0;
        for (size_t k = around[n]; k < around[n + 1]; ++k) {
            const size_t e = list[k];
            for (size_t p = 0; p < counts_[e]; ++p) {
                const size_t sample = MostSamples * e + p;
                size = std::max(
                    {size, std::abs(at_[2 * sample] - x0), std::abs(at_[2 * sample + 1] - z0)});
            }
        }
        if (!(size > 0))
            continue;
        Eigen::Matrix3d a = Eigen::Matrix3d::Zero();
        Eigen::Matrix<double, 3, Eigen::Dynamic, Eigen::ColMajor, 3, 8> b =
            Eigen::Matrix<double, 3, Eigen::Dynamic, Eigen::ColMajor, 3, 8>::Zero(3, count_);
        int samples = 0;
        for (size_t k = around[n]; k < around[n + 1]; ++k) {
            const size_t e = list[k];
            for (size_t p = 0; p < counts_[e]; ++p) {
                const size_t sample = MostSamples * e + p;
                const Eigen::Vector3d basis(1, (at_[2 * sample] - x0) / size,
                                            (at_[2 * sample + 1] - z0) / size);
                a += basis * basis.transpose();
                for (int c = 0; c < count_; ++c)
                    b.col(c) += basis * values_[sample * width + static_cast<size_t>(c)];
                ++samples;
            }
        }
        if (samples < 3)
            continue;
        const Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> spectrum(a, Eigen::EigenvaluesOnly);
        if (!(spectrum.eigenvalues()(0) > 1e-6 * spectrum.eigenvalues()(2)))
            continue; // samples in a line: no plane
        const auto coefficients = a.ldlt().solve(b).eval();
        for (int c = 0; c < count_; ++c) {
            double* out = plane.data() + 3 * (n * width + static_cast<size_t>(c));
            out[0] = coefficients(0, c);
            out[1] = coefficients(1, c) / size;
            out[2] = coefficients(2, c) / size;
        }
        fitted[n] = true;
    }

    std::vector<double> result = fallback;
    for (size_t n = 0; n < nodes; ++n) {
        if (fitted[n]) {
            for (size_t c = 0; c < width; ++c)
                result[n * width + c] = plane[3 * (n * width + c)];
            continue;
        }
        // The planes of the fitted nodes of the elements around it, each taken here.
        std::vector<int> from;
        for (size_t k = around[n]; k < around[n + 1]; ++k)
            for (int other : elements_[list[k]]->Nodes())
                if (fitted[static_cast<size_t>(other)])
                    from.push_back(other);
        std::sort(from.begin(), from.end());
        from.erase(std::unique(from.begin(), from.end()), from.end());
        if (from.empty())
            continue;
        for (size_t c = 0; c < width; ++c) {
            double sum = 0;
            for (int other : from) {
                const size_t o = static_cast<size_t>(other);
                const double* p = plane.data() + 3 * (o * width + c);
                sum += p[0] + p[1] * (nodes_[n][0] - nodes_[o][0]) +
                       p[2] * (nodes_[n][1] - nodes_[o][1]);
            }
            result[n * width + c] = sum / static_cast<double>(from.size());
        }
    }
    return result;
}
