#include "DynamicRules.h"

#include "ActionRules.h"
#include "CheckFault.h"
#include "ParsedData.h"

#include <cmath>
#include <map>
#include <optional>

namespace {

using ActionRules::Number;

constexpr int NaturalModesItem = 9;
constexpr double MaxHistorySteps = 100000;

int Whole(double value) {
    return static_cast<int>(value);
}

QString TableName(const ParsedTable& table) {
    return QStringLiteral("table %1 (%2)").arg(table.Number).arg(table.Title);
}

// The numbers in column 0 of the tables given, each with the line of its first item.
std::map<int, int> NumbersIn(const ParsedData& data, std::initializer_list<int> tables) {
    std::map<int, int> numbers;
    for (const int number : tables) {
        if (const ParsedTable* table = data.Table(number)) {
            for (int row = 0; row < table->Rows(); ++row)
                numbers.emplace(Whole(table->At(row, 0)), table->Lines[row]);
        }
    }
    return numbers;
}

// The faults of the whole file; the one on the first line is reported, as a reader of the
// file from the top would meet it.
class Faults {
public:
    void Add(int line, const QString& message) {
        if (!first_ || line < first_->Line)
            first_ = CheckFault{line, message};
    }
    void Throw() const {
        if (first_)
            throw *first_;
    }

private:
    std::optional<CheckFault> first_;
};

struct Excitation {
    DynamicRules::Kind Kind = DynamicRules::Harmonic;
    int Line = 0;
    int Function = 0; // of a history's loads; 0 for none
    int Loads = 0;    // items of table 24
    int FirstLoadLine = 0;
    int Grounds = 0; // items of table 25
};

QString KindName(DynamicRules::Kind kind) {
    switch (kind) {
    case DynamicRules::Harmonic:
        return QStringLiteral("harmonic");
    case DynamicRules::History:
        return QStringLiteral("history");
    case DynamicRules::Spectrum:
        return QStringLiteral("spectrum");
    }
    return {};
}

} // namespace

namespace DynamicRules {

RowCheck ComputedMode() {
    return [](const ParsedTable& table, int row, const ParsedData& data) {
        const double modes = data.GeneralNumber(NaturalModesItem);
        if (table.At(row, 0) > modes)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("mode %1 is not computed: item 9 of table 1 gives %2 "
                                            "natural modes; mode 0 stands for every mode not "
                                            "listed")
                                 .arg(Number(table.At(row, 0)), Number(modes))};
    };
}

RowCheck OneItem() {
    return [](const ParsedTable& table, int row, const ParsedData&) {
        if (row > 0)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("%1 takes one item; the first is in line %2")
                                 .arg(TableName(table))
                                 .arg(table.Lines[0])};
    };
}

RowCheck TwoFrequencies() {
    return [](const ParsedTable& table, int row, const ParsedData&) {
        if (table.At(row, 0) >= table.At(row, 2))
            throw CheckFault{table.Lines[row],
                             QStringLiteral("f1 must be less than f2: the damping is fitted "
                                            "between two frequencies, here from %1 to %2")
                                 .arg(Number(table.At(row, 0)), Number(table.At(row, 2)))};
    };
}

RowCheck Sweep() {
    return [](const ParsedTable& table, int row, const ParsedData&) {
        const double from = table.At(row, 1);
        const double to = table.At(row, 2);
        if (from > to)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("from must be at most to: a sweep runs up from the "
                                            "lower frequency, here from %1 to %2")
                                 .arg(Number(from), Number(to))};
        if (table.At(row, 3) == 1 && to != from)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("one step gives the single frequency from (%1), so "
                                            "to must equal it, not %2; give more steps for a "
                                            "sweep")
                                 .arg(Number(from), Number(to))};
    };
}

RowCheck FormulaValues() {
    return [](const ParsedTable& table, int row, const ParsedData&) {
        const auto kind = static_cast<Formula>(Whole(table.At(row, 1)));
        const double b = table.At(row, 3);
        const double c = table.At(row, 4);
        const double d = table.At(row, 5);
        const QString name = kind == Sine    ? QStringLiteral("SIN")
                             : kind == Pulse ? QStringLiteral("PULSE")
                                             : QStringLiteral("RAMP");
        auto fail = [&](const QString& message) {
            throw CheckFault{table.Lines[row],
                             QStringLiteral("a %1 formula: %2").arg(name, message)};
        };
        if (kind == Sine) {
            if (!(b > 0))
                fail(QStringLiteral("the frequency b must be greater than 0, not %1")
                         .arg(Number(b)));
            if (d < 0)
                fail(QStringLiteral("the start time d must be at least 0, not %1").arg(Number(d)));
            return;
        }
        if (b < 0)
            fail(QStringLiteral("the start time b must be at least 0, not %1").arg(Number(b)));
        if (kind == Pulse && !(c > 0))
            fail(QStringLiteral("the duration c must be greater than 0, not %1").arg(Number(c)));
        if (kind == Ramp && c < 0)
            fail(QStringLiteral("the rise time c must be at least 0 (0 for a step), not %1")
                     .arg(Number(c)));
        if (d != 0)
            fail(QStringLiteral("d is not used; give 0, not %1").arg(Number(d)));
    };
}

RowCheck HistorySteps() {
    return [](const ParsedTable& table, int row, const ParsedData&) {
        const double duration = table.At(row, 2);
        const double step = table.At(row, 3);
        const double steps = duration / step;
        // Durations and steps typed in decimals divide a little off whole numbers.
        if (steps < 2 * (1 - 1e-9))
            throw CheckFault{table.Lines[row],
                             QStringLiteral("the step %1 leaves fewer than 2 steps in the "
                                            "duration %2; give a step of at most %3")
                                 .arg(Number(step), Number(duration), Number(duration / 2))};
        if (std::ceil(steps * (1 - 1e-9)) > MaxHistorySteps)
            throw CheckFault{table.Lines[row],
                             QStringLiteral("the duration %1 in steps of %2 makes %3 steps; a "
                                            "history takes at most %4")
                                 .arg(Number(duration), Number(step), Number(std::ceil(steps)),
                                      Number(MaxHistorySteps))};
    };
}

RowCheck NotDefinedIn(int other, const QString& what) {
    return [other, what](const ParsedTable& table, int row, const ParsedData& data) {
        const std::map<int, int> there = NumbersIn(data, {other});
        const int number = Whole(table.At(row, 0));
        if (const auto at = there.find(number); at != there.end())
            throw CheckFault{table.Lines[row],
                             QStringLiteral("%1 %2 is defined in table %3 already (line %4); "
                                            "each %1 is defined in one table only")
                                 .arg(what)
                                 .arg(number)
                                 .arg(other)
                                 .arg(at->second)};
    };
}

RowCheck GroundDirection(const QList<int>& directions, const QString& type) {
    return [directions, type](const ParsedTable& table, int row, const ParsedData&) {
        static const QStringList names{QStringLiteral("X"), QStringLiteral("Y"),
                                       QStringLiteral("Z")};
        const int direction = Whole(table.At(row, 1));
        if (directions.contains(direction))
            return;
        QStringList allowed;
        for (const int known : directions)
            allowed << names[known];
        throw CheckFault{
            table.Lines[row],
            QStringLiteral("%1 move in %2 only: the ground cannot move them in %3")
                .arg(type, allowed.join(QStringLiteral(" and ")), names.value(direction))};
    };
}

TableCheck PointsRise(const QString& what, const QString& value, const QString& values) {
    return [what, value, values](const ParsedTable& table, const ParsedData&) {
        // For each number: its points so far and the row of the last one.
        std::map<int, std::pair<int, int>> last;
        for (int row = 0; row < table.Rows(); ++row) {
            const int number = Whole(table.At(row, 0));
            auto [at, added] = last.emplace(number, std::pair{1, row});
            if (added)
                continue;
            const int before = at->second.second;
            if (table.At(row, 1) <= table.At(before, 1))
                throw CheckFault{table.Lines[row],
                                 QStringLiteral("%1 %2 of %3 %4 does not increase: the point "
                                                "before it (line %5) has %1 %6; the %7 of a %3 "
                                                "increase from point to point")
                                     .arg(value, Number(table.At(row, 1)), what)
                                     .arg(number)
                                     .arg(table.Lines[before])
                                     .arg(Number(table.At(before, 1)), values)};
            at->second = {at->second.first + 1, row};
        }
        for (const auto& [number, points] : last) {
            if (points.first < 2)
                throw CheckFault{table.Lines[points.second],
                                 QStringLiteral("%1 %2 has one point only; a %1 needs at least "
                                                "two")
                                     .arg(what)
                                     .arg(number)};
        }
    };
}

std::function<void(const ParsedData&)> Excitations() {
    return [](const ParsedData& data) {
        Faults faults;
        std::map<int, Excitation> excitations;
        for (const Kind kind : {Harmonic, History, Spectrum}) {
            const ParsedTable* table = data.Table(kind);
            for (int row = 0; table && row < table->Rows(); ++row) {
                const int number = Whole(table->At(row, 0));
                Excitation excitation{kind, table->Lines[row]};
                if (kind == History)
                    excitation.Function = Whole(table->At(row, 1));
                const auto [at, added] = excitations.emplace(number, excitation);
                if (!added)
                    faults.Add(table->Lines[row],
                               QStringLiteral("excitation %1 is defined a second time; line %2 "
                                              "defines it already, as a %3 excitation (table "
                                              "%4)")
                                   .arg(number)
                                   .arg(at->second.Line)
                                   .arg(KindName(at->second.Kind))
                                   .arg(static_cast<int>(at->second.Kind)));
            }
        }
        int expected = 1;
        for (const auto& [number, excitation] : excitations) {
            if (number > expected) {
                faults.Add(excitation.Line,
                           QStringLiteral("excitation %1 comes before any excitation %2; "
                                          "excitations are numbered 1, 2, 3, ... without gaps "
                                          "over tables 26 to 28")
                               .arg(number)
                               .arg(expected));
                break;
            }
            expected = number + 1;
        }

        // The excitation an item of table 24 or 25 names, or null when none is defined.
        auto named = [&](const ParsedTable& table, int row) -> Excitation* {
            const int number = Whole(table.At(row, 0));
            const auto at = excitations.find(number);
            if (at != excitations.end())
                return &at->second;
            faults.Add(table.Lines[row], QStringLiteral("excitation %1 is not defined: none of "
                                                        "tables 26 to 28 defines it")
                                             .arg(number));
            return nullptr;
        };
        if (const ParsedTable* loads = data.Table(24)) {
            for (int row = 0; row < loads->Rows(); ++row) {
                Excitation* excitation = named(*loads, row);
                if (!excitation)
                    continue;
                if (excitation->Kind == Spectrum)
                    faults.Add(loads->Lines[row],
                               QStringLiteral("excitation %1 is a spectrum excitation (line "
                                              "%2): it takes ground motions of table 25, not "
                                              "loads")
                                   .arg(ActionRules::Item(loads->Row(row), 0))
                                   .arg(excitation->Line));
                if (excitation->Loads++ == 0)
                    excitation->FirstLoadLine = loads->Lines[row];
            }
        }
        const std::map<int, int> functions = NumbersIn(data, {22, 23});
        const std::map<int, int> spectra = NumbersIn(data, {29, 30});
        if (const ParsedTable* grounds = data.Table(25)) {
            for (int row = 0; row < grounds->Rows(); ++row) {
                Excitation* excitation = named(*grounds, row);
                if (!excitation)
                    continue;
                ++excitation->Grounds;
                const int source = Whole(grounds->At(row, 2));
                if (excitation->Kind == Harmonic)
                    faults.Add(grounds->Lines[row],
                               QStringLiteral("excitation %1 is harmonic (line %2): it takes "
                                              "loads of table 24, not ground motions")
                                   .arg(ActionRules::Item(grounds->Row(row), 0))
                                   .arg(excitation->Line));
                else if (excitation->Kind == History && !functions.count(source))
                    faults.Add(grounds->Lines[row],
                               QStringLiteral("function %1 is not defined: tables 22 and 23 "
                                              "give no function %1")
                                   .arg(source));
                else if (excitation->Kind == Spectrum && !spectra.count(source))
                    faults.Add(grounds->Lines[row],
                               QStringLiteral("spectrum %1 is not defined: tables 29 and 30 "
                                              "give no spectrum %1")
                                   .arg(source));
            }
        }

        for (const auto& [number, excitation] : excitations) {
            const int line = excitation.Line;
            switch (excitation.Kind) {
            case Harmonic:
                if (excitation.Loads == 0)
                    faults.Add(line, QStringLiteral("harmonic excitation %1 has nothing that "
                                                    "excites it: give its load amplitudes in "
                                                    "table 24")
                                         .arg(number));
                break;
            case History:
                if (excitation.Function != 0 && !functions.count(excitation.Function))
                    faults.Add(line, QStringLiteral("function %1 is not defined: tables 22 and "
                                                    "23 give no function %1")
                                         .arg(excitation.Function));
                else if (excitation.Function != 0 && excitation.Loads == 0)
                    faults.Add(line, QStringLiteral("history excitation %1 multiplies its loads "
                                                    "by function %2, but table 24 gives it no "
                                                    "loads")
                                         .arg(number)
                                         .arg(excitation.Function));
                else if (excitation.Function == 0 && excitation.Loads > 0)
                    faults.Add(line, QStringLiteral("history excitation %1 has loads in table "
                                                    "24 (line %2) but function 0: name the "
                                                    "function of time that drives them")
                                         .arg(number)
                                         .arg(excitation.FirstLoadLine));
                else if (excitation.Function == 0 && excitation.Grounds == 0)
                    faults.Add(line, QStringLiteral("history excitation %1 has nothing that "
                                                    "excites it: give loads in table 24 with a "
                                                    "function, or ground motions in table 25")
                                         .arg(number));
                break;
            case Spectrum:
                if (excitation.Grounds == 0)
                    faults.Add(line, QStringLiteral("spectrum excitation %1 has nothing that "
                                                    "excites it: give its directions and "
                                                    "spectra in table 25")
                                         .arg(number));
                break;
            }
        }
        faults.Throw();
    };
}

} // namespace DynamicRules
