#include "ModelBytes.h"
#include "ModelPreview.h"

#include <QTest>
#include <QtEndian>

class TestModelPreview : public QObject {
    Q_OBJECT

private slots:
    void whichFilesArePreviewed_data();
    void whichFilesArePreviewed();
    void readsRecords();
    void plainFrameIsCentredAndUpright();
    void flatTrussFallsBackToObliqueView();
    void nothingToDraw();
};

void TestModelPreview::whichFilesArePreviewed_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("previewed");
    QTest::newRow("plane frame") << "/data/frame.d01" << true;
    QTest::newRow("not yet accepted") << "/data/frame.d51" << false;
    QTest::newRow("shaft line") << "x.d12" << false;
    QTest::newRow("mathematics") << "x.d21" << false;
    QTest::newRow("last mathematics") << "x.p27" << false;
    QTest::newRow("solid") << "x.d17" << true;
    QTest::newRow("no number") << "x.dat" << false;
    QTest::newRow("nothing selected") << "" << false;
}

void TestModelPreview::whichFilesArePreviewed() {
    QFETCH(QString, file);
    QFETCH(bool, previewed);
    QCOMPARE(ModelPreview::IsPreviewed(ModelPreview::ProblemNumber(file)), previewed);
}

void TestModelPreview::readsRecords() {
    QByteArray xyz = Xyz({{1.5f, -2.0f, 3.25f}, {0, 0, 0}});
    xyz.append("\x01\x02\x03", 3); // a partial record is not read
    const ModelPreview::Model model = ModelPreview::Read(xyz, J1j2({{1, 2}, {65535, 1}}) + "\x01");
    QCOMPARE(model.Nodes.size(), std::size_t(2));
    QCOMPARE(model.Nodes[0][2], 3.25f);
    QCOMPARE(model.Elements.size(), std::size_t(2));
    QCOMPARE(model.Elements[1][0], quint16(65535));

    // "MARKS": kind and case, then At, To and the direction; an unknown kind is left out.
    QByteArray marks(80, '\0');
    qToLittleEndian<quint16>(1, marks.data());
    qToLittleEndian<float>(6.0f, marks.data() + 4);
    qToLittleEndian<float>(1.0f, marks.data() + 36);
    qToLittleEndian<quint16>(99, marks.data() + 40);
    const ModelPreview::Model sprung =
        ModelPreview::Read(Xyz({{0, 0, 0}, {6, 0, 0}}), J1j2({{1, 2}}), marks + "\x01");
    QCOMPARE(sprung.Marks.size(), std::size_t(1));
    QCOMPARE(sprung.Marks[0].Type, ModelPreview::Mark::Kind::Spring);
    QCOMPARE(sprung.Marks[0].At[0], 6.0f);
    QCOMPARE(sprung.Marks[0].Direction[2], 1.0f);
    // The spring is drawn beside the frame's line at node 2, in the supports' colour.
    const ModelPreview::Picture picture = ModelPreview::Draw(sprung, 1, QRect(0, 0, 100, 100));
    QCOMPARE(picture.Lines.size(), 1);
    QVERIFY(!picture.Supports.isEmpty());
}

void TestModelPreview::plainFrameIsCentredAndUpright() {
    // A portal 4 wide and 2 high in a 200 x 100 frame at (10, 10): scale 50, no room left.
    const auto model = ModelPreview::Read(Xyz({{0, 0, 0}, {0, 0, 2}, {4, 0, 2}, {4, 0, 0}}),
                                          J1j2({{1, 2}, {2, 3}, {3, 4}, {0, 1}, {4, 5}}));
    const QVector<QLine> lines = ModelPreview::Lines(model, 1, QRect(10, 10, 200, 100));
    QCOMPARE(lines.size(), 3); // elements naming node 0 or a node past the end are skipped
    QCOMPARE(lines[0], QLine(10, 110, 10, 10));
    QCOMPARE(lines[1], QLine(10, 10, 210, 10));
    // A narrower frame centres the model horizontally; halves go to the even pixel.
    const QVector<QLine> centred = ModelPreview::Lines(model, 1, QRect(0, 0, 301, 100));
    QCOMPARE(centred[0].p1(), QPoint(50, 100)); // (0 + 301 - 200) / 2 = 50.5
}

void TestModelPreview::flatTrussFallsBackToObliqueView() {
    // A plane truss in the x-y plane has no height in the front view.
    const auto model =
        ModelPreview::Read(Xyz({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}), J1j2({{1, 2}, {2, 3}, {3, 1}}));
    const QVector<QLine> lines = ModelPreview::Lines(model, 3, QRect(0, 0, 100, 100));
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].y1() != lines[0].y2() || lines[1].y1() != lines[1].y2());
    // The same nodes in a space type are drawn obliquely straight away: same picture.
    QCOMPARE(ModelPreview::Lines(model, 4, QRect(0, 0, 100, 100)), lines);
}

void TestModelPreview::nothingToDraw() {
    const QRect frame(0, 0, 100, 100);
    QVERIFY(ModelPreview::Lines(ModelPreview::Read({}, {}), 1, frame).isEmpty());
    const auto oneNode = ModelPreview::Read(Xyz({{1, 1, 1}}), J1j2({{1, 1}}));
    QVERIFY(ModelPreview::Lines(oneNode, 1, frame).isEmpty());
    const auto line = ModelPreview::Read(Xyz({{0, 0, 0}, {0, 0, 0}}), J1j2({{1, 2}}));
    QVERIFY(ModelPreview::Lines(line, 4, frame).isEmpty());
}

QTEST_APPLESS_MAIN(TestModelPreview)
#include "tst_modelpreview.moc"
