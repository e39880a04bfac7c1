#include "VibrationReport.h"

#include "StaticReport.h"

#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <utility>

namespace VibrationReport {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
const char* const Axes[] = {"x", "y", "z"};

// A complex amplitude U as u(t) = a cos(W t + phase) with a signed and the phase from -90 to
// 90 degrees: a motion that follows the loads has a small phase, whatever their sign.
std::pair<double, double> Signed(std::complex<double> u) {
    double size = std::abs(u), phase = size > 0 ? std::arg(u) * 360 / TwoPi : 0.0;
    if (phase > 90)
        size = -size, phase -= 180;
    else if (phase <= -90)
        size = -size, phase += 180;
    return {size, phase};
}

} // namespace

std::vector<double> AtNodes(const Layout& layout, const std::function<double(int)>& value) {
    std::vector<double> values;
    values.reserve(static_cast<size_t>(layout.Nodes) * layout.Components.size());
    for (int node = 0; node < layout.Nodes; ++node)
        for (int c : layout.Components) {
            const int e = layout.Equation(node, c);
            values.push_back(e >= 0 ? value(e) : 0.0);
        }
    return values;
}

std::vector<double> NodePeaks(const ForcedVibration::Extremes& p, const Layout& layout) {
    std::vector<double> values;
    for (int node = 0; node < layout.Nodes; ++node)
        for (int c : layout.Components) {
            const int e = layout.Equation(node, c);
            for (const double v : {e >= 0 ? p.Max[e] : 0.0, e >= 0 ? p.MaxAt[e] : 0.0,
                                   e >= 0 ? p.Min[e] : 0.0, e >= 0 ? p.MinAt[e] : 0.0})
                values.push_back(v);
        }
    return values;
}

std::vector<double> ElementPeaks(const ForcedVibration::Extremes& e) {
    std::vector<double> values;
    for (Eigen::Index i = 0; i < e.Max.size(); ++i)
        for (const double v : {e.Max[i], e.MaxAt[i], e.Min[i], e.MinAt[i]})
            values.push_back(v);
    return values;
}

namespace {

// A table of node (or element) rows under `columns` headings, each row `values` of its node.
void Table(QString& text, const QStringList& columns, const std::vector<double>& values,
           const QString& first = QStringLiteral("Node")) {
    text += first.rightJustified(8);
    for (const QString& c : columns)
        text += u' ' + c.rightJustified(12);
    text += u'\n';
    const int width = static_cast<int>(columns.size());
    for (size_t node = 0; (node + 1) * static_cast<size_t>(width) <= values.size(); ++node)
        StaticReport::AppendLine(text, static_cast<int>(node + 1),
                                 values.data() + node * static_cast<size_t>(width), width);
}

QJsonArray Rows(const std::vector<double>& values, int width) {
    QJsonArray rows;
    for (size_t node = 0; (node + 1) * static_cast<size_t>(width) <= values.size(); ++node)
        rows.append(StaticReport::JsonRow(
            static_cast<int>(node + 1), values.data() + node * static_cast<size_t>(width), width));
    return rows;
}

const QString Element = QStringLiteral("Element");

// The element columns' names, and their units as a title gives them: "kN, kNm".
QStringList Names(const ResultLayout& columns) {
    QStringList names;
    for (int c = 0; c < columns.Count(); ++c)
        names << columns[c].Name;
    return names;
}

QString Units(const Layout& layout) {
    QStringList units;
    for (int c = 0; c < layout.ElementColumns.Count(); ++c) {
        const QString unit = ResultLayout::UnitOf(layout.ElementColumns[c].What, layout.ForceUnit,
                                                  layout.LengthUnit);
        if (!unit.isEmpty() && !units.contains(unit))
            units << unit;
    }
    return units.join(QStringLiteral(", "));
}

// The elements' amplitudes and phases of a complex motion, one value per element and
// column.
void ElementHarmonic(const Eigen::VectorXcd& values, const Layout& layout, QString& text,
                     QJsonObject& json) {
    std::vector<double> size, phase;
    for (const std::complex<double> v : values) {
        const auto [a, p] = Signed(v);
        size.push_back(a);
        phase.push_back(p);
    }
    const int width = layout.ElementColumns.Count();
    text += QStringLiteral("\nElement amplitudes [%1]\n").arg(Units(layout));
    Table(text, Names(layout.ElementColumns), size, Element);
    text += QStringLiteral("\nElement phases [deg]\n");
    Table(text, Names(layout.ElementColumns), phase, Element);
    json[QStringLiteral("elementAmplitudes")] = Rows(size, width);
    json[QStringLiteral("elementPhases")] = Rows(phase, width);
}

// The directions a model's ground motions shake.
std::vector<int> Shaken(const ForcedVibration::Excitations& x) {
    std::vector<int> directions;
    for (const ForcedVibration::GroundMotion& g : x.Ground)
        if (std::find(directions.begin(), directions.end(), g.Direction) == directions.end())
            directions.push_back(g.Direction);
    std::sort(directions.begin(), directions.end());
    return directions;
}

QString Percent(double share) {
    return QString::number(100 * share, 'f', 1) + u'%';
}

void WriteHarmonic(const ForcedVibration::Model& model, const ForcedVibration::HarmonicResponse& h,
                   const Layout& layout, QString& text, QJsonObject& json) {
    const int width = static_cast<int>(layout.Components.size());
    QJsonArray frequencies, amplitudes, phases;
    // A sweep lists its curve: the largest amplitude at each frequency, and where.
    if (h.Frequencies.size() > 1) {
        text += QStringLiteral("Frequency response: the largest translation at each frequency\n"
                               "  f [Hz]    amplitude       at node, component\n");
    }
    size_t peak = 0;
    double largest = -1;
    for (size_t k = 0; k < h.Frequencies.size(); ++k) {
        const Eigen::VectorXcd u = h.Amplitudes(model, k);
        const std::vector<double> size = AtNodes(layout, [&](int e) { return std::abs(u[e]); });
        const std::vector<double> value =
            AtNodes(layout, [&](int e) { return Signed(u[e]).first; });
        const std::vector<double> phase =
            AtNodes(layout, [&](int e) { return Signed(u[e]).second; });
        // The largest translation: a rotation is no length to compare with.
        size_t at = 0;
        for (size_t i = 0; i < size.size(); ++i)
            if (layout.Components[i % static_cast<size_t>(width)] < 3 &&
                (layout.Components[at % static_cast<size_t>(width)] >= 3 || size[i] > size[at]))
                at = i;
        if (!size.empty() && size[at] > largest)
            largest = size[at], peak = k;
        if (h.Frequencies.size() > 1 && !size.empty())
            text += StaticReport::Number(h.Frequencies[k]).trimmed().rightJustified(8) +
                    StaticReport::Number(size[at]) +
                    QStringLiteral("       %1, %2\n")
                        .arg(at / static_cast<size_t>(width) + 1)
                        .arg(layout.Names[static_cast<qsizetype>(at % static_cast<size_t>(width))]);
        frequencies.append(h.Frequencies[k]);
        amplitudes.append(Rows(value, width));
        phases.append(Rows(phase, width));
    }
    if (!h.Frequencies.empty()) {
        const Eigen::VectorXcd u = h.Amplitudes(model, peak);
        text += QStringLiteral("\nAmplitudes a [%1] at %2 Hz%3: u = a cos(2 pi f t + phase), the "
                               "loads F cos(2 pi f t)\n")
                    .arg(layout.LengthUnit, StaticReport::Number(h.Frequencies[peak]).trimmed(),
                         h.Frequencies.size() > 1 ? QStringLiteral(", the peak of the curve")
                                                  : QString());
        Table(text, layout.Names, AtNodes(layout, [&](int e) { return Signed(u[e]).first; }));
        text += QStringLiteral("\nPhases [deg] (negative: the motion lags behind the loads)\n");
        Table(text, layout.Names, AtNodes(layout, [&](int e) { return Signed(u[e]).second; }));
        if (model.ElementModes.size() > 0)
            ElementHarmonic(h.ElementAmplitudes(model, peak), layout, text, json);
    }
    json[QStringLiteral("frequencies")] = frequencies;
    json[QStringLiteral("amplitudes")] = amplitudes;
    json[QStringLiteral("phases")] = phases;
}

void WriteHistory(const ForcedVibration::HistoryResponse& h, const Layout& layout, QString& text,
                  QJsonObject& json) {
    const int width = static_cast<int>(layout.Components.size());
    QStringList columns;
    for (const QString& name : layout.Names)
        columns << name + QStringLiteral(" max") << QStringLiteral("at t [s]")
                << name + QStringLiteral(" min") << QStringLiteral("at t [s]");
    const std::vector<double> values = NodePeaks(h.Peaks, layout);
    text += QStringLiteral("Peaks over time, relative to the ground [%1]\n").arg(layout.LengthUnit);
    Table(text, columns, values);
    json[QStringLiteral("peaks")] = Rows(values, 4 * width);
    if (const ForcedVibration::Extremes& e = h.ElementPeaks; e.Max.size() > 0) {
        QStringList names;
        for (const QString& name : Names(layout.ElementColumns))
            names << name + QStringLiteral(" max") << QStringLiteral("at t [s]")
                  << name + QStringLiteral(" min") << QStringLiteral("at t [s]");
        const std::vector<double> peaks = ElementPeaks(e);
        text += QStringLiteral("\nElement peaks over time [%1]\n").arg(Units(layout));
        Table(text, names, peaks, Element);
        json[QStringLiteral("elementPeaks")] =
            Rows(peaks, static_cast<int>(4 * layout.ElementColumns.Count()));
    }
    json[QStringLiteral("duration")] = h.Times.empty() ? 0.0 : h.Times.back();
}

void WriteSpectrum(const ForcedVibration::Model& model, const ForcedVibration::SpectrumResponse& s,
                   const Layout& layout, QString& text, QJsonObject& json) {
    const QString mass = QStringLiteral("%1 s2/%2").arg(layout.ForceUnit, layout.LengthUnit);
    QJsonArray shears;
    for (size_t d = 0; d < s.Directions.size(); ++d) {
        const int axis = s.Directions[d];
        const ModalResponse::Participation p = ForcedVibration::Participation(model, axis);
        text += QStringLiteral("\nAlong %1: the modes' peaks\n"
                               "Mode    period [s]  mass [%2]       share  base shear [%3]\n")
                    .arg(QLatin1String(Axes[axis]), mass, layout.ForceUnit);
        for (Eigen::Index i = 0; i < model.Modes.Count(); ++i) {
            const double w = model.Modes.Omega[i];
            text += QString::number(i + 1).rightJustified(4) +
                    StaticReport::Number(w > 0 ? TwoPi / w : 0) +
                    StaticReport::Number(p.Effective[i]) +
                    Percent(p.Total > 0 ? p.Effective[i] / p.Total : 0).rightJustified(12) +
                    StaticReport::Number(s.ModeShears[d][i]) + u'\n';
        }
        text += QStringLiteral("Base shear along %1: %2 %3, combined over the modes\n")
                    .arg(QLatin1String(Axes[axis]), StaticReport::Number(s.BaseShear[d]).trimmed(),
                         layout.ForceUnit);
        shears.append(QJsonObject{{QStringLiteral("direction"), QLatin1String(Axes[axis])},
                                  {QStringLiteral("baseShear"), s.BaseShear[d]}});
    }
    if (s.ElementPeaks.size() > 0 && !s.Directions.empty()) {
        const std::vector<double> values(s.ElementPeaks.begin(), s.ElementPeaks.end());
        text += QStringLiteral("\nElement peaks [%1], combined, signed as their dominant mode\n")
                    .arg(Units(layout));
        Table(text, Names(layout.ElementColumns), values, Element);
        json[QStringLiteral("elementPeaks")] = Rows(values, layout.ElementColumns.Count());
    }
    const std::vector<double> peaks = AtNodes(layout, [&](int e) { return s.Displacements[e]; });
    text += QStringLiteral("\nPeak displacements [%1], combined, signed as their dominant mode\n")
                .arg(layout.LengthUnit);
    Table(text, layout.Names, peaks);
    json[QStringLiteral("baseShear")] = shears;
    json[QStringLiteral("displacements")] = Rows(peaks, static_cast<int>(layout.Components.size()));
}

// What holds for every excitation: the modes and damping taken, a free structure's motions,
// the mass the modes carry in each direction shaken.
void Heading(const ForcedVibration::Model& model, const ExcitationTables& tables,
             const ForcedVibration::Excitations& excitations, QString& text) {
    text += QStringLiteral("\nForced vibrations by the %1 modes found\n").arg(model.Modes.Count());
    text +=
        tables.DampingGiven()
            ? QStringLiteral("Damping: as table 20 gives it, %1 of critical in the modes it "
                             "does not list.\n")
                  .arg(Percent(tables.DampingOfOthers()))
            : QStringLiteral("Damping: 5.0% of critical in every mode (table 20 gives none).\n");
    if (model.Free)
        text += QStringLiteral(
            "The structure is free to move: the modes leave out its rigid-body motion, which "
            "loads drive without bound. Motions by the modes are relative to it (a history "
            "integrated directly includes it); the element results are whole.\n");
    for (const int axis : Shaken(excitations)) {
        const ModalResponse::Participation p = ForcedVibration::Participation(model, axis);
        text += QStringLiteral("The modes carry %1 of the mass that moves along %2.\n")
                    .arg(Percent(p.Share()), QLatin1String(Axes[axis]));
        if (p.Share() < 0.9)
            text += model.Free ? QStringLiteral("Warning: less than 90 %; ask for more modes "
                                                "(item 9 of table 1), unless the rest moves as a "
                                                "rigid body, which the ground does not shake.\n")
                               : QStringLiteral("Warning: less than 90 %; ask for more modes "
                                                "(item 9 of table 1).\n");
    }
}

} // namespace

QJsonArray Write(const ForcedVibration::Model& model, const ExcitationTables& tables,
                 const ForcedVibration::Excitations& excitations,
                 const std::vector<ForcedVibration::Response>& responses, const Layout& layout,
                 QString& text) {
    Heading(model, tables, excitations, text);
    QJsonArray forced;
    for (const ForcedVibration::Response& r : responses) {
        QJsonObject json{{QStringLiteral("excitation"), r.Excitation}};
        if (const auto* h = std::get_if<ForcedVibration::HarmonicResponse>(&r.Result)) {
            const double low = h->Frequencies.front(), high = h->Frequencies.back();
            text += h->Frequencies.size() == 1
                        ? QStringLiteral("\nExcitation %1: harmonic loads at %2 Hz\n")
                              .arg(r.Excitation)
                              .arg(StaticReport::Number(low).trimmed())
                        : QStringLiteral("\nExcitation %1: harmonic loads from %2 to %3 Hz at %4 "
                                         "frequencies\n")
                              .arg(r.Excitation)
                              .arg(StaticReport::Number(low).trimmed(),
                                   StaticReport::Number(high).trimmed())
                              .arg(h->Frequencies.size());
            json[QStringLiteral("kind")] = QStringLiteral("harmonic");
            WriteHarmonic(model, *h, layout, text, json);
        } else if (const auto* t = std::get_if<ForcedVibration::HistoryResponse>(&r.Result)) {
            text += QStringLiteral("\nExcitation %1: a history %2\n")
                        .arg(r.Excitation)
                        .arg(tables.Direct(r.Excitation)
                                 ? QStringLiteral("integrated directly (Newmark's average "
                                                  "acceleration)")
                                 : QStringLiteral("by the modes (exact for loads linear between "
                                                  "the steps)"));
            json[QStringLiteral("kind")] = QStringLiteral("history");
            const double highest =
                model.Modes.Count() > 0 ? model.Modes.Omega.maxCoeff() / TwoPi : 0;
            if (t->Times.size() > 1 && highest > 0) {
                const QString warning =
                    DirectIntegration::StepWarning(t->Times[1] - t->Times[0], highest);
                if (!warning.isEmpty())
                    text += QStringLiteral("Warning: %1; peaks between the steps are missed.\n")
                                .arg(warning);
            }
            WriteHistory(*t, layout, text, json);
        } else {
            ForcedVibration::Spectrum rules;
            for (const ForcedVibration::Excitation& e : excitations.List)
                if (e.Number == r.Excitation)
                    if (const auto* s = std::get_if<ForcedVibration::Spectrum>(&e.Kind))
                        rules = *s;
            text += QStringLiteral("\nExcitation %1: design spectrum, the modes combined by %2, "
                                   "the directions by %3\n")
                        .arg(r.Excitation)
                        .arg(rules.Modes == ModalResponse::Rule::Cqc ? QStringLiteral("CQC")
                                                                     : QStringLiteral("SRSS"),
                             rules.Directions == ModalResponse::Directions::Srss
                                 ? QStringLiteral("SRSS")
                                 : QStringLiteral("the 100/30 rule"));
            json[QStringLiteral("kind")] = QStringLiteral("spectrum");
            WriteSpectrum(model, std::get<ForcedVibration::SpectrumResponse>(r.Result), layout,
                          text, json);
        }
        forced.append(json);
    }
    return forced;
}

} // namespace VibrationReport
