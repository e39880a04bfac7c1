#include "PatchRecovery.h"

#include <algorithm>
#include <cmath>

PatchRecovery::Basis PatchRecovery::Terms(const Fit& fit, size_t slot) const {
    const double x = (at_[2 * slot] - fit.X) / fit.Size, z = (at_[2 * slot + 1] - fit.Z) / fit.Size;
    Basis basis(terms_);
    basis.head<3>() << 1, x, z;
    if (terms_ == MostTerms)
        basis.tail<3>() << x * x, x * z, z * z;
    return basis;
}

namespace {

// The nodes on an element side that no other element has.
std::vector<bool> BoundaryNodes(size_t nodeCount, const std::vector<const Element*>& elements) {
    std::vector<std::array<int, 2>> sides;
    sides.reserve(4 * elements.size());
    for (const Element* element : elements) {
        const auto corners = element->Nodes();
        for (size_t a = 0; a < corners.size(); ++a) {
            const int p = corners[a], q = corners[(a + 1) % corners.size()];
            sides.push_back({std::min(p, q), std::max(p, q)});
        }
    }
    std::sort(sides.begin(), sides.end());
    std::vector<bool> boundary(nodeCount, false);
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
    return boundary;
}

} // namespace

PatchRecovery::PatchRecovery(const std::vector<std::array<double, 2>>& nodes,
                             const std::vector<const Element*>& elements, Degree degree)
    : nodes_(nodes), terms_(degree == Degree::Quadratic ? MostTerms : 3) {
    PlaceSamples(elements);
    GatherPatches(elements);
    const std::vector<bool> boundary = BoundaryNodes(nodes.size(), elements);
    fit_.assign(nodes.size(), -1);
    for (size_t n = 0; n < nodes.size(); ++n)
        if (!boundary[n])
            FitPatch(n);
    BorrowFits(elements);
}

void PatchRecovery::PlaceSamples(const std::vector<const Element*>& elements) {
    // Its Sample() of no displacement gives the points.
    counts_.assign(elements.size(), 0);
    at_.assign(2 * MostSamples * elements.size(), 0.0);
    for (size_t e = 0; e < elements.size(); ++e) {
        const Element::Sampled sampled =
            elements[e]->Sample(Element::Vector::Zero(elements[e]->Size()));
        const size_t points = std::min<size_t>(MostSamples, static_cast<size_t>(sampled.At.rows()));
        for (size_t p = 0; p < points; ++p) {
            at_[2 * (MostSamples * e + p)] = sampled.At(static_cast<Eigen::Index>(p), 0);
            at_[2 * (MostSamples * e + p) + 1] = sampled.At(static_cast<Eigen::Index>(p), 1);
        }
        counts_[e] = points;
    }
}

void PatchRecovery::GatherPatches(const std::vector<const Element*>& elements) {
    const size_t nodeCount = nodes_.size();
    around_.assign(nodeCount + 1, 0);
    for (const Element* element : elements)
        for (int node : element->Nodes())
            ++around_[static_cast<size_t>(node) + 1];
    for (size_t n = 0; n < nodeCount; ++n)
        around_[n + 1] += around_[n];
    list_.resize(around_[nodeCount]);
    std::vector<size_t> fill(around_.begin(), around_.end() - 1);
    for (size_t e = 0; e < elements.size(); ++e)
        for (int node : elements[e]->Nodes())
            list_[fill[static_cast<size_t>(node)]++] = e;
}

void PatchRecovery::FitPatch(size_t n) {
    // The patch's size scales the terms so that their matrix is well conditioned.
    Fit fit;
    fit.X = nodes_[n][0];
    fit.Z = nodes_[n][1];
    double size = 0;
    int samples = 0;
    for (size_t k = around_[n]; k < around_[n + 1]; ++k) {
        const size_t e = list_[k];
        for (size_t p = 0; p < counts_[e]; ++p) {
            const size_t slot = MostSamples * e + p;
            size = std::max(
                {size, std::abs(at_[2 * slot] - fit.X), std::abs(at_[2 * slot + 1] - fit.Z)});
            ++samples;
        }
    }
    if (samples < terms_ || !(size > 0))
        return;
    fit.Size = size;
    using Square = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::ColMajor, MostTerms,
                                 MostTerms>;
    Square a = Square::Zero(terms_, terms_);
    for (size_t k = around_[n]; k < around_[n + 1]; ++k) {
        const size_t e = list_[k];
        for (size_t p = 0; p < counts_[e]; ++p) {
            const Basis basis = Terms(fit, MostSamples * e + p);
            a += basis * basis.transpose();
        }
    }
    const Eigen::SelfAdjointEigenSolver<Square> spectrum(a, Eigen::EigenvaluesOnly);
    if (!(spectrum.eigenvalues()(0) > 1e-6 * spectrum.eigenvalues()(terms_ - 1)))
        return; // samples in a line (or too few for a curved surface): no fit
    fit.Inverse = inverses_.size();
    const Square inverse = a.inverse();
    inverses_.insert(inverses_.end(), inverse.data(), inverse.data() + inverse.size());
    fit_[n] = static_cast<int>(fits_.size());
    fits_.push_back(fit);
}

void PatchRecovery::BorrowFits(const std::vector<const Element*>& elements) {
    const size_t nodeCount = nodes_.size();
    from_.assign(nodeCount, {});
    unfitted_.assign(nodeCount, false);
    for (size_t n = 0; n < nodeCount; ++n) {
        if (fit_[n] >= 0)
            continue;
        std::vector<int>& from = from_[n];
        for (size_t k = around_[n]; k < around_[n + 1]; ++k)
            for (int other : elements[list_[k]]->Nodes())
                if (fit_[static_cast<size_t>(other)] >= 0)
                    from.push_back(other);
        std::sort(from.begin(), from.end());
        from.erase(std::unique(from.begin(), from.end()), from.end());
        unfitted_[n] = from.empty();
    }
}

std::vector<double> PatchRecovery::Recover(const std::vector<double>& values, int count,
                                           const std::vector<double>& fallback,
                                           std::vector<double>* gradient) const {
    const size_t nodes = nodes_.size();
    const size_t width = static_cast<size_t>(count);
    // Per fitted node and result, the coefficients of its fit in the fit's own scale.
    const size_t terms = static_cast<size_t>(terms_);
    std::vector<double> plane(terms * width * fits_.size(), 0.0);
    Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::ColMajor, MostTerms, 16> b(terms_,
                                                                                            count);
    for (size_t n = 0; n < nodes; ++n) {
        if (fit_[n] < 0)
            continue;
        const Fit& fit = fits_[static_cast<size_t>(fit_[n])];
        b.setZero();
        for (size_t k = around_[n]; k < around_[n + 1]; ++k) {
            const size_t e = list_[k];
            for (size_t p = 0; p < counts_[e]; ++p) {
                const size_t slot = MostSamples * e + p;
                const Basis basis = Terms(fit, slot);
                for (int c = 0; c < count; ++c)
                    b.col(c) += basis * values[slot * width + static_cast<size_t>(c)];
            }
        }
        const Eigen::Map<const Eigen::MatrixXd> inverse(inverses_.data() + fit.Inverse, terms_,
                                                        terms_);
        const auto coefficients = (inverse * b).eval();
        double* out = plane.data() + terms * width * static_cast<size_t>(fit_[n]);
        for (int c = 0; c < count; ++c)
            for (size_t t = 0; t < terms; ++t)
                out[terms * static_cast<size_t>(c) + t] =
                    coefficients(static_cast<Eigen::Index>(t), c);
    }
    std::vector<double> result = fallback;
    if (gradient)
        gradient->assign(2 * nodes * width, 0.0);
    // Adds the value and the slope of fit `f` (of node `o`) at node n's point.
    const auto add = [&](size_t n, size_t o, double weight) {
        const Fit& fit = fits_[static_cast<size_t>(fit_[o])];
        const double x = (nodes_[n][0] - fit.X) / fit.Size, z = (nodes_[n][1] - fit.Z) / fit.Size;
        const double basis[MostTerms] = {1, x, z, x * x, x * z, z * z};
        const double dx[MostTerms] = {0, 1, 0, 2 * x, z, 0};
        const double dz[MostTerms] = {0, 0, 1, 0, x, 2 * z};
        const double* p = plane.data() + terms * width * static_cast<size_t>(fit_[o]);
        for (size_t c = 0; c < width; ++c) {
            double value = 0, slopeX = 0, slopeZ = 0;
            for (size_t t = 0; t < terms; ++t) {
                value += p[terms * c + t] * basis[t];
                slopeX += p[terms * c + t] * dx[t];
                slopeZ += p[terms * c + t] * dz[t];
            }
            result[n * width + c] += weight * value;
            if (gradient) {
                (*gradient)[2 * (n * width + c)] += weight * slopeX / fit.Size;
                (*gradient)[2 * (n * width + c) + 1] += weight * slopeZ / fit.Size;
            }
        }
    };
    for (size_t n = 0; n < nodes; ++n) {
        const std::vector<int>& from = from_[n];
        if (fit_[n] < 0 && from.empty())
            continue;
        for (size_t c = 0; c < width; ++c)
            result[n * width + c] = 0;
        if (fit_[n] >= 0) {
            add(n, n, 1.0);
            continue;
        }
        // The fits of the inner nodes around, evaluated here.
        for (int other : from)
            add(n, static_cast<size_t>(other), 1.0 / static_cast<double>(from.size()));
    }
    return result;
}
