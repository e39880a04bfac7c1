#pragma once

#include "Element.h"

#include <Eigen/Dense>
#include <QString>
#include <array>
#include <span>

// A plane element of one unknown per node (a potential, a temperature, the warping of a profile)
// for Poisson-type problems: the stiffness is the integral of grad N . grad N over the element
// times a constant factor (a conductivity, a shear modulus). Three-node triangles (one
// integration point: the gradient is constant) and four-node quadrilaterals (2 x 2 Gauss
// points, exact for the stiffness of a parallelogram and for every load of a linear flux).
// The corners must go round counter-clockwise; Shape() tells a sound element from one that
// cannot be calculated.
class ScalarField : public Element {
public:
    using Point = Eigen::Vector2d;

    // The values and gradients of the shape functions at one integration point, with the
    // point's share of the element's area.
    struct Sample {
        Point At;
        double Weight = 0;                // the area it stands for
        Eigen::Matrix<double, 2, 4> Grad; // d/dy and d/dz of each shape function
        Eigen::Vector4d N;
    };

    // What is wrong with the corners of an element, if anything. Clockwise is not a fault: the
    // caller reverses the corners.
    enum class Shape { Sound, Clockwise, NoArea, Twisted, NotConvex };
    // The corner where a quadrilateral is not convex (or its sides cross), 0 to 3; otherwise -1.
    struct ShapeVerdict {
        Shape Kind = Shape::Sound;
        int Corner = -1;
    };
    static ShapeVerdict Check(std::span<const Point> corners);

    // `nodes` the model's node of each corner (3 or 4), `corners` their coordinates.
    ScalarField(std::span<const int> nodes, std::span<const Point> corners, double factor = 1);

    std::span<const int> Nodes() const override {
        return {nodes_.data(), static_cast<size_t>(count_)};
    }
    std::span<const int> Components() const override;
    Matrix Stiffness() const override;

    int Count() const { return count_; }
    double Factor() const { return factor_; }
    const Point& Corner(int a) const { return corners_[static_cast<size_t>(a)]; }

    // The integration points: one for a triangle's gradients, 2 x 2 for a quadrilateral.
    // `exactSquares` takes three points in a triangle, so that a quadratic function (y^2 + z^2)
    // is integrated exactly as well.
    int SampleCount(bool exactSquares = false) const;
    Sample SampleAt(int index, bool exactSquares = false) const;

    double Area() const;
    // The load of a flux field q(p) = A p + b: the integral of grad N_i . q over the element
    // (a linear flux integrates exactly).
    Vector FluxLoad(const Eigen::Matrix2d& a, const Point& b) const;
    // The gradient of the field `u` (one value per corner) at the reference point (xi, eta).
    Point Gradient(const Vector& u, double xi, double eta) const;

private:
    Sample Evaluate(double xi, double eta, double weight) const;

    std::array<int, 4> nodes_{};
    std::array<Point, 4> corners_;
    int count_ = 3;
    double factor_ = 1;
};
