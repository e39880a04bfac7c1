#include "MeshModel.h"

#include <algorithm>

MeshModel MeshModel::FromBars(const BarModel& bars) {
    MeshModel model;
    model.Problem = bars.Problem;
    model.ForceUnit = bars.ForceUnit;
    model.LengthUnit = bars.LengthUnit;
    model.LoadCases = std::max(1, bars.LoadCases);
    model.Modes = bars.Modes;
    model.Components = bars.Components;
    model.Nodes = bars.Nodes;
    model.Cells.reserve(bars.Bars.size());
    for (const BarModel::Bar& bar : bars.Bars) {
        Cell cell;
        cell.Corners.fill(-1);
        cell.Corners[0] = bar.I;
        cell.Corners[1] = bar.J;
        cell.Count = 2;
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
        model.ElementLoads.push_back({load.Case, load.Bar, 0, 0, load.Q});
    return model;
}
