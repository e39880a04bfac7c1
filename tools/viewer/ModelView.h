#pragma once

#include "ModelPainter.h"
#include "ResultPainter.h"
#include "SolidSection.h"
#include "ViewCamera.h"
#include "ViewerModel.h"

#include <QWidget>
#include <memory>

// The drawing area of the viewer: the wheel zooms about the cursor, the left button drags the
// model, the right button (or Shift with the left) turns a space model; + and - zoom, the
// arrow keys turn, Home fits the model into the window again.
class ModelView : public QWidget {
    Q_OBJECT

public:
    explicit ModelView(const ViewerModel& model, QWidget* parent = nullptr);

    void SetOptions(const ModelPainter::Options& options);
    // Draws results over the model (which is then drawn faintly); null results: none.
    void SetResults(const ViewerResults* results, const ResultChoice* choice,
                    const ProblemType& type, const ResultPainter::Options& options);
    const ResultPainter::Report& LastResults() const { return resultReport_; }
    const ModelPainter::Options& Options() const { return options_; }
    const ViewCamera& Camera() const { return camera_; }
    // Cuts a solid open (an inactive plane closes it); the cut is found once per plane.
    void SetSection(const SectionPlane& plane);
    const SolidSection* Section() const { return section_.get(); }
    // Draws what the window shows into an area of `size` pixels, scaled to fit it.
    void PaintTo(QPainter& painter, const QSize& size);
    void FitModel();
    void Zoom(double factor);
    void Turn(double azimuth, double elevation);

signals:
    // After each paint: whether numbers were left out because too many would show.
    void Painted(bool labelsLeftOut);
    // A click that did not drag, where it was.
    void Clicked(const QPointF& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The drawing of the paint event into `area`, seen through `camera`.
    ModelPainter::Report Draw(QPainter& painter, const QRect& area, const ViewCamera& camera);

    const ViewerModel& model_;
    ViewCamera camera_;
    ModelPainter::Options options_;
    const ViewerResults* results_ = nullptr;
    const ResultChoice* choice_ = nullptr;
    const ProblemType* type_ = &ProblemType::Of(0);
    ResultPainter::Options resultOptions_;
    ResultPainter::Report resultReport_;
    std::unique_ptr<SolidSection> section_;
    bool fitted_ = false;
    QPointF lastMouse_;
    QPointF pressedAt_;
};
