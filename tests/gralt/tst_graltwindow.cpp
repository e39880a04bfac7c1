#include "GraltWindow.h"
#include "MeshFile.h"
#include "MeshOutput.h"
#include "MeshView.h"
#include "ProgramRun.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using ProgramRun::ReadFile;
using ProgramRun::WriteFile;

class TestGraltWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(toolset_.isValid());
        data_ = QDir(toolset_.path()).filePath(QStringLiteral("data"));
        QDir().mkpath(data_);
        QFile::remove(Path(MeshOutput::ProjectName()));
        QFile::remove(Path(MeshOutput::MeshName()));
    }
    void readsTheProjectAndWritesOnOk();
    void cancelWritesNothing();
    void faultyCellKeepsTheWindowOpen();
    void unreadableProjectIsReportedAndNotUsed();
    void withoutProjectTheDataFilesMeshGivesTheRegions_data();
    void withoutProjectTheDataFilesMeshGivesTheRegions();
    void editRereadsOnlyItsRow();
    void edgeRowsGoIntoTheProjectAndTheMesh();
    void removedRegionTakesItsEdgeRows();
    void addedEdgeRowTakesTheKeyboard();
    void plateTakesPressureOverItsArea();
    void okAsksBeforeTheFilesItemsGo();
    void torsionTakesNoEdgeRows();
    void screenshot();
    void marksSupportsAndLoads();

private:
    QString Path(const QString& name) const { return QDir(data_).filePath(name); }
    // The pixels of the mesh view that are not background: a blank view has none.
    static int Drawn(GraltWindow& window) {
        const QImage picture = window.findChild<MeshView*>()->grab().toImage();
        int drawn = 0;
        for (int x = 0; x < picture.width(); ++x) {
            for (int y = 0; y < picture.height(); ++y)
                drawn += picture.pixelColor(x, y) != picture.pixelColor(0, 0) ? 1 : 0;
        }
        return drawn;
    }
    // Types `keys` as a user would, each key into the widget that has the keyboard then; "\t"
    // is Tab.
    static void Type(const QString& keys) {
        for (QChar key : keys) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            if (key == u'\t')
                QTest::keyClick(focus, Qt::Key_Tab);
            else
                QTest::keyClick(focus, key.toLatin1());
        }
    }

    QTemporaryDir toolset_;
    QString data_;
};

void TestGraltWindow::readsTheProjectAndWritesOnOk() {
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 1\r\nregion 0 0 2 0 2 1 0 1 2 1 1 1\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 13, QStringLiteral("slab.d63"), dialogs);
    QCOMPARE(window.RegionTable()->rowCount(), 1);
    QCOMPARE(window.RegionTable()->horizontalHeaderItem(1)->text(), QStringLiteral("y1"));
    QCOMPARE(window.Status(), QStringLiteral("1 regions: 6 nodes, 2 elements"));

    // A second region sharing the right edge: the mesh follows the table at once.
    window.AddRegion();
    QCOMPARE(window.RegionTable()->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(window.Status(), QStringLiteral("2 regions: 10 nodes, 4 elements"));
    window.RegionTable()->item(1, 2)->setText(QStringLiteral("3,5"));
    window.RegionTable()->item(1, 4)->setText(QStringLiteral("3.5"));
    window.RegionTable()->item(1, 8)->setText(QStringLiteral("3"));
    QCOMPARE(window.Status(), QStringLiteral("2 regions: 12 nodes, 5 elements"));

    window.accept();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(ReadFile(Path(MeshOutput::ProjectName())).contains("region 2 0 3.5 0 3.5 1 2 1 3 1"));
    const MeshFile::Result mesh = MeshFile::Read(ReadFile(Path(MeshOutput::MeshName())));
    QVERIFY2(mesh.Ok, qPrintable(mesh.Error));
    QCOMPARE(mesh.Mesh_.Elements.size(), size_t(5));
}

void TestGraltWindow::cancelWritesNothing() {
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 9, QStringLiteral("wall.d59"), dialogs);
    QCOMPARE(window.Status(), QStringLiteral("1 regions: 45 nodes, 32 elements")); // the example
    window.reject();
    QVERIFY(!QFile::exists(Path(MeshOutput::ProjectName())));
    QVERIFY(!QFile::exists(Path(MeshOutput::MeshName())));
}

void TestGraltWindow::faultyCellKeepsTheWindowOpen() {
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 10, QStringLiteral("dam.d60"), dialogs);
    QVERIFY(window.RegionTable()->isColumnHidden(11)); // plane strain has no sections
    window.show();
    window.RegionTable()->item(0, 3)->setText(QStringLiteral("two"));
    QCOMPARE(window.Status(), QStringLiteral("Region 1, z2: \"two\" is not a number"));
    window.accept();
    QVERIFY(window.isVisible());
    QCOMPARE(dialogs.Texts(QStringLiteral("error")),
             QStringList{
                 QStringLiteral("The mesh is not written: Region 1, z2: \"two\" is not a number")});
    QVERIFY(!QFile::exists(Path(MeshOutput::MeshName())));
}

void TestGraltWindow::unreadableProjectIsReportedAndNotUsed() {
    const QByteArray broken("Gralt project 1\r\nregion 1 2\r\n");
    WriteFile(Path(MeshOutput::ProjectName()), broken);
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 16, QStringLiteral("bar.d66"), dialogs);
    QCOMPARE(dialogs.Texts(QStringLiteral("warning")).size(), 1);
    QVERIFY(dialogs.Texts(QStringLiteral("warning"))[0].contains(QStringLiteral("line 2")));
    QCOMPARE(window.RegionTable()->rowCount(), 1);
    window.reject();
    QCOMPARE(ReadFile(Path(MeshOutput::ProjectName())), broken);
}

void TestGraltWindow::withoutProjectTheDataFilesMeshGivesTheRegions_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("status");
    // The slab's 2 x 2 mesh has a square outline: one region divided as its sides are.
    QTest::newRow("one outline") << "slab.d13" << 13 << 1
                                 << QStringList{"0", "0", "6", "0", "6", "6",
                                                "0", "6", "2", "2", "1", "1"}
                                 << "1 regions: 9 nodes, 4 elements";
    // The panel's gable is a triangle on two quadrilaterals: three regions for the triangle
    // and the quadrilaterals halved each way keep the gable's outline.
    QTest::newRow("triangles") << "panel.d09" << 9 << 5 << QStringList{"0", "0", "2", "0", "2", "2",
                                                                       "0", "2", "2", "2", "1", "1"}
                               << "5 regions: 19 nodes, 11 elements";
}

void TestGraltWindow::withoutProjectTheDataFilesMeshGivesTheRegions() {
    QFETCH(QString, file);
    QFETCH(int, problem);
    QFETCH(int, rows);
    QFETCH(QStringList, cells);
    QFETCH(QString, status);
    ScriptedDialogs dialogs;
    GraltWindow window(data_, problem, QStringLiteral(QV_TEST_DATA "/") + file, dialogs);
    QCOMPARE(window.RegionTable()->rowCount(), rows);
    QStringList shown;
    for (int column = 0; column < cells.size(); ++column)
        shown << window.RegionTable()->item(0, column)->text();
    QCOMPARE(shown, cells);
    QCOMPARE(window.Status(), status);
}

void TestGraltWindow::editRereadsOnlyItsRow() {
    // Rows keep what was read from them; an edit, a removal and a faulty cell follow the row.
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 1\r\nregion 0 0 1 0 1 1 0 1 1 1 1 1\r\n"
              "region 1 0 2 0 2 1 1 1 1 1 1 1\r\nregion 2 0 3 0 3 1 2 1 1 1 1 1\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 9, QStringLiteral("wall.d59"), dialogs);
    QCOMPARE(window.Status(), QStringLiteral("3 regions: 8 nodes, 3 elements"));
    window.RegionTable()->item(2, 8)->setText(QStringLiteral("x"));
    QCOMPARE(window.Status(), QStringLiteral("Region 3, Parts 1-2: \"x\" is not a whole number"));
    window.RegionTable()->setCurrentCell(0, 0);
    window.RemoveRegion();
    QCOMPARE(window.Status(), QStringLiteral("Region 2, Parts 1-2: \"x\" is not a whole number"));
    window.RegionTable()->item(1, 8)->setText(QStringLiteral("4"));
    QCOMPARE(window.Status(), QStringLiteral("2 regions: 12 nodes, 5 elements"));
    QCOMPARE(window.Regions()[1].Divisions12, 4);
}

void TestGraltWindow::edgeRowsGoIntoTheProjectAndTheMesh() {
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 1\r\nregion 0 0 2 0 2 1 0 1 2 1 1 1\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 9, QStringLiteral("wall.d59"), dialogs);
    QCOMPARE(window.Tabs()->tabText(1), QStringLiteral("Edges"));
    window.AddEdge(); // a support of side 1-2, fixed in both directions
    QCOMPARE(window.Status(), QStringLiteral("1 regions: 6 nodes, 2 elements, 3 supports"));
    window.AddEdge();
    QTableWidget* edges = window.EdgeTable();
    edges->item(1, 1)->setText(QStringLiteral("3-4"));
    edges->item(1, 2)->setText(QStringLiteral("Pressure"));
    // The support's codes stay as the two values; the load gets case 1 until one is typed.
    QCOMPARE(edges->item(1, 3)->text(), QStringLiteral("1"));
    edges->item(1, 3)->setText(QStringLiteral("2"));
    edges->item(1, 5)->setText(QStringLiteral("1,5"));
    QCOMPARE(window.Status(),
             QStringLiteral("1 regions: 6 nodes, 2 elements, 3 supports, 3 nodal loads"));
    window.accept();
    QVERIFY(dialogs.shown.isEmpty());
    const QByteArray project = ReadFile(Path(MeshOutput::ProjectName()));
    QVERIFY(project.startsWith("Gralt project 2\r\n"));
    QVERIFY(project.contains("\r\nsupport 1 1-2 1 1\r\npressure 1 3-4 2 1 1.5\r\n"));
    const MeshFile::Result mesh = MeshFile::Read(ReadFile(Path(MeshOutput::MeshName())));
    QVERIFY2(mesh.Ok, qPrintable(mesh.Error));
    QCOMPARE(mesh.Mesh_.Tables.size(), size_t(2));
    QCOMPARE(mesh.Mesh_.Tables[1].Items[0][0], 2.0); // the load case

    // The rows come back with the project.
    GraltWindow again(data_, 9, QStringLiteral("wall.d59"), dialogs);
    QCOMPARE(again.EdgeTable()->rowCount(), 2);
    QCOMPARE(again.EdgeTable()->item(1, 5)->text(), QStringLiteral("1.5"));
}

void TestGraltWindow::removedRegionTakesItsEdgeRows() {
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 2\r\nregion 0 0 1 0 1 1 0 1 1 1 1 1\r\n"
              "region 1 0 2 0 2 1 1 1 1 1 1 1\r\nregion 2 0 3 0 3 1 2 1 1 1 1 1\r\n"
              "support 1 1-2 1 1\r\nsupport 2 1 1 0\r\nglobal 3 2-3 1 1 0 1 0\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 10, QStringLiteral("dam.d60"), dialogs);
    QCOMPARE(window.Status(),
             QStringLiteral("3 regions: 8 nodes, 3 elements, 2 supports, 2 nodal loads"));
    window.RegionTable()->setCurrentCell(1, 0);
    window.RemoveRegion();
    // Region 2's corner support is gone; region 3's load now names region 2.
    QCOMPARE(window.EdgeTable()->rowCount(), 2);
    QCOMPARE(window.EdgeTable()->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(window.Conditions()[1].Region, 2);
    // A row naming a region that is not there keeps the mesh from being written.
    window.EdgeTable()->item(0, 0)->setText(QStringLiteral("5"));
    QCOMPARE(window.Status(), QStringLiteral("Edge row 1: there is no region 5"));
    window.accept();
    QCOMPARE(
        dialogs.Texts(QStringLiteral("error")),
        QStringList{QStringLiteral("The mesh is not written: Edge row 1: there is no region 5")});
}

void TestGraltWindow::addedEdgeRowTakesTheKeyboard() {
    // Add edge row, then the row typed at once: every value lands in its own cell.
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 1\r\nregion 0 0 2 0 2 1 0 1 2 1 1 1\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 10, QStringLiteral("dam.d60"), dialogs);
    window.Tabs()->setCurrentIndex(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QPushButton* add = nullptr;
    for (QPushButton* button : window.findChildren<QPushButton*>())
        add = button->text() == QStringLiteral("A&dd edge row") ? button : add;
    QVERIFY(add);
    QTest::mouseClick(add, Qt::LeftButton);
    Type(QStringLiteral("1\t2-3\tglobal\t2\t5\t0\t5\t0\t"));
    QStringList cells;
    for (int column = 0; column < 8; ++column)
        cells << window.EdgeTable()->item(0, column)->text();
    QCOMPARE(cells, (QStringList{"1", "2-3", "global", "2", "5", "0", "5", "0"}));
    QCOMPARE(window.Status(), QStringLiteral("1 regions: 6 nodes, 2 elements, 2 nodal loads"));
}

void TestGraltWindow::plateTakesPressureOverItsArea() {
    // A slab held along its foot: a support row retyped as a load keeps none of its third
    // code, and a pressure over the area goes onto every element. While a row is wrong the
    // mesh stays in view and the row is marked.
    QTemporaryDir scratch;
    const QString directory = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                                  ? scratch.path()
                                  : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 2\r\nregion 0 0 6 0 6 4 0 4 6 4 1 1\r\nsupport 1 1-2 1 0 0\r\n"
              "support 1 3 1 1 1\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 13, QStringLiteral("slab.d63"), dialogs);
    window.resize(820, 640);
    window.Tabs()->setCurrentIndex(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableWidget* edges = window.EdgeTable();
    QCOMPARE(edges->horizontalHeaderItem(1)->text(), QStringLiteral("Side, corner or area"));
    window.AddEdge(); // uz rx ry all fixed
    edges->item(2, 1)->setText(QStringLiteral("3-4"));
    edges->item(2, 2)->setText(QStringLiteral("pressure"));
    QCOMPARE(edges->item(2, 6)->text(), QString()); // the third code is gone
    edges->item(2, 4)->setText(QStringLiteral("-2"));
    edges->item(2, 5)->setText(QStringLiteral("-2"));
    QCOMPARE(window.Status(),
             QStringLiteral("1 regions: 35 nodes, 24 elements, 8 supports, 7 nodal loads"));
    const int withoutPressure = Drawn(window);
    window.AddEdge();
    edges->item(3, 2)->setText(QStringLiteral("pressure"));
    edges->item(3, 1)->setText(QStringLiteral("area"));
    QCOMPARE(edges->item(3, 5)->text(), QString());
    edges->item(3, 4)->setText(QStringLiteral("-10"));
    QCOMPARE(window.Status(), QStringLiteral("1 regions: 35 nodes, 24 elements, 8 supports, 7 "
                                             "nodal loads, 24 element loads"));
    QVERIFY(window.grab().save(QDir(directory).filePath(QStringLiteral("gralt-plate.png"))));

    edges->item(3, 4)->setText(QStringLiteral("ten"));
    QCOMPARE(window.Status(), QStringLiteral("Edge row 4, Value 1: \"ten\" is not a number"));
    QCOMPARE(edges->item(3, 0)->background().color(), QColor(255, 215, 215));
    QCOMPARE(edges->item(2, 0)->background().style(), Qt::NoBrush);
    QCOMPARE(Drawn(window), withoutPressure);
    edges->item(3, 4)->setText(QStringLiteral("-10"));
    QCOMPARE(edges->item(3, 0)->background().style(), Qt::NoBrush);
    window.accept();
    const MeshFile::Result mesh = MeshFile::Read(ReadFile(Path(MeshOutput::MeshName())));
    QVERIFY2(mesh.Ok, qPrintable(mesh.Error));
    QCOMPARE(mesh.Mesh_.Tables.back().Number, 8);
    QCOMPARE(mesh.Mesh_.Tables.back().Items.size(), size_t(24));
}

void TestGraltWindow::okAsksBeforeTheFilesItemsGo() {
    // The panel's supports and load name nodes of its mesh; OK says so before the mesh is
    // written, also of the supports the mesher's own replace, and No keeps the window open
    // with nothing written.
    QTemporaryDir folder;
    const QString panel = folder.filePath(QStringLiteral("panel.d09"));
    WriteFile(panel, ReadFile(QStringLiteral(QV_TEST_DATA "/panel.d09")));
    ScriptedDialogs dialogs;
    dialogs.answers = {UserDialogs::Answer::No, UserDialogs::Answer::Yes};
    GraltWindow window(data_, 9, panel, dialogs);
    window.show();
    window.AddEdge(); // the foot of region 1 held: the mesh brings table 6
    window.accept();
    QVERIFY(window.isVisible());
    QVERIFY(!QFile::exists(Path(MeshOutput::MeshName())));
    const QStringList asked = dialogs.Texts(QStringLiteral("question"));
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked[0].contains(QStringLiteral("Replaced in table 6 by the mesh's (they referred to "
                                              "nodes of the old mesh): items 1, 2.")) &&
                 asked[0].contains(QStringLiteral("Removed from table 7 (they referred to nodes "
                                                  "of the old mesh): item 1.")),
             qPrintable(asked[0]));
    window.accept();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(Path(MeshOutput::MeshName())));
    QCOMPARE(ReadFile(panel), ReadFile(QStringLiteral(QV_TEST_DATA "/panel.d09")));
}

void TestGraltWindow::torsionTakesNoEdgeRows() {
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 16, QStringLiteral("bar.d66"), dialogs);
    // The example region's contour: 2 (8 + 4) nodes.
    QCOMPARE(window.Status(), QStringLiteral("1 regions: 45 nodes, 32 elements, 24 contour nodes"));
    window.accept();
    const MeshFile::Result mesh = MeshFile::Read(ReadFile(Path(MeshOutput::MeshName())));
    QCOMPARE(mesh.Mesh_.Tables.size(), size_t(1));
    QCOMPARE(mesh.Mesh_.Tables[0].Title, QStringLiteral("Contour nodes"));
}

void TestGraltWindow::screenshot() {
    // The README's picture; set QV_SCREENSHOT_DIR to refresh it. Without it the window is still
    // drawn and checked, so a picture that would come out wrong fails the suite.
    QTemporaryDir scratch;
    const QString directory = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                                  ? scratch.path()
                                  : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    WriteFile(Path(MeshOutput::ProjectName()),
              "Gralt project 1\r\nregion 0 0 4 0 4 3 0 3 8 6 1 1\r\n"
              "region 4 0 7 1 7 2.5 4 3 6 6 1 1\r\nregion 0 3 4 3 3 5 1 5 8 4 1 1\r\n");
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 9, QStringLiteral("wall.d59"), dialogs);
    window.resize(820, 640);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY2(window.Status().startsWith(QStringLiteral("3 regions: ")),
             qPrintable(window.Status()));
    // The mesh fills its view: most columns across the middle of the view cross a mesh line.
    auto* view = window.findChild<MeshView*>();
    QVERIFY(view);
    const QImage mesh = view->grab().toImage();
    const QColor background = mesh.pixelColor(2, 2);
    int marked = 0;
    for (int x = 0; x < mesh.width(); ++x) {
        for (int y = mesh.height() / 4; y < mesh.height() * 3 / 4; ++y) {
            if (mesh.pixelColor(x, y) != background) {
                ++marked;
                break;
            }
        }
    }
    QVERIFY2(marked > mesh.width() / 2, qPrintable(QString::number(marked)));
    QVERIFY(window.grab().save(QDir(directory).filePath(QStringLiteral("gralt.png"))));
}

void TestGraltWindow::marksSupportsAndLoads() {
    // The dam of the examples: its foot held, water pressure on its upstream face. The picture
    // shows the green support and the red arrows beside the mesh; set QV_SCREENSHOT_DIR to
    // keep it.
    QTemporaryDir scratch;
    const QString directory = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                                  ? scratch.path()
                                  : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    WriteFile(Path(MeshOutput::ProjectName()),
              ReadFile(QStringLiteral(VOSHER_EXAMPLES "/dam.spj")));
    ScriptedDialogs dialogs;
    GraltWindow window(data_, 10, QStringLiteral("dam.d60"), dialogs);
    window.resize(820, 640);
    window.Tabs()->setCurrentIndex(1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY2(window.Status().endsWith(QStringLiteral("9 supports, 11 nodal loads")),
             qPrintable(window.Status()));
    const QImage picture = window.findChild<MeshView*>()->grab().toImage();
    // The arrows stand left of the upstream face, longest at its foot; the support under it.
    const auto count = [&](auto isColour, int left, int right, int top, int bottom) {
        int found = 0;
        for (int x = left; x < right; ++x) {
            for (int y = top; y < bottom; ++y)
                found += isColour(picture.pixelColor(x, y)) ? 1 : 0;
        }
        return found;
    };
    const auto red = [](const QColor& c) {
        return c.red() > c.green() + 80 && c.red() > c.blue() + 80;
    };
    const auto green = [](const QColor& c) {
        return c.green() > c.red() + 60 && c.green() > c.blue() + 40;
    };
    const int w = picture.width(), h = picture.height();
    QVERIFY(count(red, 0, w / 2, h / 2, h) > count(red, 0, w / 2, 0, h / 2));
    QVERIFY(count(red, w / 2, w, 0, h) == 0);
    QVERIFY(count(green, 0, w, h * 3 / 4, h) > 50);
    QVERIFY(count(green, 0, w, 0, h / 2) == 0);
    QVERIFY(window.grab().save(QDir(directory).filePath(QStringLiteral("gralt-edges.png"))));

    // A roller at the crest, free along x: a hollow triangle over a line, where the fixed
    // foot's triangle is filled. One free along z leans against its corner from the left.
    window.AddEdge();
    window.EdgeTable()->item(2, 1)->setText(QStringLiteral("3"));
    window.EdgeTable()->item(2, 4)->setText(QStringLiteral("0"));
    window.AddEdge();
    window.EdgeTable()->item(3, 1)->setText(QStringLiteral("4"));
    window.EdgeTable()->item(3, 5)->setText(QStringLiteral("0"));
    QVERIFY2(window.Status().endsWith(QStringLiteral("11 supports, 11 nodal loads")),
             qPrintable(window.Status()));
    auto* view = window.findChild<MeshView*>();
    const QImage marked = view->grab().toImage();
    // Inside each triangle, a few pixels under its tip.
    const auto inside = [&](QPointF tip) {
        int found = 0;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = 6; dy <= 8; ++dy)
                found += green(marked.pixelColor((tip + QPointF(dx, dy)).toPoint())) ? 1 : 0;
        }
        return found;
    };
    QCOMPARE(inside(view->Map(QPointF(8, 0))), 9);  // the foot's corner 2, fixed
    QCOMPARE(inside(view->Map(QPointF(2, 10))), 0); // the crest's roller
}

QTEST_MAIN(TestGraltWindow)
#include "tst_graltwindow.moc"
