#include "ResultScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

double ResultScale::ModelSize(const std::vector<ViewerModel::Point>& nodes) {
    if (nodes.empty())
        return 1;
    const double size = ViewerModel::BoxAround(nodes).Diagonal();
    return size > 0 ? size : 1;
}

double ResultScale::RoundDown(double factor) {
    if (!(factor > 0) || !std::isfinite(factor))
        return 0;
    const double power = std::pow(10.0, std::floor(std::log10(factor)));
    const double mantissa = factor / power;
    // A little slack, so that 2.4999999 of rounding counts as 2.5.
    for (double step : {5.0, 2.5, 2.0}) {
        if (mantissa >= step * (1 - 1e-9))
            return step * power;
    }
    return power;
}

double ResultScale::Deformation(double largestDisplacement, double modelSize) {
    if (!(largestDisplacement > 0) || !std::isfinite(largestDisplacement))
        return 0;
    return RoundDown(DeformedShare * modelSize / largestDisplacement);
}

QString ResultScale::Caption(double factor) {
    return QStringLiteral("Displacements \u00d7 %1").arg(QString::number(factor, 'g', 6));
}
