#pragma once

#include <QString>
#include <vector>

// A scalar function of time f(t) that scales a load or a ground acceleration: a table of points
// joined by straight lines, or one of the usual formulas (a sine, a rectangular pulse, a ramp or
// a step). A table is 0 before its first time and after its last; the formulas are 0 before
// they start (and a sine and a pulse after they end).
//
// Where a function jumps, it takes the value after the jump: a step at 0 already pushes at 0, and
// a pulse sampled at the steps of a time integration carries its whole impulse (the trapezoidal
// rule then sees half its height in the step before it starts and half in the step where it
// ends). The one exception is a table, which holds the value of its last point at its last time:
// each point listed is the function's value there.
class TimeFunction {
public:
    struct Point {
        double Time = 0;
        double Value = 0;
    };
    // A function, or what is wrong with the data given for it (Error, empty when sound), naming
    // the function by its `number` as the data numbers it.
    struct Made;

    // Points at strictly increasing times, at least two.
    static Made Table(int number, std::vector<Point> points);
    // A sin(2 pi f (t - start) + phase) from `start` to `end` (may be infinite); frequency in
    // Hz, phase in degrees.
    static Made Sine(int number, double amplitude, double frequency, double phase, double start,
                     double end);
    // `height` from `start` for `duration`.
    static Made Pulse(int number, double height, double start, double duration);
    // 0 before `start`, rising linearly to `value` over `rise`, then held; a rise of 0 is a step.
    static Made Ramp(int number, double value, double start, double rise);
    static Made Step(int number, double value, double start);

    // 0 at every time.
    TimeFunction() = default;

    double At(double time) const;
    // The times where the function kinks or jumps, increasing: where a time integration should
    // have a step, and what it cannot resolve if its step is longer than their distance.
    std::vector<double> Breaks() const;

private:
    enum class Kind { Zero, Table, Sine, Pulse, Ramp };
    Kind kind_ = Kind::Zero;
    std::vector<Point> points_; // a table's
    // A formula's: its value (amplitude, height, final value), frequency (Hz), phase (radians),
    // and the interval where it acts (Sine, Pulse) or rises (Ramp).
    double value_ = 0, frequency_ = 0, phase_ = 0, start_ = 0, end_ = 0;
};

struct TimeFunction::Made {
    TimeFunction Function;
    QString Error;
};
