#include "FakeShapeHost.h"
#include "SectionError.h"
#include "TCurrentPoint.h"
#include "TFourAngle.h"
#include "TGuide.h"
#include "TNearestPoint.h"
#include "TSector.h"
#include "TTriAngle.h"

#include <QImage>
#include <QTest>

class TestShapes : public QObject {
    Q_OBJECT

private slots:
    void nodeRounding_data();
    void nodeRounding();
    void pixelWorldRoundTrip();
    void addPointCompletesAndCloses();
    void addPointRefusedWhileNotDrawing();
    void destructionLowersRefCounts();
    void hitTests_data();
    void hitTests();
    void drawStyles();
    void drawOnRestoresPrintingAfterFailure();
    void guidesAndMarkers();
};

// Places a shape's corners at the given pixels.
template <typename Shape>
std::unique_ptr<Shape> MakeShape(FakeShapeHost& host, const QList<QPoint>& pixels) {
    auto shape = std::make_unique<Shape>(host);
    for (const QPoint& p : pixels)
        shape->AddPoint(p.x(), p.y());
    return shape;
}

void TestShapes::nodeRounding_data() {
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<double>("realY");
    QTest::addColumn<double>("realZ");
    // Origin (100, 200) throughout.
    QTest::newRow("half scale") << 0.5 << QPoint(103, 198) << 1.5 << 1.0;
    QTest::newRow("four decimals") << 0.123456 << QPoint(101, 200) << 0.1235 << 0.0;
    // 2^-5 per pixel: 312.5 and 937.5 ten-thousandths are exact ties, which go to even.
    QTest::newRow("tie to even down") << 0.03125 << QPoint(101, 200) << 0.0312 << 0.0;
    QTest::newRow("tie to even up") << 0.03125 << QPoint(103, 200) << 0.0938 << 0.0;
    // 0.00005 is a little more than its decimal text in binary, so it is not a tie.
    QTest::newRow("near tie") << 0.00005 << QPoint(101, 200) << 0.0001 << 0.0;
    QTest::newRow("negative") << 0.5 << QPoint(97, 203) << -1.5 << -1.5;
}

void TestShapes::nodeRounding() {
    QFETCH(double, scale);
    QFETCH(QPoint, pixel);
    QFETCH(double, realY);
    QFETCH(double, realZ);
    const ViewValues view{100, 200, scale};
    const TNode node(view, pixel);
    QCOMPARE(node.RealY, realY);
    QCOMPARE(node.RealZ, realZ);
}

void TestShapes::pixelWorldRoundTrip() {
    const ViewValues view{100, 200, 0.5};
    TNode node(view, 1.5, 1.0);
    QCOMPARE(node.Pixel(), QPoint(103, 198));
    // World values keep four decimals whatever was asked for.
    node.SetReal(0.03125, -7.00006);
    QCOMPARE(node.RealY, 0.0312);
    QCOMPARE(node.RealZ, -7.0001);
    // Absurd coordinates must not overflow the pixel.
    node.SetReal(1e300, -1e300);
    QCOMPARE(node.PixelX, (1 << 30) + 100);
    QCOMPARE(node.PixelY, (1 << 30) + 200);
}

void TestShapes::addPointCompletesAndCloses() {
    FakeShapeHost host;
    auto triangle = MakeShape<TTriAngle>(host, {{0, 0}, {10, 0}, {0, 10}});
    QVERIFY(triangle->IsComplete());
    QCOMPARE(triangle->GetPoint(3), triangle->GetPoint(0));
    // Each placed point shows a cross; completing the shape marks them all again (removing).
    QCOMPARE(host.crosses.size(), 6);
    QVERIFY_THROWS_EXCEPTION(SectionError, triangle->AddPoint(5, 5));

    auto quad = MakeShape<TFourAngle>(host, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    QCOMPARE(quad->GetPoint(4), quad->GetPoint(0));
    QCOMPARE(quad->Caption, QStringLiteral("Quadrangle"));
    QCOMPARE(int(quad->Kind), 1);

    // A snapped point is marked at the snap target, not at the release position.
    host.snapTarget = QPoint(50, 50);
    host.FindNearestPoint(52, 51);
    TSector sector(host);
    sector.AddPoint(52, 51);
    QCOMPARE(host.crosses.last(), QPoint(50, 50));
}

void TestShapes::addPointRefusedWhileNotDrawing() {
    FakeShapeHost host;
    host.editMode = 2;
    TTriAngle triangle(host);
    triangle.AddPoint(1, 1);
    QCOMPARE(triangle.PointCount, 0);
    QVERIFY(host.nodes.empty());
}

void TestShapes::destructionLowersRefCounts() {
    FakeShapeHost host;
    auto triangle = MakeShape<TTriAngle>(host, {{0, 0}, {10, 0}, {0, 10}});
    auto second = std::make_unique<TTriAngle>(host);
    for (int i = 0; i < 3; ++i) {
        second->SetPoint(i, host.nodes[static_cast<std::size_t>(i)].get());
        ++host.nodes[static_cast<std::size_t>(i)]->RefCount;
    }
    second->PointCount = 3;
    second->SetPoint(3, second->GetPoint(0));
    triangle.reset();
    for (const auto& node : host.nodes)
        QCOMPARE(node->RefCount, 1); // the closing copy is not counted twice
    second.reset();
    for (const auto& node : host.nodes)
        QCOMPARE(node->RefCount, 0);

    // A shape abandoned after one point releases just that one.
    auto partial = MakeShape<TFourAngle>(host, {{5, 5}});
    partial.reset();
    QCOMPARE(host.nodes.back()->RefCount, 0);
}

void TestShapes::hitTests_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<QPoint>>("corners");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<bool>("inside");

    const QList<QPoint> triangle{{0, 0}, {20, 0}, {0, 20}};
    QTest::newRow("triangle inside") << "T" << triangle << QPoint(5, 5) << true;
    QTest::newRow("triangle on edge") << "T" << triangle << QPoint(10, 0) << false;
    QTest::newRow("triangle outside") << "T" << triangle << QPoint(15, 15) << false;
    QTest::newRow("triangle clockwise")
        << "T" << QList<QPoint>{{0, 0}, {0, 20}, {20, 0}} << QPoint(5, 5) << true;
    QTest::newRow("degenerate triangle")
        << "T" << QList<QPoint>{{0, 0}, {10, 0}, {20, 0}} << QPoint(5, 0) << false;

    // A dart whose diagonal from corner 1 to corner 3 lies outside: the union of the two
    // triangles on that diagonal is tested, including the part outside the outline.
    const QList<QPoint> dart{{0, 0}, {20, 10}, {40, 0}, {20, 40}};
    QTest::newRow("dart triangle part outside outline") << "Q" << dart << QPoint(20, 5) << true;
    QTest::newRow("dart far outside") << "Q" << dart << QPoint(20, -5) << false;
    QTest::newRow("quad inside") << "Q" << QList<QPoint>{{0, 0}, {20, 0}, {20, 20}, {0, 20}}
                                 << QPoint(15, 5) << true;

    // Screen y grows downwards: a point above the centre has the smaller pixel y.
    const QList<QPoint> quarter{{100, 100}, {120, 100}, {100, 80}}; // right to up
    QTest::newRow("quarter inside") << "S" << quarter << QPoint(110, 92) << true;
    QTest::newRow("quarter other quadrant") << "S" << quarter << QPoint(90, 92) << false;
    QTest::newRow("quarter on arc") << "S" << quarter << QPoint(100, 80) << true;
    QTest::newRow("quarter beyond radius") << "S" << quarter << QPoint(116, 86) << false;
    // Exact radius, not the drawn integer one: R = sqrt(2*7.5^2) ~ 10.6.
    QTest::newRow("exact radius inside")
        << "S" << QList<QPoint>{{0, 0}, {7, -8}, {-8, -7}} << QPoint(0, -10) << true;
    // From left-up to left-down: the range crosses 180 degrees.
    const QList<QPoint> left{{100, 100}, {90, 90}, {90, 110}};
    QTest::newRow("across 180 inside") << "S" << left << QPoint(92, 100) << true;
    QTest::newRow("across 180 right side") << "S" << left << QPoint(108, 100) << false;
}

void TestShapes::hitTests() {
    QFETCH(QString, kind);
    QFETCH(QList<QPoint>, corners);
    QFETCH(QPoint, probe);
    QFETCH(bool, inside);
    FakeShapeHost host;
    std::unique_ptr<TMasterShape> shape;
    if (kind == "T")
        shape = MakeShape<TTriAngle>(host, corners);
    else if (kind == "Q")
        shape = MakeShape<TFourAngle>(host, corners);
    else
        shape = MakeShape<TSector>(host, corners);
    QCOMPARE(shape->Contains(probe.x(), probe.y()), inside);
}

void TestShapes::drawStyles() {
    FakeShapeHost host;
    host.background = QColor(200, 200, 200);
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        auto filled = MakeShape<TFourAngle>(host, {{10, 10}, {50, 10}, {50, 50}, {10, 50}});
        filled->Draw(painter);
        host.filled = false;
        auto hole = MakeShape<TTriAngle>(host, {{60, 60}, {90, 60}, {60, 90}});
        hole->Draw(painter);
    }
    // The material is hatched over the background colour: no red shows through, and both
    // hatch lines and background appear.
    bool black = false;
    bool grey = false;
    for (int y = 15; y < 45; ++y)
        for (int x = 15; x < 45; ++x) {
            const QRgb pixel = image.pixel(x, y);
            QVERIFY(pixel != QColor(Qt::red).rgb());
            black |= pixel == QColor(Qt::black).rgb();
            grey |= pixel == host.background.rgb();
        }
    QVERIFY(black && grey);
    QCOMPARE(image.pixelColor(65, 65), host.background);
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::red));
}

class FailingShape : public TTriAngle {
public:
    using TTriAngle::TTriAngle;
    void Draw(QPainter&) override { throw SectionError("draw failed"); }
};

void TestShapes::drawOnRestoresPrintingAfterFailure() {
    FakeShapeHost host;
    FailingShape shape(host);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QVERIFY_THROWS_EXCEPTION(SectionError, shape.DrawOn(painter));
    QVERIFY(!shape.Printing);
}

void TestShapes::guidesAndMarkers() {
    FakeShapeHost host;
    TGuide guide(host);
    QCOMPARE(guide.PointCount, 1);
    guide.Kind = TGuide::Vertical;
    TRegisteredNode node(host.view, QPoint(42, 0));
    guide.SetPoint(0, &node);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    guide.Draw(painter);
    QCOMPARE(host.guideLines.size(), 1);
    QCOMPARE(host.guideLines.first().x1(), 42);
    QVERIFY(!guide.Contains(42, 5));
    guide.SetPoint(0, nullptr); // the node is a local; keep the guide off it

    TNearestPoint nearest(host);
    host.snapTarget = QPoint(20, 20);
    nearest.Track(22, 23);
    QVERIFY(nearest.Visible);
    QCOMPARE(QPoint(nearest.X, nearest.Y), QPoint(20, 20));
    nearest.Track(80, 80);
    QVERIFY(!nearest.Visible);

    TCurrentPoint current(host);
    current.Track(7, 9);
    QVERIFY(current.Visible);
    QCOMPARE(current.Colour(), QColor(60, 60, 255));
    QCOMPARE(nearest.Colour(), QColor(0, 128, 0));
}

QTEST_MAIN(TestShapes)
#include "tst_shapes.moc"
