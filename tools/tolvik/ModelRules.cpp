#include "ModelRules.h"

#include "CheckFault.h"
#include "ParsedData.h"
#include "RepeatedElement.h"

#include <cmath>
#include <vector>

namespace {

QString Number(double value) {
    return QString::number(value, 'g', 12);
}

// Fails when the element, `corners` node numbers at the start of its row (0: no corner), is
// too small or too large to compute with: its stiffness and mass take its size to powers up
// to the fourth and beyond, which leave the range of numbers long before the coordinates do.
// Corners that coincide are left to the checks of their own.
void ComputableSize(const ParsedTable& table, int row, const ParsedData& data, int corners) {
    const ParsedTable* nodes = data.Table(4);
    if (!nodes)
        return;
    const double* values = table.Row(row);
    double size = 0;
    int from = 0, to = 0;
    for (int a = 0; a < corners; ++a) {
        for (int b = a + 1; b < corners; ++b) {
            const int i = static_cast<int>(values[a]), j = static_cast<int>(values[b]);
            if (i < 1 || j < 1 || i > nodes->Rows() || j > nodes->Rows())
                continue;
            if (const double d = ModelRules::Distance(*nodes, i, j); d > size) {
                size = d;
                from = i;
                to = j;
            }
        }
    }
    if (const QString fault = ModelRules::SizeFault(size, from, to); !fault.isEmpty())
        throw CheckFault{table.Lines[row], fault};
}

// Fails when a node appears twice among the nonzero corners.
void DistinctCorners(const ParsedTable& table, int row, int corners) {
    const double* values = table.Row(row);
    for (int a = 0; a < corners; ++a) {
        for (int b = a + 1; b < corners; ++b) {
            if (values[a] != 0 && values[a] == values[b])
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("node %1 is named twice among the corners of "
                                                "the element")
                                     .arg(Number(values[a]))};
        }
    }
}

} // namespace

// Without squares, which would round a distance of 1e-200 to 0 or one of 1e200 to infinity.
double ModelRules::Distance(const ParsedTable& nodes, int first, int second) {
    double distance = 0;
    for (int column = 0; column < nodes.Width; ++column)
        distance = std::hypot(distance, nodes.At(first - 1, column) - nodes.At(second - 1, column));
    return distance;
}

QString ModelRules::SizeFault(double size, int from, int to) {
    if (!(size > 0) || (size >= SmallestSize && size <= LargestSize))
        return {};
    return QStringLiteral("the element measures %1 from node %2 to node %3, too %4 to compute "
                          "with; elements must measure between %5 and %6")
        .arg(Number(size))
        .arg(from)
        .arg(to)
        .arg(size < SmallestSize ? QStringLiteral("small") : QStringLiteral("large"))
        .arg(Number(SmallestSize), Number(LargestSize));
}

namespace ModelRules {

RowCheck Bar() {
    return [](const ParsedTable& table, int row, const ParsedData& data) {
        const int i = static_cast<int>(table.At(row, 0));
        const int j = static_cast<int>(table.At(row, 1));
        if (i == j)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("both ends of the element are node %1").arg(i)};
        const ParsedTable* nodes = data.Table(4);
        if (nodes && Distance(*nodes, i, j) == 0)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("the element has no length: nodes %1 and %2 lie at "
                                            "the same point")
                                 .arg(i)
                                 .arg(j)};
        ComputableSize(table, row, data, 2);
    };
}

RowCheck ArcBar(int column) {
    return [column, bar = Bar()](const ParsedTable& table, int row, const ParsedData& data) {
        bar(table, row, data);
        const ParsedTable* nodes = data.Table(4);
        if (!nodes)
            return;
        const double radius = table.At(row, column);
        const double chord = Distance(*nodes, static_cast<int>(table.At(row, 0)),
                                      static_cast<int>(table.At(row, 1)));
        if (radius != 0 && std::abs(radius) < chord / 2)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("the radius %1 is too small for the chord %2 of the "
                                            "element; it must be at least half the chord")
                                 .arg(Number(radius), Number(chord))};
    };
}

RowCheck Polygon() {
    return [](const ParsedTable& table, int row, const ParsedData& data) {
        DistinctCorners(table, row, 4);
        ComputableSize(table, row, data, 4);
    };
}

RowCheck Solid() {
    return [](const ParsedTable& table, int row, const ParsedData& data) {
        const double* corners = table.Row(row);
        const bool fifth = corners[4] != 0, sixth = corners[5] != 0;
        const bool seventh = corners[6] != 0, eighth = corners[7] != 0;
        const bool tetrahedron = !fifth && !sixth && !seventh && !eighth;
        const bool wedge = fifth && sixth && !seventh && !eighth;
        const bool brick = fifth && sixth && seventh && eighth;
        if (!tetrahedron && !wedge && !brick)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("a solid has 4 corners (n5 to n8 are 0), 6 (n7 and "
                                            "n8 are 0) or 8")};
        DistinctCorners(table, row, 8);
        ComputableSize(table, row, data, 8);
    };
}

RowCheck FixesSomething() {
    return [](const ParsedTable& table, int row, const ParsedData&) {
        for (int column = 1; column < table.Width; ++column) {
            if (table.At(row, column) != 0)
                return;
        }
        throw CheckFault{table.Lines[row],
                         QStringLiteral("the support fixes nothing; write 1 for each fixed "
                                        "displacement")};
    };
}

TableCheck UniqueNodes() {
    return [](const ParsedTable& table, const ParsedData& data) {
        std::vector<int> firstLine(static_cast<size_t>(data.ItemCount(4)) + 1, 0);
        for (int row = 0; row < table.Rows(); ++row) {
            const auto node = static_cast<size_t>(table.At(row, 0));
            if (node >= firstLine.size())
                continue;
            if (firstLine[node] != 0)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("node %1 appears a second time in table %2; it "
                                                "was first given in line %3")
                                     .arg(node)
                                     .arg(table.Number)
                                     .arg(firstLine[node])};
            firstLine[node] = table.Lines[row];
        }
    };
}

TableCheck DistinctElements(int corners) {
    return [corners](const ParsedTable& table, const ParsedData&) {
        std::vector<std::vector<int>> nodes(static_cast<size_t>(table.Rows()));
        for (int row = 0; row < table.Rows(); ++row) {
            for (int corner = 0; corner < corners && corner < table.Width; ++corner) {
                if (const double node = table.At(row, corner); node != 0)
                    nodes[static_cast<size_t>(row)].push_back(static_cast<int>(node));
            }
        }
        const RepeatedElement::Pair repeated = RepeatedElement::Find(
            nodes.size(), [&nodes](size_t e) { return std::span<const int>(nodes[e]); });
        if (repeated.Later >= 0)
            throw CheckFault{table.Lines[repeated.Later],
                             RepeatedElement::Fault(repeated, table.Lines[repeated.Earlier])};
    };
}

std::function<void(const ParsedData&)> AllNodesUsed(int corners) {
    return [corners](const ParsedData& data) {
        const ParsedTable* nodes = data.Table(4);
        const ParsedTable* elements = data.Table(5);
        if (!nodes || !elements)
            return;
        std::vector<bool> used(static_cast<size_t>(nodes->Rows()) + 1, false);
        for (int row = 0; row < elements->Rows(); ++row) {
            for (int corner = 0; corner < corners; ++corner) {
                const auto node = static_cast<size_t>(elements->At(row, corner));
                if (node < used.size())
                    used[node] = true;
            }
        }
        for (int row = 0; row < nodes->Rows(); ++row) {
            if (!used[static_cast<size_t>(row) + 1])
                throw CheckFault{nodes->Lines[row],
                                 QStringLiteral("node %1 belongs to no element").arg(row + 1)};
        }
    };
}

} // namespace ModelRules
