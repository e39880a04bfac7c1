#include "MeshFile.h"

#include "DataFileText.h"
#include "ItemLine.h"
#include "ValueRule.h"

#include <QStringEncoder>

namespace {

// The number of a table header: its first digit.
int FirstDigit(const QString& line) {
    for (QChar c : line) {
        if (c >= u'0' && c <= u'9')
            return c.digitValue();
    }
    return -1;
}

} // namespace

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
    for (const Mesh::Table& table : mesh.Tables) {
        lines << QStringLiteral("*%1 %2").arg(table.Number).arg(table.Title);
        number = 0;
        for (const std::vector<double>& item : table.Items) {
            QStringList values;
            for (double value : item)
                values << ItemLine::NumberText(value);
            lines << ItemLine::Format(++number, values, 5);
        }
    }
    lines << QStringLiteral("&");
    QStringEncoder encoder("windows-1251");
    return encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

MeshFile::Result MeshFile::Read(const QByteArray& bytes) {
    Result result;
    const QStringList lines = DataFileText::FromBytes(bytes).Lines();
    Mesh& mesh = result.Mesh_;
    const auto fail = [&](qsizetype line, const QString& message) {
        result.Error = QStringLiteral("line %1: %2").arg(line).arg(message);
        result.Mesh_ = {};
        result.NodeLines.clear();
        result.ElementLines.clear();
        return result;
    };
    // The file holds table 4, then table 5, then any of the tables 6 to 9 in ascending order,
    // then the end mark, and nothing else that counts: a header or an item out of that order
    // would otherwise leave part of the mesh unread.
    int table = 0;
    int expected = 1;
    qsizetype end = -1;
    for (qsizetype i = 0; i < lines.size() && end < 0; ++i) {
        const QString& line = lines[i];
        if (line.startsWith(u'&')) {
            if (table < 5)
                break; // reported below as the missing table
            end = i;
        } else if (line.startsWith(u'*')) {
            const int number = FirstDigit(line);
            const bool inOrder =
                table < 5 ? number == table + (table == 0 ? 4 : 1) : number > table && number <= 9;
            if (!inOrder)
                return fail(i + 1,
                            QStringLiteral("\"%1\" where %2 expected; a mesh file holds table 4, "
                                           "table 5, optionally tables 6 to 9 in ascending "
                                           "order, and the end mark \"&\"")
                                .arg(line.trimmed())
                                .arg(table == 0   ? QStringLiteral("table 4 is")
                                     : table == 4 ? QStringLiteral("table 5 is")
                                     : table == 9 ? QStringLiteral("the end mark is")
                                                  : QStringLiteral("a later table or the end "
                                                                   "mark is")));
            table = number;
            expected = 1;
            if (table > 5) {
                QString title = line.trimmed().mid(line.trimmed().indexOf(QChar(u'0' + table)) + 1);
                mesh.Tables.push_back({table, title.trimmed(), {}});
            }
        } else if (line.startsWith(u'#')) {
            if (table == 0)
                return fail(i + 1, QStringLiteral("an item before table 4"));
            const ItemLine item = ItemLine::Parse(line);
            if (table > 5) {
                if (!item.Valid || item.Number != expected || item.Words.empty())
                    return fail(i + 1, QStringLiteral("item %1 expected").arg(expected));
                std::vector<double> values(item.Words.size());
                for (size_t v = 0; v < values.size(); ++v) {
                    if (!ValueRule::ParseReal(item.Words[v], values[v]))
                        return fail(i + 1,
                                    QStringLiteral("\"%1\" is not a number").arg(item.Words[v]));
                }
                mesh.Tables.back().Items.push_back(std::move(values));
                ++expected;
                continue;
            }
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
                result.NodeLines.push_back(static_cast<int>(i + 1));
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
                result.ElementLines.push_back(static_cast<int>(i + 1));
            }
            ++expected;
        }
    }
    if (table < 5)
        return fail(lines.size(), QStringLiteral("table %1 is missing").arg(table == 0 ? 4 : 5));
    if (end < 0)
        return fail(lines.size(), QStringLiteral("the end mark \"&\" is missing; the mesh file "
                                                 "is cut short"));
    if (mesh.Elements.empty())
        return fail(end + 1, QStringLiteral("the mesh has no elements"));
    result.Ok = true;
    return result;
}
