#pragma once

#include "MeshModel.h"

#include <cmath>
#include <numbers>

// Small meshes of quadrilaterals built in code, one per family that shares the iterative
// solver with the solids: a plane-stress wall clamped at x = 0 with a load down at its free
// end, a plate clamped along y = 0 under an even pressure, and a cylindrical shell panel
// clamped along y = 0 under an even pressure. `n` elements across, 2 n along.
namespace MeshPanels {

inline MeshModel Grid(ProblemType::Mesh kind, int n) {
    MeshModel model;
    model.Kind = kind;
    model.Problem = kind == ProblemType::Mesh::PlaneStress ? 9
                    : kind == ProblemType::Mesh::Plate     ? 13
                                                           : 14;
    model.Components = ProblemType::Of(model.Problem).Components;
    model.Title = QStringLiteral("panel");
    model.ForceUnit = QStringLiteral("kN");
    model.LengthUnit = QStringLiteral("m");
    model.Materials.push_back({3.0e7, 0.2, 0});
    const int along = 2 * n;
    const auto node = [n](int i, int j) { return j * (n + 1) + i; };
    for (int j = 0; j <= along; ++j)
        for (int i = 0; i <= n; ++i) {
            const double u = static_cast<double>(i) / n, v = 4.0 * j / along;
            const double angle = (u - 0.5) * std::numbers::pi / 3;
            switch (kind) {
            case ProblemType::Mesh::PlaneStress: // the wall's length along x, height along z
                model.Nodes.push_back({v, 0, u});
                break;
            case ProblemType::Mesh::Plate:
                model.Nodes.push_back({u, v, 0});
                break;
            default: // a sixth of a cylinder of radius 2 about the y axis
                model.Nodes.push_back({2 * std::sin(angle), v, 2 * std::cos(angle)});
                break;
            }
            const bool wall = kind == ProblemType::Mesh::PlaneStress;
            if (j == 0) {
                MeshModel::Support support{node(i, j), {}, 0};
                for (int c : model.Components)
                    support.Fixed[static_cast<size_t>(c)] = true;
                model.Supports.push_back(support);
            } else if (wall && j == along) {
                model.Loads.push_back({1, node(i, j), {0, 0, -1.0 / (n + 1)}, 0});
            }
        }
    for (int j = 0; j < along; ++j)
        for (int i = 0; i < n; ++i) {
            MeshModel::Cell cell;
            cell.Corners.fill(-1);
            cell.Corners[0] = node(i, j);
            cell.Corners[1] = node(i + 1, j);
            cell.Corners[2] = node(i + 1, j + 1);
            cell.Corners[3] = node(i, j + 1);
            cell.Count = 4;
            cell.Thickness = 0.1;
            cell.Line = 100 + static_cast<int>(model.Cells.size());
            if (kind != ProblemType::Mesh::PlaneStress)
                model.ElementLoads.push_back({1, static_cast<int>(model.Cells.size()), -5.0, 0});
            model.Cells.push_back(cell);
        }
    return model;
}

} // namespace MeshPanels
