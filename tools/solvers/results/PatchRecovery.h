#pragma once

#include "Element.h"

#include <Eigen/Dense>
#include <array>
#include <vector>

// Smooth nodal values of the results elements give at their integration points, by
// superconvergent patch recovery: around each inner node a plane a + b x + c z (or a quadratic
// surface) is fitted by least squares to the samples of the elements that meet there, and its
// value at the node is taken. A node on the boundary takes the mean of the planes (the fits' value
// and slope) of the inner nodes it shares an element with, evaluated at itself, since a plane
// fitted on one side of it only extrapolates the element's own (often constant) stress. Where no
// plane can be fitted (too few samples, or all in a line) the node keeps a value the caller gives:
// the mean of its elements' own corner values. Unlike that mean, the recovery gives the boundary
// stresses of a coarse mesh: a thick ring eight elements through its wall has its inner hoop stress
// within 0.1 % instead of 3 %.
//
// Everything that depends on the mesh alone (the patches, the boundary, the fits' matrices) is
// prepared once; each load case then only sums its samples' values and solves 3 x 3 systems.
class PatchRecovery {
public:
    // Each element's samples lie in slots of their own.
    static constexpr size_t MostSamples = 8;

    // A plane suits the elements whose results vary linearly at most (the plane elements'
    // stresses); a quadratic surface those whose results bend themselves (a plate's moments,
    // whose peak at the centre of a slab a plane would cut off by a few per cent).
    enum class Degree { Linear = 1, Quadratic = 2 };

    PatchRecovery(const std::vector<std::array<double, 2>>& nodes,
                  const std::vector<const Element*>& elements, Degree degree = Degree::Linear);

    // The nodes that keep the caller's value, where no plane reaches.
    const std::vector<bool>& Unfitted() const { return unfitted_; }

    // `values`: per element MostSamples slots of `count` results each, in the order of the
    // element's Sample(); `fallback` (nodes x count) for the unfitted nodes. Nodes x count.
    // `gradient`, when given, gets the fits' slopes d/dx and d/dz of each result at each node
    // (nodes x count x 2; zero where no fit reaches): what a plate's shear forces are taken
    // from, since the elements' own gradients of their moments are rough.
    std::vector<double> Recover(const std::vector<double>& values, int count,
                                const std::vector<double>& fallback,
                                std::vector<double>* gradient = nullptr) const;

private:
    static constexpr int MostTerms = 6; // 1, x, z, x^2, x z, z^2
    using Basis = Eigen::Matrix<double, Eigen::Dynamic, 1, Eigen::ColMajor, MostTerms, 1>;
    struct Fit {
        size_t Inverse = 0;            // where the inverse of its basis products starts
        double X = 0, Z = 0, Size = 1; // the node and the patch's scale
    };
    // The terms of the fit at a sample point, about the fit's node and in its scale.
    Basis Terms(const Fit& fit, size_t slot) const;
    // The steps of the preparation: where each element samples; the elements around each
    // node; the fit of an inner node's patch, unless its samples cannot carry one; the fitted
    // nodes that each node without a fit takes its value from.
    void PlaceSamples(const std::vector<const Element*>& elements);
    void GatherPatches(const std::vector<const Element*>& elements);
    void FitPatch(size_t node);
    void BorrowFits(const std::vector<const Element*>& elements);

    const std::vector<std::array<double, 2>>& nodes_;
    std::vector<size_t> around_, list_; // the elements around each node
    std::vector<size_t> counts_;        // per element, its samples
    std::vector<double> at_;            // 2 per slot
    std::vector<int> fit_;              // per node, its fit or -1
    std::vector<Fit> fits_;
    int terms_ = 3;
    std::vector<double> inverses_;       // terms_ x terms_ per fit
    std::vector<std::vector<int>> from_; // per node without a fit, the fitted nodes it takes
    std::vector<bool> unfitted_;
};
