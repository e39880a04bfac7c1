#pragma once

#include "ViewerModel.h"

#include <QString>
#include <vector>

// How large the viewer draws results: displacements magnified so that the largest is about a
// tenth of the model's size, by a round factor (1, 2, 2.5 or 5 times a power of ten) that the
// caption names, and diagrams whose largest ordinate is a fixed share of the model's size.
class ResultScale {
public:
    static constexpr double DeformedShare = 0.1;
    static constexpr double DiagramShare = 0.1;

    // The diagonal of the model's bounding box; 1 for a model of one point.
    static double ModelSize(const std::vector<ViewerModel::Point>& nodes);
    // The largest round factor not above `factor`; 0 for 0 or less.
    static double RoundDown(double factor);
    // The magnification of displacements; 0 when nothing moves.
    static double Deformation(double largestDisplacement, double modelSize);
    // "Displacements × 250"
    static QString Caption(double factor);
};
