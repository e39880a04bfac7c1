#pragma once

#include "ResultFile.h"

#include <utility>
#include <vector>

// The motion of one forced vibration of a modes file at any of its points: an instant of a
// history, or a frequency of a harmonic sweep at a phase of its period. A motion by the modes
// is the sum of the shapes weighted by their coordinates at that point, so one value anywhere
// is a dot product over the shapes and a whole frame is shapes x values; a history integrated
// directly gives its frames as they are. The largest translation over the whole excitation is
// found once, so that an animation is drawn at one scale rather than renormalised per frame.
class ForcedMotion {
public:
    using Kind = ResultFile::Forced::Kind;

    // `excitation` indexes contents.Vibrations.List; past it the motion is empty.
    ForcedMotion(const ResultFile::Contents& contents, size_t excitation);

    bool Valid() const { return x_ != nullptr; }
    const ResultFile::Forced::Excitation& Excitation() const { return *x_; }
    Kind Type() const { return x_ ? x_->Type : Kind::Spectrum; }
    // Instants or frequencies; 0 for a spectrum, which has no motion in time.
    int Points() const;
    double Abscissa(int point) const;

    // What a motion holds at one point.
    struct Frame {
        std::vector<double> Nodes;    // Nodes x Components
        std::vector<double> Inner;    // InnerPoints x Components, as the shapes hold them
        std::vector<double> Elements; // Elements x Columns
    };
    // The motion at `point`; a harmonic's at `phase` (radians) of its period: Re(U e^(i phase)).
    // A drawing needs no element results: without `elements` they are left empty.
    Frame At(int point, double phase = 0, bool elements = true) const;

    // One value a curve follows: a node's component or an element's column, counted from 0.
    struct Quantity {
        bool Element = false;
        int Index = 0;
        int Column = 0;
        bool operator==(const Quantity&) const = default;
    };
    bool Holds(const Quantity& q) const;
    // Per point: a history's value; a harmonic's amplitude |U| and its phase (radians) in
    // Phases. Empty when the quantity is not held.
    struct Curve {
        std::vector<double> Values;
        std::vector<double> Phases;
    };
    Curve CurveOf(const Quantity& q) const;

    // The largest translation of any node or inner point over the whole excitation (a
    // harmonic's over every phase of each frequency), and the point where it occurs.
    double LargestMove() const { return largest_; }
    int PeakPoint() const { return peak_; }
    // The translation component of the node that moves most at the peak point, which a
    // response plot starts with.
    Quantity Strongest() const { return strongest_; }
    // The smallest and the largest value of node component `component` over the excitation
    // (a harmonic's ±amplitude), so that contours keep one scale while the motion plays.
    std::pair<double, double> Range(int component) const;

private:
    // Quantity q of every shape, in the shapes' order.
    std::vector<double> AcrossShapes(const Quantity& q) const;
    // The shapes' weights at a point: a history's coordinates; a harmonic's real parts at the
    // phase.
    std::vector<double> Weights(int point, double phase) const;
    void FindLargest();

    const ResultFile::Contents* contents_ = nullptr;
    const ResultFile::Forced::Excitation* x_ = nullptr;
    int shapes_ = 0, width_ = 0, columns_ = 0;
    qint64 nodes_ = 0, inner_ = 0, elements_ = 0;
    double largest_ = 0;
    int peak_ = 0;
    Quantity strongest_;
};
