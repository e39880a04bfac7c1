#include "DrawingState.h"
#include "SectionFile.h"
#include "TFourAngle.h"
#include "TTriAngle.h"

#include <QTest>

namespace {

TRegisteredNode* AddNodeAt(DrawingState& state, QPoint pixel) {
    auto node = std::make_unique<TRegisteredNode>(state.View(), pixel);
    node->RefCount = 1;
    return state.AppendNode(std::move(node));
}

TGuide* AddGuide(DrawingState& state, std::uint8_t kind, QPoint pixel) {
    state.GuideNodes.push_back(std::make_unique<TRegisteredNode>(state.View(), pixel));
    state.GuideNodes.back()->RefCount = 1;
    auto guide = std::make_unique<TGuide>(state);
    guide->Kind = kind;
    guide->SetPoint(0, state.GuideNodes.back().get());
    state.Guides.push_back(std::move(guide));
    return state.Guides.back().get();
}

} // namespace

class TestDrawingState : public QObject {
    Q_OBJECT

private slots:
    void snapToNodes();
    void snapToGuides();
    void placedPointsShareSnappedNodes();
    void updateNodeListClosesGridRows();
    void modeSwitch();
    void recalcAllMatchesShapeByShape();
};

void TestDrawingState::snapToNodes() {
    DrawingState state;
    AddNodeAt(state, {100, 100});
    AddNodeAt(state, {104, 104});
    // The first node in list order wins even when a later one is nearer.
    QVERIFY(state.FindNearestPoint(105, 105));
    QCOMPARE(state.SnapNodeIndex, 0);
    QCOMPARE(state.SnapPoint(), QPoint(100, 100));
    // Exactly 8 pixels away in both directions still snaps; 9 does not.
    QVERIFY(state.FindNearestPoint(92, 108));
    QVERIFY(!state.FindNearestPoint(91, 100));
    QVERIFY(!state.SnapFound());
    QCOMPARE(state.SnapNodeIndex, 0); // kept when nothing is found
}

void TestDrawingState::snapToGuides() {
    DrawingState state;
    AddGuide(state, TGuide::Vertical, {200, 0});
    AddGuide(state, TGuide::Horizontal, {0, 150});
    // Near the crossing the point lands on it.
    QVERIFY(state.FindNearestPoint(195, 155));
    QVERIFY(state.SnapToGuide && !state.SnapToNode);
    QCOMPARE(state.SnapPoint(), QPoint(200, 150));
    QCOMPARE(state.SnapGuideIndex, 1);
    // Seven pixels snap, eight do not.
    QVERIFY(state.FindNearestPoint(207, 40));
    QCOMPARE(state.SnapPoint(), QPoint(200, 40));
    QVERIFY(!state.FindNearestPoint(208, 40));
    // A node within reach wins over guides.
    AddNodeAt(state, {203, 152});
    QVERIFY(state.FindNearestPoint(200, 150));
    QVERIFY(state.SnapToNode && !state.SnapToGuide);
}

void TestDrawingState::placedPointsShareSnappedNodes() {
    DrawingState state;
    state.MutableView() = {50, 300, 0.01};
    TRegisteredNode* first = AddNodeAt(state, {60, 290});
    QVERIFY(state.FindNearestPoint(63, 288));
    QCOMPARE(state.AddPointToList({63, 288}), first);
    QCOMPARE(first->RefCount, 2);
    QCOMPARE(state.Nodes.size(), std::size_t(1));

    // Away from nodes a new node is made at the release point, shown in the general form.
    QVERIFY(!state.FindNearestPoint(150, 250));
    TRegisteredNode* fresh = state.AddPointToList({150, 250});
    QCOMPARE(fresh->Node->RealY, 1.0);
    QCOMPARE(fresh->Node->RealZ, 0.5);
    QCOMPARE(state.Grid.At(2)[0], QStringLiteral("1"));
    QCOMPARE(state.Grid.CurrentRow(), 2);

    // Snapped to a guide, the node sits on the guide.
    AddGuide(state, TGuide::Vertical, {300, 0});
    QVERIFY(state.FindNearestPoint(304, 200));
    QCOMPARE(state.AddPointToList({304, 200})->Node->PixelX, 300);
}

void TestDrawingState::updateNodeListClosesGridRows() {
    DrawingState state;
    state.MutableView() = {0, 0, 1.0};
    for (int i = 0; i < 4; ++i)
        AddNodeAt(state, {i * 10, 0});
    state.Nodes[1]->RefCount = 0;
    state.Nodes[3]->RefCount = 0;
    AddGuide(state, TGuide::Vertical, {5, 0});
    state.Guides.clear(); // as when a guide is taken away to be moved
    state.UpdateNodeList();
    QCOMPARE(state.Nodes.size(), std::size_t(2));
    QCOMPARE(state.Grid.RowCount(), 3);
    QCOMPARE(state.Grid.At(2)[0], QStringLiteral("20"));
    QVERIFY(state.GuideNodes.empty());

    state.Nodes[0]->RefCount = 0;
    state.Nodes[1]->RefCount = 0;
    state.UpdateNodeList();
    QCOMPARE(state.Grid.RowCount(), 2);
    QVERIFY(state.Grid.At(1)[0].isEmpty());
}

void TestDrawingState::modeSwitch() {
    DrawingState state;
    state.SelectSectorialMode();
    QCOMPARE(state.SectionMode, 'S');
    QVERIFY(state.ShapeToolsEnabled[0]);
    for (int i = 1; i < DrawingState::ShapeToolCount; ++i)
        QVERIFY(!state.ShapeToolsEnabled[std::size_t(i)]);
    state.SelectGeometricMode();
    QCOMPARE(state.SectionMode, 'G');
    for (bool enabled : state.ShapeToolsEnabled)
        QVERIFY(enabled);
}

void TestDrawingState::recalcAllMatchesShapeByShape() {
    DrawingState state;
    SectionFile::Parse(state, QStringLiteral(QV_SAMPLES_DIR "/lipped-channel.geo"));
    // A triangle after the last wall element keeps the chain's sectorial results.
    auto triangle = std::make_unique<TTriAngle>(state);
    for (int i = 0; i < 3; ++i) {
        triangle->SetPoint(i, state.Nodes[std::size_t(i)].get());
        ++state.Nodes[std::size_t(i)]->RefCount;
    }
    triangle->PointCount = 3;
    triangle->SetPoint(3, triangle->GetPoint(0));
    state.Shapes.push_back(std::move(triangle));

    QVERIFY(state.RecalcAll());
    const SectionResults shortcut = state.Report.Values();
    const QStringList lines = state.Report.Lines();

    SectionReport reference;
    for (std::size_t i = 0; i < state.Shapes.size(); ++i)
        QVERIFY(
            reference.Recalc(DrawingState::GeometryOf(*state.Shapes[i]), int(i), 'S', "cm", u'.'));
    QCOMPARE(shortcut.Yo, reference.Values().Yo);
    QCOMPARE(shortcut.Zo, reference.Values().Zo);
    QCOMPARE(shortcut.Jw, reference.Values().Jw);
    QCOMPARE(shortcut.F, reference.Values().F);
    QCOMPARE(lines, reference.Lines());
    QCOMPARE(lines.size(), 10);
}

QTEST_APPLESS_MAIN(TestDrawingState)
#include "tst_drawingstate.moc"
