#include "SectionCanvas.h"

#include "RulerBar.h"

#include <QMouseEvent>
#include <QPainter>

SectionCanvas::SectionCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // A click on the drawing takes the keyboard from a text field, so that Delete then deletes
    // the selected shapes instead of editing the text.
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    setPalette(palette);
}

void SectionCanvas::SetRulers(RulerBar* topBar, RulerBar* leftBar, QWidget* panel) {
    topBar_ = topBar;
    leftBar_ = leftBar;
    panel_ = panel;
}

bool SectionCanvas::IsOwnArea(QPoint p) const {
    if (!rect().contains(p))
        return false;
    for (const QWidget* child :
         {static_cast<QWidget*>(topBar_), static_cast<QWidget*>(leftBar_), panel_})
        if (child != nullptr && child->geometry().contains(p))
            return false;
    return true;
}

void SectionCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (OnPaint)
        OnPaint(painter);
}

void SectionCanvas::resizeEvent(QResizeEvent* event) {
    // Rulers along the top and the left, the node panel on the right below the top ruler.
    if (topBar_ != nullptr)
        topBar_->setGeometry(0, 0, width(), TopBarHeight);
    if (leftBar_ != nullptr)
        leftBar_->setGeometry(0, TopBarHeight, LeftBarWidth, height() - TopBarHeight);
    if (panel_ != nullptr)
        panel_->setGeometry(width() - PanelWidth, TopBarHeight, PanelWidth,
                            height() - TopBarHeight);
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize();
}

void SectionCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove)
        OnMouseMove(event->position().toPoint());
}

void SectionCanvas::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown)
        OnMouseDown(event->position().toPoint());
}

void SectionCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp)
        OnMouseUp(event->position().toPoint());
}
