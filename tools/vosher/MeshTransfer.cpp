#include "MeshTransfer.h"

#include "ItemLine.h"

namespace MeshTransfer {

namespace {

// The table of the model that items of `table` refer to (4 nodes, 5 elements), or 0.
int ModelReference(const TableFormat& table) {
    for (const ValueRule& column : table.Columns) {
        if (column.RefTable == 4 || column.RefTable == 5)
            return column.RefTable;
    }
    return 0;
}

// Removes the items of a table that refers to the old mesh; returns the report line, or an
// empty text when the table held none. Runs of three or more numbers are told as "1 to 8", so
// that a long table makes a short line.
QString RemoveItems(DataFileText& text, const DataFormat& format, const TableFormat& table) {
    const DataFileText::Span span = text.Table(table.Number);
    if (!span.Found())
        return {};
    QStringList items;
    int count = 0;
    bool inRun = false;
    int runFrom = 0, runTo = 0; // a run of consecutive item numbers not yet listed
    const auto closeRun = [&] {
        if (!inRun)
            return;
        if (runTo - runFrom >= 2) {
            items << QStringLiteral("%1 to %2").arg(runFrom).arg(runTo);
        } else {
            items << QString::number(runFrom);
            if (runTo != runFrom)
                items << QString::number(runTo);
        }
        inRun = false;
    };
    for (int i = span.Header + 1; i < span.End; ++i) {
        if (!text.Line(i).startsWith(u'#'))
            continue;
        ++count;
        const ItemLine item = ItemLine::Parse(text.Line(i));
        if (item.Valid && inRun && item.Number == qint64(runTo) + 1) {
            runTo = item.Number;
            continue;
        }
        closeRun();
        if (item.Valid) {
            inRun = true;
            runFrom = runTo = item.Number;
        } else {
            items << QStringLiteral("\"%1\"").arg(text.Line(i).simplified());
        }
    }
    closeRun();
    if (count == 0)
        return {};
    text.ReplaceItems(span, {});
    const TableFormat* referred = format.Table(ModelReference(table));
    return QStringLiteral("Removed from table %1 (they referred to %2 of the old mesh): %3 %4. "
                          "Give them again.")
        .arg(table.Number)
        .arg(referred ? referred->ItemsName : QStringLiteral("items"))
        .arg(count == 1 ? QStringLiteral("item") : QStringLiteral("items"))
        .arg(items.join(QStringLiteral(", ")));
}

} // namespace

Result Apply(DataFileText& text, const DataFormat& format, const Mesh& mesh) {
    const TableFormat* nodes = format.Table(4);
    const TableFormat* elements = format.Table(5);
    if (!nodes || !elements || nodes->Columns.size() != 2)
        return {QStringLiteral("%1 take no mesh of plane regions").arg(format.Name), {}};
    for (int table : {4, 5}) {
        if (!text.Table(table).Found())
            return {QStringLiteral("the data file has no table %1 to take the mesh").arg(table),
                    {}};
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
    Result result;
    for (const TableFormat& table : format.Tables) {
        if (table.Number > 5 && ModelReference(table) != 0) {
            const QString removed = RemoveItems(text, format, table);
            if (!removed.isEmpty())
                result.Removed << removed;
        }
    }
    text.ReplaceItems(text.Table(4), nodeLines);
    text.ReplaceItems(text.Table(5), elementLines);
    text.SetGeneralValue(DataFormat::CountItemOf(4), QString::number(nodeLines.size()));
    text.SetGeneralValue(DataFormat::CountItemOf(5), QString::number(elementLines.size()));
    return result;
}

} // namespace MeshTransfer
