#pragma once

#include "ViewerModel.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// How the viewer looks at a model: plane models straight at the x-z plane, space models from
// an azimuth (about the vertical z axis) and an elevation, which the user can turn; a zoom
// factor about the fitted size and a pan in pixels. Screen y grows downwards, world z up.
class ViewCamera {
public:
    void SetSpace(bool space);
    bool Space() const { return space_; }
    // Looks straight down onto the x-y plane, x to the right and y up, and is not turned: a
    // plate's results in plan.
    void SetPlan();
    bool Plan() const { return !space_ && elevation_ == 90; }

    // Centres the model in `frame` and scales it to fill it; resets zoom and pan.
    void Fit(const std::vector<ViewerModel::Point>& nodes, const QRectF& frame);

    QPointF Project(const ViewerModel::Point& point) const;
    // The screen direction of a world vector (no pan), in pixels per world unit times zoom.
    QPointF Direction(const ViewerModel::Point& vector) const;
    // How far a world vector points towards the viewer, from -1 to 1 for a unit vector.
    double Towards(const ViewerModel::Point& vector) const;

    // Zooms by `factor` keeping the world point under `anchor` in place.
    void ZoomAt(double factor, const QPointF& anchor);
    void Pan(const QPointF& pixels) { pan_ += pixels; }
    // Turns a space model; plane models stay as they are. Elevation stays within ±90°.
    void Rotate(double azimuthDegrees, double elevationDegrees);

    // The same view drawn into an area of `to` pixels rather than `from`: scaled evenly to fit
    // and centred, as a picture of the window at another size shows it.
    ViewCamera Resized(const QSizeF& from, const QSizeF& to) const;

    double Zoom() const { return zoom_; }
    // Screen pixels per world unit in the screen plane.
    double PixelsPerUnit() const { return scale_ * zoom_; }
    double Azimuth() const { return azimuth_; }
    double Elevation() const { return elevation_; }

    static constexpr double MinZoom = 0.05;
    static constexpr double MaxZoom = 10000;

private:
    // Screen coordinates before scaling: u to the right, v upwards.
    void Plane(const ViewerModel::Point& p, double& u, double& v) const;
    void UpdateTrig();

    bool space_ = false;
    double azimuth_ = 0, elevation_ = 0;
    double cosA_ = 1, sinA_ = 0, cosE_ = 1, sinE_ = 0;
    double scale_ = 1, zoom_ = 1;
    ViewerModel::Point centre_{}; // the world point that appears at the origin
    QPointF origin_;              // the screen point of the model's centre before the pan
    QPointF pan_;
};
