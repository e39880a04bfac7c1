#include "SectionPainter.h"

#include "DrawingState.h"

#include <QPainter>
#include <cmath>
#include <numbers>

namespace {

// The squares are redrawn from their state on every paint, so they need no XOR to be
// taken away again and can show in their own colour.
void DrawMarkerSquare(QPainter& canvas, QPoint centre, QColor colour) {
    canvas.save();
    canvas.setPen(QPen(colour, 0));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(QRect(centre - QPoint(8, 8), centre + QPoint(8, 8)));
    canvas.restore();
}

} // namespace

void SectionPainter::Paint(QPainter& canvas, DrawingState& state) {
    canvas.setPen(QPen(Qt::black, 0));
    for (const auto& shape : state.Shapes) {
        canvas.setPen(QPen(shape->Selected ? QColor(0, 0, 255) : QColor(Qt::black), 0));
        shape->Draw(canvas);
    }
    canvas.setPen(QPen(Qt::black, 0));
    // An empty drawing leaves the report as it was.
    if (!state.Shapes.empty())
        state.RecalcAll([&](int index) { DrawAxes(canvas, state, index); });
    for (const auto& guide : state.Guides)
        guide->Draw(canvas);
    state.FollowMarkedNode();
    DrawMarks(canvas, state);
}

void SectionPainter::DrawAxes(QPainter& canvas, const DrawingState& state, int index) {
    if (index != static_cast<int>(state.Shapes.size()) - 1)
        return;
    const SectionResults& r = state.Report.Values();
    // The length follows the view, not the text being typed into the Max Width box.
    const double l = state.ViewMaxWidth / 5.0;
    const double a = r.Alpha * std::numbers::pi / 180.0;
    const auto axis = [&](double angle, double half) {
        const TNode from(state.View(), r.Yc + half * std::cos(angle),
                         r.Zc + half * std::sin(angle));
        const TNode to(state.View(), r.Yc - half * std::cos(angle), r.Zc - half * std::sin(angle));
        canvas.drawLine(from.Pixel(), to.Pixel());
    };
    const QPen previous = canvas.pen();
    canvas.setPen(QPen(QColor(255, 0, 0), 0));
    axis(a, l);
    axis(a + std::numbers::pi / 2.0, l / 2.0);
    const TNode shearCentre(state.View(), r.Yo, r.Zo);
    // The square from (x - 2, y - 2) to (x + 2, y + 2), its right and bottom ends excluded.
    if (state.SectionMode == 'S')
        canvas.drawRect(QRect(shearCentre.Pixel() - QPoint(2, 2), QSize(3, 3)));
    canvas.setPen(previous);
}

void SectionPainter::DrawMarks(QPainter& canvas, DrawingState& state) {
    if (state.EditMode() == 3 && state.DragSource)
        state.WriteGuide(canvas, *state.DragSource, state.LastMouseX, state.LastMouseY);
    for (const QPoint& p : state.Crosses()) {
        canvas.save();
        canvas.setCompositionMode(QPainter::RasterOp_NotDestination);
        canvas.setPen(QPen(Qt::black, 0));
        canvas.drawLine(p.x() - 5, p.y(), p.x() + 5, p.y());
        canvas.drawLine(p.x(), p.y() - 5, p.x(), p.y() + 5);
        canvas.restore();
    }
    if (state.NearestMarker.Visible)
        DrawMarkerSquare(canvas, {state.NearestMarker.X, state.NearestMarker.Y},
                         state.NearestMarker.Colour());
    if (state.CurrentMarker.Visible)
        DrawMarkerSquare(canvas, {state.CurrentMarker.X, state.CurrentMarker.Y},
                         state.CurrentMarker.Colour());
}
