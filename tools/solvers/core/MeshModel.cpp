#include "MeshModel.h"

#include "ParsedData.h"

#include <algorithm>

namespace {

using Mesh = ProblemType::Mesh;

int Index(double number) {
    return static_cast<int>(number) - 1;
}

// Where the two or three coordinates of a row of the nodes table go in space.
std::array<double, 3> PointOf(Mesh kind, const ParsedTable& nodes, int row) {
    switch (kind) {
    case Mesh::Solid:
    case Mesh::Shell:
        return {nodes.At(row, 0), nodes.At(row, 1), nodes.At(row, 2)};
    case Mesh::Plate:
        return {nodes.At(row, 0), nodes.At(row, 1), 0};
    default:
        return {nodes.At(row, 0), 0, nodes.At(row, 1)};
    }
}

void ReadCells(MeshModel& model, const ParsedData& data) {
    const ParsedTable& elements = *data.Table(5);
    const ParsedTable* sections = data.Table(3);
    const bool solid = model.Kind == Mesh::Solid;
    const bool meridian = model.Kind == Mesh::Meridian;
    const bool thick = sections && (model.Kind == Mesh::PlaneStress || model.Kind == Mesh::Plate ||
                                    model.Kind == Mesh::Shell || meridian);
    const int corners = solid ? 8 : meridian ? 2 : 4;
    model.Cells.reserve(static_cast<size_t>(elements.Rows()));
    for (int row = 0; row < elements.Rows(); ++row) {
        MeshModel::Cell cell;
        cell.Corners.fill(-1);
        // The corners in use come first; a wedge leaves the last two 0, a tetrahedron four, a
        // triangle the fourth.
        for (int c = 0; c < corners; ++c) {
            const int node = Index(elements.At(row, c));
            cell.Corners[static_cast<size_t>(c)] = node;
            if (node >= 0)
                cell.Count = c + 1;
        }
        if (!solid && !meridian)
            cell.Count = cell.Corners[3] < 0 ? 3 : 4;
        cell.Material = Index(elements.At(row, corners));
        if (thick)
            cell.Thickness = sections->At(Index(elements.At(row, corners + 1)), 0);
        cell.Line = elements.Lines[static_cast<size_t>(row)];
        model.Cells.push_back(cell);
    }
}

void ReadContours(MeshModel& model, const ParsedTable& table) {
    for (int row = 0; row < table.Rows(); ++row)
        model.Contours.push_back({Index(table.At(row, 0)), static_cast<int>(table.At(row, 1)),
                                  table.Lines[static_cast<size_t>(row)]});
}

void ReadSupportsAndLoads(MeshModel& model, const ParsedData& data) {
    const std::vector<int>& kept = model.Components;
    const ParsedTable* supports = data.Table(6);
    if (supports && model.Kind == Mesh::Profile)
        ReadContours(model, *supports);
    else if (const ParsedTable* table = supports) {
        for (int row = 0; row < table->Rows(); ++row) {
            MeshModel::Support support{
                Index(table->At(row, 0)), {}, table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < kept.size(); ++k)
                support.Fixed[static_cast<size_t>(kept[k])] =
                    table->At(row, static_cast<int>(k) + 1) != 0;
            model.Supports.push_back(support);
        }
    }
    if (const ParsedTable* table = data.Table(7)) {
        for (int row = 0; row < table->Rows(); ++row) {
            MeshModel::NodalLoad load{static_cast<int>(table->At(row, 0)),
                                      Index(table->At(row, 1)),
                                      {},
                                      table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < kept.size(); ++k)
                load.Load[static_cast<size_t>(kept[k])] = table->At(row, static_cast<int>(k) + 2);
            model.Loads.push_back(load);
        }
    }
    const bool surface = model.Kind == Mesh::Plate || model.Kind == Mesh::Shell;
    const bool pressed = surface || model.Kind == Mesh::Meridian;
    if (const ParsedTable* table = pressed ? data.Table(8) : nullptr) {
        for (int row = 0; row < table->Rows(); ++row)
            model.ElementLoads.push_back({static_cast<int>(table->At(row, 0)),
                                          Index(table->At(row, 1)),
                                          table->At(row, 2),
                                          table->Lines[static_cast<size_t>(row)],
                                          {}});
    }
    if (const ParsedTable* table = surface ? data.Table(9) : nullptr) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Masses.push_back({Index(table->At(row, 0)), table->At(row, 1),
                                    table->Lines[static_cast<size_t>(row)]});
    }
}

// Temperatures of the continuum types: per node of a plane body or solid ("case node dT"), per
// element of a plate ("case element dTd") and of a shell or a shell of revolution ("case element
// dT dTd").
void ReadHeats(MeshModel& model, const ParsedTable& table) {
    const bool perNode = model.IsPlane() || model.Kind == Mesh::Solid;
    for (int row = 0; row < table.Rows(); ++row) {
        const double* v = table.Row(row);
        MeshModel::Heat heat;
        heat.Case = static_cast<int>(v[0]);
        heat.Line = table.Lines[static_cast<size_t>(row)];
        if (perNode) {
            heat.Node = Index(v[1]);
            heat.Change = v[2];
        } else {
            heat.Cell = Index(v[1]);
            if (model.Kind == Mesh::Plate) {
                heat.Across = v[2];
            } else {
                heat.Change = v[2];
                heat.Across = v[3];
            }
        }
        model.Heats.push_back(heat);
    }
}

template <typename Item>
std::vector<std::vector<size_t>> ByCase(const std::vector<Item>& items, int cases) {
    std::vector<std::vector<size_t>> by(static_cast<size_t>(std::max(0, cases)) + 1);
    for (size_t k = 0; k < items.size(); ++k) {
        const int c = items[k].Case;
        if (c >= 1 && c <= cases)
            by[static_cast<size_t>(c)].push_back(k);
    }
    return by;
}

} // namespace

bool MeshModel::IsPlane() const {
    return Kind == Mesh::PlaneStress || Kind == Mesh::PlaneStrain || Kind == Mesh::Revolution;
}

std::array<double, 2> MeshModel::Plan(int node) const {
    const std::array<double, 3>& at = Nodes[static_cast<size_t>(node)];
    return Kind == Mesh::Plate ? std::array<double, 2>{at[0], at[1]}
                               : std::array<double, 2>{at[0], at[2]};
}

std::vector<std::array<double, 2>> MeshModel::Plan() const {
    std::vector<std::array<double, 2>> plan;
    plan.reserve(Nodes.size());
    for (size_t node = 0; node < Nodes.size(); ++node)
        plan.push_back(Plan(static_cast<int>(node)));
    return plan;
}

std::vector<std::vector<size_t>> MeshModel::LoadsByCase() const {
    return ByCase(Loads, LoadCases);
}

std::vector<std::vector<size_t>> MeshModel::ElementLoadsByCase() const {
    return ByCase(ElementLoads, LoadCases);
}

MeshModel MeshModel::FromData(int problem, const ParsedData& data) {
    MeshModel model;
    const ProblemType& type = ProblemType::Of(problem);
    model.Problem = problem;
    model.Kind = type.Meshes;
    model.Components = type.Components;
    model.Title = !data.General.empty() ? data.General[0].Text : QString();
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));
    model.Modes = model.Kind == Mesh::Plate ? static_cast<int>(data.GeneralNumber(9)) : 0;
    model.Moment = model.Kind == Mesh::Profile ? data.GeneralNumber(9) : 0;
    const ParsedTable& nodes = *data.Table(4);
    model.Nodes.reserve(static_cast<size_t>(nodes.Rows()));
    model.NodeLines.reserve(static_cast<size_t>(nodes.Rows()));
    for (int row = 0; row < nodes.Rows(); ++row) {
        model.Nodes.push_back(PointOf(model.Kind, nodes, row));
        model.NodeLines.push_back(nodes.Lines[static_cast<size_t>(row)]);
    }
    const ParsedTable& materials = *data.Table(2);
    for (int row = 0; row < materials.Rows(); ++row)
        model.Materials.push_back(
            {materials.At(row, 0), materials.At(row, 1), materials.At(row, 2)});
    for (int row = 0; row < materials.Rows(); ++row)
        if (materials.Width > 3)
            model.Materials[static_cast<size_t>(row)].Alpha = materials.At(row, 3);
    ReadCells(model, data);
    ReadSupportsAndLoads(model, data);
    model.ReadActions(type, model.Components, data);
    if (const ParsedTable* table = data.Table(11))
        ReadHeats(model, *table);
    if (const ParsedTable* table = data.Table(14)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Foundations.push_back({Index(table->At(row, 0)), table->At(row, 1),
                                         table->Lines[static_cast<size_t>(row)]});
    }
    return model;
}
