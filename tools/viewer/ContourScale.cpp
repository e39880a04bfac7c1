#include "ContourScale.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest round step (1, 2, 2.5 or 5 times a power of ten) not below `step`.
double RoundUp(double step) {
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double mantissa : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (mantissa * power >= step * (1 - 1e-9))
            return mantissa * power;
    }
    return 10 * power;
}

} // namespace

ContourScale::ContourScale(double low, double high, QString unit) : unit_(std::move(unit)) {
    if (!std::isfinite(low) || !std::isfinite(high) || low > high)
        low = high = 0;
    const double size = std::max(std::abs(low), std::abs(high));
    // Differences at the last digits of the numbers are no field to draw.
    if (high - low <= 1e-9 * size || high == low) {
        limits_ = {low, high};
        return;
    }
    const double step = RoundUp((high - low) / TargetBands);
    const double first = std::floor(low / step + 1e-9) * step;
    const int bands = std::max(1, static_cast<int>(std::ceil((high - first) / step - 1e-9)));
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
