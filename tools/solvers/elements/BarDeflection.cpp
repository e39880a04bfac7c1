#include "BarDeflection.h"

double BarDeflection::Across(double wI, double slopeI, double wJ, double slopeJ, double length,
                             int hinges, double xi) {
    const double rise = wJ - wI;
    const bool hingeI = hinges == 1 || hinges == 3, hingeJ = hinges == 2 || hinges == 3;
    if (hingeI && hingeJ)
        return wI + rise * xi;
    if (hingeI) {
        // w = wI + b xi + d xi^3: no curvature at i, the slope of end j.
        const double d = (slopeJ * length - rise) / 2;
        return wI + (rise - d) * xi + d * xi * xi * xi;
    }
    if (hingeJ) {
        const double eta = 1 - xi;
        const double d = (rise - slopeI * length) / 2;
        return wJ + (-rise - d) * eta + d * eta * eta * eta;
    }
    const double x2 = xi * xi, x3 = x2 * xi;
    return (1 - 3 * x2 + 2 * x3) * wI + (xi - 2 * x2 + x3) * length * slopeI +
           (3 * x2 - 2 * x3) * wJ + (x3 - x2) * length * slopeJ;
}

double BarDeflection::Loaded(double load, double bending, double length, int hinges, double xi) {
    if (load == 0 || !(bending > 0))
        return 0;
    const bool hingeI = hinges == 1 || hinges == 3, hingeJ = hinges == 2 || hinges == 3;
    const double factor = load * length * length * length * length / (24 * bending);
    if (hingeI && hingeJ)
        return factor * (xi - 2 * xi * xi * xi + xi * xi * xi * xi);
    if (hingeI || hingeJ) {
        const double x = hingeI ? xi : 1 - xi;
        return factor * (2 * x * x * x * x - 3 * x * x * x + x) / 2;
    }
    return factor * xi * xi * (1 - xi) * (1 - xi);
}
