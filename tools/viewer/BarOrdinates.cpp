#include "BarOrdinates.h"

#include "BarArc.h"
#include "BarSpan.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

namespace {

// Evenly spaced stations of a diagram between point loads: the same count as a parabola.
constexpr int InnerSegments = 16;

BarAxes::Vec3 ToVec(const ViewerModel::Point& p) {
    return {p[0], p[1], p[2]};
}

// The value of `q` at x along a straight bar with end values i and j: the line between them
// plus what the loads make beyond the line between their own end values.
double ValueAt(double i, double j, const BarSpan& span, const ResultQuantity& q, double x,
               bool after) {
    const double xi = x / span.Length;
    return i * (1 - xi) + j * xi +
           q.Sign * (span.Particular(q.Component, x, after) -
                     xi * span.Particular(q.Component, span.Length, true));
}

// Where the diagrams of bars with these loads are worth a station: evenly spaced, and where a
// load begins, ends or acts; twice where a point load acts, before it and after it.
std::vector<std::pair<double, bool>> Places(const std::vector<const BarSpan*>& spans) {
    const double length = spans.front()->Length;
    std::vector<double> at;
    std::vector<double> jumps;
    for (int k = 0; k <= InnerSegments; ++k)
        at.push_back(length * k / InnerSegments);
    for (const BarSpan* span : spans) {
        const std::vector<double> breaks = span->Breaks();
        at.insert(at.end(), breaks.begin(), breaks.end());
        for (const BarSpan::Point& p : span->Points)
            jumps.push_back(p.At);
    }
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    std::vector<std::pair<double, bool>> places;
    for (double x : at) {
        if (x > 0 && x < length && std::find(jumps.begin(), jumps.end(), x) != jumps.end())
            places.emplace_back(x, false);
        places.emplace_back(x, x > 0);
    }
    return places;
}

// The diagram at each place: the largest or smallest over the bar's loadings, each with its
// own end values (`ends`), then the ends set to `i` and `j`, the solver's own values.
std::vector<BarDiagram::Station> Extreme(const std::vector<const BarSpan*>& spans,
                                         const std::vector<std::pair<double, double>>& ends,
                                         const ResultQuantity& q, bool largest, double i,
                                         double j) {
    std::vector<BarDiagram::Station> stations;
    const double length = spans.front()->Length;
    for (const auto& [x, after] : Places(spans)) {
        double value = 0;
        for (size_t c = 0; c < spans.size(); ++c) {
            const double v = ValueAt(ends[c].first, ends[c].second, *spans[c], q, x, after);
            value = c == 0 ? v : largest ? std::max(value, v) : std::min(value, v);
        }
        stations.push_back({x / length, value});
    }
    stations.front().Value = i;
    stations.back().Value = j;
    return stations;
}

// N, V or M along arc `e` from the section forces at its end i.
std::vector<double> ArcValues(const ViewerModel& model, const StaticResults& statics,
                              const StaticResults::Case& loadCase, size_t e,
                              const BarAxes::Vec3& load, const ResultQuantity& quantity) {
    const ViewerModel::Bar& bar = model.Bars[e];
    const size_t width = static_cast<size_t>(statics.ForceCount());
    const auto at = [&](const char* name) {
        const int column = statics.Forces.IndexOf(QLatin1String(name));
        return column < 0 ? 0.0 : loadCase.Forces[e * width + static_cast<size_t>(column)];
    };
    const std::vector<BarAxes::Vec3> points =
        BarArc::Points(ToVec(model.Nodes[static_cast<size_t>(bar.I)]),
                       ToVec(model.Nodes[static_cast<size_t>(bar.J)]), bar.Radius);
    std::vector<double> values;
    for (const BarArc::Section& s : BarArc::Sections(points, {at("Ni"), at("Vi"), at("Mi")}, load))
        values.push_back(quantity.Name == QLatin1String("N")   ? s.N
                         : quantity.Name == QLatin1String("V") ? s.V
                                                               : s.M);
    return values;
}

// The end values of `quantity` of bar `e` in one case, if the case holds them.
std::optional<std::pair<double, double>> EndsOf(const StaticResults& statics,
                                                const StaticResults::Case& loadCase, size_t e,
                                                const ResultQuantity& quantity) {
    const size_t width = static_cast<size_t>(statics.ForceCount());
    if ((e + 1) * width > loadCase.Forces.size())
        return std::nullopt;
    return std::pair{loadCase.Forces[e * width + static_cast<size_t>(quantity.ColumnI)],
                     loadCase.Forces[e * width + static_cast<size_t>(quantity.ColumnJ)]};
}

} // namespace

std::vector<BarDiagram::Station> BarOrdinates::Stations(int segments) const {
    if (!Inner.empty())
        return BarDiagram::WithZeros(Inner);
    return BarDiagram::Stations(I, J, Bulge, Length, Bulge != 0 ? segments : 1);
}

std::vector<BarDiagram::Station> BarOrdinates::Extremes() const {
    std::vector<BarDiagram::Station> within;
    if (Inner.size() > 2) {
        const auto [low, high] =
            std::minmax_element(Inner.begin() + 1, Inner.end() - 1,
                                [](const BarDiagram::Station& a, const BarDiagram::Station& b) {
                                    return a.Value < b.Value;
                                });
        if (high->Value > std::max(I, J))
            within.push_back(*high);
        if (low->Value < std::min(I, J))
            within.push_back(*low);
    } else if (const auto xi = BarDiagram::ExtremeAt(I, J, Bulge, Length)) {
        within.push_back({*xi, BarDiagram::At(I, J, Bulge, Length, *xi)});
    }
    return within;
}

double BarOrdinates::Largest() const {
    double largest = std::max(std::abs(I), std::abs(J));
    for (double value : Arc)
        largest = std::max(largest, std::abs(value));
    for (const BarDiagram::Station& s : Extremes())
        largest = std::max(largest, std::abs(s.Value));
    return largest;
}

std::vector<BarOrdinates> BarOrdinates::Of(const ViewerModel& model, const ProblemType& type,
                                           const StaticResults& statics,
                                           const StaticResults::Case& loadCase,
                                           const ResultQuantity& quantity) {
    const std::vector<BarSpan> spans = BarSpan::Of(model, type.Lies, loadCase);
    std::vector<BarOrdinates> list(model.Bars.size());
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        const BarSpan& span = spans[e];
        BarOrdinates& o = list[e];
        const auto ends = EndsOf(statics, loadCase, e, quantity);
        if (!ends)
            break;
        std::tie(o.I, o.J) = *ends;
        o.Length = span.Length;
        if (model.Bars[e].Radius != 0) {
            // N, V and M at end i give the section forces all along the arc.
            o.Arc = ArcValues(model, statics, loadCase, e, span.Even, quantity);
        } else if (quantity.Component >= 0 && quantity.ColumnI != quantity.ColumnJ) {
            if (span.Inner() && o.Length > 0)
                o.Inner = Extreme({&span}, {*ends}, quantity, true, o.I, o.J);
            else
                // An even load makes the moments a parabola of this bulge: -q x²/2 about
                // local y under qz, +q x²/2 about z under qy, less their chords.
                o.Bulge = quantity.Component == 4   ? quantity.Sign * span.Even[2]
                          : quantity.Component == 5 ? -quantity.Sign * span.Even[1]
                                                    : 0;
        }
    }
    return list;
}

std::vector<BarOrdinates> BarOrdinates::Bound(const ViewerModel& model, const ProblemType& type,
                                              const StaticResults& statics,
                                              const StaticResults::Envelope& envelope, bool largest,
                                              const ResultQuantity& quantity) {
    std::vector<const StaticResults::Case*> cases;
    std::vector<std::vector<BarSpan>> spans;
    for (int number : envelope.Combinations)
        for (const StaticResults::Case& c : statics.Combinations)
            if (c.Number == number) {
                cases.push_back(&c);
                spans.push_back(BarSpan::Of(model, type.Lies, c));
            }
    const StaticResults::Case& own = largest ? envelope.Max : envelope.Min;
    std::vector<BarOrdinates> list(model.Bars.size());
    for (size_t e = 0; e < model.Bars.size(); ++e) {
        BarOrdinates& o = list[e];
        const auto ends = EndsOf(statics, own, e, quantity);
        if (!ends)
            break;
        std::tie(o.I, o.J) = *ends;
        if (cases.empty())
            continue;
        std::vector<const BarSpan*> bar;
        std::vector<std::pair<double, double>> each;
        for (size_t c = 0; c < cases.size(); ++c) {
            bar.push_back(&spans[c][e]);
            each.push_back(EndsOf(statics, *cases[c], e, quantity).value_or(std::pair{0.0, 0.0}));
        }
        o.Length = bar.front()->Length;
        if (model.Bars[e].Radius != 0) {
            for (size_t c = 0; c < cases.size(); ++c) {
                const std::vector<double> arc =
                    ArcValues(model, statics, *cases[c], e, bar[c]->Even, quantity);
                if (o.Arc.empty())
                    o.Arc = arc;
                for (size_t k = 0; k < arc.size() && k < o.Arc.size(); ++k)
                    o.Arc[k] = largest ? std::max(o.Arc[k], arc[k]) : std::min(o.Arc[k], arc[k]);
            }
        } else if (quantity.Component >= 0 && quantity.ColumnI != quantity.ColumnJ &&
                   o.Length > 0) {
            o.Inner = Extreme(bar, each, quantity, largest, o.I, o.J);
        }
    }
    return list;
}
