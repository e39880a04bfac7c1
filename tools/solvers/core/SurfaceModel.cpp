#include "SurfaceModel.h"

#include "ParsedData.h"
#include "ProblemType.h"

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

} // namespace

SurfaceModel SurfaceModel::FromData(int problem, const ParsedData& data) {
    SurfaceModel model;
    model.Problem = problem;
    model.Type =
        ProblemType::Of(problem).Meshes == ProblemType::Mesh::Shell ? Kind::Shell : Kind::Plate;
    model.Components =
        model.IsPlate() ? std::vector<int>{2, 3, 4} : std::vector<int>{0, 1, 2, 3, 4, 5};
    model.Title = !data.General.empty() ? data.General[0].Text : QString();
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));
    model.Modes = model.IsPlate() ? static_cast<int>(data.GeneralNumber(9)) : 0;

    const int coordinates = model.IsPlate() ? 2 : 3;
    const ParsedTable& nodes = *data.Table(4);
    for (int row = 0; row < nodes.Rows(); ++row) {
        std::array<double, 3> at{};
        for (int c = 0; c < coordinates; ++c)
            at[static_cast<size_t>(c)] = nodes.At(row, c);
        model.Nodes.push_back(at);
        model.NodeLines.push_back(nodes.Lines[static_cast<size_t>(row)]);
    }
    const ParsedTable& materials = *data.Table(2);
    for (int row = 0; row < materials.Rows(); ++row)
        model.Materials.push_back(
            {materials.At(row, 0), materials.At(row, 1), materials.At(row, 2)});
    const ParsedTable& sections = *data.Table(3);
    const ParsedTable& elements = *data.Table(5);
    for (int row = 0; row < elements.Rows(); ++row) {
        Cell cell;
        for (int c = 0; c < 4; ++c)
            cell.Corners[static_cast<size_t>(c)] = Index(elements.At(row, c));
        cell.Count = cell.Corners[3] < 0 ? 3 : 4;
        cell.Material = Index(elements.At(row, 4));
        cell.Thickness = sections.At(Index(elements.At(row, 5)), 0);
        cell.Line = elements.Lines[static_cast<size_t>(row)];
        model.Cells.push_back(cell);
    }
    const std::vector<int>& kept = model.Components;
    if (const ParsedTable* table = data.Table(6)) {
        for (int row = 0; row < table->Rows(); ++row) {
            Support support{Index(table->At(row, 0)), {}, table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < kept.size(); ++k)
                support.Fixed[static_cast<size_t>(kept[k])] =
                    table->At(row, static_cast<int>(k) + 1) != 0;
            model.Supports.push_back(support);
        }
    }
    if (const ParsedTable* table = data.Table(7)) {
        for (int row = 0; row < table->Rows(); ++row) {
            NodalLoad load{static_cast<int>(table->At(row, 0)),
                           Index(table->At(row, 1)),
                           {},
                           table->Lines[static_cast<size_t>(row)]};
            for (size_t k = 0; k < kept.size(); ++k)
                load.Load[static_cast<size_t>(kept[k])] = table->At(row, static_cast<int>(k) + 2);
            model.Loads.push_back(load);
        }
    }
    if (const ParsedTable* table = data.Table(8)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Pressures.push_back({static_cast<int>(table->At(row, 0)),
                                       Index(table->At(row, 1)), table->At(row, 2),
                                       table->Lines[static_cast<size_t>(row)]});
    }
    if (const ParsedTable* table = data.Table(9)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Masses.push_back({Index(table->At(row, 0)), table->At(row, 1),
                                    table->Lines[static_cast<size_t>(row)]});
    }
    return model;
}
