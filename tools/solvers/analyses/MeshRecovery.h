#pragma once

#include "Element.h"
#include "FieldResults.h"
#include "MeshFamily.h"
#include "PatchRecovery.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

// The results of a load case at the elements' centres and at the nodes, from the elements'
// own: each element's values at its centre (the mean of its sampled values, or its own centre
// row), then at each node either a patch fitted to the samples around it (the mean of its
// elements' corner values where no patch reaches) or that mean alone, as its family asks; the
// derived columns (principal values) from them. Everything that depends on the mesh alone is
// prepared once for all load cases. The elements are shared among the cores; each sums its
// corners apart, and the sums are added in the order of the elements, so that every run gives
// the same digits.
class MeshRecovery {
public:
    MeshRecovery(const MeshModel& model, const MeshFamily& family,
                 std::vector<const Element*> elements);
    // The columns of the element and node blocks.
    const ResultLayout& Layout() const { return layout_; }
    // `gather` gives an element's displacements; fills the case's Stresses and NodeStresses.
    // `heats`: the elements the case heats, whose free strains are not stressed.
    using Gather = std::function<Element::Vector(const Element&)>;
    using Heats = std::unordered_map<size_t, Element::Heat>;
    void Recover(const Gather& gather, FieldResults::Case& result, const Heats& heats = {});

private:
    void Sweep(const Gather& gather, FieldResults::Case& result, const Heats& heats);
    void Smooth(FieldResults::Case& result) const;
    void Unstrain(Element::Results& results, const Element::Results& free) const;

    const MeshFamily& family_;
    std::vector<const Element*> elements_;
    ResultLayout layout_;
    int own_ = 0, summed_ = 0, width_ = 0;
    size_t nodes_ = 0;
    std::vector<int> around_; // elements at each node
    std::vector<std::array<double, 2>> plan_;
    std::unique_ptr<PatchRecovery> patches_;
    std::vector<char> cornersWanted_; // elements whose corner values a node needs
    std::vector<double> samples_;     // the slots each case fills again
};
