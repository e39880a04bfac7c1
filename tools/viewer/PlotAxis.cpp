#include "PlotAxis.h"

#include <algorithm>
#include <cmath>

PlotAxis::PlotAxis(double low, double high, int target) {
    if (!std::isfinite(low) || !std::isfinite(high))
        low = high = 0;
    if (low > high)
        std::swap(low, high);
    if (high - low <= 1e-12 * std::max(std::abs(low), std::abs(high))) {
        // One value: a range round it (round 0, from -1 to 1).
        const double half = low == 0 ? 1 : std::abs(low) / 2;
        low -= half;
        high += half;
    }
    const double rough = (high - low) / std::max(1, target);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / power;
    step_ = (fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10) * power;
    low_ = std::floor(low / step_ + 1e-9) * step_;
    high_ = std::ceil(high / step_ - 1e-9) * step_;
    const int count = static_cast<int>(std::lround((high_ - low_) / step_));
    for (int k = 0; k <= count; ++k) {
        const double tick = low_ + k * step_;
        ticks_.push_back(std::abs(tick) < step_ * 1e-9 ? 0.0 : tick);
    }
}

double PlotAxis::Share(double value) const {
    return high_ > low_ ? (value - low_) / (high_ - low_) : 0.0;
}
