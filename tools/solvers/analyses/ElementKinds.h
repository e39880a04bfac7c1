#pragma once

#include "Element.h"
#include "MeshModel.h"
#include "ProblemType.h"

#include <Eigen/Dense>
#include <array>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

struct PlaneSolid;
struct ShellMaterial;
struct SolidMaterial;

// The kinds of element a mesh offers: per mesh kind and number of corners of a cell, the
// function that makes one from the family's material, the model and the cell's corners (in the
// order the mesh check settled). A family looks its makers up once per mesh kind, then calls
// them by the corner count of each cell, so a new element kind is a row here and touches no
// family. `Made` is what the family keeps of an element.
template <class Material, class Made = std::unique_ptr<Element>>
class ElementKinds {
public:
    using Maker = Made (*)(const Material& material, const MeshModel& model,
                           std::span<const int> corners);
    struct Row {
        ProblemType::Mesh Mesh = ProblemType::Mesh::None;
        int Corners = 0;
        Maker Make = nullptr;
    };
    static constexpr int MostCorners = 8;
    // The makers of one mesh kind by the number of corners; none where it offers no element.
    struct ByCorners {
        std::array<Maker, MostCorners + 1> Makers{};
        Maker For(int corners) const {
            return corners >= 0 && corners <= MostCorners ? Makers[static_cast<size_t>(corners)]
                                                          : nullptr;
        }
    };

    ElementKinds(std::initializer_list<Row> rows) : rows_(rows) {}

    // Adds a kind, or puts it in place of the one of the same mesh kind and corners.
    void Set(const Row& row) {
        for (Row& kind : rows_) {
            if (kind.Mesh == row.Mesh && kind.Corners == row.Corners) {
                kind = row;
                return;
            }
        }
        rows_.push_back(row);
    }

    ByCorners Of(ProblemType::Mesh mesh) const {
        ByCorners makers;
        for (const Row& row : rows_) {
            if (row.Mesh == mesh && row.Corners >= 0 && row.Corners <= MostCorners)
                makers.Makers[static_cast<size_t>(row.Corners)] = row.Make;
        }
        return makers;
    }

private:
    std::vector<Row> rows_;
};

// A plate or shell element with its axes (rows: local x, y and z, the normal, in global
// components), which the pressures and the nodal results follow.
struct SurfaceElement {
    std::unique_ptr<Element> Made;
    Eigen::Matrix3d Axes = Eigen::Matrix3d::Identity();
};

using PlaneKinds = ElementKinds<PlaneSolid>;
using SurfaceKinds = ElementKinds<ShellMaterial, SurfaceElement>;
using SolidKinds = ElementKinds<SolidMaterial>;

// The elements the package offers.
namespace StandardElements {
PlaneKinds Plane();
SurfaceKinds Surface();
SolidKinds Solid();
} // namespace StandardElements
