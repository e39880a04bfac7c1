#include "ExcitationTables.h"

#include "SolverError.h"

#include <algorithm>
#include <limits>

namespace {

// The word a word column holds, as the format lists it, in upper case; empty when none.
QString Word(const DataFormat& format, const ParsedTable& table, int row, int column) {
    const TableFormat* columns = format.Table(table.Number);
    if (!columns || column >= static_cast<int>(columns->Columns.size()))
        return {};
    const QStringList& words = columns->Columns[static_cast<size_t>(column)].Words;
    const auto index = static_cast<qsizetype>(table.At(row, column));
    return index >= 0 && index < words.size() ? words[index].toUpper() : QString();
}

int Whole(const ParsedTable& table, int row, int column) {
    return static_cast<int>(table.At(row, column));
}

int LineOf(const ParsedTable& table, int row) {
    return table.Lines[static_cast<size_t>(row)];
}

// Rows grouped by the number in their first column, in the order the numbers first appear.
std::map<int, std::vector<int>> Groups(const ParsedTable& table) {
    std::map<int, std::vector<int>> groups;
    for (int row = 0; row < table.Rows(); ++row)
        groups[Whole(table, row, 0)].push_back(row);
    return groups;
}

void Check(const QString& fault, int line) {
    if (!fault.isEmpty())
        throw SolverError::AtLine(line, fault);
}

} // namespace

void ExcitationTables::ReadDamping(const ParsedData& data) {
    if (const ParsedTable* t = data.Table(20)) {
        dampingGiven_ = true;
        for (int row = 0; row < t->Rows(); ++row) {
            const int mode = Whole(*t, row, 0);
            if (mode == 0)
                dampingDefault_ = t->At(row, 1);
            else
                damping_[mode] = t->At(row, 1);
        }
    }
    if (const ParsedTable* t = data.Table(21); t && t->Rows() > 0)
        rayleigh_ = std::array<double, 4>{t->At(0, 0), t->At(0, 1), t->At(0, 2), t->At(0, 3)};
}

void ExcitationTables::ReadFunctions(const DataFormat& format, const ParsedData& data) {
    if (const ParsedTable* t = data.Table(22)) {
        for (const auto& [number, rows] : Groups(*t)) {
            std::vector<TimeFunction::Point> points;
            for (int row : rows)
                points.push_back({t->At(row, 1), t->At(row, 2)});
            TimeFunction::Made made = TimeFunction::Table(number, std::move(points));
            Check(made.Error, LineOf(*t, rows.front()));
            functions_.emplace(number, std::move(made.Function));
        }
    }
    if (const ParsedTable* t = data.Table(23)) {
        for (int row = 0; row < t->Rows(); ++row) {
            const int number = Whole(*t, row, 0);
            const QString kind = Word(format, *t, row, 1);
            const double a = t->At(row, 2), b = t->At(row, 3), c = t->At(row, 4), d = t->At(row, 5);
            TimeFunction::Made made =
                kind == QLatin1String("SIN")
                    ? TimeFunction::Sine(number, a, b, c, d,
                                         std::numeric_limits<double>::infinity())
                : kind == QLatin1String("PULSE") ? TimeFunction::Pulse(number, a, b, c)
                                                 : TimeFunction::Ramp(number, a, b, c);
            Check(made.Error, LineOf(*t, row));
            functions_.emplace(number, std::move(made.Function));
        }
    }
}

void ExcitationTables::ReadDrives(const DataFormat& format, const ParsedData& data,
                                  const std::vector<int>& components) {
    ForcedVibration::Excitations& x = excitations_;
    if (const ParsedTable* t = data.Table(24)) {
        for (int row = 0; row < t->Rows(); ++row) {
            ForcedVibration::NodeLoad load{Whole(*t, row, 0), Whole(*t, row, 1) - 1, {}};
            for (size_t k = 0; k < components.size() && static_cast<int>(k) + 2 < t->Width; ++k)
                load.Values[static_cast<size_t>(components[k])] =
                    t->At(row, static_cast<int>(k) + 2);
            x.Loads.push_back(load);
        }
    }
    if (const ParsedTable* t = data.Table(25)) {
        for (int row = 0; row < t->Rows(); ++row) {
            const QString direction = Word(format, *t, row, 1);
            x.Ground.push_back({Whole(*t, row, 0),
                                direction == QLatin1String("X")   ? 0
                                : direction == QLatin1String("Y") ? 1
                                                                  : 2,
                                Whole(*t, row, 2), t->At(row, 3)});
        }
    }
}

void ExcitationTables::ReadExcitations(const DataFormat& format, const ParsedData& data) {
    ForcedVibration::Excitations& x = excitations_;
    const auto define = [&](const ParsedTable& t, int row, ForcedVibration::Excitation excitation) {
        lines_[excitation.Number] = LineOf(t, row);
        x.List.push_back(std::move(excitation));
    };
    if (const ParsedTable* t = data.Table(26))
        for (int row = 0; row < t->Rows(); ++row)
            define(*t, row,
                   {Whole(*t, row, 0),
                    ForcedVibration::Harmonic{t->At(row, 1), t->At(row, 2), Whole(*t, row, 3)}});
    if (const ParsedTable* t = data.Table(27))
        for (int row = 0; row < t->Rows(); ++row) {
            const bool direct = Word(format, *t, row, 4) == QLatin1String("DIRECT");
            if (direct)
                direct_.insert(Whole(*t, row, 0));
            define(*t, row,
                   {Whole(*t, row, 0), ForcedVibration::History{Whole(*t, row, 1), t->At(row, 2),
                                                                t->At(row, 3), direct}});
        }
    if (const ParsedTable* t = data.Table(28))
        for (int row = 0; row < t->Rows(); ++row) {
            ForcedVibration::Spectrum s;
            s.Modes = Word(format, *t, row, 1) == QLatin1String("SRSS") ? ModalResponse::Rule::Srss
                                                                        : ModalResponse::Rule::Cqc;
            s.Directions = Word(format, *t, row, 2) == QLatin1String("SRSS")
                               ? ModalResponse::Directions::Srss
                               : ModalResponse::Directions::Rule100And30;
            define(*t, row, {Whole(*t, row, 0), s});
        }
    std::sort(x.List.begin(), x.List.end(),
              [](const ForcedVibration::Excitation& a, const ForcedVibration::Excitation& b) {
                  return a.Number < b.Number;
              });
}

void ExcitationTables::ReadSpectra(const DataFormat& format, const ParsedData& data) {
    if (const ParsedTable* t = data.Table(29)) {
        for (const auto& [number, rows] : Groups(*t)) {
            std::vector<std::pair<double, double>> points;
            for (int row : rows)
                points.emplace_back(t->At(row, 1), t->At(row, 2));
            QString fault;
            DesignAcceleration spectrum = DesignAcceleration::Table(std::move(points), fault);
            Check(fault.isEmpty() ? fault
                                  : QStringLiteral("spectrum %1: %2").arg(number).arg(fault),
                  LineOf(*t, rows.front()));
            excitations_.Spectra.emplace(number, std::move(spectrum));
        }
    }
    if (const ParsedTable* t = data.Table(30)) {
        for (int row = 0; row < t->Rows(); ++row) {
            const QString ground = Word(format, *t, row, 2);
            QString fault;
            DesignAcceleration spectrum = DesignAcceleration::Eurocode(
                {Whole(*t, row, 1), ground.isEmpty() ? 'A' : ground[0].toLatin1(),
                 t->At(row, 3) * t->At(row, 4), dampingDefault_},
                fault);
            Check(fault, LineOf(*t, row));
            excitations_.Spectra.emplace(Whole(*t, row, 0), std::move(spectrum));
        }
    }
}

ExcitationTables ExcitationTables::Read(const DataFormat& format, const ParsedData& data,
                                        const std::vector<int>& components) {
    ExcitationTables tables;
    tables.ReadDamping(data);
    tables.ReadFunctions(format, data);
    tables.ReadDrives(format, data, components);
    tables.ReadExcitations(format, data);
    tables.ReadSpectra(format, data);
    return tables;
}

ForcedVibration::Excitations ExcitationTables::Excitations(int modes, double gravity) const {
    ForcedVibration::Excitations x = excitations_;
    x.Gravity = gravity;
    x.Damping.assign(static_cast<size_t>(std::max(modes, 0)), dampingDefault_);
    for (const auto& [mode, ratio] : damping_)
        if (mode >= 1 && mode <= modes)
            x.Damping[static_cast<size_t>(mode) - 1] = ratio;
    const std::map<int, TimeFunction> functions = functions_;
    x.Value = [functions](int f, double t) {
        const auto found = functions.find(f);
        return found == functions.end() ? 0.0 : found->second.At(t);
    };
    return x;
}

int ExcitationTables::Line(int excitation) const {
    const auto found = lines_.find(excitation);
    return found == lines_.end() ? 0 : found->second;
}
