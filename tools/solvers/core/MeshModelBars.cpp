#include "MeshModel.h"

#include <algorithm>

namespace {

MeshModel::ElementLoad LoadOf(const BarModel::ElementLoad& load) {
    MeshModel::ElementLoad along;
    along.Case = load.Case;
    along.Cell = load.Bar;
    along.Line = load.Line;
    along.Q = load.Q;
    switch (load.Along) {
    case BarModel::ElementLoad::Spread::Even:
        along.Along = MeshModel::ElementLoad::Spread::Even;
        break;
    case BarModel::ElementLoad::Spread::Point:
        along.Along = MeshModel::ElementLoad::Spread::Point;
        break;
    case BarModel::ElementLoad::Spread::Partial:
        along.Along = MeshModel::ElementLoad::Spread::Partial;
        break;
    }
    along.Member = load.Member;
    along.A = load.A;
    along.B = load.B;
    along.QB = load.QB;
    along.Moment = load.Moment;
    return along;
}

} // namespace

MeshModel MeshModel::FromBars(const BarModel& bars) {
    MeshModel model;
    model.Problem = bars.Problem;
    model.ForceUnit = bars.ForceUnit;
    model.LengthUnit = bars.LengthUnit;
    model.LoadCases = std::max(1, bars.LoadCases);
    model.Modes = bars.Modes;
    model.Components = bars.Components;
    model.Nodes = bars.Nodes;
    for (const BarModel::Material& m : bars.Materials)
        model.Materials.push_back({m.E, m.Nu, m.Gamma, m.Alpha});
    // A model made without the file's materials (by a program, not from data) has each bar's
    // own.
    const bool own = bars.Materials.empty();
    model.Cells.reserve(bars.Bars.size());
    for (const BarModel::Bar& bar : bars.Bars) {
        Cell cell;
        cell.Corners.fill(-1);
        cell.Corners[0] = bar.I;
        cell.Corners[1] = bar.J;
        cell.Count = 2;
        cell.Material = own ? static_cast<int>(model.Materials.size()) : bar.Material;
        if (own)
            model.Materials.push_back(
                {bar.E, bar.G > 0 ? bar.E / (2 * bar.G) - 1 : 0, bar.Density, bar.Alpha});
        model.Cells.push_back(cell);
    }
    model.Supports.reserve(bars.Supports.size());
    for (const BarModel::Support& support : bars.Supports)
        model.Supports.push_back({support.Node, support.Fixed, 0});
    model.Loads.reserve(bars.NodalLoads.size());
    for (const BarModel::NodalLoad& load : bars.NodalLoads)
        model.Loads.push_back({load.Case, load.Node, load.Load, 0});
    model.ElementLoads.reserve(bars.ElementLoads.size());
    for (const BarModel::ElementLoad& load : bars.ElementLoads)
        model.ElementLoads.push_back(LoadOf(load));
    // The weights, settlements, springs, combinations, temperatures and foundations, which
    // bars and meshes hold alike.
    static_cast<NodeActions&>(model) = bars;
    return model;
}
