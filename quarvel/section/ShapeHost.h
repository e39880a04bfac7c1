#pragma once

#include "ViewValues.h"

#include <QColor>
#include <QPoint>

class QPainter;
class TRegisteredNode;

// Where a guide line is dragged from decides its direction.
enum class GuideBar { Left, Top };

// The editor services that shapes and markers need. The drawing state implements it, so the
// shapes never reach for globals and can be tested against a small fake.
class ShapeHost {
public:
    virtual ~ShapeHost() = default;

    virtual const ViewValues& View() const = 0;
    // 0 while drawing, 2 while selecting, 3 while a guide is dragged.
    virtual int EditMode() const = 0;
    virtual bool NewShapeFilled() const = 0;
    virtual QColor BackgroundColor() const = 0;

    // Registers a node for a placed point, or reuses the node the pointer snapped to.
    virtual TRegisteredNode* AddPointToList(QPoint p) = 0;
    // The snap search: true when a node or guide is within reach of (x, y).
    virtual bool FindNearestPoint(int x, int y) = 0;
    // Whether the last snap search found something, and where it attracted the pointer.
    virtual bool SnapFound() const = 0;
    virtual QPoint SnapPoint() const = 0;

    // Placing crosses are transient marks: marking the same point twice removes the cross.
    virtual void ToggleCross(QPoint p) = 0;
    // Asks for the drawing area to be painted again.
    virtual void Repaint() = 0;
    // Draws one guide line across the drawing area.
    virtual void WriteGuide(QPainter& canvas, GuideBar bar, int x, int y) = 0;
};
