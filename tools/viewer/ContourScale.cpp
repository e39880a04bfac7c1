#include "ContourScale.h"

#include <algorithm>
#include <cmath>

namespace {

// The round steps (1, 2, 2.5 or 5 times a power of ten) next below and next above `step`.
std::pair<double, double> RoundSteps(double step) {
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    double below = power;
    for (double mantissa : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (mantissa * power >= step * (1 - 1e-9))
            return {below, mantissa * power};
        below = mantissa * power;
    }
    return {below, 10 * power};
}

// The bands of width `step` from a multiple of it below `low` to above `high`.
int BandsOf(double low, double high, double step) {
    const double first = std::floor(low / step + 1e-9) * step;
    return std::max(1, static_cast<int>(std::ceil((high - first) / step - 1e-9)));
}

} // namespace

ContourScale::ContourScale(double low, double high, QString unit) : unit_(std::move(unit)) {
    if (!std::isfinite(low) || !std::isfinite(high) || low > high)
        low = high = 0;
    const double size = std::max(std::abs(low), std::abs(high));
    // Differences at the last digits of the numbers are no field to draw.
    // A range beyond the largest number has no round bands either: one band then.
    if (high - low <= 1e-9 * size || high == low || !std::isfinite(high - low)) {
        limits_ = {low, high};
        return;
    }
    // Of the round steps about a target band's width, the one whose count of bands comes
    // nearer the target, as long as they stay few enough to tell apart.
    const auto [smaller, larger] = RoundSteps((high - low) / TargetBands);
    const int more = BandsOf(low, high, smaller), fewer = BandsOf(low, high, larger);
    const bool fine = more <= MaxBands && more - TargetBands < TargetBands - fewer;
    const double step = fine ? smaller : larger;
    const int bands = fine ? more : fewer;
    const double first = std::floor(low / step + 1e-9) * step;
    limits_.clear();
    for (int k = 0; k <= bands; ++k) {
        const double limit = first + k * step;
        // Sums of steps that should meet 0 leave a trace of rounding.
        limits_.push_back(std::abs(limit) < step * 1e-9 ? 0.0 : limit);
    }
}

int ContourScale::BandOf(double value) const {
    const auto above = std::upper_bound(limits_.begin() + 1, limits_.end() - 1, value);
    return static_cast<int>(above - limits_.begin()) - 1;
}

QColor ContourScale::ColourOf(int band) const {
    // Blue to red over the hues, a little darker in the greens and yellows that are otherwise
    // hard to tell apart on white paper.
    const int bands = Bands();
    const double t = bands <= 1 ? 0.5 : std::clamp(double(band) / (bands - 1), 0.0, 1.0);
    const double hue = 240 * (1 - t);
    const double value = hue > 40 && hue < 160 ? 0.85 : 0.95;
    return QColor::fromHsvF(float(hue / 360), 0.75f, float(value));
}
