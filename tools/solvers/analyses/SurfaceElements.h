#pragma once

#include "DofNumbering.h"
#include "Element.h"
#include "SurfaceModel.h"

#include <Eigen/Dense>
#include <array>
#include <memory>
#include <vector>

struct ShellMaterial;

// The plate or shell elements of a checked mesh, each on the material of its own elastic
// constants, thickness and density, with each element's axes (a plate's are the global ones).
class SurfaceElements {
public:
    // `corners` as SurfaceMesh::Check gives them; `gravity` turns unit weights into masses.
    SurfaceElements(const SurfaceModel& model, const std::vector<std::array<int, 4>>& corners,
                    double gravity);
    ~SurfaceElements();
    SurfaceElements(const SurfaceElements&) = delete;
    SurfaceElements& operator=(const SurfaceElements&) = delete;

    // How refusals name the model and its parts ("node 4 of the model ... element").
    static DofNumbering::Wording Wording();

    std::vector<const Element*> Pointers() const;
    const Element& At(size_t e) const { return *elements_[e]; }
    size_t Size() const { return elements_.size(); }
    // Rows: the element's local x, y and z (its normal) in global components.
    const Eigen::Matrix3d& Axes(size_t e) const { return axes_[e]; }
    // The global load per unit area of an even pressure p on element e.
    std::array<double, 3> PressureLoad(size_t e, double p) const;

private:
    const ShellMaterial* MaterialFor(const SurfaceModel& model, const SurfaceModel::Cell& cell,
                                     double gravity);

    std::vector<std::unique_ptr<ShellMaterial>> materials_;
    std::vector<std::pair<int, double>> keys_; // material and thickness of each entry above
    std::vector<std::unique_ptr<Element>> elements_;
    std::vector<Eigen::Matrix3d> axes_;
};
