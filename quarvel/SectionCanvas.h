#pragma once

#include <QWidget>
#include <functional>

class RulerBar;

// The drawing area: the window's client region between the tool bar and the status bar. It
// holds the two rulers and the right-hand panel as children and hands paint and mouse events
// to the window, which works in this widget's coordinates throughout.
class SectionCanvas : public QWidget {
    Q_OBJECT

public:
    static constexpr int TopBarHeight = 24;
    static constexpr int LeftBarWidth = 41;
    static constexpr int PanelWidth = 148;

    explicit SectionCanvas(QWidget* parent);

    void SetRulers(RulerBar* topBar, RulerBar* leftBar, QWidget* panel);

    // True where a dragged guide may be dropped: the area itself, not a ruler or the panel.
    bool IsOwnArea(QPoint p) const;

    std::function<void(QPainter&)> OnPaint;
    std::function<void(QPoint)> OnMouseMove;
    std::function<void(QPoint)> OnMouseDown;
    std::function<void(QPoint)> OnMouseUp;
    std::function<void()> OnResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    RulerBar* topBar_ = nullptr;
    RulerBar* leftBar_ = nullptr;
    QWidget* panel_ = nullptr;
};
