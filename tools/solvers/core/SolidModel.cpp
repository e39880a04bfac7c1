#include "SolidModel.h"

#include "ParsedData.h"

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

} // namespace

SolidModel SolidModel::FromData(int problem, const ParsedData& data) {
    SolidModel model;
    model.Problem = problem;
    model.Title = !data.General.empty() ? data.General[0].Text : QString();
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));

    const ParsedTable& nodes = *data.Table(4);
    model.Nodes.reserve(static_cast<size_t>(nodes.Rows()));
    model.NodeLines.reserve(static_cast<size_t>(nodes.Rows()));
    for (int row = 0; row < nodes.Rows(); ++row) {
        model.Nodes.push_back({nodes.At(row, 0), nodes.At(row, 1), nodes.At(row, 2)});
        model.NodeLines.push_back(nodes.Lines[static_cast<size_t>(row)]);
    }
    const ParsedTable& materials = *data.Table(2);
    for (int row = 0; row < materials.Rows(); ++row)
        model.Materials.push_back(
            {materials.At(row, 0), materials.At(row, 1), materials.At(row, 2)});
    const ParsedTable& elements = *data.Table(5);
    model.Cells.reserve(static_cast<size_t>(elements.Rows()));
    for (int row = 0; row < elements.Rows(); ++row) {
        Cell cell;
        // The corners in use come first; a wedge leaves the last two 0, a tetrahedron four.
        cell.Count = 0;
        for (int c = 0; c < 8; ++c) {
            const int node = Index(elements.At(row, c));
            cell.Corners[static_cast<size_t>(c)] = node;
            if (node >= 0)
                cell.Count = c + 1;
        }
        cell.Material = Index(elements.At(row, 8));
        cell.Line = elements.Lines[static_cast<size_t>(row)];
        model.Cells.push_back(cell);
    }
    if (const ParsedTable* table = data.Table(6)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Supports.push_back(
                {Index(table->At(row, 0)),
                 {table->At(row, 1) != 0, table->At(row, 2) != 0, table->At(row, 3) != 0},
                 table->Lines[static_cast<size_t>(row)]});
    }
    if (const ParsedTable* table = data.Table(7)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Loads.push_back({static_cast<int>(table->At(row, 0)),
                                   Index(table->At(row, 1)),
                                   {table->At(row, 2), table->At(row, 3), table->At(row, 4)},
                                   table->Lines[static_cast<size_t>(row)]});
    }
    return model;
}
