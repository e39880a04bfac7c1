#pragma once

#include "RulerTicks.h"

#include <QWidget>
#include <functional>

// A ruler beside the drawing area: green ticks every TickStep pixels from the origin, long
// labelled ticks every tenth, and a black line where the pointer is. Pressing on it starts
// dragging a guide line out of it; the window decides what the drag does.
class RulerBar : public QWidget {
    Q_OBJECT

public:
    enum class Orientation { Top, Left };

    RulerBar(Orientation orientation, QWidget* parent);

    // Called at paint time for the ticks and the pointer marker position (in the bar's own
    // coordinate along its length; negative hides it).
    void SetTickSource(std::function<QList<RulerTick>()> ticks) { ticks_ = std::move(ticks); }
    void SetMarkerSource(std::function<int()> marker) { marker_ = std::move(marker); }

    Orientation Direction() const { return orientation_; }

signals:
    void DragStarted();
    // Positions in the coordinates of the bar's parent, the drawing area.
    void DragMoved(QPoint areaPosition);
    void DragEnded(QPoint areaPosition, bool cancelled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Orientation orientation_;
    bool dragging_ = false;
    std::function<QList<RulerTick>()> ticks_;
    std::function<int()> marker_;
};
