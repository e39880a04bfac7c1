#include "RulerTicks.h"

#include "NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int TicksPerLabel = 10;
constexpr int Forms = 3;

// The power of ten of the last digit a label step needs (-1 for 0.1, 0 for 5, 2 for 200).
int StepExponent(double step) {
    return static_cast<int>(std::floor(std::log10(step) + 1e-9));
}

// "2.50e+08" -> "2.5e8": the shortest exponent form that keeps the digits asked for.
QString ShortExponent(double value, int digits, QChar decimalPoint) {
    QString text = QString::number(value, 'e', std::max(0, digits - 1));
    const qsizetype e = text.indexOf(u'e');
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    if (mantissa.contains(u'.')) {
        while (mantissa.endsWith(u'0'))
            mantissa.chop(1);
        if (mantissa.endsWith(u'.'))
            mantissa.chop(1);
    }
    const bool negative = exponent.startsWith(u'-');
    exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(u'0'))
        exponent.remove(0, 1);
    if (mantissa == QLatin1String("0") || mantissa == QLatin1String("-0"))
        return QStringLiteral("0");
    mantissa.replace(u'.', decimalPoint);
    return mantissa + u'e' + (negative ? QStringLiteral("-") : QString()) + exponent;
}

struct Layout {
    int form = 0;
    int stride = 1; // labels on every stride-th long tick
};

// The stride sequence 1, 2, 5, 10, 20, 50, ...
int NextStride(int stride) {
    int power = 1;
    while (power * 10 <= stride)
        power *= 10;
    const int lead = stride / power;
    return lead == 1 ? 2 * power : lead == 2 ? 5 * power : 10 * power;
}

// Picks the label form and stride: the form that lets labels stand closest together, among
// those that fit across the ruler (the narrowest if none does); the earlier form on a tie.
Layout ChooseLayout(const QList<double>& values, double step, int spacing,
                    const RulerTicks::TextSize& textSize, bool alongIsWidth, int acrossRoom,
                    QChar decimalPoint) {
    if (!textSize || values.isEmpty() || spacing < 1)
        return {};
    double largest = 0;
    for (double v : values)
        largest = std::max(largest, std::fabs(v));
    Layout best;
    int bestStride = -1;
    int narrowestAcross = -1;
    Layout narrowest;
    for (int form = 0; form < Forms; ++form) {
        int along = 0;
        int across = 0;
        for (double v : values) {
            const QSize size = textSize(RulerTicks::Label(v, step, largest, form, decimalPoint));
            along = std::max(along, alongIsWidth ? size.width() : size.height());
            across = std::max(across, alongIsWidth ? size.height() : size.width());
        }
        const int gap = alongIsWidth ? 4 : 2;
        int stride = 1;
        while (static_cast<long long>(stride) * spacing < along + gap && stride < 1000000000)
            stride = NextStride(stride);
        const Layout layout{form, stride};
        if (narrowestAcross < 0 || across < narrowestAcross) {
            narrowestAcross = across;
            narrowest = layout;
        }
        if (across <= acrossRoom && (bestStride < 0 || stride < bestStride)) {
            bestStride = stride;
            best = layout;
        }
    }
    return bestStride < 0 ? narrowest : best;
}

// Ticks at `positions`, `counts` ticks from the origin's; labels must end before `end`.
QList<RulerTick> Build(const QList<int>& positions, const QList<int>& counts,
                       const std::function<double(int)>& value, int tickStep, double scale,
                       const RulerTicks::TextSize& textSize, bool alongIsWidth, int acrossRoom,
                       int end, QChar decimalPoint) {
    const double step = TicksPerLabel * tickStep * scale;
    QList<double> values;
    for (qsizetype i = 0; i < positions.size(); ++i)
        if (counts[i] % TicksPerLabel == 0)
            values << value(positions[i]);
    const Layout layout = ChooseLayout(values, step, TicksPerLabel * tickStep, textSize,
                                       alongIsWidth, acrossRoom, decimalPoint);
    double largest = 0;
    for (double v : values)
        largest = std::max(largest, std::fabs(v));

    QList<RulerTick> ticks;
    for (qsizetype i = 0; i < positions.size(); ++i) {
        RulerTick tick;
        tick.Position = positions[i];
        tick.Long = counts[i] % TicksPerLabel == 0;
        if (tick.Long && counts[i] % (TicksPerLabel * layout.stride) == 0) {
            tick.Label =
                RulerTicks::Label(value(positions[i]), step, largest, layout.form, decimalPoint);
            // A label that runs past the end of the ruler would be cut off.
            if (textSize) {
                const QSize size = textSize(tick.Label);
                const int reach = tick.Position + 1 + (alongIsWidth ? size.width() : size.height());
                if (reach > end)
                    tick.Label.clear();
            }
        }
        ticks << tick;
    }
    return ticks;
}

} // namespace

QString RulerTicks::Label(double value, double step, double largest, int form, QChar decimalPoint) {
    const int stepExponent = step > 0 && std::isfinite(step) ? StepExponent(step) : 0;
    const int needed = std::max(0, -stepExponent);
    if (form == 0)
        return NumberFormat::fixed(value, 3, std::max(2, needed), decimalPoint);
    if (form == 1)
        return NumberFormat::fixed(value, 1, needed, decimalPoint);
    const int largestExponent =
        largest > 0 ? static_cast<int>(std::floor(std::log10(largest) + 1e-9)) : stepExponent;
    return ShortExponent(value, std::max(1, largestExponent - stepExponent + 1), decimalPoint);
}

QList<RulerTick> RulerTicks::Top(int originX, int tickStep, double scale, int panelLeft,
                                 int leftBarWidth, QChar decimalPoint, const TextSize& textSize) {
    if (tickStep < 1)
        return {};
    QList<int> positions;
    QList<int> counts;
    for (int x = originX, k = 0; x < panelLeft; x += tickStep, ++k)
        positions << x, counts << k;
    for (int x = originX, k = 0; x > leftBarWidth; x -= tickStep, ++k)
        positions << x, counts << k;
    const auto value = [&](int x) { return (x - originX) * scale; };
    return Build(positions, counts, value, tickStep, scale, textSize, true, 1 << 20, panelLeft,
                 decimalPoint);
}

QList<RulerTick> RulerTicks::Left(int originY, int barTop, int barHeight, int tickStep,
                                  double scale, QChar decimalPoint, const TextSize& textSize,
                                  int barWidth) {
    if (tickStep < 1)
        return {};
    const int start = originY - barTop;
    QList<int> positions;
    QList<int> counts;
    for (int y = start, k = 0; y < barHeight; y += tickStep, ++k)
        positions << y, counts << k;
    for (int y = start, k = 0; y > 0; y -= tickStep, ++k)
        positions << y, counts << k;
    const auto value = [&](int y) { return (originY - (y + barTop)) * scale; };
    return Build(positions, counts, value, tickStep, scale, textSize, false, barWidth - 3,
                 barHeight, decimalPoint);
}
