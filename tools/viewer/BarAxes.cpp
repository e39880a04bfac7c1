#include "BarAxes.h"

#include "BarElement.h"

BarAxes BarAxes::Of(ProblemType::Layout frame, const Vec3& i, const Vec3& j, double betaDegrees) {
    BarAxes axes;
    const Eigen::Vector3d a(i[0], i[1], i[2]), b(j[0], j[1], j[2]);
    axes.Length = (b - a).norm();
    if (axes.Length <= 0)
        return axes;
    // The solver's own axes, so that every diagram is drawn in the axes of its forces.
    const Eigen::Matrix3d rows = BarElement::LocalAxes(frame, a, b, betaDegrees);
    axes.X = {rows(0, 0), rows(0, 1), rows(0, 2)};
    axes.Y = {rows(1, 0), rows(1, 1), rows(1, 2)};
    axes.Z = {rows(2, 0), rows(2, 1), rows(2, 2)};
    return axes;
}

BarAxes::Vec3 BarAxes::ToLocal(const Vec3& global) const {
    return {Dot(X, global), Dot(Y, global), Dot(Z, global)};
}

BarAxes::Vec3 BarAxes::ToGlobal(const Vec3& local) const {
    return Sum(Sum(Scaled(X, local[0]), Scaled(Y, local[1])), Scaled(Z, local[2]));
}

double BarAxes::Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

BarAxes::Vec3 BarAxes::Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

BarAxes::Vec3 BarAxes::Scaled(const Vec3& a, double factor) {
    return {a[0] * factor, a[1] * factor, a[2] * factor};
}

BarAxes::Vec3 BarAxes::Sum(const Vec3& a, const Vec3& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
