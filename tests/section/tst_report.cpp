#include "SectionError.h"
#include "SectionReport.h"

#include <QTest>

Q_DECLARE_METATYPE(ShapeGeometry)

namespace {

ShapeGeometry Shape(int kind, bool filled, std::initializer_list<std::pair<double, double>> pts) {
    ShapeGeometry g;
    g.Kind = kind;
    g.Filled = filled;
    std::size_t i = 0;
    for (const auto& [y, z] : pts)
        g.Points[i++] = {y, z};
    if (i == 3)
        g.Points[3] = g.Points[0]; // the closing copy of triangles and sectors
    return g;
}

const ShapeGeometry Rectangle = Shape(1, true, {{0, 0}, {3, 0}, {3, 2}, {0, 2}});

bool Near(double a, double b) {
    return std::abs(a - b) < 1e-9 * std::max(1.0, std::abs(b));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void rectangleLines();
    void orientationDoesNotMatter_data();
    void orientationDoesNotMatter();
    void blankShapeAlone();
    void sectorialLinesWithoutWallElements();
    void failuresClearTheReport();
    void selfIntersectingQuadrangleRefused();
};

void TestReport::rectangleLines() {
    SectionReport report;
    QVERIFY(report.Recalc(Rectangle, 0, 'G', "cm", u'.'));
    const QStringList expected{"Dimension: cm",          "Yc=       1.5000", "Zc=       1.0000",
                               " F=   6.000E+000",       "I1=   4.500E+000", "I2=   2.000E+000",
                               "Alpha=     -90.0000 deg"};
    QCOMPARE(report.Lines(), expected);

    // The regional separator reaches every number; an unexpected mode acts as geometric.
    QVERIFY(report.Recalc(Rectangle, 0, 'x', "m", u','));
    QCOMPARE(report.Lines().at(1), QStringLiteral("Yc=       1,5000"));
    QCOMPARE(report.Lines().at(3), QStringLiteral(" F=   6,000E+000"));
    QCOMPARE(report.Lines().size(), 7);
}

void TestReport::orientationDoesNotMatter_data() {
    QTest::addColumn<ShapeGeometry>("ccw");
    QTest::addColumn<ShapeGeometry>("cw");
    QTest::newRow("triangle") << Shape(2, true, {{0, 0}, {3, 0}, {0, 3}})
                              << Shape(2, true, {{0, 0}, {0, 3}, {3, 0}});
    QTest::newRow("rectangle") << Rectangle << Shape(1, true, {{0, 2}, {3, 2}, {3, 0}, {0, 0}});
    // A dart with its reflex corner at the third point: looking at corners 2, 3, 4 alone
    // would turn the clockwise drawing the wrong way.
    QTest::newRow("dart") << Shape(1, true, {{0, 0}, {4, 0}, {1, 1}, {0, 4}})
                          << Shape(1, true, {{0, 4}, {1, 1}, {4, 0}, {0, 0}});
}

void TestReport::orientationDoesNotMatter() {
    QFETCH(ShapeGeometry, ccw);
    QFETCH(ShapeGeometry, cw);
    SectionReport a;
    SectionReport b;
    QVERIFY(a.Recalc(ccw, 0, 'G', "m", u'.'));
    QVERIFY(b.Recalc(cw, 0, 'G', "m", u'.'));
    QVERIFY(a.Values().F > 0);
    QVERIFY(Near(a.Values().F, b.Values().F));
    QVERIFY(Near(a.Values().Yc, b.Values().Yc));
    QVERIFY(Near(a.Values().Zc, b.Values().Zc));
    QVERIFY(Near(a.Values().I1, b.Values().I1));
    QVERIFY(Near(a.Values().I2, b.Values().I2));
    QCOMPARE(a.Lines(), b.Lines());
}

void TestReport::blankShapeAlone() {
    SectionReport report;
    ShapeGeometry hole = Rectangle;
    hole.Filled = false;
    QVERIFY(report.Recalc(hole, 0, 'G', "m", u'.'));
    QVERIFY(Near(report.Values().F, -6));
    QVERIFY(Near(report.Values().I1, -2));
    QVERIFY(Near(report.Values().I2, -4.5));
    QVERIFY(Near(report.Values().Yc, 1.5));
    QVERIFY(Near(report.Values().Zc, 1.0));
}

void TestReport::sectorialLinesWithoutWallElements() {
    SectionReport report;
    QVERIFY(report.Recalc(Shape(2, true, {{0, 0}, {3, 0}, {0, 3}}), 0, 'S', "mm", u'.'));
    QCOMPARE(report.Lines().size(), 10);
    QCOMPARE(report.Lines().at(7), QStringLiteral("Yo=       0.0000"));
    QCOMPARE(report.Lines().at(9), QStringLiteral("Jw=   0.000E+000"));
}

void TestReport::failuresClearTheReport() {
    SectionReport report;
    QVERIFY(report.Recalc(Rectangle, 0, 'G', "m", u'.'));
    const SectionResults before = report.Values();

    // Coinciding base corners divide by zero.
    const ShapeGeometry degenerate = Shape(2, true, {{1, 1}, {1, 1}, {2, 5}});
    QVERIFY(!report.Recalc(degenerate, 0, 'G', "m", u'.'));
    QVERIFY(report.Lines().isEmpty());
    QVERIFY(!report.LastError().isEmpty());
    QCOMPARE(report.Values().F, before.F);

    // The next successful call writes a fresh report.
    QVERIFY(report.Recalc(Rectangle, 0, 'G', "m", u'.'));
    QCOMPARE(report.Lines().size(), 7);
    QVERIFY(report.LastError().isEmpty());

    // A failing axes painter (a Max Width that is no number) empties the panel too, and the
    // sectorial lines after it are not written.
    const auto failingAxes = [](int) {
        throw SectionError("'x' is not a valid floating point value");
    };
    QVERIFY(!report.Recalc(Rectangle, 0, 'S', "m", u'.', failingAxes));
    QVERIFY(report.Lines().isEmpty());

    // The axes are asked for with the shape's index.
    int axesIndex = -1;
    QVERIFY(report.Recalc(Rectangle, 4, 'G', "m", u'.', [&](int index) { axesIndex = index; }));
    QCOMPARE(axesIndex, 4);
}

void TestReport::selfIntersectingQuadrangleRefused() {
    SectionReport report;
    const ShapeGeometry bowTie = Shape(1, true, {{0, 0}, {2, 2}, {2, 0}, {0, 2}});
    QVERIFY(!report.Recalc(bowTie, 0, 'G', "m", u'.'));
    QVERIFY(report.Lines().isEmpty());
    QVERIFY(report.LastError().contains("cross"));
}

QTEST_APPLESS_MAIN(TestReport)
#include "tst_report.moc"
