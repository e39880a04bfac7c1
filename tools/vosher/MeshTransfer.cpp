#include "MeshTransfer.h"

#include "ItemLine.h"
#include "ModelRules.h"
#include "ParsedData.h"
#include "RepeatedElement.h"

#include <cmath>

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

// The report line on the items of a table that refers to the old mesh, `lead` telling what
// becomes of them ("Removed from table 6"), or an empty text when the table holds none. Runs
// of three or more numbers are told as "1 to 8", so that a long table makes a short line.
QString ItemsNote(const DataFileText& text, const DataFormat& format, const TableFormat& table,
                  const QString& lead) {
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
    const TableFormat* referred = format.Table(ModelReference(table));
    return QStringLiteral("%1 (they referred to %2 of the old mesh): %3 %4. Give them again.")
        .arg(lead)
        .arg(referred ? referred->ItemsName : QStringLiteral("items"))
        .arg(count == 1 ? QStringLiteral("item") : QStringLiteral("items"))
        .arg(items.join(QStringLiteral(", ")));
}

// Removes the items of a table that refers to the old mesh; returns the report line, or an
// empty text when the table held none.
QString RemoveItems(DataFileText& text, const DataFormat& format, const TableFormat& table) {
    const QString note =
        ItemsNote(text, format, table, QStringLiteral("Removed from table %1").arg(table.Number));
    if (!note.isEmpty())
        text.ReplaceItems(text.Table(table.Number), {});
    return note;
}

// The value of item `item` of table 1: the text after its "=", up to a remark.
QString GeneralValue(const DataFileText& text, int item) {
    const DataFileText::Span span = text.Table(1);
    if (!span.Found())
        return {};
    for (int i = span.Header + 1; i < span.End; ++i) {
        const ItemLine line = ItemLine::Parse(text.Line(i));
        if (!line.Valid || line.Number != item)
            continue;
        QString value = text.Line(i).section(u'=', 1);
        return value.section(u';', 0, 0).trimmed();
    }
    return {};
}

// Why the mesh's table cannot go into the data file, or an empty text.
QString CheckTable(const Mesh::Table& table, const DataFormat& format, const Mesh& mesh,
                   const DataFileText& text) {
    const TableFormat* wanted = table.Number > 5 ? format.Table(table.Number) : nullptr;
    if (!wanted)
        return QStringLiteral("the mesh file gives table %1, which %2 do not have")
            .arg(table.Number)
            .arg(format.Name);
    const size_t width = wanted->Columns.size();
    double cases = -1;
    for (size_t row = 0; row < table.Items.size(); ++row) {
        const std::vector<double>& item = table.Items[row];
        const QString where =
            QStringLiteral("table %1 of the mesh file, item %2").arg(table.Number).arg(row + 1);
        if (item.size() != width)
            return QStringLiteral("%1: %2 values expected (%3), not %4")
                .arg(where)
                .arg(width)
                .arg([&] {
                    QStringList names;
                    for (const ValueRule& column : wanted->Columns)
                        names << column.Name;
                    return names.join(QStringLiteral(" "));
                }())
                .arg(item.size());
        for (size_t v = 0; v < width; ++v) {
            const ValueRule& rule = wanted->Columns[v];
            const double value = item[v];
            const bool whole = rule.Type == ValueRule::Kind::Integer;
            if (!std::isfinite(value) || (whole && value != std::floor(value)) ||
                value < rule.Min || value > rule.Max)
                return QStringLiteral("%1: %2 = %3 is out of its range")
                    .arg(where, rule.Name, ItemLine::NumberText(value));
            if ((rule.RefTable == 4 && value > double(mesh.Nodes.size())) ||
                (rule.RefTable == 5 && value > double(mesh.Elements.size())))
                return QStringLiteral("%1: %2 %3 is not in the mesh")
                    .arg(where, rule.Name, ItemLine::NumberText(value));
            if (rule.RefGeneralItem == 4) {
                if (cases < 0) {
                    const QString given = GeneralValue(text, 4);
                    if (!ValueRule::ParseWhole(given, cases))
                        return QStringLiteral("the mesh brings loads, but item 4 of table 1 "
                                              "(load cases) is \"%1\", not a number")
                            .arg(given);
                }
                if (value > cases)
                    return QStringLiteral("the mesh brings loads of load case %1, but the data "
                                          "file has %2 load cases (item 4 of table 1); raise "
                                          "item 4 or give the loads in the mesher another case")
                        .arg(ItemLine::NumberText(value))
                        .arg(cases);
            }
        }
    }
    return {};
}

// Why node `node`'s coordinates, written as the data file will hold them, are not what table
// 4 takes, or an empty text. The checker's own rules judge them, so the two never disagree.
QString CheckNode(const TableFormat& nodes, const QPointF& node) {
    const ParsedData none;
    for (size_t v = 0; v < 2; ++v) {
        double value = 0;
        const QString error =
            nodes.Columns[v].Read(ItemLine::NumberText(v == 0 ? node.x() : node.y()), none, value);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

// Why an element of the mesh is too small or too large to compute with, by the checker's own
// measure (its two corners farthest apart), or an empty text.
QString CheckSize(const Mesh& mesh, const Mesh::Element& element) {
    double size = 0;
    int from = 0, to = 0;
    for (size_t a = 0; a < element.Corners.size(); ++a) {
        for (size_t b = a + 1; b < element.Corners.size(); ++b) {
            const QPointF& p = mesh.Nodes[static_cast<size_t>(element.Corners[a] - 1)];
            const QPointF& q = mesh.Nodes[static_cast<size_t>(element.Corners[b] - 1)];
            if (const double d = std::hypot(p.x() - q.x(), p.y() - q.y()); d > size) {
                size = d;
                from = element.Corners[a];
                to = element.Corners[b];
            }
        }
    }
    return ModelRules::SizeFault(size, from, to);
}

Result Refusal(const QString& error) {
    Result refused;
    refused.Error = error;
    return refused;
}

QStringList ItemLines(const Mesh::Table& table, const TableFormat& format) {
    QStringList lines;
    int number = 0;
    for (const std::vector<double>& item : table.Items) {
        QStringList values;
        for (size_t v = 0; v < item.size(); ++v) {
            const bool whole = format.Columns[v].Type == ValueRule::Kind::Integer;
            values << ItemLine::NumberText(item[v]).rightJustified(whole ? 5 : 10);
        }
        lines << ItemLine::Format(++number, values, 0);
    }
    return lines;
}

// An element on the nodes of an earlier one would count its stiffness twice: the checker
// refuses the data file, so the mesh is refused before it is written.
Result Repeated(const Mesh& mesh) {
    std::vector<std::vector<int>> corners(mesh.Elements.size());
    for (size_t e = 0; e < mesh.Elements.size(); ++e) {
        for (int corner : mesh.Elements[e].Corners) {
            if (corner != 0)
                corners[e].push_back(corner);
        }
    }
    const RepeatedElement::Pair pair = RepeatedElement::Find(
        corners.size(), [&corners](size_t e) { return std::span<const int>(corners[e]); });
    if (pair.Later < 0)
        return {};
    Result refused = Refusal(QStringLiteral("element %1 of the mesh repeats element %2: an "
                                            "element on the same nodes is the same element "
                                            "given twice")
                                 .arg(pair.Later + 1)
                                 .arg(pair.Earlier + 1));
    refused.FaultyElement = pair.Later;
    return refused;
}

} // namespace

Result Apply(DataFileText& text, const DataFormat& format, const Mesh& mesh) {
    const TableFormat* nodes = format.Table(4);
    const TableFormat* elements = format.Table(5);
    if (!nodes || !elements || nodes->Columns.size() != 2)
        return Refusal(QStringLiteral("%1 take no mesh of plane regions").arg(format.Name));
    for (int table : {4, 5}) {
        if (!text.Table(table).Found())
            return Refusal(
                QStringLiteral("the data file has no table %1 to take the mesh").arg(table));
    }
    for (size_t n = 0; n < mesh.Nodes.size(); ++n) {
        const QString error = CheckNode(*nodes, mesh.Nodes[n]);
        if (!error.isEmpty()) {
            Result refused =
                Refusal(QStringLiteral("node %1 of the mesh: %2").arg(n + 1).arg(error));
            refused.FaultyNode = static_cast<int>(n);
            return refused;
        }
    }
    for (size_t e = 0; e < mesh.Elements.size(); ++e) {
        const QString error = CheckSize(mesh, mesh.Elements[e]);
        if (!error.isEmpty()) {
            Result refused =
                Refusal(QStringLiteral("element %1 of the mesh: %2").arg(e + 1).arg(error));
            refused.FaultyElement = static_cast<int>(e);
            return refused;
        }
    }
    if (Result refused = Repeated(mesh); refused.FaultyElement >= 0)
        return refused;
    const bool sections = format.Table(3) != nullptr;
    for (const Mesh::Table& table : mesh.Tables) {
        const QString error = CheckTable(table, format, mesh, text);
        if (!error.isEmpty())
            return Refusal(error);
        if (!text.Table(table.Number).Found())
            return Refusal(QStringLiteral("the data file has no table %1 to take the mesh's %2")
                               .arg(table.Number)
                               .arg(format.Table(table.Number)->ItemsName));
    }

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
    const auto given = [&](int number) -> const Mesh::Table* {
        for (const Mesh::Table& table : mesh.Tables) {
            if (table.Number == number)
                return &table;
        }
        return nullptr;
    };
    for (const TableFormat& table : format.Tables) {
        if (const Mesh::Table* items = given(table.Number)) {
            const QString replaced =
                ItemsNote(text, format, table,
                          QStringLiteral("Replaced in table %1 by the mesh's").arg(table.Number));
            if (!replaced.isEmpty())
                result.Replaced << replaced;
            text.ReplaceItems(text.Table(table.Number), ItemLines(*items, table));
            QString name = table.ItemsName;
            if (items->Items.size() == 1 && name.endsWith(u's'))
                name.chop(1);
            result.Written << QStringLiteral("table %1: %2 %3")
                                  .arg(table.Number)
                                  .arg(items->Items.size())
                                  .arg(name);
        } else if (table.Number > 5 && ModelReference(table) != 0) {
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
