#include "DrawingInteraction.h"
#include "DrawingState.h"
#include "ToolButtons.h"

#include <QTest>

namespace {

class FakeButtons : public ToolButtons {
public:
    void AllUp() override { pressed = {}; }
    void ReleaseKind(int kind) override {
        if (pressed && pressed->first == kind)
            pressed.reset();
    }
    void PressTool(int kind, bool filled) override { pressed = std::pair{kind, filled}; }
    void SetSelectDown(bool down) override { select = down; }
    bool SelectDown() const override { return select; }

    std::optional<std::pair<int, bool>> pressed;
    bool select = false;
};

// One drawing with a view of 0.01 units per pixel, origin at (100, 500).
struct Drawing {
    Drawing() : interaction(state, buttons) { state.MutableView() = {100, 500, 0.01}; }

    QPoint Pixel(double y, double z) const {
        return {100 + int(std::lround(y / 0.01)), 500 - int(std::lround(z / 0.01))};
    }
    // A press-and-release at world (y, z), after the pointer got there.
    void Click(double y, double z, QPoint nudge = {}) {
        const QPoint p = Pixel(y, z) + nudge;
        interaction.MouseMove(p);
        interaction.MouseUp(p);
    }
    void Tool(int kind, bool filled = true) {
        buttons.PressTool(kind, filled);
        interaction.ShapeToolExecute(kind, filled);
    }
    void Shape(int kind, bool filled, std::initializer_list<std::pair<double, double>> corners,
               QPoint nudge = {}) {
        Tool(kind, filled);
        for (const auto& [y, z] : corners)
            Click(y, z, nudge);
    }
    QStringList Report() {
        state.RecalcAll();
        return state.Report.Lines();
    }

    DrawingState state;
    FakeButtons buttons;
    DrawingInteraction interaction;
};

} // namespace

class TestInteraction : public QObject {
    Q_OBJECT

private slots:
    void sharedCornersShareNodes();
    void snapToGuideCrossing();
    void plateWithHole();
    void selectAndDelete();
    void undoPointByPoint();
    void selectAbandonsShapeUnderConstruction();
    void gridEdits();
    void movingAGuide();
    void gridShowsOneForm();
    void blueSquareFollowsItsNode();
    void releasedToolIsDisarmed();
};

void TestInteraction::sharedCornersShareNodes() {
    Drawing d;
    d.Shape(1, true, {{0, 0}, {3, 0}, {3, 2}, {0, 2}});
    QCOMPARE(d.state.Shapes.size(), std::size_t(1));
    QVERIFY(!d.buttons.pressed); // completing releases the tool of its kind
    QCOMPARE(d.state.NewShapeKind, 0);
    QCOMPARE(d.state.StatusShapesText, QStringLiteral("Number of shapes: 1"));
    QVERIFY(d.state.Crosses().isEmpty());

    // A release without a tool starts nothing.
    d.Click(5, 5);
    QVERIFY(!d.state.CurrentShape);

    // Released a little off the shared corners: the snap puts them on the nodes.
    d.Tool(2);
    d.Click(0, 2, QPoint(3, -2));
    d.Click(3, 2, QPoint(-8, 8));
    d.Click(1.5, 4);
    QCOMPARE(d.state.Nodes.size(), std::size_t(5));
    QCOMPARE(d.state.Grid.RowCount(), 6);
    QCOMPARE(d.state.Nodes[2]->RefCount, 2);
    QCOMPARE(d.state.Grid.At(5)[0], QStringLiteral("1.5"));
    QCOMPARE(d.state.Grid.At(5)[1], QStringLiteral("4"));
    // The snapped node's row is current after a corner lands on it.
    QCOMPARE(d.state.Shapes[1]->GetPoint(1), d.state.Nodes[2].get());
}

void TestInteraction::snapToGuideCrossing() {
    Drawing d;
    for (const auto& [kind, pixel] : {std::pair{TGuide::Vertical, d.Pixel(2, 0)},
                                      std::pair{TGuide::Horizontal, d.Pixel(0, 1)}}) {
        d.state.GuideNodes.push_back(std::make_unique<TRegisteredNode>(d.state.View(), pixel));
        d.state.GuideNodes.back()->RefCount = 1;
        auto guide = std::make_unique<TGuide>(d.state);
        guide->Kind = kind;
        guide->SetPoint(0, d.state.GuideNodes.back().get());
        d.state.Guides.push_back(std::move(guide));
    }
    d.Tool(2);
    d.Click(2, 1, QPoint(5, 6)); // within 7 pixels of both guides
    QCOMPARE(d.state.Nodes.back()->Node->RealY, 2.0);
    QCOMPARE(d.state.Nodes.back()->Node->RealZ, 1.0);
    QVERIFY(d.state.NearestMarker.Visible);
    QCOMPARE(QPoint(d.state.NearestMarker.X, d.state.NearestMarker.Y), d.Pixel(2, 1));
}

void TestInteraction::plateWithHole() {
    Drawing d;
    d.Shape(1, true, {{0, 0}, {4, 0}, {4, 4}, {0, 4}});
    d.Shape(1, false, {{1, 1}, {3, 1}, {3, 3}, {1, 3}});
    QVERIFY(!d.state.Shapes[1]->Filled);
    const QStringList lines = d.Report();
    QCOMPARE(lines.at(1), QStringLiteral("Yc=       2.0000"));
    QCOMPARE(lines.at(3), QStringLiteral(" F=   1.200E+001"));
    QCOMPARE(lines.at(4), QStringLiteral("I1=   2.000E+001"));
    QCOMPARE(lines.at(5), QStringLiteral("I2=   2.000E+001"));
}

void TestInteraction::selectAndDelete() {
    Drawing d;
    d.Shape(1, true, {{0, 0}, {3, 0}, {3, 2}, {0, 2}});
    d.Shape(2, true, {{0, 2}, {3, 2}, {1.5, 4}});
    d.interaction.SelectExecute();
    QCOMPARE(d.state.EditMode(), 2);
    QVERIFY(d.buttons.select);

    // Delete with nothing selected removes nothing.
    d.interaction.DeleteSelected();
    QCOMPARE(d.state.Shapes.size(), std::size_t(2));

    d.Click(1.5, 3); // inside the triangle only
    QVERIFY(d.state.Shapes[1]->Selected && !d.state.Shapes[0]->Selected);
    d.interaction.DeleteSelected();
    QCOMPARE(d.state.Shapes.size(), std::size_t(1));
    QCOMPARE(d.state.Nodes.size(), std::size_t(4)); // the apex only the triangle used is gone
    QCOMPARE(d.state.Grid.RowCount(), 5);
    QCOMPARE(d.state.StatusShapesText, QStringLiteral("Number of shapes: 1"));

    // A release near a node moves to the node (a corner, so nothing is hit) and asks the
    // grid for the focus on its row.
    d.Click(3, 2, QPoint(-4, 4));
    QVERIFY(d.interaction.TakeGridFocusRequest());
    QCOMPARE(d.state.Grid.CurrentRow(), 3);
    QVERIFY(!d.state.Shapes[0]->Selected);
    d.Click(1, 1);
    QVERIFY(d.state.Shapes[0]->Selected);
    QVERIFY(!d.Report().isEmpty());
    d.interaction.DeleteSelected();
    QVERIFY(d.state.Shapes.empty());
    QVERIFY(d.state.Report.Lines().isEmpty());
    QCOMPARE(d.state.Grid.RowCount(), 2);
    QVERIFY(d.state.Grid.At(1)[0].isEmpty());
}

void TestInteraction::undoPointByPoint() {
    Drawing d;
    d.Shape(1, false, {{0, 0}, {3, 0}, {3, 2}, {0, 2}});
    d.Shape(2, true, {{5, 0}, {7, 0}, {5, 2}});
    d.interaction.UndoExecute();
    QCOMPARE(d.state.CurrentShape->PointCount, 2);
    QCOMPARE(d.buttons.pressed, (std::pair{2, true}));
    QCOMPARE(d.state.Crosses().size(), 2);
    QCOMPARE(d.state.Nodes.size(), std::size_t(6));
    d.interaction.UndoExecute();
    QCOMPARE(d.state.CurrentShape->PointCount, 1);
    d.interaction.UndoExecute();
    QVERIFY(!d.state.CurrentShape);
    QVERIFY(!d.buttons.pressed);
    QCOMPARE(d.state.Nodes.size(), std::size_t(4));
    QVERIFY(d.state.Crosses().isEmpty());
    d.interaction.UndoExecute(); // the previous shape reopens with its own tool
    QCOMPARE(d.buttons.pressed, (std::pair{1, false}));
    QCOMPARE(d.state.Shapes.size(), std::size_t(0));
    QCOMPARE(d.state.StatusShapesText, QStringLiteral("Number of shapes: 0"));

    // The next release completes the reopened shape again, even without a tool chosen.
    d.state.NewShapeKind = 0;
    d.Click(0, 3);
    QCOMPARE(d.state.Shapes.size(), std::size_t(1));
    QVERIFY(!d.state.Shapes[0]->Filled);
    QCOMPARE(d.state.Shapes[0]->GetPoint(4), d.state.Shapes[0]->GetPoint(0));
    QCOMPARE(d.state.Nodes.back()->Node->RealZ, 3.0);
}

void TestInteraction::selectAbandonsShapeUnderConstruction() {
    Drawing d;
    d.Tool(1);
    d.Click(0, 0);
    d.Click(1, 0);
    d.interaction.SelectExecute();
    QVERIFY(!d.state.CurrentShape);
    QVERIFY(!d.buttons.pressed);
    QCOMPARE(d.state.Nodes.size(), std::size_t(2));
    QCOMPARE(d.state.Grid.RowCount(), 3);
    d.state.UpdateNodeList();
    QCOMPARE(d.state.Nodes.size(), std::size_t(2)); // still referenced, as placed
    QVERIFY(d.state.Crosses().isEmpty());
    // Drawing goes on with a new tool; Select is released.
    d.Tool(2);
    QCOMPARE(d.state.EditMode(), 0);
    QVERIFY(!d.buttons.select);
}

void TestInteraction::gridEdits() {
    Drawing d;
    d.state.DecimalPoint = u',';
    d.Shape(1, true, {{0, 0}, {3, 0}, {3, 2}, {0, 2}});
    const QString before = d.Report().at(1);
    QVERIFY(d.interaction.ApplyGridRow(3, "4,5", " 2"));
    QCOMPARE(d.state.Nodes[2]->Node->RealY, 4.5);
    QCOMPARE(d.state.Nodes[2]->Node->Pixel(), d.Pixel(4.5, 2));
    QCOMPARE(d.state.Grid.At(3)[0], QStringLiteral("4,5")); // the typed text stays
    QVERIFY(d.Report().at(1) != before);

    // A letter leaves the node and writes its coordinates back in the general form.
    QVERIFY(d.interaction.ApplyGridRow(3, "4,5", "x"));
    QCOMPARE(d.state.Nodes[2]->Node->RealZ, 2.0);
    QCOMPARE(d.state.Grid.At(3)[0], QStringLiteral("4,5"));
    QCOMPARE(d.state.Grid.At(3)[1], QStringLiteral("2"));

    QVERIFY(!d.interaction.ApplyGridRow(9, "1", "1"));
    d.interaction.TrackGridRow(2);
    QVERIFY(d.state.CurrentMarker.Visible);
    QCOMPARE(QPoint(d.state.CurrentMarker.X, d.state.CurrentMarker.Y), d.Pixel(3, 0));
}

void TestInteraction::movingAGuide() {
    Drawing d;
    d.state.GuideNodes.push_back(std::make_unique<TRegisteredNode>(d.state.View(), d.Pixel(0, 2)));
    d.state.GuideNodes.back()->RefCount = 1;
    auto guide = std::make_unique<TGuide>(d.state);
    guide->Kind = TGuide::Horizontal;
    guide->SetPoint(0, d.state.GuideNodes.back().get());
    d.state.Guides.push_back(std::move(guide));

    // Only in selection mode does a press take a guide up.
    d.interaction.MouseMove(d.Pixel(1, 2) + QPoint(0, 4));
    QVERIFY(!d.interaction.MouseDown(d.Pixel(1, 2)));
    d.interaction.SelectExecute();
    d.interaction.MouseMove(d.Pixel(1, 2) + QPoint(0, 4));
    QCOMPARE(d.interaction.MouseDown(d.Pixel(1, 2)), std::optional{GuideBar::Top});
    QCOMPARE(d.state.EditMode(), 3);
    QVERIFY(d.state.Guides.empty());
    QVERIFY(d.state.GuideNodes.empty());
    QCOMPARE(d.state.LastMouseY, d.Pixel(1, 2).y());
    // Releases during the drag place no points.
    d.interaction.MouseUp(d.Pixel(1, 1));
    QVERIFY(d.state.Nodes.empty());
}

void TestInteraction::gridShowsOneForm() {
    // Drawn and read nodes, typed and refused values: one general form after every change.
    Drawing d;
    d.Shape(2, true, {{0.25, 0}, {1, 0}, {0, 1}});
    QCOMPARE(d.state.Grid.At(1), (NodeGridRows::Row{"0.25", "0"}));
    QVERIFY(d.interaction.ApplyGridRow(2, "1.0", "0.500"));
    QCOMPARE(d.state.Grid.At(2), (NodeGridRows::Row{"1", "0.5"}));
    QVERIFY(d.interaction.ApplyGridRow(2, "2.123456", "-0"));
    QCOMPARE(d.state.Grid.At(2), (NodeGridRows::Row{"2.1235", "0"}));
    QVERIFY(d.interaction.ApplyGridRow(2, "x", "3"));
    QCOMPARE(d.state.Grid.At(2), (NodeGridRows::Row{"2.1235", "0"}));
}

void TestInteraction::blueSquareFollowsItsNode() {
    Drawing d;
    d.Shape(1, true, {{0, 0}, {3, 0}, {3, 2}, {0, 2}});
    d.Shape(2, true, {{5, 0}, {7, 0}, {5, 2}});
    const auto square = [&] {
        d.state.FollowMarkedNode();
        return d.state.CurrentMarker.Visible
                   ? std::optional{QPoint(d.state.CurrentMarker.X, d.state.CurrentMarker.Y)}
                   : std::nullopt;
    };
    d.interaction.TrackGridRow(3);
    QCOMPARE(square(), std::optional{d.Pixel(3, 2)});
    // The node is edited: the square goes with it.
    QVERIFY(d.interaction.ApplyGridRow(3, "4", "2.5"));
    QCOMPARE(square(), std::optional{d.Pixel(4, 2.5)});
    // The scale changes: so does the node's pixel, and the square follows.
    ViewFigures figures;
    figures.Scale = 0.02;
    d.state.ApplyView(figures);
    QCOMPARE(square(), std::optional{d.state.Nodes[2]->Node->Pixel()});
    QCOMPARE(d.state.Nodes[2]->Node->PixelX, 100 + 200);
    // Deleting another shape leaves it; deleting its shape takes it away with the node.
    d.state.Shapes[1]->Selected = true;
    d.interaction.DeleteSelected();
    QCOMPARE(square(), std::optional{d.state.Nodes[2]->Node->Pixel()});
    d.state.Shapes[0]->Selected = true;
    d.interaction.DeleteSelected();
    QCOMPARE(square(), std::nullopt);
    QVERIFY(d.state.MarkedNode() == nullptr);
}

void TestInteraction::releasedToolIsDisarmed() {
    Drawing d;
    // Released before any point: the next release starts nothing.
    d.Tool(1);
    d.buttons.pressed.reset();
    d.interaction.ShapeToolReleased();
    d.Click(1, 1);
    QVERIFY(!d.state.CurrentShape && d.state.Nodes.empty());

    // Released with two points placed: the shape is abandoned as Select abandons it.
    d.Tool(1);
    d.Click(0, 0);
    d.Click(1, 0);
    d.interaction.ShapeToolReleased();
    QVERIFY(!d.state.CurrentShape);
    QVERIFY(d.state.Crosses().isEmpty());
    d.Click(2, 2);
    QVERIFY(!d.state.CurrentShape);
    QCOMPARE(d.state.Nodes.size(), std::size_t(2));

    // Undo that takes the last point of a new shape releases every tool and disarms them.
    d.Tool(2);
    d.Click(5, 5);
    d.interaction.UndoExecute();
    QVERIFY(!d.buttons.pressed);
    d.Click(6, 6);
    QVERIFY(!d.state.CurrentShape);
    QCOMPARE(d.state.NewShapeKind, 0);
}

QTEST_APPLESS_MAIN(TestInteraction)
#include "tst_interaction.moc"
