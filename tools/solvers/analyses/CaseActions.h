#pragma once

#include "Element.h"
#include "MeshModel.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

// What a load case does to a mesh besides its nodal and element loads: the weight of the
// elements, a change of temperature, and displacements imposed on held components. Each is
// turned into the consistent loads of the elements it acts on (an imposed displacement into the
// forces the elements need to follow it), so that every family has them alike.
class CaseActions {
public:
    // `elements` are the family's, one per cell of the model.
    CaseActions(const MeshModel& model, std::vector<const Element*> elements);

    // Whether the case has any of these actions.
    bool Acts(int number) const;
    // The elements the weight or the heat of the case loads, each with its consistent loads.
    std::unordered_map<size_t, Element::Vector> ElementLoads(int number) const;
    // The heat of each element the case heats.
    std::unordered_map<size_t, Element::Heat> Heats(int number) const;
    // The displacements the case imposes, six per node (0 where none is imposed), or none.
    const std::vector<double>* Imposed(int number) const;

private:
    template <typename Item>
    std::vector<std::vector<size_t>> ByCase(const std::vector<Item>&) const;

    const MeshModel& model_;
    std::vector<const Element*> elements_;
    std::vector<std::vector<size_t>> weights_, heats_;
    std::vector<std::optional<std::vector<double>>> imposed_; // per case
};

// Springs and elastic foundations: elements of their own joining the nodes to the ground, which
// the assembly takes with the family's elements.
class GroundSupports {
public:
    GroundSupports(const MeshModel& model, const class MeshFamily& family);

    std::vector<const Element*> Elements() const;
    bool Empty() const { return springs_.empty() && foundations_.empty(); }
    // The foundation under cell e, or null.
    const Element* FoundationOf(size_t cell) const;
    // The springs, with the index of the model's item each comes from.
    const std::vector<std::unique_ptr<Element>>& Springs() const { return springs_; }

private:
    std::vector<std::unique_ptr<Element>> springs_, foundations_;
    std::unordered_map<size_t, size_t> foundationOf_; // cell, index into foundations_
};
