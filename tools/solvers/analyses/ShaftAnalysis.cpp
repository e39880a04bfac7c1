#include "ShaftAnalysis.h"

#include "ModeReport.h"
#include "StaticReport.h"

#include <QJsonArray>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>

namespace {

constexpr int PlotWidth = 61;
constexpr int PlotRows = 9; // +1 on the first, 0 in the middle, -1 on the last
// Up to this many nodes the shape's values are listed at every node; beyond, at this many
// evenly along the shaft.
constexpr int ListedNodes = 41;

QString KindName(ShaftModes::Kind kind) {
    return kind == ShaftModes::Kind::Bending ? QStringLiteral("bending")
                                             : QStringLiteral("torsion");
}

// The nodes by their x, the first of any that share it.
std::vector<int> AlongShaft(const ShaftModel& model) {
    std::vector<int> order(model.X.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&model](int a, int b) {
        return model.X[static_cast<size_t>(a)] < model.X[static_cast<size_t>(b)];
    });
    order.erase(std::unique(order.begin(), order.end(),
                            [&model](int a, int b) {
                                return model.X[static_cast<size_t>(a)] ==
                                       model.X[static_cast<size_t>(b)];
                            }),
                order.end());
    return order;
}

// The shape at x: between two nodes by the cubic that their deflections and slopes give in
// bending, linearly in torsion.
double ShapeAt(const ShaftModel& model, const ShaftModes::Mode& mode, const std::vector<int>& order,
               double x) {
    const auto width = static_cast<size_t>(mode.Width());
    const auto above = std::upper_bound(order.begin(), order.end(), x, [&model](double at, int n) {
        return at < model.X[static_cast<size_t>(n)];
    });
    if (above == order.begin())
        return mode.Shape[static_cast<size_t>(order.front()) * width];
    if (above == order.end())
        return mode.Shape[static_cast<size_t>(order.back()) * width];
    const auto a = static_cast<size_t>(*(above - 1)), b = static_cast<size_t>(*above);
    const double l = model.X[b] - model.X[a];
    const double t = (x - model.X[a]) / l;
    const double va = mode.Shape[a * width], vb = mode.Shape[b * width];
    if (width == 1)
        return va + t * (vb - va);
    const double ta = mode.Shape[a * width + 1] * l, tb = mode.Shape[b * width + 1] * l;
    return (2 * t * t * t - 3 * t * t + 1) * va + (t * t * t - 2 * t * t + t) * ta +
           (-2 * t * t * t + 3 * t * t) * vb + (t * t * t - t * t) * tb;
}

QString Method(const ShaftModel& model) {
    return QStringLiteral(
               "Bending: Euler-Bernoulli beam elements (deflection v and slope theta per "
               "node) with consistent masses gamma A / g per length, in one plane through the "
               "axis; the round shaft has the same frequencies in the other plane, which are "
               "listed once. Torsion: linear elements of stiffness G Ip / L, G = E / (2 (1 + "
               "nu)), with consistent polar inertia gamma Ip / g per length. Discs add m and Jd "
               "to bending and Jp to torsion; bearings are radial springs k, rigid when k = 0. "
               "g = %1 %2/s^2. Motions without strain (the shaft turning freely about its axis, "
               "tilting on fewer than two bearings) have no frequency and are not listed.\n")
        .arg(model.Gravity)
        .arg(model.LengthUnit);
}

// The shape's values at the nodes (every node of a short shaft, evenly chosen ones of a long
// one), with their x.
QString ShapeTable(const ShaftModel& model, const ShaftModes::Mode& mode,
                   const std::vector<int>& order) {
    const auto width = static_cast<size_t>(mode.Width());
    const auto nodes = static_cast<int>(order.size());
    const int shown = std::min(nodes, ListedNodes);
    QString text;
    if (shown < nodes)
        text += QStringLiteral("At %1 of the %2 nodes, evenly along the shaft:\n")
                    .arg(shown)
                    .arg(nodes);
    text += QStringLiteral("    Node            x");
    const QStringList names = width == 2 ? QStringList{QStringLiteral("v"), QStringLiteral("theta")}
                                         : QStringList{QStringLiteral("phi")};
    for (const QString& name : names)
        text += name.rightJustified(13);
    text += u'\n';
    for (int i = 0; i < shown; ++i) {
        const int k =
            shown > 1
                ? static_cast<int>(std::lround(static_cast<double>(i) * (nodes - 1) / (shown - 1)))
                : 0;
        const auto node = static_cast<size_t>(order[static_cast<size_t>(k)]);
        std::array<double, 3> values{model.X[node], mode.Shape[node * width],
                                     width == 2 ? mode.Shape[node * width + 1] : 0.0};
        StaticReport::AppendLine(text, static_cast<int>(node) + 1, values.data(),
                                 static_cast<int>(width) + 1);
    }
    return text;
}

QString NotFinite(const QString& what) {
    return QStringLiteral("the %1 is not a finite positive number; the data's values are out "
                          "of proportion (a bearing far softer or an element far stiffer than "
                          "the rest, or values near the largest number)")
        .arg(what);
}

// The protocol up to the shapes: the model, the method, what is left out and the table of
// the frequencies.
QString Summary(const SolverInput& input, const ShaftModel& model,
                const ShaftModes::Result& result) {
    size_t rigidBearings = 0;
    for (const ShaftModel::Bearing& bearing : model.Bearings)
        rigidBearings += bearing.Rigid() ? 1 : 0;
    QString text =
        QStringLiteral("Natural frequencies of %1: %2\n").arg(input.FormatName, model.Title);
    text += QStringLiteral("Nodes %1, elements %2, bearings %3 (%4 rigid), discs %5\n")
                .arg(model.X.size())
                .arg(model.Elements.size())
                .arg(model.Bearings.size())
                .arg(rigidBearings)
                .arg(model.Discs.size());
    text += QStringLiteral("Units: %1, %2, s; masses in %1 s^2/%2\n")
                .arg(model.ForceUnit, model.LengthUnit);
    text += Method(model);
    text += QStringLiteral("Rigid motions left out: %1 in bending, %2 in torsion.\n")
                .arg(result.RigidBending)
                .arg(result.RigidTorsion);
    for (const QString& note : result.Notes)
        text += QStringLiteral("Note: ") + note + u'\n';
    if (static_cast<int>(result.Modes.size()) < model.Frequencies)
        text += QStringLiteral("Only %1 %2 with the masses given.\n")
                    .arg(result.Modes.size())
                    .arg(result.Modes.size() == 1 ? QStringLiteral("mode exists")
                                                  : QStringLiteral("modes exist"));

    text += QStringLiteral("\nMode  kind      frequency [Hz]    period [s] circular [rad/s]\n");
    for (size_t k = 0; k < result.Modes.size(); ++k) {
        const double omega = std::sqrt(result.Modes[k].Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        text += QString::number(k + 1).rightJustified(4) + QStringLiteral("  ") +
                KindName(result.Modes[k].Type).leftJustified(8) + StaticReport::Number(frequency) +
                StaticReport::Number(1 / frequency) + StaticReport::Number(omega) + u'\n';
    }
    return text;
}

} // namespace

QString ShaftAnalysis::ShapePlot(const ShaftModel& model, const ShaftModes::Mode& mode) {
    const std::vector<int> order = AlongShaft(model);
    const double low = model.X[static_cast<size_t>(order.front())];
    const double span = model.X[static_cast<size_t>(order.back())] - low;
    const auto column = [&](double x) {
        return static_cast<int>(std::lround((x - low) / span * (PlotWidth - 1)));
    };
    const int middle = PlotRows / 2;
    std::vector<QString> rows(PlotRows, QString(PlotWidth, u' '));
    rows[static_cast<size_t>(middle)].fill(u'-');
    for (int c = 0; c < PlotWidth; ++c) {
        const double value =
            std::clamp(ShapeAt(model, mode, order, low + span * c / (PlotWidth - 1)), -1.0, 1.0);
        const auto row = static_cast<size_t>(std::lround((1 - value) * middle));
        rows[row][c] = u'*';
    }
    QString marks(PlotWidth, u' ');
    for (const ShaftModel::Bearing& bearing : model.Bearings)
        marks[column(model.X[static_cast<size_t>(bearing.Node)])] = u'^';
    for (const ShaftModel::Disc& disc : model.Discs)
        marks[column(model.X[static_cast<size_t>(disc.Node)])] = u'o';
    QString text;
    for (int r = 0; r < PlotRows; ++r) {
        const QString label = r == 0              ? QStringLiteral("  +1 |")
                              : r == middle       ? QStringLiteral("   0 |")
                              : r == PlotRows - 1 ? QStringLiteral("  -1 |")
                                                  : QStringLiteral("     |");
        text += label + rows[static_cast<size_t>(r)] + u'\n';
    }
    text += QStringLiteral("      ") + marks + u'\n';
    text += QStringLiteral("      x from %1 to %2 %3; ^ bearing, o disc\n")
                .arg(StaticReport::Number(low).trimmed(),
                     StaticReport::Number(low + span).trimmed(), model.LengthUnit);
    return text;
}

SolverOutcome ShaftAnalysis::Solve(const SolverInput& input, SolverProgress* progress) {
    const ShaftModel model = ShaftModel::FromData(input.Data);
    SolverProgress::Report(
        progress,
        QStringLiteral("Finding the %1 lowest natural frequencies").arg(model.Frequencies));
    const ShaftModes::Result result = ShaftModes::Lowest(model, model.Frequencies);
    for (size_t k = 0; k < result.Modes.size(); ++k) {
        const ShaftModes::Mode& mode = result.Modes[k];
        const bool finite = std::all_of(mode.Shape.begin(), mode.Shape.end(),
                                        [](double v) { return std::isfinite(v); });
        if (!std::isfinite(mode.Lambda) || !(mode.Lambda > 0))
            throw SolverError(NotFinite(QStringLiteral("frequency of mode %1").arg(k + 1)));
        if (!finite)
            throw SolverError(NotFinite(QStringLiteral("shape of mode %1").arg(k + 1)));
    }

    QString text = Summary(input, model, result);
    const std::vector<int> order = AlongShaft(model);
    QJsonArray list;
    for (size_t k = 0; k < result.Modes.size(); ++k) {
        const ShaftModes::Mode& mode = result.Modes[k];
        const double omega = std::sqrt(mode.Lambda);
        const double frequency = omega / (2 * std::numbers::pi);
        if (input.WantJson)
            list.append(QJsonObject{
                {QStringLiteral("frequency"), frequency},
                {QStringLiteral("period"), 1 / frequency},
                {QStringLiteral("circular"), omega},
                {QStringLiteral("kind"), KindName(mode.Type)},
                {QStringLiteral("shape"), ModeReport::ShapeJson(mode.Shape, mode.Width())}});
        text +=
            QStringLiteral("\nMode %1, %2, %3 Hz: %4 (largest 1)\n")
                .arg(k + 1)
                .arg(KindName(mode.Type))
                .arg(frequency, 0, 'g', 6)
                .arg(mode.Type == ShaftModes::Kind::Bending ? QStringLiteral("deflection v")
                                                            : QStringLiteral("angle of twist phi"));
        text += ShapePlot(model, mode);
        text += ShapeTable(model, mode, order);
    }

    SolverOutcome outcome;
    if (input.WantJson) {
        outcome.Json = {{QStringLiteral("modes"), list}};
        if (!result.Notes.isEmpty())
            outcome.Json.insert(QStringLiteral("notes"), QJsonArray::fromStringList(result.Notes));
    }
    outcome.Protocol = text;
    return outcome;
}
