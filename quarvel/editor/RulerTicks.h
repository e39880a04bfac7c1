#pragma once

#include <QChar>
#include <QList>
#include <QString>

// One tick of a ruler, in the ruler's own coordinate along its length. Every tenth tick from
// the origin is long and labelled with the world coordinate there.
struct RulerTick {
    int Position = 0;
    bool Long = false;
    QString Label; // empty for short ticks
};

// The ticks of the two rulers, counted from the origin's tick separately in each direction
// (so the origin's tick comes twice, as it is painted twice).
class RulerTicks {
public:
    // The horizontal ruler above the drawing area, in drawing-area x: from the origin to the
    // right-hand panel and back to the vertical ruler.
    static QList<RulerTick> Top(int originX, int tickStep, double scale, int panelLeft,
                                int leftBarWidth, QChar decimalPoint);
    // The vertical ruler, in its own y (drawing-area y minus its top): the whole bar.
    static QList<RulerTick> Left(int originY, int barTop, int barHeight, int tickStep, double scale,
                                 QChar decimalPoint);
};
