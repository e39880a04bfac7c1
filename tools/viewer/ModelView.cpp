#include "ModelView.h"

#include "FieldPainter.h"
#include "ResultScale.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace {

// A plate or grillage lies flat: it is first seen from higher up than a frame in space.
bool Flat(const ViewerModel& model) {
    return std::all_of(model.Nodes.begin(), model.Nodes.end(),
                       [](const ViewerModel::Point& p) { return p[2] == 0; });
}

} // namespace

ModelView::ModelView(const ViewerModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    camera_.SetSpace(model.Space);
    if (model.Space && Flat(model))
        camera_.Rotate(0, 25);
}

void ModelView::SetOptions(const ModelPainter::Options& options) {
    options_ = options;
    update();
}

void ModelView::SetResults(const ViewerResults* results, const ResultChoice* choice,
                           const ProblemType& type, const ResultPainter::Options& options) {
    if (results != results_)
        fitted_ = false; // the fit leaves room for the diagrams
    results_ = results;
    choice_ = choice;
    type_ = &type;
    // A plate's results are drawn in plan: its deflection shows as contours, not as a shape.
    const FieldLayout* field = results && results->Ok() && choice ? choice->Field() : nullptr;
    if (field && field->Flat() && !camera_.Plan()) {
        camera_.SetPlan();
        fitted_ = false;
    }
    resultOptions_ = options;
    update();
}

void ModelView::SetSection(const SectionPlane& plane) {
    if (model_.Solids.empty() || (section_ && section_->Plane() == plane) ||
        (!section_ && !plane.Active()))
        return;
    section_ = plane.Active() ? std::make_unique<SolidSection>(model_.Nodes, model_.Solids,
                                                               model_.Surface, plane)
                              : nullptr;
    update();
}

void ModelView::FitModel() {
    // Room for the arrows of loads and the supports round the model, but never more than a
    // fifth of a small window.
    const double x = std::min(80.0, width() * 0.2), y = std::min(80.0, height() * 0.2);
    if (results_ && results_->Ok()) {
        // Diagrams and displaced shapes reach beyond the nodes: fit the model's box grown by
        // a little more than they do.
        // A continuum has no diagrams: room for its deformed mesh only.
        // A plate in plan has neither: its deflection is drawn as contours.
        const FieldLayout* field = choice_ ? choice_->Field() : nullptr;
        const double share = !field          ? 1.3 * ResultScale::DiagramShare
                             : field->Flat() ? 0.0
                                             : ResultScale::DeformedShare;
        const double pad = share * ResultScale::ModelSize(model_.Nodes);
        std::vector<ViewerModel::Point> box = model_.Nodes;
        float low[3] = {0, 0, 0}, high[3] = {0, 0, 0};
        for (int a = 0; a < 3 && !box.empty(); ++a) {
            const auto [min, max] =
                std::minmax_element(box.begin(), box.end(),
                                    [a](const ViewerModel::Point& p, const ViewerModel::Point& q) {
                                        return p[a] < q[a];
                                    });
            low[a] = (*min)[a] - float(pad);
            high[a] = (*max)[a] + float(pad);
        }
        // A plane model stays in its plane, a flat one may rise from it.
        if (!model_.Space)
            low[1] = high[1] = 0;
        for (int corner = 0; corner < 8 && !box.empty(); ++corner)
            box.push_back({corner & 1 ? high[0] : low[0], corner & 2 ? high[1] : low[1],
                           corner & 4 ? high[2] : low[2]});
        // The box has room for the diagrams; the margin only for the reactions' arrows.
        const double m = std::min(50.0, std::min(width(), height()) * 0.1);
        // Below the caption in the top left corner; a continuum's colour bar at the right.
        const double bar = choice_ && choice_->Field()
                               ? std::min<double>(FieldPainter::ColourBarWidth, width() * 0.25)
                               : 0;
        camera_.Fit(box,
                    QRectF(rect()).adjusted(m, m + std::min(60.0, height() * 0.1), -m - bar, -m));
    } else {
        camera_.Fit(model_.Nodes, QRectF(rect()).adjusted(x, y, -x, -y));
    }
    fitted_ = true;
    update();
}

void ModelView::Zoom(double factor) {
    camera_.ZoomAt(factor, QRectF(rect()).center());
    update();
}

void ModelView::Turn(double azimuth, double elevation) {
    camera_.Rotate(azimuth, elevation);
    update();
}

void ModelView::paintEvent(QPaintEvent*) {
    if (!fitted_)
        FitModel();
    QPainter painter(this);
    const ModelPainter::Report report = Draw(painter, rect(), camera_);
    emit Painted(report.LabelsLeftOut);
}

void ModelView::PaintTo(QPainter& painter, const QSize& size) {
    if (!fitted_)
        FitModel();
    const ResultPainter::Report shown = resultReport_;
    Draw(painter, QRect(QPoint(0, 0), size), camera_.Resized(QSizeF(this->size()), size));
    resultReport_ = shown; // what the window reports stays the window's
}

ModelPainter::Report ModelView::Draw(QPainter& painter, const QRect& area,
                                     const ViewCamera& camera) {
    const bool results = results_ && choice_ && results_->Ok();
    ModelPainter::Options options = options_;
    options.Section = section_.get();
    ResultPainter::Options resultOptions = resultOptions_;
    resultOptions.Section = section_.get();
    if (results) {
        options.Faint = true;
        options.LoadCase = 0;
        // A continuum's contours cover its mesh and draw the edges themselves.
        const FieldLayout* field = choice_->Field();
        const int show = resultOptions_.Show;
        options.Mesh =
            !field || show < 0 || show >= static_cast<int>(field->Shows.size()) ||
            field->Shows[static_cast<size_t>(show)].From == FieldLayout::Show::Source::Deformed;
    }
    // Over results the numbers come last, or contours would cover them.
    ModelPainter::Options body = options;
    if (results)
        body.NodeNumbers = body.ElementNumbers = false;
    ModelPainter::Report report = ModelPainter::Paint(painter, area, model_, camera, body);
    if (results) {
        resultReport_ = ResultPainter::Paint(painter, area, model_, *type_, *results_, *choice_,
                                             camera, resultOptions);
        report.LabelsLeftOut = ModelPainter::PaintNumbers(painter, area, model_, camera, options);
    }
    return report;
}

void ModelView::resizeEvent(QResizeEvent*) {
    // Until the user zooms or pans, the model follows the window's size.
    if (camera_.Zoom() == 1)
        fitted_ = false;
}

void ModelView::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    camera_.ZoomAt(std::pow(1.25, steps), event->position());
    update();
}

void ModelView::mousePressEvent(QMouseEvent* event) {
    lastMouse_ = pressedAt_ = event->position();
}

void ModelView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF moved = event->position() - pressedAt_;
    if (event->button() == Qt::LeftButton && std::hypot(moved.x(), moved.y()) < 3)
        emit Clicked(event->position());
}

void ModelView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF delta = event->position() - lastMouse_;
    lastMouse_ = event->position();
    const bool turn =
        (event->buttons() & Qt::RightButton) ||
        ((event->buttons() & Qt::LeftButton) && (event->modifiers() & Qt::ShiftModifier));
    if (turn && camera_.Space())
        camera_.Rotate(-delta.x() * 0.5, delta.y() * 0.5);
    else if (event->buttons() & Qt::LeftButton)
        camera_.Pan(delta);
    else
        return;
    update();
}

void ModelView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom(1.25);
        break;
    case Qt::Key_Minus:
        Zoom(0.8);
        break;
    case Qt::Key_Left:
        Turn(-10, 0);
        break;
    case Qt::Key_Right:
        Turn(10, 0);
        break;
    case Qt::Key_Up:
        Turn(0, 10);
        break;
    case Qt::Key_Down:
        Turn(0, -10);
        break;
    case Qt::Key_Home:
        FitModel();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
