#include "ViewCamera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Degree = 3.14159265358979323846 / 180;

} // namespace

void ViewCamera::SetSpace(bool space) {
    space_ = space;
    azimuth_ = space ? 30 : 0;
    elevation_ = space ? 30 : 0;
    UpdateTrig();
}

void ViewCamera::SetPlan() {
    space_ = false;
    azimuth_ = 0;
    elevation_ = 90;
    UpdateTrig();
    // cos 90° is not quite 0: no trace of z may shift the plan.
    cosE_ = 0;
    sinE_ = 1;
}

void ViewCamera::UpdateTrig() {
    cosA_ = std::cos(azimuth_ * Degree);
    sinA_ = std::sin(azimuth_ * Degree);
    cosE_ = std::cos(elevation_ * Degree);
    sinE_ = std::sin(elevation_ * Degree);
}

void ViewCamera::Plane(const ViewerModel::Point& p, double& u, double& v) const {
    // Turn about z by the azimuth, then tip towards the viewer by the elevation: at 0° and 0°
    // the viewer looks along +y at the x-z plane, at elevation 90° down onto the x-y plane.
    u = p[0] * cosA_ - p[1] * sinA_;
    const double depth = p[0] * sinA_ + p[1] * cosA_;
    v = p[2] * cosE_ + depth * sinE_;
}

void ViewCamera::Fit(const std::vector<ViewerModel::Point>& nodes, const QRectF& frame) {
    zoom_ = 1;
    pan_ = {};
    origin_ = frame.center();
    if (nodes.empty()) {
        scale_ = 1;
        return;
    }
    double minU = std::numeric_limits<double>::max(), maxU = -minU, minV = minU, maxV = -minU;
    double radius = 0;
    if (space_) {
        // A space model is fitted by its bounding sphere, so that turning it never pushes it
        // out of the window.
        const ViewerModel::Box box = ViewerModel::BoxAround(nodes);
        const auto centre = box.Centre();
        centre_ = {float(centre[0]), float(centre[1]), float(centre[2])};
        radius = box.Diagonal() / 2;
        minU = -radius, maxU = radius;
        minV = -radius, maxV = radius;
    } else {
        for (const ViewerModel::Point& p : nodes) {
            double u = 0, v = 0;
            Plane(p, u, v);
            minU = std::min(minU, u), maxU = std::max(maxU, u);
            minV = std::min(minV, v), maxV = std::max(maxV, v);
        }
        // The plane view has no turn: u is x and v is z, or y in plan.
        centre_ = Plan()
                      ? ViewerModel::Point{float((minU + maxU) / 2), float((minV + maxV) / 2), 0}
                      : ViewerModel::Point{float((minU + maxU) / 2), 0, float((minV + maxV) / 2)};
    }
    const double width = maxU - minU, height = maxV - minV;
    const double sx = width > 0 ? frame.width() / width : std::numeric_limits<double>::max();
    const double sy = height > 0 ? frame.height() / height : std::numeric_limits<double>::max();
    scale_ = std::min(sx, sy);
    if (scale_ == std::numeric_limits<double>::max() || !std::isfinite(scale_) || scale_ <= 0)
        scale_ = 1; // a model of one point
}

QPointF ViewCamera::Project(const ViewerModel::Point& point) const {
    double u = 0, v = 0, cu = 0, cv = 0;
    Plane(point, u, v);
    Plane(centre_, cu, cv);
    const double s = scale_ * zoom_;
    return {origin_.x() + pan_.x() + (u - cu) * s, origin_.y() + pan_.y() - (v - cv) * s};
}

ViewCamera ViewCamera::Resized(const QSizeF& from, const QSizeF& to) const {
    ViewCamera camera = *this;
    if (from.isEmpty() || to.isEmpty())
        return camera;
    const double s = std::min(to.width() / from.width(), to.height() / from.height());
    const QPointF shift((to.width() - s * from.width()) / 2, (to.height() - s * from.height()) / 2);
    camera.scale_ *= s;
    camera.origin_ = origin_ * s + shift;
    camera.pan_ = pan_ * s;
    return camera;
}

QPointF ViewCamera::Direction(const ViewerModel::Point& vector) const {
    double u = 0, v = 0;
    Plane(vector, u, v);
    return {u, -v};
}

double ViewCamera::Towards(const ViewerModel::Point& vector) const {
    // The viewing direction in world coordinates, pointing from the model to the viewer.
    const double toViewer[3] = {-sinA_ * cosE_, -cosA_ * cosE_, sinE_};
    return vector[0] * toViewer[0] + vector[1] * toViewer[1] + vector[2] * toViewer[2];
}

void ViewCamera::ZoomAt(double factor, const QPointF& anchor) {
    const double zoom = std::clamp(zoom_ * factor, MinZoom, MaxZoom);
    const double applied = zoom / zoom_;
    // Keep the point under the anchor where it is.
    const QPointF fromCentre = anchor - origin_ - pan_;
    pan_ += fromCentre - fromCentre * applied;
    zoom_ = zoom;
}

void ViewCamera::Rotate(double azimuthDegrees, double elevationDegrees) {
    if (!space_)
        return;
    azimuth_ = std::fmod(azimuth_ + azimuthDegrees, 360.0);
    elevation_ = std::clamp(elevation_ + elevationDegrees, -90.0, 90.0);
    UpdateTrig();
}
