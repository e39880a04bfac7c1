#include "ActionRules.h"

#include "CheckFault.h"
#include "ModelRules.h"
#include "ParsedData.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int GammaColumn = 2; // of table 2
constexpr int AlphaColumn = 3;

int Whole(double value) {
    return static_cast<int>(value);
}

// The material number of element `element` (from 1), or 0 when the element is not there.
int MaterialOf(const ParsedData& data, int element, int material) {
    const ParsedTable* elements = data.Table(5);
    if (!elements || element < 1 || element > elements->Rows())
        return 0;
    return Whole(elements->At(element - 1, material));
}

double MaterialValue(const ParsedData& data, int material, int column) {
    const ParsedTable* materials = data.Table(2);
    if (!materials || material < 1 || material > materials->Rows())
        return 0;
    return materials->At(material - 1, column);
}

// The row of table 6 that holds `node`, or null.
const double* SupportOf(const ParsedData& data, int node) {
    const ParsedTable* supports = data.Table(6);
    if (!supports)
        return nullptr;
    for (int row = 0; row < supports->Rows(); ++row) {
        if (Whole(supports->At(row, 0)) == node)
            return supports->Row(row);
    }
    return nullptr;
}

} // namespace

namespace ActionRules {

QString Number(double value) {
    return QString::number(value, 'g', 12);
}

QString Item(const double* values, int column) {
    return QString::number(Whole(values[column]));
}

RowCheck Both(RowCheck first, RowCheck second) {
    return [first = std::move(first), second = std::move(second)](const ParsedTable& table, int row,
                                                                  const ParsedData& data) {
        first(table, row, data);
        second(table, row, data);
    };
}

TableCheck Both(TableCheck first, TableCheck second) {
    return [first = std::move(first), second = std::move(second)](const ParsedTable& table,
                                                                  const ParsedData& data) {
        first(table, data);
        second(table, data);
    };
}

RowCheck SomeNonZero(int from, const QString& fault) {
    return [from, fault](const ParsedTable& table, int row, const ParsedData&) {
        for (int column = from; column < table.Width; ++column) {
            if (table.At(row, column) != 0)
                return;
        }
        throw CheckFault{table.Lines[row], fault};
    };
}

TableCheck Once(int columns, ItemName name) {
    return [columns, name = std::move(name)](const ParsedTable& table, const ParsedData&) {
        std::map<std::pair<double, double>, int> firstLine;
        for (int row = 0; row < table.Rows(); ++row) {
            const std::pair key{table.At(row, 0), columns > 1 ? table.At(row, 1) : 0.0};
            const auto [at, added] = firstLine.emplace(key, table.Lines[row]);
            if (!added)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("%1 appears a second time in table %2; it was "
                                                "first given in line %3")
                                     .arg(name(table.Row(row)))
                                     .arg(table.Number)
                                     .arg(at->second)};
        }
    };
}

RowCheck SomethingWeighs(int material) {
    return [material](const ParsedTable& table, int row, const ParsedData& data) {
        // The answer is the model's, the same for every item: the first one tells.
        if (row > 0)
            return;
        for (int element = 1; element <= data.ItemCount(5); ++element) {
            if (MaterialValue(data, MaterialOf(data, element, material), GammaColumn) > 0)
                return;
        }
        throw CheckFault{table.Lines[row],
                         QStringLiteral("the self-weight weighs nothing: the material of every "
                                        "element has gamma 0 in table 2")};
    };
}

RowCheck ElementExpands(int material) {
    return [material](const ParsedTable& table, int row, const ParsedData& data) {
        const int element = Whole(table.At(row, 1));
        const int used = MaterialOf(data, element, material);
        if (MaterialValue(data, used, AlphaColumn) == 0)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("element %1 does not expand with heat: its "
                                            "material %2 has alpha 0 in table 2")
                                 .arg(element)
                                 .arg(used)};
    };
}

TableCheck NodesExpand(int corners, int material) {
    return [corners, material](const ParsedTable& table, const ParsedData& data) {
        const ParsedTable* elements = data.Table(5);
        if (!elements || table.Rows() == 0)
            return;
        // For each node, an element at it that does not expand (from 1), or 0.
        std::vector<int> cold(static_cast<size_t>(data.ItemCount(4)) + 1, 0);
        for (int element = 1; element <= elements->Rows(); ++element) {
            const int used = MaterialOf(data, element, material);
            if (MaterialValue(data, used, AlphaColumn) != 0)
                continue;
            for (int corner = 0; corner < corners; ++corner) {
                const auto node = static_cast<size_t>(elements->At(element - 1, corner));
                if (node > 0 && node < cold.size() && cold[node] == 0)
                    cold[node] = element;
            }
        }
        for (int row = 0; row < table.Rows(); ++row) {
            const auto node = static_cast<size_t>(table.At(row, 1));
            if (node >= cold.size() || cold[node] == 0)
                continue;
            const int element = cold[node];
            throw CheckFault{table.Lines[row],
                             QStringLiteral("node %1 is a corner of element %2, which does not "
                                            "expand with heat: its material %3 has alpha 0 in "
                                            "table 2")
                                 .arg(node)
                                 .arg(element)
                                 .arg(MaterialOf(data, element, material))};
        }
    };
}

RowCheck DepthForDifference(int difference, int depth) {
    return [difference, depth](const ParsedTable& table, int row, const ParsedData&) {
        if (table.At(row, difference) != 0 && !(table.At(row, depth) > 0))
            throw CheckFault{table.Lines[row],
                             QStringLiteral("a difference of temperature across the depth "
                                            "needs the depth h of the section, greater than 0")};
    };
}

RowCheck OnHeldComponents(const QStringList& codes) {
    return [codes](const ParsedTable& table, int row, const ParsedData& data) {
        const int node = Whole(table.At(row, 1));
        const double* support = SupportOf(data, node);
        for (int code = 0; code < codes.size(); ++code) {
            if (table.At(row, 2 + code) != 0 && !(support && support[1 + code] != 0))
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("node %1 is not held in %2 by the supports: an "
                                                "imposed displacement needs a fixed component "
                                                "(table 6)")
                                     .arg(node)
                                     .arg(codes[code])};
        }
    };
}

RowCheck OnFreeComponents(const QStringList& codes) {
    return [codes](const ParsedTable& table, int row, const ParsedData& data) {
        const int node = Whole(table.At(row, 0));
        const double* support = SupportOf(data, node);
        for (int code = 0; support && code < codes.size(); ++code) {
            if (table.At(row, 1 + code) != 0 && support[1 + code] != 0)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("node %1 is held in %2 by the supports: a spring "
                                                "there would do nothing")
                                     .arg(node)
                                     .arg(codes[code])};
        }
    };
}

RowCheck AlongMember(const QStringList& distances, int radius) {
    return [distances, radius](const ParsedTable& table, int row, const ParsedData& data) {
        const ParsedTable* elements = data.Table(5);
        const ParsedTable* nodes = data.Table(4);
        const int element = Whole(table.At(row, 1));
        if (!elements || !nodes || element < 1 || element > elements->Rows())
            return;
        if (radius >= 0 && elements->At(element - 1, radius) != 0)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("element %1 is curved (R %2): loads at points or "
                                            "along parts of a member act on straight members "
                                            "only")
                                 .arg(element)
                                 .arg(Number(elements->At(element - 1, radius)))};
        const double length = ModelRules::Distance(*nodes, Whole(elements->At(element - 1, 0)),
                                                   Whole(elements->At(element - 1, 1)));
        // Distances typed from rounded coordinates may pass the length in their last digits.
        const double reach = length * (1 + 1e-9);
        for (int at = 0; at < distances.size(); ++at) {
            const double distance = table.At(row, 3 + at);
            if (distance > reach)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("%1 is %2, beyond the length %3 of element %4: "
                                                "distances run from 0 at node i to the length")
                                     .arg(distances[at], Number(distance), Number(length))
                                     .arg(element)};
        }
        if (distances.size() == 2 && table.At(row, 3) >= table.At(row, 4))
            throw CheckFault{table.Lines[row],
                             QStringLiteral("%1 must be less than %2: the load runs from %1 to "
                                            "%2, here from %3 to %4")
                                 .arg(distances[0], distances[1], Number(table.At(row, 3)),
                                      Number(table.At(row, 4)))};
    };
}

RowCheck DeclaredCase(int column) {
    return [column](const ParsedTable& table, int row, const ParsedData& data) {
        const double cases = data.GeneralNumber(4);
        if (table.At(row, column) > cases)
            throw CheckFault{
                table.Lines[row],
                QStringLiteral("combination %1 names load case %2, a missing case: "
                               "item 4 of table 1 gives %3 load cases")
                    .arg(Number(table.At(row, 0)), Number(table.At(row, column)), Number(cases))};
    };
}

TableCheck NumberedWithoutGaps(const QString& one, const QString& many) {
    return [one, many](const ParsedTable& table, const ParsedData&) {
        double highest = 0;
        for (int row = 0; row < table.Rows(); ++row) {
            const double number = table.At(row, 0);
            if (number > highest + 1)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("%1 %2 comes before any item of %1 %3; %4 are "
                                                "numbered 1, 2, 3, ... without gaps")
                                     .arg(one, Number(number), Number(highest + 1), many)};
            highest = std::max(highest, number);
        }
    };
}

TableCheck MadeOfCombinations() {
    return [](const ParsedTable& table, const ParsedData& data) {
        const ParsedTable* combinations = data.Table(17);
        if (!combinations)
            throw CheckFault{table.HeaderLine,
                             QStringLiteral("table %1 (%2) needs table 17 (Load combinations) "
                                            "before it: an envelope is made of combinations")
                                 .arg(table.Number)
                                 .arg(table.Title)};
        double count = 0;
        for (int row = 0; row < combinations->Rows(); ++row)
            count = std::max(count, combinations->At(row, 0));
        for (int row = 0; row < table.Rows(); ++row) {
            if (table.At(row, 1) > count)
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("combination %1 is not defined: table 17 gives "
                                                "combinations up to %2")
                                     .arg(Number(table.At(row, 1)), Number(count))};
        }
    };
}

std::function<void(const ParsedData&)> SupportsOrSprings() {
    return [](const ParsedData& data) {
        const ParsedTable* supports = data.Table(6);
        if (!supports || supports->Rows() > 0 || data.ItemCount(13) > 0 || data.ItemCount(14) > 0)
            return;
        throw CheckFault{supports->HeaderLine,
                         QStringLiteral("table 6 (%1) has no items; hold the structure by "
                                        "supports, by springs (table 13) or on a foundation "
                                        "(table 14)")
                             .arg(supports->Title)};
    };
}

} // namespace ActionRules
