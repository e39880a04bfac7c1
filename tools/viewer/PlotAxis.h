#pragma once

#include <vector>

// One axis of a plot: a range widened to round ends and the round ticks along it (1, 2 or 5
// times a power of ten apart), so that a curve's numbers read off the axis as written.
class PlotAxis {
public:
    PlotAxis() = default;
    // About `target` ticks over low to high; a range of one value is widened round it.
    PlotAxis(double low, double high, int target = 6);

    double Low() const { return low_; }
    double High() const { return high_; }
    double Step() const { return step_; }
    const std::vector<double>& Ticks() const { return ticks_; }
    // Where a value lies along the axis: 0 at Low, 1 at High.
    double Share(double value) const;

private:
    double low_ = 0, high_ = 1, step_ = 0.2;
    std::vector<double> ticks_;
};
