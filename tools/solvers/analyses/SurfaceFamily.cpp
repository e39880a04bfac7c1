#include "SurfaceFamily.h"

#include "PlaneTensor.h"
#include "PlateBending.h"
#include "ShellMaterial.h"
#include "ShellNodeAxes.h"
#include "SolverError.h"
#include "SurfaceMesh.h"
#include "Units.h"

#include <algorithm>
#include <stdexcept>

SurfaceFamily::SurfaceFamily(bool plate, SurfaceKinds kinds)
    : plate_(plate), kinds_(std::move(kinds)) {}

SurfaceFamily::~SurfaceFamily() = default;

void SurfaceFamily::Build(const MeshModel& model, QStringList& warnings) {
    const SurfaceMesh::Checked checked = SurfaceMesh::Check(model);
    warnings = checked.Warnings;
    try {
        Make(model, checked.Corners);
    } catch (const std::invalid_argument& fault) {
        // The mesh check refuses what the elements cannot take; this is the last guard.
        throw SolverError(QStringLiteral("an element cannot be calculated: %1").arg(fault.what()));
    }
    if (!plate_)
        nodeAxes_ = std::make_unique<ShellNodeAxes>(Elements(), axes_, model.Nodes.size());
    else
        plan_ = model.Plan();
}

std::unique_ptr<Element> SurfaceFamily::Foundation(size_t e, double k) const {
    if (!plate_)
        return nullptr;
    const std::span<const int> nodes = elements_[e]->Nodes();
    std::array<std::array<double, 2>, 4> corners{};
    const size_t count = std::min(nodes.size(), corners.size());
    for (size_t a = 0; a < count; ++a)
        corners[a] = plan_[static_cast<size_t>(nodes[a])];
    return std::make_unique<PlateFoundation>(nodes, std::span(corners.data(), count), k);
}

void SurfaceFamily::Make(const MeshModel& model, const std::vector<std::array<int, 4>>& corners) {
    const double gravity = Units::Gravity(model.LengthUnit);
    const SurfaceKinds::ByCorners makers =
        kinds_.Of(plate_ ? ProblemType::Mesh::Plate : ProblemType::Mesh::Shell);
    elements_.reserve(model.Cells.size());
    axes_.reserve(model.Cells.size());
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const MeshModel::Cell& cell = model.Cells[e];
        const SurfaceKinds::Maker make = makers.For(cell.Count);
        if (!make)
            throw SolverError::AtLine(
                cell.Line,
                QStringLiteral("this mesh has no element of %1 corners").arg(cell.Count));
        SurfaceElement made =
            make(*MaterialFor(model, cell, gravity), model,
                 std::span<const int>(corners[e].data(), static_cast<size_t>(cell.Count)));
        elements_.push_back(std::move(made.Made));
        axes_.push_back(made.Axes);
    }
}

std::vector<const Element*> SurfaceFamily::Elements() const {
    std::vector<const Element*> pointers;
    pointers.reserve(elements_.size());
    for (const auto& element : elements_)
        pointers.push_back(element.get());
    return pointers;
}

QStringList SurfaceFamily::ComponentNames() const {
    if (plate_)
        return {"uz", "rx", "ry"};
    return {"ux", "uy", "uz", "rx", "ry", "rz"};
}

Element::Vector SurfaceFamily::ElementLoad(const MeshModel::ElementLoad& load) const {
    // An even pressure along the element's normal (z on a plate).
    const size_t e = static_cast<size_t>(load.Cell);
    const Eigen::Vector3d perArea = load.P * axes_[e].row(2).transpose();
    return elements_[e]->Loads({perArea[0], perArea[1], perArea[2]});
}

ResultLayout SurfaceFamily::Derived() const {
    if (!plate_)
        return {};
    constexpr auto moment = ResultColumn::Quantity::MomentPerLength;
    return {{{"m1", "Principal moment m1", moment},
             {"m2", "Principal moment m2", moment},
             {"angle", "Angle of m1", ResultColumn::Quantity::Angle}}};
}

void SurfaceFamily::Derive(const double* own, double* derived) const {
    if (plate_)
        PlaneTensor::Principal(own, derived);
}

void SurfaceFamily::AddCorner(size_t e, size_t a, const double* row, int own, double* into) const {
    if (nodeAxes_)
        nodeAxes_->Add(e, a, row, own, into);
    else
        MeshFamily::AddCorner(e, a, row, own, into);
}

void SurfaceFamily::FromSlopes(const double* slope, double* at) const {
    // The shear forces from the slopes of the smooth moments (mx my mxy qx qy): an element's
    // own gradient of its moments is rough, worst at the supports.
    if (!plate_)
        return;
    const auto d = [slope](int s, int axis) { return slope[2 * s + axis]; };
    at[3] = d(0, 0) + d(2, 1);
    at[4] = d(2, 0) + d(1, 1);
}

const ShellMaterial* SurfaceFamily::MaterialFor(const MeshModel& model, const MeshModel::Cell& cell,
                                                double gravity) {
    // One material per pair of material and thickness; a mesh has a handful.
    for (size_t k = 0; k < keys_.size(); ++k) {
        if (keys_[k].first == cell.Material && keys_[k].second == cell.Thickness)
            return materials_[k].get();
    }
    const MeshModel::Material& m = model.Materials[static_cast<size_t>(cell.Material)];
    auto material = std::make_unique<ShellMaterial>();
    material->E = m.E;
    material->Nu = m.Nu;
    material->Thickness = cell.Thickness;
    material->Density = gravity > 0 ? m.Gamma / gravity : 0;
    keys_.emplace_back(cell.Material, cell.Thickness);
    materials_.push_back(std::move(material));
    return materials_.back().get();
}
