#include "DrawingInteraction.h"

#include "DrawingState.h"
#include "NumberFormat.h"
#include "TFourAngle.h"
#include "TSector.h"
#include "TTriAngle.h"
#include "ToolButtons.h"

namespace {

std::unique_ptr<TMasterShape> NewShape(DrawingState& state, int kind) {
    switch (kind) {
    case 1:
        return std::make_unique<TFourAngle>(state);
    case 2:
        return std::make_unique<TTriAngle>(state);
    case 3:
        return std::make_unique<TSector>(state);
    default:
        return nullptr;
    }
}

// Drops a shape under construction without giving back the references of its placed points:
// its nodes stay listed, as the user placed them.
void Abandon(std::unique_ptr<TMasterShape>& shape) {
    if (shape)
        shape->PointCount = 0;
    shape.reset();
}

} // namespace

DrawingInteraction::DrawingInteraction(DrawingState& state, ToolButtons& buttons)
    : state_(state), buttons_(buttons) {}

void DrawingInteraction::ShapeToolExecute(int kind, bool filled) {
    state_.NewShapeKind = kind;
    state_.SetNewShapeFilled(filled);
    state_.SetEditMode(0);
    buttons_.SetSelectDown(false);
}

void DrawingInteraction::ShapeToolReleased() {
    Abandon(state_.CurrentShape);
    state_.MarkPlacedPoints();
    state_.NewShapeKind = 0;
}

void DrawingInteraction::SelectExecute() {
    Abandon(state_.CurrentShape);
    state_.MarkPlacedPoints();
    state_.NewShapeKind = 0;
    state_.SetEditMode(2);
    buttons_.AllUp();
    buttons_.SetSelectDown(true);
}

void DrawingInteraction::MouseMove(QPoint p) {
    state_.NearestMarker.Track(p.x(), p.y());
}

std::optional<GuideBar> DrawingInteraction::MouseDown(QPoint p) {
    Q_UNUSED(p);
    if (state_.EditMode() != 2 || !state_.SnapFound() || !state_.SnapToGuide)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(state_.SnapGuideIndex);
    if (index >= state_.Guides.size())
        return std::nullopt;
    const GuideBar bar =
        state_.Guides[index]->Kind == TGuide::Vertical ? GuideBar::Left : GuideBar::Top;
    state_.SetEditMode(3);
    state_.Guides.erase(state_.Guides.begin() + static_cast<std::ptrdiff_t>(index));
    state_.UpdateNodeList();
    state_.DragSource = bar;
    state_.LastMouseX = state_.SnapPoint().x();
    state_.LastMouseY = state_.SnapPoint().y();
    state_.Repaint();
    return bar;
}

void DrawingInteraction::MouseUp(QPoint p) {
    if (state_.EditMode() == 0)
        PlacePoint(p);
    else if (state_.EditMode() == 2)
        SelectAt(p);
}

void DrawingInteraction::PlacePoint(QPoint p) {
    if (!state_.CurrentShape && state_.NewShapeKind != 0)
        state_.CurrentShape = NewShape(state_, state_.NewShapeKind);
    if (!state_.CurrentShape)
        return;
    const QPoint point = state_.SnapFound() ? state_.SnapPoint() : p;
    TMasterShape& shape = *state_.CurrentShape;
    shape.AddPoint(point.x(), point.y());
    if (!shape.IsComplete())
        return;
    const int kind = shape.Kind;
    state_.Shapes.push_back(std::move(state_.CurrentShape));
    state_.Repaint();
    UpdateStatus();
    buttons_.ReleaseKind(kind);
    state_.NewShapeKind = 0;
}

void DrawingInteraction::SelectAt(QPoint p) {
    if (state_.SnapFound()) {
        p = state_.SnapPoint();
        if (state_.SnapToNode) {
            state_.Grid.SetCurrentRow(state_.SnapNodeIndex + 1);
            gridFocusRequested_ = true;
        }
    }
    for (auto shape = state_.Shapes.rbegin(); shape != state_.Shapes.rend(); ++shape) {
        if ((*shape)->Contains(p.x(), p.y())) {
            (*shape)->ToggleSelected();
            return;
        }
    }
}

void DrawingInteraction::DeleteSelected() {
    std::erase_if(state_.Shapes, [](const auto& shape) { return shape->Selected; });
    state_.UpdateNodeList();
    UpdateStatus();
    if (state_.Shapes.empty())
        state_.Report.ClearLines();
    state_.Repaint();
}

void DrawingInteraction::UndoExecute() {
    if (state_.CurrentShape) {
        TMasterShape& shape = *state_.CurrentShape;
        if (shape.PointCount > 0) {
            --shape.GetPoint(shape.PointCount - 1)->RefCount;
            --shape.PointCount;
        }
        if (shape.PointCount == 0) {
            state_.CurrentShape.reset();
            // With every tool released no tool may stay armed either.
            buttons_.AllUp();
            state_.NewShapeKind = 0;
        }
        state_.UpdateNodeList();
    } else if (!state_.Shapes.empty()) {
        state_.CurrentShape = std::move(state_.Shapes.back());
        state_.Shapes.pop_back();
        TMasterShape& shape = *state_.CurrentShape;
        --shape.GetPoint(shape.PointCount - 1)->RefCount;
        --shape.PointCount;
        state_.UpdateNodeList();
        // The reopened shape keeps its own kind; its tool shows which one it is.
        buttons_.PressTool(shape.Kind, shape.Filled);
        buttons_.SetSelectDown(false);
    }
    state_.MarkPlacedPoints();
    state_.Repaint();
    UpdateStatus();
    state_.SetEditMode(0);
}

bool DrawingInteraction::ApplyGridRow(int row, const QString& yText, const QString& zText) {
    if (row < 1 || row > static_cast<int>(state_.Nodes.size()))
        return false;
    TNode& node = *state_.Nodes[static_cast<std::size_t>(row - 1)]->Node;
    double y = 0.0;
    double z = 0.0;
    // A refused text leaves the node where it was. Either way the row then shows where the
    // node is, in the grid's one form ("1.0" reads back as 1, 0.12345 as 0.1235 since nodes
    // keep four decimals).
    if (NumberFormat::parseUserReal(yText, state_.DecimalPoint, y) &&
        NumberFormat::parseUserReal(zText, state_.DecimalPoint, z))
        node.SetReal(y, z);
    const NodeGridRows::Row texts = state_.GridTexts(node);
    state_.Grid.SetRow(row, texts[0], texts[1]);
    state_.Repaint();
    return true;
}

void DrawingInteraction::TrackGridRow(int row) {
    if (row < 1 || row > static_cast<int>(state_.Nodes.size()))
        return;
    state_.MarkNode(state_.Nodes[static_cast<std::size_t>(row - 1)].get());
}

bool DrawingInteraction::TakeGridFocusRequest() {
    const bool requested = gridFocusRequested_;
    gridFocusRequested_ = false;
    return requested;
}

void DrawingInteraction::UpdateStatus() {
    state_.StatusShapesText =
        QStringLiteral("Number of shapes: %1").arg(static_cast<qsizetype>(state_.Shapes.size()));
}
