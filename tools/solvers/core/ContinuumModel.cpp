#include "ContinuumModel.h"

#include "ParsedData.h"
#include "ProblemType.h"

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

ContinuumModel::Body BodyOf(int problem) {
    switch (ProblemType::Of(problem).Meshes) {
    case ProblemType::Mesh::PlaneStrain:
        return ContinuumModel::Body::PlaneStrain;
    case ProblemType::Mesh::Revolution:
        return ContinuumModel::Body::Axisymmetric;
    case ProblemType::Mesh::Profile:
        return ContinuumModel::Body::Torsion;
    default:
        return ContinuumModel::Body::PlaneStress;
    }
}

} // namespace

ContinuumModel ContinuumModel::FromData(int problem, const ParsedData& data) {
    ContinuumModel model;
    model.Problem = problem;
    model.Kind = BodyOf(problem);
    model.Title = !data.General.empty() ? data.General[0].Text : QString();
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));
    model.Moment = data.GeneralNumber(9);

    const ParsedTable& nodes = *data.Table(4);
    for (int row = 0; row < nodes.Rows(); ++row) {
        model.Nodes.push_back({nodes.At(row, 0), nodes.At(row, 1)});
        model.NodeLines.push_back(nodes.Lines[static_cast<size_t>(row)]);
    }
    const ParsedTable& materials = *data.Table(2);
    for (int row = 0; row < materials.Rows(); ++row)
        model.Materials.push_back(
            {materials.At(row, 0), materials.At(row, 1), materials.At(row, 2)});
    const ParsedTable* sections = data.Table(3);
    const bool thick = model.Kind == Body::PlaneStress && sections;
    const ParsedTable& elements = *data.Table(5);
    for (int row = 0; row < elements.Rows(); ++row) {
        Cell cell;
        for (int c = 0; c < 4; ++c)
            cell.Corners[static_cast<size_t>(c)] = Index(elements.At(row, c));
        cell.Count = cell.Corners[3] < 0 ? 3 : 4;
        cell.Material = Index(elements.At(row, 4));
        if (thick)
            cell.Thickness = sections->At(Index(elements.At(row, 5)), 0);
        cell.Line = elements.Lines[static_cast<size_t>(row)];
        model.Cells.push_back(cell);
    }
    if (const ParsedTable* table = data.Table(6)) {
        for (int row = 0; row < table->Rows(); ++row) {
            const int line = table->Lines[static_cast<size_t>(row)];
            if (model.Kind == Body::Torsion) {
                model.Contours.push_back(
                    {Index(table->At(row, 0)), static_cast<int>(table->At(row, 1)), line});
            } else {
                model.Supports.push_back({Index(table->At(row, 0)),
                                          {table->At(row, 1) != 0, table->At(row, 2) != 0},
                                          line});
            }
        }
    }
    if (const ParsedTable* table = data.Table(7)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Loads.push_back({static_cast<int>(table->At(row, 0)),
                                   Index(table->At(row, 1)),
                                   {table->At(row, 2), table->At(row, 3)},
                                   table->Lines[static_cast<size_t>(row)]});
    }
    return model;
}
