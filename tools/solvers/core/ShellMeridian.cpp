#include "ShellMeridian.h"

#include "ParsedData.h"
#include "RepeatedElement.h"

namespace {

int Index(double number) {
    return static_cast<int>(number) - 1;
}

} // namespace

ShellMeridian ShellMeridian::FromData(const ParsedData& data) {
    ShellMeridian model;
    model.Title = !data.General.empty() ? data.General[0].Text : QString();
    model.ForceUnit = data.General.size() > 1 ? data.General[1].Text : QString();
    model.LengthUnit = data.General.size() > 2 ? data.General[2].Text : QString();
    model.LoadCases = static_cast<int>(data.GeneralNumber(4));
    if (const ParsedTable* nodes = data.Table(4)) {
        for (int row = 0; row < nodes->Rows(); ++row)
            model.Nodes.push_back({nodes->At(row, 0), nodes->At(row, 1)});
    }
    if (const ParsedTable* materials = data.Table(2)) {
        for (int row = 0; row < materials->Rows(); ++row)
            model.Materials.push_back(
                {materials->At(row, 0), materials->At(row, 1), materials->At(row, 2)});
    }
    const ParsedTable* sections = data.Table(3);
    if (const ParsedTable* elements = data.Table(5)) {
        for (int row = 0; row < elements->Rows(); ++row) {
            Element element;
            element.I = Index(elements->At(row, 0));
            element.J = Index(elements->At(row, 1));
            element.Material = Index(elements->At(row, 2));
            element.Thickness = sections ? sections->At(Index(elements->At(row, 3)), 0) : 0;
            element.Line = elements->Lines[static_cast<size_t>(row)];
            model.Elements.push_back(element);
        }
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
    if (const ParsedTable* table = data.Table(8)) {
        for (int row = 0; row < table->Rows(); ++row)
            model.Pressures.push_back({static_cast<int>(table->At(row, 0)),
                                       Index(table->At(row, 1)), table->At(row, 2),
                                       table->Lines[static_cast<size_t>(row)]});
    }
    return model;
}

QString ShellMeridian::Fault() const {
    for (size_t e = 0; e < Elements.size(); ++e) {
        const Element& element = Elements[e];
        if (OnAxis(element.I) && OnAxis(element.J))
            return QStringLiteral("Line %1: element %2 lies on the axis (nodes %3 and %4 have "
                                  "r = 0): a shell of revolution needs a radius")
                .arg(element.Line)
                .arg(e + 1)
                .arg(element.I + 1)
                .arg(element.J + 1);
    }
    std::vector<std::array<int, 2>> ends;
    ends.reserve(Elements.size());
    for (const Element& element : Elements)
        ends.push_back({element.I, element.J});
    const RepeatedElement::Pair repeated = RepeatedElement::Find(
        ends.size(), [&ends](size_t e) { return std::span<const int>(ends[e]); });
    if (repeated.Later >= 0)
        return QStringLiteral("Line %1: ").arg(Elements[static_cast<size_t>(repeated.Later)].Line) +
               RepeatedElement::Fault(repeated,
                                      Elements[static_cast<size_t>(repeated.Earlier)].Line);
    for (const NodalLoad& load : Loads) {
        if (OnAxis(load.Node) && (load.Load[0] != 0 || load.Load[1] != 0 || load.Load[2] != 0))
            return QStringLiteral("Line %1: node %2 lies on the axis, where a ring load has no "
                                  "circumference to act on; give the load as a pressure on the "
                                  "elements or at nodes off the axis")
                .arg(load.Line)
                .arg(load.Node + 1);
    }
    return {};
}
