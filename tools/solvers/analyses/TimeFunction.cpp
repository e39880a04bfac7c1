#include "TimeFunction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QString NotFinite(int number) {
    return QStringLiteral("function %1 holds a value that is not a finite number").arg(number);
}

TimeFunction::Made Refused(QString error) {
    return {TimeFunction(), std::move(error)};
}

} // namespace

TimeFunction::Made TimeFunction::Table(int number, std::vector<Point> points) {
    if (points.size() < 2)
        return Refused(QStringLiteral("function %1 has fewer than two points").arg(number));
    for (size_t k = 0; k < points.size(); ++k) {
        if (!std::isfinite(points[k].Time) || !std::isfinite(points[k].Value))
            return Refused(NotFinite(number));
        if (k > 0 && !(points[k].Time > points[k - 1].Time))
            return Refused(QStringLiteral("the times of function %1 do not increase at point %2")
                               .arg(number)
                               .arg(k + 1));
    }
    TimeFunction function;
    function.kind_ = Kind::Table;
    function.points_ = std::move(points);
    return {std::move(function), {}};
}

TimeFunction::Made TimeFunction::Sine(int number, double amplitude, double frequency, double phase,
                                      double start, double end) {
    // The end alone may be infinite: a sine that goes on.
    if (!std::isfinite(amplitude) || !std::isfinite(frequency) || !std::isfinite(phase) ||
        !std::isfinite(start) || std::isnan(end))
        return Refused(NotFinite(number));
    if (!(frequency > 0))
        return Refused(QStringLiteral("the frequency of function %1 is not positive").arg(number));
    if (!(end > start))
        return Refused(QStringLiteral("function %1 does not end after it starts").arg(number));
    TimeFunction function;
    function.kind_ = Kind::Sine;
    function.value_ = amplitude;
    function.frequency_ = frequency;
    function.phase_ = phase * std::numbers::pi / 180;
    function.start_ = start;
    function.end_ = end;
    return {std::move(function), {}};
}

TimeFunction::Made TimeFunction::Pulse(int number, double height, double start, double duration) {
    if (!std::isfinite(height) || !std::isfinite(start) || !std::isfinite(duration))
        return Refused(NotFinite(number));
    if (!(duration > 0))
        return Refused(QStringLiteral("the duration of function %1 is not positive").arg(number));
    TimeFunction function;
    function.kind_ = Kind::Pulse;
    function.value_ = height;
    function.start_ = start;
    function.end_ = start + duration;
    return {std::move(function), {}};
}

TimeFunction::Made TimeFunction::Ramp(int number, double value, double start, double rise) {
    if (!std::isfinite(value) || !std::isfinite(start) || !std::isfinite(rise))
        return Refused(NotFinite(number));
    if (rise < 0)
        return Refused(QStringLiteral("the rise time of function %1 is negative").arg(number));
    TimeFunction function;
    function.kind_ = Kind::Ramp;
    function.value_ = value;
    function.start_ = start;
    function.end_ = start + rise;
    return {std::move(function), {}};
}

TimeFunction::Made TimeFunction::Step(int number, double value, double start) {
    return Ramp(number, value, start, 0);
}

double TimeFunction::At(double time) const {
    switch (kind_) {
    case Kind::Zero:
        return 0;
    case Kind::Table: {
        if (time < points_.front().Time || time > points_.back().Time)
            return 0;
        // The first point after `time`; the last time itself belongs to the last segment.
        const auto after =
            std::upper_bound(points_.begin(), points_.end(), time,
                             [](double t, const Point& point) { return t < point.Time; });
        if (after == points_.end())
            return points_.back().Value;
        const Point& a = *(after - 1);
        const Point& b = *after;
        return a.Value + (b.Value - a.Value) * (time - a.Time) / (b.Time - a.Time);
    }
    case Kind::Sine:
        if (time < start_ || time >= end_)
            return 0;
        return value_ * std::sin(2 * std::numbers::pi * frequency_ * (time - start_) + phase_);
    case Kind::Pulse:
        return time >= start_ && time < end_ ? value_ : 0;
    case Kind::Ramp:
        if (time < start_)
            return 0;
        if (time >= end_)
            return value_;
        return value_ * (time - start_) / (end_ - start_);
    }
    return 0;
}

std::vector<double> TimeFunction::Breaks() const {
    std::vector<double> times;
    switch (kind_) {
    case Kind::Zero:
        break;
    case Kind::Table:
        for (const Point& point : points_)
            times.push_back(point.Time);
        break;
    case Kind::Sine:
    case Kind::Pulse:
    case Kind::Ramp:
        times.push_back(start_);
        if (std::isfinite(end_) && end_ > start_)
            times.push_back(end_);
        break;
    }
    return times;
}
