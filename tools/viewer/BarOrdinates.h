#pragma once

#include "BarDiagram.h"
#include "ResultQuantity.h"
#include "StaticResults.h"
#include "ViewerModel.h"

#include <vector>

// What the diagram of one section force needs of each bar in one load case: its end values
// from the result file, its length, and how the loads between its ends shape it: the bulge of
// the parabola that an even load across the bar (table 8) gives a bending moment, or, where
// point or partial loads act on the bar, the diagram at stations along it.
struct BarOrdinates {
    double I = 0, J = 0, Bulge = 0, Length = 0;
    // An arc (type 1): the values at the points of BarArc::Points from the equilibrium of the
    // part from end i; empty for a straight bar.
    std::vector<double> Arc;
    // A straight bar with point or partial loads: the values from end i to end j at evenly
    // spaced stations and where the loads begin, end or act; twice where a point load acts,
    // before and after it. Empty otherwise.
    std::vector<BarDiagram::Station> Inner;

    // The stations a straight bar's diagram is drawn through, with the points where it
    // changes sign: `segments` + 1 for a parabola, the two ends for a straight line.
    std::vector<BarDiagram::Station> Stations(int segments) const;
    // The largest and the smallest value within a straight bar, where they are not at its
    // ends (none for a straight line).
    std::vector<BarDiagram::Station> Extremes() const;
    // The largest size of the diagram, ends, arc and inside.
    double Largest() const;

    // One per bar of the model, in element order.
    static std::vector<BarOrdinates> Of(const ViewerModel& model, const ProblemType& type,
                                        const StaticResults& statics,
                                        const StaticResults::Case& loadCase,
                                        const ResultQuantity& quantity);
    // The same for one bound of an envelope: the largest (or smallest) value of the diagrams
    // of its combinations at each station of each bar, its ends the file's envelope values.
    static std::vector<BarOrdinates> Bound(const ViewerModel& model, const ProblemType& type,
                                           const StaticResults& statics,
                                           const StaticResults::Envelope& envelope, bool largest,
                                           const ResultQuantity& quantity);
};
