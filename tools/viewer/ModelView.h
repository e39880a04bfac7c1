#pragma once

#include "ModelPainter.h"
#include "ViewCamera.h"
#include "ViewerModel.h"

#include <QWidget>

// The drawing area of the viewer: the wheel zooms about the cursor, the left button drags the
// model, the right button (or Shift with the left) turns a space model; + and - zoom, the
// arrow keys turn, Home fits the model into the window again.
class ModelView : public QWidget {
    Q_OBJECT

public:
    explicit ModelView(const ViewerModel& model, QWidget* parent = nullptr);

    void SetOptions(const ModelPainter::Options& options);
    const ModelPainter::Options& Options() const { return options_; }
    const ViewCamera& Camera() const { return camera_; }
    void FitModel();
    void Zoom(double factor);
    void Turn(double azimuth, double elevation);

signals:
    // After each paint: whether numbers were left out because too many would show.
    void Painted(bool labelsLeftOut);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const ViewerModel& model_;
    ViewCamera camera_;
    ModelPainter::Options options_;
    bool fitted_ = false;
    QPointF lastMouse_;
};
