#include "PlaneFamily.h"

#include "Elasticity.h"
#include "PlaneMesh.h"
#include "PlaneTensor.h"
#include "SolverError.h"

namespace {

using Mesh = ProblemType::Mesh;

PlaneSolid SolidOf(Mesh kind, const MeshModel::Material& material, double thickness) {
    PlaneSolid solid;
    solid.E = material.E;
    solid.Nu = material.Nu;
    solid.Density = material.Gamma;
    solid.Thickness = thickness;
    switch (kind) {
    case Mesh::PlaneStrain:
        solid.D = Elasticity::PlaneStrain(material.E, material.Nu);
        solid.OutOfPlaneStress = true;
        solid.PlaneStrain = true;
        break;
    case Mesh::Revolution:
        solid.Kind = PlaneSolid::Form::Axisymmetric;
        solid.D = Elasticity::Axisymmetric(material.E, material.Nu);
        break;
    default:
        solid.D = Elasticity::PlaneStress(material.E, material.Nu);
        break;
    }
    return solid;
}

} // namespace

const PlaneSolid* PlaneFamily::SolidFor(const MeshModel& model, const MeshModel::Cell& cell) {
    // One solid per material and thickness; a mesh has a handful.
    for (const auto& [key, solid] : solids_) {
        if (key.first == cell.Material && key.second == cell.Thickness)
            return solid.get();
    }
    solids_.emplace_back(
        std::make_pair(cell.Material, cell.Thickness),
        std::make_unique<PlaneSolid>(
            SolidOf(kind_, model.Materials[static_cast<size_t>(cell.Material)], cell.Thickness)));
    return solids_.back().second.get();
}

void PlaneFamily::Build(const MeshModel& model, QStringList& /*warnings*/) {
    const PlaneMesh::Checked checked = PlaneMesh::Check(model);
    for (const MeshModel::NodalLoad& load : model.Loads) {
        if (Revolution() && model.Plan(load.Node)[0] <= 0 &&
            (load.Load[0] != 0 || load.Load[2] != 0))
            throw SolverError::AtLine(load.Line,
                                      QStringLiteral("node %1 lies on the axis, where a ring load "
                                                     "has no circumference to act on; give the "
                                                     "load at nodes off the axis")
                                          .arg(load.Node + 1));
    }
    const PlaneKinds::ByCorners makers = kinds_.Of(kind_);
    elements_.reserve(model.Cells.size());
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const MeshModel::Cell& cell = model.Cells[e];
        const PlaneKinds::Maker make = makers.For(cell.Count);
        if (!make)
            throw SolverError::AtLine(
                cell.Line,
                QStringLiteral("this mesh has no element of %1 corners").arg(cell.Count));
        const std::span<const int> corners(checked.Corners[e].data(),
                                           static_cast<size_t>(cell.Count));
        elements_.push_back(make(*SolidFor(model, cell), model, corners));
    }
}

std::vector<const Element*> PlaneFamily::Elements() const {
    std::vector<const Element*> pointers;
    pointers.reserve(elements_.size());
    for (const auto& element : elements_)
        pointers.push_back(element.get());
    return pointers;
}

QStringList PlaneFamily::ComponentNames() const {
    return Revolution() ? QStringList{"ur", "uz"} : QStringList{"ux", "uz"};
}

DofNumbering::Wording PlaneFamily::Wording() const {
    DofNumbering::Wording wording = MeshFamily::Wording();
    if (Revolution())
        wording.Components[0] = QStringLiteral("ur");
    return wording;
}

void PlaneFamily::Constrain(const MeshModel& model, std::vector<bool>& fixed) const {
    // A node on the axis of a body of revolution cannot move off it.
    if (!Revolution())
        return;
    for (size_t node = 0; node < model.Nodes.size(); ++node)
        if (model.Nodes[node][0] <= 0)
            fixed[6 * node] = true;
}

double PlaneFamily::PerRadian(const std::array<double, 3>& at) const {
    return Revolution() ? at[0] : 1.0;
}

LoadBalance::Resultant PlaneFamily::Balance() const {
    // A body of revolution balances only along its axis; the radial ring forces are held by
    // the hoop.
    return Revolution() ? LoadBalance::Resultant::Axial : LoadBalance::Resultant::Whole;
}

std::vector<int> PlaneFamily::RigidMotions() const {
    // A body of revolution moves freely only along its axis: a radial motion stretches the hoop.
    if (Revolution())
        return {2};
    return MeshFamily::RigidMotions();
}

ResultLayout PlaneFamily::Derived() const {
    constexpr auto stress = ResultColumn::Quantity::Stress;
    return {{{"s1", "Principal stress s1", stress},
             {"s2", "Principal stress s2", stress},
             {"angle", "Angle of s1", ResultColumn::Quantity::Angle}}};
}

void PlaneFamily::Derive(const double* own, double* derived) const {
    PlaneTensor::Principal(own, derived);
}
