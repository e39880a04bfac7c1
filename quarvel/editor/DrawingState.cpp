#include "DrawingState.h"

#include "NumberFormat.h"

#include <QPainter>
#include <cstdlib>

const QStringList DrawingState::UnitItems{QStringLiteral("m"), QStringLiteral("cm"),
                                          QStringLiteral("mm")};

DrawingState::DrawingState() = default;

DrawingState::~DrawingState() {
    Clear();
}

void DrawingState::Clear() {
    CurrentShape.reset();
    while (!Shapes.empty())
        Shapes.pop_back();
    // Guides count their nodes too, so they go before any node.
    while (!Guides.empty())
        Guides.pop_back();
    while (!Nodes.empty())
        Nodes.pop_back();
    while (!GuideNodes.empty())
        GuideNodes.pop_back();
    Grid.Reset();
    crosses_.clear();
    markedNode_ = nullptr;
    calcProblem_.clear();
    NearestMarker.Visible = false;
    CurrentMarker.Visible = false;
    snapFound_ = SnapToNode = SnapToGuide = false;
}

void DrawingState::SelectGeometricMode() {
    ShapeToolsEnabled.fill(true);
    SectionMode = 'G';
}

void DrawingState::SelectSectorialMode() {
    ShapeToolsEnabled.fill(false);
    ShapeToolsEnabled[0] = true;
    SectionMode = 'S';
}

void DrawingState::ApplyView(const ViewFigures& figures) {
    Decade = figures.Decade;
    TickStep = figures.TickStep;
    view_.Scale = figures.Scale;
    ViewMaxWidth = figures.MaxWidth;
    PlaceNodes();
}

void DrawingState::PlaceNodes() {
    for (const auto& node : GuideNodes)
        node->Node->SetReal(node->Node->RealY, node->Node->RealZ);
    for (const auto& node : Nodes)
        node->Node->SetReal(node->Node->RealY, node->Node->RealZ);
    MarkPlacedPoints();
}

void DrawingState::MarkPlacedPoints() {
    crosses_.clear();
    if (CurrentShape)
        for (int i = 0; i < CurrentShape->PointCount; ++i)
            crosses_.insert(CurrentShape->GetPoint(i)->Node->Pixel());
    Repaint();
}

void DrawingState::MarkNode(TRegisteredNode* node) {
    markedNode_ = node;
    if (node != nullptr)
        CurrentMarker.Track(node->Node->PixelX, node->Node->PixelY);
}

void DrawingState::FollowMarkedNode() {
    if (markedNode_ == nullptr) {
        CurrentMarker.Visible = false;
        return;
    }
    CurrentMarker.X = markedNode_->Node->PixelX;
    CurrentMarker.Y = markedNode_->Node->PixelY;
}

TRegisteredNode* DrawingState::AppendNode(std::unique_ptr<TRegisteredNode> node) {
    const NodeGridRows::Row texts = GridTexts(*node->Node);
    Grid.AddRow(texts[0], texts[1]);
    Nodes.push_back(std::move(node));
    return Nodes.back().get();
}

NodeGridRows::Row DrawingState::GridTexts(const TNode& node) const {
    return {NumberFormat::general(node.RealY, DecimalPoint),
            NumberFormat::general(node.RealZ, DecimalPoint)};
}

void DrawingState::UpdateNodeList() {
    for (std::size_t i = Nodes.size(); i-- > 0;) {
        if (Nodes[i]->RefCount == 0) {
            if (Nodes[i].get() == markedNode_) {
                markedNode_ = nullptr;
                CurrentMarker.Visible = false;
            }
            Nodes.erase(Nodes.begin() + static_cast<std::ptrdiff_t>(i));
            Grid.RemoveRow(static_cast<int>(i) + 1);
        }
    }
    for (std::size_t i = GuideNodes.size(); i-- > 0;)
        if (GuideNodes[i]->RefCount == 0)
            GuideNodes.erase(GuideNodes.begin() + static_cast<std::ptrdiff_t>(i));
}

ShapeGeometry DrawingState::GeometryOf(const TMasterShape& shape) {
    ShapeGeometry g;
    g.Kind = shape.Kind;
    g.Filled = shape.Filled;
    for (int i = 0; i < 4; ++i) {
        const TRegisteredNode* node = shape.GetPoint(i);
        if (node != nullptr)
            g.Points[static_cast<std::size_t>(i)] = {node->Node->RealY, node->Node->RealZ};
    }
    return g;
}

bool DrawingState::RecalcAll(const SectionReport::AxesPainter& drawAxes) {
    // In sectorial mode every wall element recomputes the shear centre and warping constant of
    // the whole chain, and only the last element's results survive the loop. The earlier ones
    // extend the chain only; should the last one fail, the loop runs again in full so that
    // the results are exactly those of element-by-element recalculation.
    std::size_t lastWall = Shapes.size();
    if (SectionMode == 'S')
        for (std::size_t i = 0; i < Shapes.size(); ++i)
            if (Shapes[i]->Kind == 1)
                lastWall = i;

    const auto run = [&](bool chainOnlyBeforeLastWall) {
        bool ok = true;
        bool lastWallOk = true;
        calcProblem_.clear();
        for (std::size_t i = 0; i < Shapes.size(); ++i) {
            const SectorialWork work = chainOnlyBeforeLastWall && i < lastWall
                                           ? SectorialWork::ChainOnly
                                           : SectorialWork::Full;
            ok = Report.Recalc(GeometryOf(*Shapes[i]), static_cast<int>(i), SectionMode, UnitText,
                               DecimalPoint, drawAxes, work);
            if (!ok && calcProblem_.isEmpty())
                calcProblem_ = QStringLiteral("Shape %1: %2")
                                   .arg(static_cast<qsizetype>(i) + 1)
                                   .arg(Report.LastError());
            if (i == lastWall)
                lastWallOk = ok;
        }
        return std::pair{ok, lastWallOk};
    };
    const auto [ok, lastWallOk] = run(true);
    if (lastWallOk)
        return ok;
    return run(false).first;
}

TRegisteredNode* DrawingState::AddPointToList(QPoint p) {
    if (snapFound_ && SnapToNode) {
        TRegisteredNode* node = Nodes.at(static_cast<std::size_t>(SnapNodeIndex)).get();
        ++node->RefCount;
        Grid.SetCurrentRow(SnapNodeIndex + 1);
        return node;
    }
    auto node = std::make_unique<TRegisteredNode>(view_, SnapToGuide ? snapPoint_ : p);
    node->RefCount = 1;
    return AppendNode(std::move(node));
}

bool DrawingState::FindNearestPoint(int x, int y) {
    SnapToNode = false;
    SnapToGuide = false;
    bool result = false;
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        const TNode& n = *Nodes[i]->Node;
        if (std::abs(x - n.PixelX) <= 8 && std::abs(y - n.PixelY) <= 8) {
            snapPoint_ = n.Pixel();
            SnapNodeIndex = static_cast<int>(i);
            SnapToNode = true;
            snapFound_ = true;
            return true;
        }
    }
    for (std::size_t i = 0; i < Guides.size(); ++i) {
        const TRegisteredNode* node = Guides[i]->GetPoint(0);
        if (node == nullptr)
            continue;
        bool matched = false;
        if (Guides[i]->Kind == TGuide::Vertical && std::abs(node->Node->PixelX - x) < 8) {
            snapPoint_.setX(node->Node->PixelX);
            if (!result)
                snapPoint_.setY(y);
            matched = true;
        } else if (Guides[i]->Kind == TGuide::Horizontal && std::abs(node->Node->PixelY - y) < 8) {
            if (!result)
                snapPoint_.setX(x);
            snapPoint_.setY(node->Node->PixelY);
            matched = true;
        }
        if (matched) {
            SnapToGuide = true;
            SnapGuideIndex = static_cast<int>(i);
            result = true;
        }
    }
    snapFound_ = result;
    return result;
}

void DrawingState::ToggleCross(QPoint p) {
    if (!crosses_.remove(p))
        crosses_.insert(p);
    Repaint();
}

void DrawingState::ClearCrosses() {
    crosses_.clear();
    Repaint();
}

void DrawingState::Repaint() {
    if (repaint_)
        repaint_();
}

void DrawingState::WriteGuide(QPainter& canvas, GuideBar bar, int x, int y) {
    canvas.save();
    canvas.setPen(QPen(QColor(160, 160, 160), 0, Qt::SolidLine));
    // The rubber line of a guide being dragged shows whatever it crosses.
    if (editMode_ == 3)
        canvas.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (bar == GuideBar::Left)
        canvas.drawLine(x, 0, x, areaSize_.height());
    else
        canvas.drawLine(0, y, areaSize_.width(), y);
    canvas.restore();
}
