#include "MeshFile.h"

#include "DataFileText.h"
#include "ItemLine.h"
#include "ValueRule.h"

#include <QStringEncoder>

QByteArray MeshFile::Write(const Mesh& mesh, const QString& title) {
    QStringList lines{title, QStringLiteral("*4 Nodes")};
    int number = 0;
    for (const QPointF& node : mesh.Nodes)
        lines << ItemLine::Format(
            ++number, {ItemLine::NumberText(node.x()), ItemLine::NumberText(node.y())}, 10);
    lines << QStringLiteral("*5 Elements");
    number = 0;
    for (const Mesh::Element& element : mesh.Elements) {
        QStringList values;
        for (int corner : element.Corners)
            values << QString::number(corner);
        values << QString::number(element.Material) << QString::number(element.Section);
        lines << ItemLine::Format(++number, values, 5);
    }
    lines << QStringLiteral("&");
    QStringEncoder encoder("windows-1251");
    return encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

MeshFile::Result MeshFile::Read(const QByteArray& bytes) {
    Result result;
    const DataFileText text = DataFileText::FromBytes(bytes);
    Mesh& mesh = result.Mesh_;
    const auto fail = [&](int line, const QString& message) {
        result.Error = QStringLiteral("line %1: %2").arg(line).arg(message);
        result.Mesh_ = {};
        return result;
    };
    for (int table : {4, 5}) {
        const DataFileText::Span span = text.Table(table);
        if (!span.Found())
            return fail(text.LineCount(), QStringLiteral("table %1 is missing").arg(table));
        int expected = 1;
        for (int i = span.Header + 1; i < span.End; ++i) {
            if (!text.Line(i).startsWith(u'#'))
                continue;
            const ItemLine item = ItemLine::Parse(text.Line(i));
            const size_t width = table == 4 ? 2 : 6;
            if (!item.Valid || item.Number != expected || item.Words.size() != width)
                return fail(
                    i + 1,
                    QStringLiteral("item %1 with %2 values expected").arg(expected).arg(width));
            double values[6] = {};
            for (size_t v = 0; v < width; ++v) {
                const bool ok = table == 4 ? ValueRule::ParseReal(item.Words[v], values[v])
                                           : ValueRule::ParseWhole(item.Words[v], values[v]);
                if (!ok)
                    return fail(i + 1, QStringLiteral("\"%1\" is not a number").arg(item.Words[v]));
            }
            if (table == 4) {
                mesh.Nodes.emplace_back(values[0], values[1]);
            } else {
                Mesh::Element element;
                for (int c = 0; c < 4; ++c) {
                    if (values[c] < 1 || values[c] > static_cast<double>(mesh.Nodes.size()))
                        return fail(i + 1,
                                    QStringLiteral("node %1 is not in table 4").arg(values[c]));
                    element.Corners[c] = static_cast<int>(values[c]);
                }
                if (values[4] < 1 || values[5] < 1 || values[4] > 1e6 || values[5] > 1e6)
                    return fail(i + 1, QStringLiteral("material and section are 1 or more"));
                element.Material = static_cast<int>(values[4]);
                element.Section = static_cast<int>(values[5]);
                mesh.Elements.push_back(element);
            }
            ++expected;
        }
    }
    if (mesh.Elements.empty())
        return fail(text.LineCount(), QStringLiteral("the mesh has no elements"));
    result.Ok = true;
    return result;
}
