#pragma once

#include "BarElement.h"
#include "BarModel.h"
#include "FieldResults.h"
#include "MeshFamily.h"
#include "StaticResults.h"

#include <vector>

// Bar structures (beams, trusses, plane and space frames, grillages) in the one statics
// pipeline: their bars are cells of two corners (MeshModel::FromBars), each a BarElement with
// its section, hinges and local axes from the bar model. A bar gives its section forces at its
// ends from what its nodes exert on it and its fixed-end forces; a load along a bar is given
// in the axes of space, so the balance weighs it as its resultant at the bar's middle. The
// check measures |K u - f| against the loads, as the bars' protocol states it.
class BarFamily final : public MeshFamily {
public:
    // `bars` must outlive the family: the elements take their sections from it.
    explicit BarFamily(const BarModel& bars) : bars_(bars) {}

    void Build(const MeshModel& model, QStringList& warnings) override;
    std::vector<const Element*> Elements() const override;
    QStringList ComponentNames() const override { return bars_.ComponentNames(); }
    DofNumbering::Wording Wording() const override { return {}; }
    // A rotation every bar at a node releases (a hinge, a truss bar) has no stiffness there.
    bool WeighsDiagonal() const override { return true; }
    Element::Vector ElementLoad(const MeshModel::ElementLoad& load) const override;
    std::optional<GivenLoad> Given(const MeshModel::ElementLoad& load) const override;
    LoadCases::Measure Residual() const override { return LoadCases::Measure::Loads; }
    Nodal NodalResults() const override { return Nodal::Mean; }
    ResultLayout EndLayout() const override;
    // The section forces from the ends' displacements and the loads along the bar, those of
    // its heat and its foundation among them: the heat needs nothing more.
    void EndForces(size_t e, const Element::Vector& u, const Element::Vector& loads,
                   const Element::Heat* heat, double* into) const override;
    // Across the bar along its local z axis (in a grillage, the vertical).
    std::unique_ptr<Element> Foundation(size_t e, double k) const override;

    const BarElement& Bar(size_t bar) const { return elements_[bar]; }

    // The stage of assembling and factorising a model's stiffness equations, as reported before
    // the work begins.
    static QString AssemblyStage(const BarModel& model);
    // The pipeline's results at the nodes and elements of the data file: the inner points of
    // curved members apart, the section forces of an element at end i of its first piece and
    // at end j of its last.
    static StaticResults Results(const BarModel& model, const FieldResults& field);
    // The section forces of each element of the data (`members`, DataElements x the end
    // layout's count) from those of its bars (`bars`, one row per bar): end i of its first
    // piece and end j of its last; a truss bar's one force is its last piece's.
    static void MemberForces(const BarModel& model, const double* bars, double* members);

private:
    const BarModel& bars_;
    std::vector<BarElement> elements_;
    int forces_ = 0; // section forces per bar
};
