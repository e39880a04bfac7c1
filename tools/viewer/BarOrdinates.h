#pragma once

#include "ResultQuantity.h"
#include "StaticResults.h"
#include "ViewerModel.h"

#include <vector>

// What the diagram of one section force needs of each bar in one load case: its end values
// from the result file, its length, and the bulge of the parabola that the case's even load
// across the bar (table 8 of the data) gives a bending moment.
struct BarOrdinates {
    double I = 0, J = 0, Bulge = 0, Length = 0;
    // An arc (type 1): the values at the points of BarArc::Points from the equilibrium of the
    // part from end i; empty for a straight bar.
    std::vector<double> Arc;

    // One per bar of the model, in element order.
    static std::vector<BarOrdinates> Of(const ViewerModel& model, const ProblemType& type,
                                        const StaticResults& statics,
                                        const StaticResults::Case& loadCase,
                                        const ResultQuantity& quantity);
    // The element loads of each bar in one load case, per unit length in global components.
    static std::vector<BarAxes::Vec3> Loads(const ViewerModel& model, int loadCase);
    // The same for a load case or a combination: the sum of its terms' factors times their
    // cases' loads.
    static std::vector<BarAxes::Vec3> Loads(const ViewerModel& model,
                                            const StaticResults::Case& loadCase);
};
