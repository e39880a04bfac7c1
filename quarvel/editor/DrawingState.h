#pragma once

#include "NodeGridRows.h"
#include "SectionReport.h"
#include "ShapeHost.h"
#include "TCurrentPoint.h"
#include "TGuide.h"
#include "TMasterShape.h"
#include "TNearestPoint.h"
#include "TRegisteredNode.h"
#include "ViewScaler.h"

#include <QColor>
#include <QSet>
#include <QSize>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Everything one open section consists of: the shapes, their nodes, the guides, the view
// values, the interaction state and the texts the window's controls show. The window owns one
// and forwards its events to it; nothing here needs a display.
class DrawingState : public ShapeHost {
public:
    static constexpr int ShapeToolCount = 6;
    static const QStringList UnitItems; // "m", "cm", "mm"

    DrawingState();
    ~DrawingState() override;

    // Frees every shape, node and guide (shapes first, since they count their nodes) and
    // starts again empty. The view values and the control texts stay.
    void Clear();

    // The effect of the mode switch: the sectorial mode draws wall elements only, so only the
    // filled quadrangle tool stays enabled there.
    void SelectGeometricMode();
    void SelectSectorialMode();

    // Takes new view figures and places every guide node and node again from its world
    // coordinates, so the drawing follows the scale.
    void ApplyView(const ViewFigures& figures);
    // Places every guide node and node again from its world coordinates at the current view
    // values (after the origin moved), and the placing crosses with them.
    void PlaceNodes();
    // The placing crosses are those of the shape under construction, at its points.
    void MarkPlacedPoints();

    // The blue square belongs to a node: it follows the node wherever it is placed and goes
    // when the node goes. `FollowMarkedNode` brings the square to where the node is now.
    void MarkNode(TRegisteredNode* node);
    TRegisteredNode* MarkedNode() const { return markedNode_; }
    void FollowMarkedNode();

    // Appends a node read or placed, with its grid row.
    TRegisteredNode* AppendNode(std::unique_ptr<TRegisteredNode> node);
    // A node's coordinates as the grid shows them: the general form of up to 15 significant
    // digits, however the node was made, so equal coordinates always read alike.
    NodeGridRows::Row GridTexts(const TNode& node) const;
    // Frees the nodes no shape or guide uses any more; grid rows close up.
    void UpdateNodeList();
    // The geometry of a completed shape as the calculation needs it.
    static ShapeGeometry GeometryOf(const TMasterShape& shape);

    // Recalculates the whole section in list order as a repaint does; false when the last
    // shape's calculation failed (the report is then empty). CalcProblem then tells which
    // shape could not be calculated and why; it is empty when every shape was.
    bool RecalcAll(const SectionReport::AxesPainter& drawAxes = {});
    const QString& CalcProblem() const { return calcProblem_; }

    // ShapeHost
    const ViewValues& View() const override { return view_; }
    int EditMode() const override { return editMode_; }
    bool NewShapeFilled() const override { return newShapeFilled_; }
    QColor BackgroundColor() const override { return background_; }
    TRegisteredNode* AddPointToList(QPoint p) override;
    bool FindNearestPoint(int x, int y) override;
    bool SnapFound() const override { return snapFound_; }
    QPoint SnapPoint() const override { return snapPoint_; }
    void ToggleCross(QPoint p) override;
    // Takes every placing cross away at once.
    void ClearCrosses();
    void Repaint() override;
    void WriteGuide(QPainter& canvas, GuideBar bar, int x, int y) override;

    ViewValues& MutableView() { return view_; }
    void SetEditMode(int mode) { editMode_ = mode; }
    void SetNewShapeFilled(bool filled) { newShapeFilled_ = filled; }
    void SetBackgroundColor(QColor colour) { background_ = colour; }
    void SetRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }
    // The size of the drawing area: guide lines run across all of it.
    void SetAreaSize(QSize size) { areaSize_ = size; }
    QSize AreaSize() const { return areaSize_; }
    const QSet<QPoint>& Crosses() const { return crosses_; }

    std::vector<std::unique_ptr<TMasterShape>> Shapes;
    std::vector<std::unique_ptr<TRegisteredNode>> Nodes;
    std::vector<std::unique_ptr<TGuide>> Guides;
    std::vector<std::unique_ptr<TRegisteredNode>> GuideNodes;
    std::unique_ptr<TMasterShape> CurrentShape;
    TNearestPoint NearestMarker{*this};
    TCurrentPoint CurrentMarker{*this};

    char SectionMode = 'G';
    int NewShapeKind = 0;
    bool SnapToNode = false;
    bool SnapToGuide = false;
    int SnapNodeIndex = 0;
    int SnapGuideIndex = 0;
    int LastMouseX = 0;
    int LastMouseY = 0;
    // The ruler a guide is being dragged from (while EditMode is 3).
    std::optional<GuideBar> DragSource;

    // View values that only the rulers need.
    int TickStep = 1;
    double Decade = 1.0;
    int DrawWidth = 0;
    // The Max Width the view was last worked out for: the principal axes take their length
    // from it, so a refused text in the Max Width box changes nothing drawn.
    double ViewMaxWidth = 1.0;

    // What the controls show; the window mirrors these.
    NodeGridRows Grid;
    QString MaxWidthText = QStringLiteral("1");
    QString UnitText = QStringLiteral("m");
    QString StatusShapesText = QStringLiteral("Number of shapes: ");
    bool ModeSwitchVisible = true;
    std::array<bool, ShapeToolCount> ShapeToolsEnabled{true, true, true, true, true, true};
    QChar DecimalPoint = u'.';

    SectionReport Report;

private:
    ViewValues view_;
    int editMode_ = 0;
    bool newShapeFilled_ = true;
    bool snapFound_ = false;
    QPoint snapPoint_;
    QColor background_ = Qt::white;
    QSet<QPoint> crosses_;
    std::function<void()> repaint_;
    TRegisteredNode* markedNode_ = nullptr;
    QString calcProblem_;
    QSize areaSize_{800, 600};
};
