#pragma once

#include "Element.h"

#include <array>
#include <vector>

// Smooth nodal values of the results elements give at their integration points, by
// superconvergent patch recovery: around each inner node a plane a + b x + c z is fitted by
// least squares to the samples of the elements that meet there, and its value at the node is
// taken. A node on the boundary takes the mean of the planes of the inner nodes it shares an
// element with, evaluated at itself, since a plane fitted on one side of it only extrapolates
// the element's own (often constant) stress. Where no plane can be fitted (too few samples, or
// all in a line) the node keeps the mean of its elements' own corner values. Unlike that mean,
// the recovery gives the boundary stresses of a coarse mesh: a thick ring eight elements
// through its wall has its inner radial stress within a few per cent instead of 15 % low.
class PatchRecovery {
public:
    // `count` results per sample; the samples of every element are added for one solution.
    PatchRecovery(const std::vector<std::array<double, 2>>& nodes,
                  const std::vector<const Element*>& elements, int count);

    void Add(size_t element, const Element::Sampled& sampled);
    // Nodes x count: the recovered values, or `fallback` (nodes x count) where none is fitted.
    std::vector<double> Recover(const std::vector<double>& fallback) const;

private:
    const std::vector<std::array<double, 2>>& nodes_;
    const std::vector<const Element*>& elements_;
    int count_;
    // Each element's samples lie in slots of their own, so that elements can be added in any
    // order.
    std::vector<size_t> counts_; // per element, its samples
    std::vector<double> at_;     // 2 per slot
    std::vector<double> values_; // count per slot
};
