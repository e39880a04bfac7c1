#include "ShaftModel.h"

#include "ParsedData.h"
#include "Units.h"

#include <cmath>
#include <numbers>

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

double Power4(double x) {
    return x * x * x * x;
}

} // namespace

double ShaftModel::Section::Area() const {
    return std::numbers::pi / 4 * (D * D - d * d);
}

double ShaftModel::Section::Inertia() const {
    return std::numbers::pi / 64 * (Power4(D) - Power4(d));
}

double ShaftModel::Section::PolarInertia() const {
    return 2 * Inertia();
}

double ShaftModel::Length(const Element& element) const {
    return std::abs(X[static_cast<size_t>(element.J)] - X[static_cast<size_t>(element.I)]);
}

ShaftModel ShaftModel::FromData(const ParsedData& data) {
    ShaftModel model;
    model.Title = !data.General.empty() ? data.General[0].Text : QString();
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.Frequencies = static_cast<int>(data.GeneralNumber(9));
    model.Gravity = Units::Gravity(model.LengthUnit);

    const auto line = [](const ParsedTable& table, int row) {
        return table.Lines[static_cast<size_t>(row)];
    };
    const ParsedTable& nodes = *data.Table(4);
    for (int row = 0; row < nodes.Rows(); ++row) {
        model.X.push_back(nodes.At(row, 0));
        model.NodeLines.push_back(line(nodes, row));
    }
    const ParsedTable& materials = *data.Table(2);
    for (int row = 0; row < materials.Rows(); ++row)
        model.Materials.push_back({materials.At(row, 0), materials.At(row, 1), materials.At(row, 2),
                                   line(materials, row)});
    const ParsedTable& sections = *data.Table(3);
    for (int row = 0; row < sections.Rows(); ++row)
        model.Sections.push_back({sections.At(row, 0), sections.At(row, 1), line(sections, row)});
    const ParsedTable& elements = *data.Table(5);
    for (int row = 0; row < elements.Rows(); ++row)
        model.Elements.push_back({Index(elements.At(row, 0)), Index(elements.At(row, 1)),
                                  Index(elements.At(row, 2)), Index(elements.At(row, 3)),
                                  line(elements, row)});
    if (const ParsedTable* table = data.Table(6)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Bearings.push_back(
                {Index(table->At(row, 0)), table->At(row, 1), line(*table, row)});
    }
    if (const ParsedTable* table = data.Table(9)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Discs.push_back({Index(table->At(row, 0)), table->At(row, 1), table->At(row, 2),
                                   table->At(row, 3), line(*table, row)});
    }
    return model;
}
