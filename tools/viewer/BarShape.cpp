#include "BarShape.h"

namespace {

// The deflections across the bar that its loads add between ends held in place. A moment
// works on the slope: dv/dx = rz, but dw/dx = -ry.
void AddLoaded(BarAxes::Vec3& local, const BarSpan& span, const BarLoading& loading, double length,
               int hinges, double xi) {
    const double bending[3] = {0, loading.BendingZ, loading.BendingY};
    const int released[3] = {0, 0, hinges};
    for (const size_t k : {size_t(1), size_t(2)}) {
        const double turn = k == 1 ? 1 : -1;
        const size_t about = k == 1 ? 2 : 1;
        local[k] += BarDeflection::Loaded(span.Even[k], bending[k], length, released[k], xi);
        for (const BarSpan::Point& p : span.Points)
            local[k] += BarDeflection::Point(p.Force[k], turn * p.Moment[about], p.At, bending[k],
                                             length, released[k], xi);
        for (const BarSpan::Partial& p : span.Partials)
            local[k] += BarDeflection::Partial(p.From[k], p.To[k], p.A, p.B, bending[k], length,
                                               released[k], xi);
    }
}

} // namespace

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
            local[1] = Across(uI[1], rI[2], uJ[1], rJ[2], axes.Length, 0, xi);
            local[2] = Across(uI[2], -rI[1], uJ[2], -rJ[1], axes.Length, hinges, xi);
            if (loading.Span)
                AddLoaded(local, *loading.Span, loading, axes.Length, hinges, xi);
        }
        const BarAxes::Vec3 along = BarAxes::Scaled(axes.X, axes.Length * xi);
        points.push_back(
            BarAxes::Sum(BarAxes::Sum(start, along), BarAxes::Scaled(axes.ToGlobal(local), scale)));
    }
    return points;
}
