#include "BarShape.h"

double BarShape::Across(double wI, double slopeI, double wJ, double slopeJ, double length,
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

double BarShape::Loaded(double load, double bending, double length, int hinges, double xi) {
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

std::vector<BarAxes::Vec3> BarShape::Points(const BarAxes& axes, const BarAxes::Vec3& start,
                                            const ViewerResults::Motion& motionI,
                                            const ViewerResults::Motion& motionJ, int hinges,
                                            bool truss, double scale, int segments,
                                            const Loading& loading) {
    const BarAxes::Vec3 uI = axes.ToLocal(motionI.Move), uJ = axes.ToLocal(motionJ.Move);
    const BarAxes::Vec3 rI = axes.ToLocal(motionI.Turn), rJ = axes.ToLocal(motionJ.Turn);
    const int count = truss ? 1 : segments;
    std::vector<BarAxes::Vec3> points;
    points.reserve(static_cast<size_t>(count) + 1);
    for (int k = 0; k <= count; ++k) {
        const double xi = double(k) / count;
        BarAxes::Vec3 local{uI[0] + (uJ[0] - uI[0]) * xi, uI[1] + (uJ[1] - uI[1]) * xi,
                            uI[2] + (uJ[2] - uI[2]) * xi};
        if (!truss) {
            // dv/dx = rz, dw/dx = -ry; hinges release bending in the x-z plane only.
            local[1] = Across(uI[1], rI[2], uJ[1], rJ[2], axes.Length, 0, xi) +
                       Loaded(loading.Load[1], loading.BendingZ, axes.Length, 0, xi);
            local[2] = Across(uI[2], -rI[1], uJ[2], -rJ[1], axes.Length, hinges, xi) +
                       Loaded(loading.Load[2], loading.BendingY, axes.Length, hinges, xi);
        }
        const BarAxes::Vec3 along = BarAxes::Scaled(axes.X, axes.Length * xi);
        points.push_back(
            BarAxes::Sum(BarAxes::Sum(start, along), BarAxes::Scaled(axes.ToGlobal(local), scale)));
    }
    return points;
}
