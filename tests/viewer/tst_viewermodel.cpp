#include "DataChecker.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ModelPainter.h"
#include "ProgramRun.h"
#include "ViewCamera.h"
#include "ViewerLaunch.h"
#include "ViewerModel.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

ViewerModel Load(const QString& path, int problem) {
    const DataFormat format = *FormatCatalogue::For(problem, false);
    const DataChecker::Result checked = DataChecker::Check(InputText::Read(path).Lines, format);
    if (!checked.Ok)
        qFatal("test file rejected: %s", qPrintable(checked.Fault.Message));
    return ViewerModel::FromData(format, checked.Data);
}

QString Frame() {
    return QStringLiteral(QV_TEST_DATA "/frame.d05");
}

QString TolvikData(const QString& name) {
    return QStringLiteral(TOLVIK_TEST_DATA "/") + name;
}

bool Near(const QPointF& a, const QPointF& b) {
    return std::abs(a.x() - b.x()) < 1e-6 && std::abs(a.y() - b.y()) < 1e-6;
}

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 160;
    }
    return dark;
}

} // namespace

class TestViewerModel : public QObject {
    Q_OBJECT

private slots:
    void planeFrame();
    void solidsAndPlatesGiveEdgesOnceAndPressureAlongZ();
    void cameraFitsZoomsAndTurnsOnlySpaceModels();
    void painterDrawsElementsSupportsAndLoads();
    void pressuresPointAsTheirSignSays();
    void hugeLoadsAreDrawnToScale();
    void launchVerdicts_data();
    void launchVerdicts();
};

void TestViewerModel::planeFrame() {
    const ViewerModel model = Load(Frame(), 5);
    QVERIFY(!model.Space);
    QCOMPARE(model.Nodes.size(), size_t(9));
    QCOMPARE(model.Nodes[8], (ViewerModel::Point{12, 0, 7}));
    QCOMPARE(model.Edges.size(), size_t(10));
    QCOMPARE(model.LoadCases, 2);
    QCOMPARE(model.Supports.size(), size_t(3));
    QVERIFY(model.Supports[0].Fixed);
    QVERIFY(!model.Supports[1].Fixed);
    QCOMPARE(model.Supports[1].Codes, QStringLiteral("110"));
    QCOMPARE(model.Loads.size(), size_t(8));
    const ViewerModel::Load& corner = model.Loads[2]; // node 9: Fz -40, My 15
    QCOMPARE(corner.Force, (ViewerModel::Vector{0, 0, -40}));
    QCOMPARE(corner.Moment, (ViewerModel::Vector{0, 15, 0}));
    const ViewerModel::Load& beam = model.Loads[4]; // on element 7, from node 4 to node 5
    QVERIFY(beam.Distributed);
    QCOMPARE(beam.At, (ViewerModel::Point{3, 0, 3.5}));
}

void TestViewerModel::solidsAndPlatesGiveEdgesOnceAndPressureAlongZ() {
    // Two bricks on top of each other and a wedge: 12 + 12 - 4 shared + 9 - 4 shared edges.
    const ViewerModel block = Load(TolvikData(QStringLiteral("block.d67")), 17);
    QVERIFY(block.Space);
    QCOMPARE(block.Edges.size(), size_t(25));
    QCOMPARE(block.ElementCentres.size(), size_t(3));

    const ViewerModel plate = Load(QStringLiteral(QV_TEST_DATA "/slab.d63"), 13);
    QVERIFY(plate.Space);
    bool pressure = false;
    for (const ViewerModel::Load& load : plate.Loads) {
        if (load.Distributed) {
            pressure = true;
            QCOMPARE(load.Force[0], 0.0);
            QCOMPARE(load.Force[1], 0.0);
            QVERIFY(load.Force[2] < 0); // p = -5: downwards
        }
    }
    QVERIFY(pressure);
}

void TestViewerModel::cameraFitsZoomsAndTurnsOnlySpaceModels() {
    const std::vector<ViewerModel::Point> nodes{{0, 0, 0}, {10, 0, 5}};
    ViewCamera camera;
    camera.SetSpace(false);
    camera.Fit(nodes, QRectF(0, 0, 200, 200));
    QVERIFY(Near(camera.Project(nodes[0]), {0, 150}));
    QVERIFY(Near(camera.Project(nodes[1]), {200, 50}));
    camera.Rotate(30, 30);
    QCOMPARE(camera.Azimuth(), 0.0);

    // Zooming about a point keeps that point where it is.
    const QPointF anchor = camera.Project({10, 0, 5});
    camera.ZoomAt(2, anchor);
    QVERIFY(Near(camera.Project({10, 0, 5}), anchor));
    QVERIFY(Near(camera.Project({0, 0, 0}), {-200, 250}));
    camera.ZoomAt(1e9, anchor);
    QCOMPARE(camera.Zoom(), ViewCamera::MaxZoom);

    // A space model seen from straight above: x to the right, y up the screen; the elevation
    // stops at 90 degrees. The fit by the bounding sphere keeps every node in the frame.
    ViewCamera space;
    space.SetSpace(true);
    space.Rotate(-space.Azimuth(), 200);
    QCOMPARE(space.Elevation(), 90.0);
    const std::vector<ViewerModel::Point> box{{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 12}};
    space.Fit(box, QRectF(0, 0, 130, 130));
    const QPointF a = space.Project(box[0]), b = space.Project(box[2]);
    QVERIFY(b.x() > a.x() && b.y() < a.y());
    QCOMPARE(space.Towards({0, 0, 1}), 1.0);
    for (double turn = 0; turn < 360; turn += 45) {
        space.Rotate(45, -40);
        for (const ViewerModel::Point& p : box)
            QVERIFY(QRectF(-0.5, -0.5, 131, 131).contains(space.Project(p)));
    }
}

void TestViewerModel::painterDrawsElementsSupportsAndLoads() {
    const ViewerModel model = Load(Frame(), 5);
    ViewCamera camera;
    camera.Fit(model.Nodes, QRectF(40, 40, 320, 220));
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    ModelPainter::Options options;
    const ModelPainter::Report report =
        ModelPainter::Paint(painter, image.rect(), model, camera, options);
    QCOMPARE(report.LoadsDrawn, 7);
    // The middle column, from node 2 to node 8, is drawn; the green support under node 1.
    const QPoint column = camera.Project({6, 0, 5}).toPoint();
    QVERIFY(DarkPixels(image, QRect(column - QPoint(2, 2), QSize(5, 5))) > 0);
    const QPoint support = camera.Project({0, 0, 0}).toPoint() + QPoint(0, 9);
    QCOMPARE(QColor(image.pixel(support)).green() > 100 && QColor(image.pixel(support)).red() < 60,
             true);

    options.LoadCase = 2;
    QCOMPARE(ModelPainter::Paint(painter, image.rect(), model, camera, options).LoadsDrawn, 1);
    options.NodeNumbers = options.ElementNumbers = true;
    QVERIFY(!ModelPainter::Paint(painter, image.rect(), model, camera, options).LabelsLeftOut);
}

void TestViewerModel::pressuresPointAsTheirSignSays() {
    // The tank's pressure is positive outwards: down on the bottom plate (its meridian runs out
    // from the axis), out of the wall (up from the bottom).
    const ViewerModel tank = Load(QStringLiteral(QV_EXAMPLES "/tank.d02"), 2);
    QCOMPARE(tank.Loads.size(), size_t(20));
    for (const ViewerModel::Load& load : tank.Loads) {
        QVERIFY(load.Distributed);
        if (load.Element < 6) {
            QCOMPARE(load.Force[0], 0.0);
            QVERIFY(load.Force[2] < 0);
        } else {
            QVERIFY(load.Force[0] > 0);
            QCOMPARE(load.Force[2], 0.0);
        }
    }
    QCOMPARE(tank.Loads[0].Force[2], -60.0);
    QCOMPARE(tank.Loads[6].Force[0], 45.0);
    // A shell element's pressure along the normal n1 -> n2 -> n3 turns about: the barrel roof's
    // p = -2 presses it down.
    const ViewerModel barrel = Load(QStringLiteral(QV_EXAMPLES "/barrel.d14"), 14);
    QCOMPARE(barrel.Loads.size(), size_t(65));
    for (const ViewerModel::Load& load : barrel.Loads) {
        if (load.Distributed)
            QVERIFY(load.Force[2] < -1.5);
    }
}

void TestViewerModel::hugeLoadsAreDrawnToScale() {
    // A line load of 1e300 along x, which the checker accepts, is kept as it is and drawn as the
    // longest arrow of its case, pointing along x.
    ViewerModel model = Load(QStringLiteral(QV_TEST_DATA "/huge_load.d07"), 7);
    const auto huge = std::find_if(model.Loads.begin(), model.Loads.end(),
                                   [](const ViewerModel::Load& load) { return load.Element == 5; });
    QVERIFY(huge != model.Loads.end());
    QCOMPARE(huge->Force[0], 1e300);
    model.Loads = {*huge};
    ViewCamera camera;
    camera.SetSpace(false); // seen along y: x to the right
    camera.Fit(model.Nodes, QRectF(100, 100, 400, 200));
    QImage image(600, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    ModelPainter::Options options;
    options.Supports = false;
    QCOMPARE(ModelPainter::Paint(painter, image.rect(), model, camera, options).LoadsDrawn, 1);
    painter.end();
    // Element 6 runs from (6, 0, 3.5) to (6, 4, 3.5): seen along y, at one point, where the row
    // of arrows ends after 60 pixels from the left.
    const QPoint end = camera.Project({6, 0, 3.5}).toPoint();
    int red = 0;
    for (int x = end.x() - 55; x < end.x() - 5; ++x) {
        for (int y = end.y() - 3; y <= end.y() + 3; ++y)
            red += qRed(image.pixel(x, y)) > 150 && qGreen(image.pixel(x, y)) < 100;
    }
    QVERIFY(red > 40);
}

void TestViewerModel::launchVerdicts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QByteArray>("verdict");
    QTest::addColumn<bool>("window");
    QTest::newRow("model") << QStringList{"frame.d55", " E"} << "frame.d55" << QByteArray()
                           << QByteArray()
                           << QByteArray("OK - the model of plane frames is shown: "
                                         "9 nodes, 10 elements\r\n")
                           << true;
    QTest::newRow("results") << QStringList{"frame.d05 R"} << "frame.d05" << QByteArray()
                             << QByteArray()
                             << QByteArray("OK - no results can be shown; the "
                                           "model of plane frames is shown\r\n")
                             << true;
    QTest::newRow("fault") << QStringList{"frame.d05", "E"} << "frame.d05"
                           << QByteArray("#  1    1   4") << QByteArray("#  1    1  14")
                           << QByteArray("Line 31: node j is 14, but the nodes go only up to 9\r\n")
                           << false;
    QTest::newRow("no model") << QStringList{"shaft.d12"} << "shaft.d12" << QByteArray()
                              << QByteArray()
                              << QByteArray("Error: problem 12 has no model to show\r\n") << false;
    QTest::newRow("bad mode") << QStringList{"frame.d05", "X"} << "frame.d05" << QByteArray()
                              << QByteArray()
                              << QByteArray("Error: usage: viewer DATAFILE [E|R]\r\n") << false;
}

void TestViewerModel::launchVerdicts() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QByteArray, verdict);
    QFETCH(bool, window);
    QTemporaryDir directory;
    QByteArray bytes = ProgramRun::ReadFile(Frame());
    if (!from.isEmpty())
        bytes.replace(from, to);
    ProgramRun::WriteFile(directory.filePath(file), bytes);
    const ViewerLaunch::Outcome outcome = ViewerLaunch::Prepare(arguments, directory.path());
    QCOMPARE(ProgramRun::ReadFile(directory.filePath(QStringLiteral("Error.txt"))), verdict);
    QCOMPARE(outcome.ShowWindow, window);
    QCOMPARE(outcome.ExitCode == 0, window);
}

QTEST_MAIN(TestViewerModel)
#include "tst_viewermodel.moc"
