#include "MeshTransfer.h"

#include "ItemLine.h"

namespace MeshTransfer {

QString Apply(DataFileText& text, const DataFormat& format, const Mesh& mesh) {
    const TableFormat* nodes = format.Table(4);
    const TableFormat* elements = format.Table(5);
    if (!nodes || !elements || nodes->Columns.size() != 2)
        return QStringLiteral("%1 take no mesh of plane regions").arg(format.Name);
    for (int table : {4, 5}) {
        if (!text.Table(table).Found())
            return QStringLiteral("the data file has no table %1 to take the mesh").arg(table);
    }
    const bool sections = format.Table(3) != nullptr;

    QStringList nodeLines;
    int number = 0;
    for (const QPointF& node : mesh.Nodes)
        nodeLines << ItemLine::Format(
            ++number, {ItemLine::NumberText(node.x()), ItemLine::NumberText(node.y())}, 10);
    QStringList elementLines;
    number = 0;
    for (const Mesh::Element& element : mesh.Elements) {
        QStringList values;
        for (int corner : element.Corners)
            values << QString::number(corner);
        values << QString::number(element.Material);
        if (sections)
            values << QString::number(element.Section);
        elementLines << ItemLine::Format(++number, values, 5);
    }
    text.ReplaceItems(text.Table(4), nodeLines);
    text.ReplaceItems(text.Table(5), elementLines);
    text.SetGeneralValue(DataFormat::CountItemOf(4), QString::number(nodeLines.size()));
    text.SetGeneralValue(DataFormat::CountItemOf(5), QString::number(elementLines.size()));
    return {};
}

} // namespace MeshTransfer
