#include "RulerTicks.h"

#include "NumberFormat.h"

namespace {

RulerTick MakeTick(int position, int count, double value, QChar decimalPoint) {
    RulerTick tick;
    tick.Position = position;
    tick.Long = count % 10 == 0;
    if (tick.Long)
        tick.Label = NumberFormat::fixed(value, 3, 2, decimalPoint);
    return tick;
}

} // namespace

QList<RulerTick> RulerTicks::Top(int originX, int tickStep, double scale, int panelLeft,
                                 int leftBarWidth, QChar decimalPoint) {
    QList<RulerTick> ticks;
    if (tickStep < 1)
        return ticks;
    for (int x = originX, k = 0; x < panelLeft; x += tickStep, ++k)
        ticks << MakeTick(x, k, (x - originX) * scale, decimalPoint);
    for (int x = originX, k = 0; x > leftBarWidth; x -= tickStep, ++k)
        ticks << MakeTick(x, k, (x - originX) * scale, decimalPoint);
    return ticks;
}

QList<RulerTick> RulerTicks::Left(int originY, int barTop, int barHeight, int tickStep,
                                  double scale, QChar decimalPoint) {
    QList<RulerTick> ticks;
    if (tickStep < 1)
        return ticks;
    const int start = originY - barTop;
    const auto value = [&](int y) { return (originY - (y + barTop)) * scale; };
    for (int y = start, k = 0; y < barHeight; y += tickStep, ++k)
        ticks << MakeTick(y, k, value(y), decimalPoint);
    for (int y = start, k = 0; y > 0; y -= tickStep, ++k)
        ticks << MakeTick(y, k, value(y), decimalPoint);
    return ticks;
}
