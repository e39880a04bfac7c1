#include "BarAxes.h"

#include "ProblemType.h"

#include <cmath>
#include <numbers>

BarAxes::Frame BarAxes::FrameOf(int problem) {
    switch (ProblemType::Of(problem).Lies) {
    case ProblemType::Layout::Grillage:
        return Frame::Grillage;
    case ProblemType::Layout::Space:
        return Frame::Space;
    case ProblemType::Layout::PlaneXZ:
        break;
    }
    return Frame::PlaneXZ;
}

BarAxes BarAxes::Of(Frame frame, const Vec3& i, const Vec3& j, double betaDegrees) {
    BarAxes axes;
    const Vec3 d{j[0] - i[0], j[1] - i[1], j[2] - i[2]};
    axes.Length = std::sqrt(Dot(d, d));
    if (axes.Length <= 0)
        return axes;
    axes.X = Scaled(d, 1 / axes.Length);
    switch (frame) {
    case Frame::PlaneXZ:
        axes.Y = {0, 1, 0};
        axes.Z = Cross(axes.X, axes.Y);
        break;
    case Frame::Grillage:
        axes.Z = {0, 0, 1};
        axes.Y = Cross(axes.Z, axes.X);
        break;
    case Frame::Space: {
        // |z x X| is the bar's horizontal run over its length: vertical up to PlumbTolerance,
        // as the solvers take it.
        const Vec3 side = Cross({0, 0, 1}, axes.X);
        const double norm = std::sqrt(Dot(side, side));
        axes.Y = norm > PlumbTolerance ? Scaled(side, 1 / norm) : Vec3{0, 1, 0};
        axes.Z = Cross(axes.X, axes.Y);
        const double beta = betaDegrees * std::numbers::pi / 180;
        const Vec3 y = Sum(Scaled(axes.Y, std::cos(beta)), Scaled(axes.Z, std::sin(beta)));
        axes.Z = Sum(Scaled(axes.Y, -std::sin(beta)), Scaled(axes.Z, std::cos(beta)));
        axes.Y = y;
        break;
    }
    }
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
