#include "SectionPrinter.h"

#include "DrawingState.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Text placed by its top-left corner, as the page layout measures it.
void TextOut(QPainter& canvas, int x, int y, const QString& text) {
    canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), text);
}

} // namespace

void SectionPrinter::PrintPage(QPainter& canvas, int pageWidth, DrawingState& state) {
    const QFontMetrics metrics = canvas.fontMetrics();
    const QStringList lines = state.Report.Lines();
    int w = 0;
    for (const QString& line : lines)
        w = std::max(w, metrics.horizontalAdvance(line));
    const int x0 = pageWidth - w - 20;
    const int left = x0 - 3;
    const int right = x0 + w + 3;

    canvas.drawLine(left, 0, right, 0);
    TextOut(canvas, x0, 3, QStringLiteral("X"));
    TextOut(canvas, x0 + w / 2, 3, QStringLiteral("Y"));
    int y = metrics.height() + 6;

    const NodeGridRows& grid = state.Grid;
    for (int row = 1; row < grid.RowCount(); ++row) {
        canvas.drawLine(left, y, right, y);
        TextOut(canvas, x0, y + 3, grid.At(row)[0]);
        TextOut(canvas, x0 + w / 2, y + 3, grid.At(row)[1]);
        y += metrics.height() + 6;
    }
    canvas.drawLine(left, y, right, y);
    y += 3;

    for (const QString& line : lines) {
        TextOut(canvas, x0, y, line);
        y += metrics.height();
    }
    canvas.drawLine(left, y, right, y);
    canvas.drawLine(left, 0, left, y);
    canvas.drawLine(right, 0, right, y);

    const QPen pen = canvas.pen();
    for (const auto& shape : state.Shapes) {
        canvas.setPen(pen);
        shape->DrawOn(canvas);
    }
    canvas.setPen(pen);
}
