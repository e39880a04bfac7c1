#include "BarModelTables.h"

#include "ParsedData.h"
#include "ProblemType.h"
#include "SolverError.h"

#include <algorithm>
#include <cmath>

namespace {

// A distance along a member may exceed its length by what the file's rounded coordinates
// leave (the check measures the same length); more is refused.
constexpr double LengthTolerance = 1e-6;

int Index(double number) {
    return static_cast<int>(number) - 1;
}

int LineOf(const ParsedTable& table, int row) {
    return table.Lines[static_cast<size_t>(row)];
}

// The node or element an item names, counted from 0; refused, not read past, when the file
// has none of that number.
size_t Reference(const ParsedTable& table, int row, int column, size_t count, const QString& what) {
    const double number = table.At(row, column);
    if (!(number >= 1 && number <= static_cast<double>(count)))
        throw SolverError::AtLine(LineOf(table, row),
                                  QStringLiteral("there is no %1 %2").arg(what).arg(number));
    return static_cast<size_t>(Index(number));
}

size_t ElementOf(const ParsedTable& table, int row, int column,
                 const std::vector<std::vector<int>>& barsOf) {
    return Reference(table, row, column, barsOf.size(), QStringLiteral("element"));
}

// Trusses: case element dT; grillages: case element dTd h; frames: case element dT dTd h.
void ReadHeats(const ProblemType& type, const ParsedTable& table,
               const std::vector<std::vector<int>>& barsOf, BarModel& model) {
    for (int row = 0; row < table.Rows(); ++row) {
        BarModel::Heat heat;
        heat.Case = static_cast<int>(table.At(row, 0));
        heat.Line = LineOf(table, row);
        const size_t element = ElementOf(table, row, 1, barsOf);
        if (type.Truss) {
            heat.Change = table.At(row, 2);
        } else if (type.Lies == ProblemType::Layout::Grillage) {
            heat.Across = table.At(row, 2);
            heat.Depth = table.At(row, 3);
        } else {
            heat.Change = table.At(row, 2);
            heat.Across = table.At(row, 3);
            heat.Depth = table.At(row, 4);
        }
        if (heat.Across != 0 && !(heat.Depth > 0))
            throw SolverError::AtLine(heat.Line,
                                      QStringLiteral("a difference of temperature across the "
                                                     "depth needs the depth h greater than 0"));
        for (int bar : barsOf[element]) {
            if (model.Bars[static_cast<size_t>(bar)].Alpha == 0 &&
                (heat.Change != 0 || heat.Across != 0))
                throw SolverError::AtLine(
                    heat.Line, QStringLiteral("element %1 is heated, but its material's "
                                              "coefficient of thermal expansion alpha is 0")
                                   .arg(element + 1));
            heat.Cell = bar;
            model.Heats.push_back(heat);
        }
    }
}

void ReadFoundations(const ParsedTable& table, const std::vector<std::vector<int>>& barsOf,
                     BarModel& model) {
    for (int row = 0; row < table.Rows(); ++row)
        for (int bar : barsOf[ElementOf(table, row, 0, barsOf)])
            model.Foundations.push_back({bar, table.At(row, 1), LineOf(table, row)});
}

// The bars of a member one after the other from end i: where each begins along the member and
// its length.
struct Stretch {
    int Bar = 0;
    double Start = 0, Length = 0;
};

class Member {
public:
    Member(const BarModel& model, const std::vector<int>& bars) {
        for (int bar : bars) {
            const BarModel::Bar& b = model.Bars[static_cast<size_t>(bar)];
            const BarModel::Vector& i = model.Nodes[static_cast<size_t>(b.I)];
            const BarModel::Vector& j = model.Nodes[static_cast<size_t>(b.J)];
            const double length = std::hypot(j[0] - i[0], j[1] - i[1], j[2] - i[2]);
            stretches_.push_back({bar, length_, length});
            length_ += length;
        }
    }
    const std::vector<Stretch>& Stretches() const { return stretches_; }
    // A distance from end i as the data gives it, within the member.
    double Within(double at, int line) const {
        if (at < 0 || at > length_ * (1 + LengthTolerance))
            throw SolverError::AtLine(
                line, QStringLiteral("the distance %1 lies outside the member, which is %2 long")
                          .arg(at)
                          .arg(length_));
        return std::min(at, length_);
    }

private:
    std::vector<Stretch> stretches_;
    double length_ = 0;
};

bool Curved(const ProblemType& type, const ParsedData& data, int element) {
    return type.CurvedMembers && data.Table(5)->At(element, 5) != 0;
}

// The member of a load of table 15 or 16, refused where it is an arc.
Member LoadedMember(const ProblemType& type, const ParsedData& data, const ParsedTable& table,
                    int row, const std::vector<std::vector<int>>& barsOf, const BarModel& model) {
    const size_t element = ElementOf(table, row, 1, barsOf);
    if (Curved(type, data, static_cast<int>(element)))
        throw SolverError::AtLine(
            LineOf(table, row),
            QStringLiteral("element %1 is curved: a load on part of a member needs a straight "
                           "one")
                .arg(element + 1));
    return Member(model, barsOf[element]);
}

// case element axes a, then the type's load components (forces, then moments).
void ReadPointLoads(const ProblemType& type, const ParsedData& data, const ParsedTable& table,
                    const std::vector<std::vector<int>>& barsOf, BarModel& model) {
    for (int row = 0; row < table.Rows(); ++row) {
        const Member member = LoadedMember(type, data, table, row, barsOf, model);
        BarModel::ElementLoad load;
        load.Case = static_cast<int>(table.At(row, 0));
        load.Line = LineOf(table, row);
        load.Along = BarModel::ElementLoad::Spread::Point;
        load.Member = table.At(row, 2) != 0; // the words G, L
        const double at = member.Within(table.At(row, 3), load.Line);
        for (size_t c = 0; c < model.Components.size(); ++c) {
            const int component = model.Components[c];
            (component < 3 ? load.Q : load.Moment)[static_cast<size_t>(component % 3)] =
                table.At(row, 4 + static_cast<int>(c));
        }
        // The piece the point lies on (at an inner node: the end of the piece before it).
        const std::vector<Stretch>& stretches = member.Stretches();
        const auto on = std::find_if(stretches.begin(), stretches.end() - 1,
                                     [at](const Stretch& s) { return at <= s.Start + s.Length; });
        load.Bar = on->Bar;
        load.A = std::clamp(at - on->Start, 0.0, on->Length);
        model.ElementLoads.push_back(load);
    }
}

// case element axes a1 a2, then the load per length at a1 and at a2 by the axes of table 8;
// cut at the ends of the pieces it spans.
void ReadPartialLoads(const ProblemType& type, const ParsedData& data, const ParsedTable& table,
                      const std::vector<std::vector<int>>& barsOf, BarModel& model) {
    const std::vector<int>& axes = type.LoadAxes;
    const int width = static_cast<int>(axes.size());
    for (int row = 0; row < table.Rows(); ++row) {
        const Member member = LoadedMember(type, data, table, row, barsOf, model);
        const int line = LineOf(table, row);
        const double from = member.Within(table.At(row, 3), line);
        const double to = member.Within(table.At(row, 4), line);
        if (!(to > from))
            throw SolverError::AtLine(line, QStringLiteral("a partial load needs a1 < a2"));
        BarModel::Vector q1{}, q2{};
        for (int a = 0; a < width; ++a) {
            q1[static_cast<size_t>(axes[static_cast<size_t>(a)])] = table.At(row, 5 + a);
            q2[static_cast<size_t>(axes[static_cast<size_t>(a)])] = table.At(row, 5 + width + a);
        }
        const auto at = [&](double s) {
            BarModel::Vector q;
            for (size_t c = 0; c < 3; ++c)
                q[c] = q1[c] + (q2[c] - q1[c]) * (s - from) / (to - from);
            return q;
        };
        for (const Stretch& piece : member.Stretches()) {
            const double lo = std::max(from, piece.Start);
            const double hi = std::min(to, piece.Start + piece.Length);
            // A stretch that only touches the load's ends carries none of it.
            if (!(hi - lo > LengthTolerance * (to - from)))
                continue;
            BarModel::ElementLoad load;
            load.Case = static_cast<int>(table.At(row, 0));
            load.Line = line;
            load.Bar = piece.Bar;
            load.Along = BarModel::ElementLoad::Spread::Partial;
            load.Member = table.At(row, 2) != 0;
            load.A = lo - piece.Start;
            load.B = std::min(hi - piece.Start, piece.Length);
            load.Q = at(lo);
            load.QB = at(hi);
            model.ElementLoads.push_back(load);
        }
    }
}

} // namespace

void BarModelTables::Read(const ProblemType& type, const ParsedData& data,
                          const std::vector<std::vector<int>>& barsOf, BarModel& model) {
    model.ReadActions(type, model.Components, data);
    if (const ParsedTable* table = data.Table(11))
        ReadHeats(type, *table, barsOf, model);
    if (const ParsedTable* table = data.Table(14))
        ReadFoundations(*table, barsOf, model);
    if (const ParsedTable* table = data.Table(15))
        ReadPointLoads(type, data, *table, barsOf, model);
    if (const ParsedTable* table = data.Table(16))
        ReadPartialLoads(type, data, *table, barsOf, model);
}
