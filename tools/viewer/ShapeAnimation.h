#pragma once

// The phase of a shape's animation: a mode or buckling shape swings to and fro (the shape
// times the sine of the phase), a load case's deformed shape grows from rest to its full size
// and back. One period takes two seconds at speed 1; a drawing only scales its displacements
// by the amplitude, so a frame costs what a still picture does.
class ShapeAnimation {
public:
    enum class Kind { None, Swing, Grow };
    // Steps of the motion bar's slider over one period.
    static constexpr int Steps = 72;
    static constexpr double PeriodSeconds = 2;

    // A new shape: shown at its full size until it is played.
    void Start(Kind kind);
    Kind Type() const { return kind_; }
    double Phase() const { return phase_; }
    // The slider's step nearest the phase, and a phase set from it.
    int Step() const;
    void SetStep(int step);
    void Advance(double seconds);
    // The share of the displacements drawn: sin(phase) swinging, (1 - cos(phase)) / 2 growing,
    // 1 without an animation.
    double Amplitude() const;

private:
    Kind kind_ = Kind::None;
    double phase_ = 0;
};
