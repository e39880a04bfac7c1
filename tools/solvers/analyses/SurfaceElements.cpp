#include "SurfaceElements.h"

#include "FlatShell.h"
#include "PlateBending.h"
#include "ShellMaterial.h"

SurfaceElements::SurfaceElements(const SurfaceModel& model,
                                 const std::vector<std::array<int, 4>>& corners, double gravity) {
    elements_.reserve(model.Cells.size());
    axes_.reserve(model.Cells.size());
    const auto point = [&model](int node) {
        const auto& at = model.Nodes[static_cast<size_t>(node)];
        return Eigen::Vector3d(at[0], at[1], at[2]);
    };
    const auto plan = [&model](int node) {
        const auto& at = model.Nodes[static_cast<size_t>(node)];
        return std::array<double, 2>{at[0], at[1]};
    };
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const SurfaceModel::Cell& cell = model.Cells[e];
        const ShellMaterial& material = *MaterialFor(model, cell, gravity);
        const std::array<int, 4>& c = corners[e];
        if (model.IsPlate()) {
            if (cell.Count == 3)
                elements_.push_back(std::make_unique<PlateTriangle>(
                    material, std::array<int, 3>{c[0], c[1], c[2]},
                    std::array<std::array<double, 2>, 3>{plan(c[0]), plan(c[1]), plan(c[2])}));
            else
                elements_.push_back(std::make_unique<PlateQuad>(
                    material, c,
                    std::array<std::array<double, 2>, 4>{plan(c[0]), plan(c[1]), plan(c[2]),
                                                         plan(c[3])}));
            axes_.push_back(Eigen::Matrix3d::Identity());
        } else if (cell.Count == 3) {
            auto shell = std::make_unique<ShellTriangle>(
                material, std::array<int, 3>{c[0], c[1], c[2]},
                std::array<Eigen::Vector3d, 3>{point(c[0]), point(c[1]), point(c[2])});
            axes_.push_back(shell->Axes());
            elements_.push_back(std::move(shell));
        } else {
            auto shell = std::make_unique<ShellQuad>(
                material, c,
                std::array<Eigen::Vector3d, 4>{point(c[0]), point(c[1]), point(c[2]), point(c[3])});
            axes_.push_back(shell->Axes());
            elements_.push_back(std::move(shell));
        }
    }
}

SurfaceElements::~SurfaceElements() = default;

DofNumbering::Wording SurfaceElements::Wording() {
    DofNumbering::Wording wording;
    wording.Whole = QStringLiteral("model");
    wording.Part = QStringLiteral("element");
    return wording;
}

std::vector<const Element*> SurfaceElements::Pointers() const {
    std::vector<const Element*> pointers;
    pointers.reserve(elements_.size());
    for (const auto& element : elements_)
        pointers.push_back(element.get());
    return pointers;
}

std::array<double, 3> SurfaceElements::PressureLoad(size_t e, double p) const {
    const Eigen::Vector3d load = p * axes_[e].row(2).transpose();
    return {load[0], load[1], load[2]};
}

const ShellMaterial* SurfaceElements::MaterialFor(const SurfaceModel& model,
                                                  const SurfaceModel::Cell& cell, double gravity) {
    // One material per pair of material and thickness; a mesh has a handful.
    for (size_t k = 0; k < keys_.size(); ++k) {
        if (keys_[k].first == cell.Material && keys_[k].second == cell.Thickness)
            return materials_[k].get();
    }
    const SurfaceModel::Material& m = model.Materials[static_cast<size_t>(cell.Material)];
    auto material = std::make_unique<ShellMaterial>();
    material->E = m.E;
    material->Nu = m.Nu;
    material->Thickness = cell.Thickness;
    material->Density = gravity > 0 ? m.Gamma / gravity : 0;
    keys_.emplace_back(cell.Material, cell.Thickness);
    materials_.push_back(std::move(material));
    return materials_.back().get();
}
