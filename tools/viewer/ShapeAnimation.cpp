#include "ShapeAnimation.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double Turn = 2 * std::numbers::pi;

} // namespace

void ShapeAnimation::Start(Kind kind) {
    kind_ = kind;
    // Where the amplitude is 1: a quarter period swinging, half of it growing.
    phase_ = kind == Kind::Grow ? std::numbers::pi : std::numbers::pi / 2;
}

int ShapeAnimation::Step() const {
    return static_cast<int>(std::lround(phase_ / Turn * Steps)) % Steps;
}

void ShapeAnimation::SetStep(int step) {
    phase_ = Turn * (((step % Steps) + Steps) % Steps) / Steps;
}

void ShapeAnimation::Advance(double seconds) {
    phase_ = std::fmod(phase_ + Turn * seconds / PeriodSeconds, Turn);
    if (phase_ < 0)
        phase_ += Turn;
}

double ShapeAnimation::Amplitude() const {
    switch (kind_) {
    case Kind::Swing:
        return std::sin(phase_);
    case Kind::Grow:
        return (1 - std::cos(phase_)) / 2;
    case Kind::None:
        break;
    }
    return 1;
}
