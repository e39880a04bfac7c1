#include "RulerBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

RulerBar::RulerBar(Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(orientation == Orientation::Top ? Qt::SplitVCursor : Qt::SplitHCursor);
}

void RulerBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(QColor(0, 128, 0), 0));
    const bool top = orientation_ == Orientation::Top;
    const QFontMetrics metrics = painter.fontMetrics();
    if (ticks_) {
        for (const RulerTick& tick : ticks_()) {
            if (top) {
                painter.drawLine(tick.Position, tick.Long ? 10 : 15, tick.Position, height());
                if (!tick.Label.isEmpty())
                    painter.drawText(tick.Position + 1, metrics.ascent() - 1, tick.Label);
            } else {
                painter.drawLine(width() - (tick.Long ? 20 : 10), tick.Position, width(),
                                 tick.Position);
                if (!tick.Label.isEmpty()) {
                    // The shortest label form may still be wider than this narrow bar: it is
                    // then written smaller rather than cut off.
                    const int room = width() - 3;
                    const int advance = metrics.horizontalAdvance(tick.Label);
                    if (advance > room && painter.font().pointSizeF() > 0) {
                        painter.save();
                        QFont small = painter.font();
                        small.setPointSizeF(small.pointSizeF() * room / advance);
                        painter.setFont(small);
                        painter.drawText(3, tick.Position + metrics.ascent(), tick.Label);
                        painter.restore();
                    } else {
                        painter.drawText(3, tick.Position + metrics.ascent(), tick.Label);
                    }
                }
            }
        }
    }
    const int marker = marker_ ? marker_() : -1;
    if (marker >= 0) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(QPen(Qt::black, 0));
        if (top)
            painter.drawLine(marker, 0, marker, height());
        else
            painter.drawLine(0, marker, width(), marker);
    }
}

void RulerBar::mousePressEvent(QMouseEvent* event) {
    dragging_ = true;
    setFocus(Qt::MouseFocusReason);
    emit DragStarted();
    event->accept();
}

void RulerBar::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        emit DragMoved(mapToParent(event->position().toPoint()));
}

void RulerBar::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    dragging_ = false;
    emit DragEnded(mapToParent(event->position().toPoint()), false);
}

void RulerBar::keyPressEvent(QKeyEvent* event) {
    if (dragging_ && event->key() == Qt::Key_Escape) {
        dragging_ = false;
        emit DragEnded({}, true);
        return;
    }
    QWidget::keyPressEvent(event);
}
