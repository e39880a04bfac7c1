#pragma once

#include <QChar>
#include <QList>
#include <QSize>
#include <QString>
#include <functional>

// One tick of a ruler, in the ruler's own coordinate along its length. Every tenth tick from
// the origin is long; long ticks carry the world coordinate there as a label, as many of them
// as there is room for.
struct RulerTick {
    int Position = 0;
    bool Long = false;
    QString Label; // empty for short ticks and for long ticks left unlabelled
};

// The ticks of the two rulers, counted from the origin's tick separately in each direction
// (so the origin's tick comes twice, as it is painted twice).
//
// Labels show the coordinate with two decimals where that tells them apart, with as many
// decimals as the label step needs when it is finer, and in a short exponent form ("2.5e8")
// when the plain form is too long for the ruler. Given the size of a text in the ruler's font,
// labels are thinned out to every 20th, 50th, 100th ... tick so that none runs into the next,
// and a label that would be cut off at the end of the ruler is left out.
class RulerTicks {
public:
    using TextSize = std::function<QSize(const QString&)>;

    // The horizontal ruler above the drawing area, in drawing-area x: from the origin to the
    // right-hand panel and back to the vertical ruler.
    static QList<RulerTick> Top(int originX, int tickStep, double scale, int panelLeft,
                                int leftBarWidth, QChar decimalPoint,
                                const TextSize& textSize = {});
    // The vertical ruler, in its own y (drawing-area y minus its top): the whole bar. Labels
    // are written across the bar, which is `barWidth` wide, from x = 3.
    static QList<RulerTick> Left(int originY, int barTop, int barHeight, int tickStep, double scale,
                                 QChar decimalPoint, const TextSize& textSize = {},
                                 int barWidth = 41);

    // The label of `value` on a ruler labelled every `step` world units up to `largest`, in
    // `form` 0 (two or more decimals), 1 (just the decimals the step needs) or 2 (exponent).
    static QString Label(double value, double step, double largest, int form, QChar decimalPoint);
};
