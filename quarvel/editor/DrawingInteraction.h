#pragma once

#include "ShapeHost.h"

#include <QPoint>
#include <QString>

class DrawingState;
class ToolButtons;

// What the mouse, the Delete key, Undo and the node grid do to a drawing: placing points
// that snap to nodes and guides, completing shapes, selecting and deleting them, taking them
// apart point by point, moving guides and typing node coordinates.
class DrawingInteraction {
public:
    DrawingInteraction(DrawingState& state, ToolButtons& buttons);

    // A shape tool was chosen: the next release starts a shape of that kind.
    void ShapeToolExecute(int kind, bool filled);
    // The pressed shape tool was released by the user: nothing is armed any more, and a shape
    // under construction is abandoned as Select abandons it.
    void ShapeToolReleased();
    // Selection mode; a shape under construction is abandoned.
    void SelectExecute();
    // Takes away one point: of the shape under construction, or reopens the last shape.
    void UndoExecute();
    // Pointer moved over the drawing area: the snap square follows.
    void MouseMove(QPoint p);
    // A press in selection mode on a guide takes the guide up to be moved; returns the ruler
    // the drag continues from.
    std::optional<GuideBar> MouseDown(QPoint p);
    // A release: places a point while drawing, selects while selecting.
    void MouseUp(QPoint p);
    // The Delete key: frees every selected shape and the nodes only they used.
    void DeleteSelected();
    // Enter in a grid row: the node moves to the typed coordinates; a text that is no number
    // puts the node's own coordinates back into both cells. Returns false for the empty row.
    bool ApplyGridRow(int row, const QString& yText, const QString& zText);
    // A grid row was chosen: the blue square moves to its node (when the row has one).
    void TrackGridRow(int row);

    // True after a selection release on a snapped node: the grid should take the focus.
    bool TakeGridFocusRequest();

private:
    void PlacePoint(QPoint p);
    void SelectAt(QPoint p);
    void UpdateStatus();

    DrawingState& state_;
    ToolButtons& buttons_;
    bool gridFocusRequested_ = false;
};
