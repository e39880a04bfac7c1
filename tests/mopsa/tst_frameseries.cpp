#include "DataChecker.h"
#include "DataFileText.h"
#include "FormatCatalogue.h"
#include "FrameSeries.h"

#include <QFile>
#include <QTest>

namespace {

QByteArray ReadTestFile(const QString& name) {
    QFile file(QStringLiteral(QV_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(name));
    return file.readAll();
}

DataFormat Format(int problem) {
    return *FormatCatalogue::For(problem, false);
}

// The beam of the test data with its lines 19 to 25 (tables 4 and 5) replaced.
QByteArray BeamWith(const QStringList& nodes, const QStringList& elements) {
    QStringList lines = DataFileText::FromBytes(ReadTestFile(QStringLiteral("beam.d55"))).Lines();
    QStringList result = lines.mid(0, 18);
    result << nodes << lines[21] << lines[22] << elements << lines.mid(25);
    return (result.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

} // namespace

class TestFrameSeries : public QObject {
    Q_OBJECT

private slots:
    void expandsTheBeamAndKeepsEveryOtherLine();
    void stepsOfNumbersAndNodes();
    void faultLeavesTheTextUntouched_data();
    void faultLeavesTheTextUntouched();
    void textKeepsBytesAndLineEnds();
    void replaceItemsKeepsHeadingsInFront();
};

void TestFrameSeries::expandsTheBeamAndKeepsEveryOtherLine() {
    const QByteArray original = ReadTestFile(QStringLiteral("beam.d55"));
    DataFileText text = DataFileText::FromBytes(original);
    const FrameSeries::Outcome outcome = FrameSeries::Expand(text, Format(5));
    QVERIFY2(outcome.Ok, qPrintable(outcome.Fault.Message));
    QCOMPARE(outcome.NewNodes, 3);
    QCOMPARE(outcome.NewElements, 3);

    const QStringList lines = text.Lines();
    QCOMPARE(lines.mid(17, 6), (QStringList{QStringLiteral("   No     x      z"),
                                            QStringLiteral("#  1    0.0    0.0"),
                                            QStringLiteral("#  2           3          0"),
                                            QStringLiteral("#  3           6          0"),
                                            QStringLiteral("#  4           9          0"),
                                            QStringLiteral("#  5   12.0    0.0   ; right end")}));
    QCOMPARE(lines.mid(25, 4),
             (QStringList{QStringLiteral("#  1    1   2     1        1        0"),
                          QStringLiteral("#  2      2     3     1     1     0"),
                          QStringLiteral("#  3      3     4     1     1     0"),
                          QStringLiteral("#  4      4     5     1     1     0")}));
    QCOMPARE(lines[6], QStringLiteral("#  5  Nodes        = 5"));
    QCOMPARE(lines[7], QStringLiteral("#  6  Elements     = 4 ; generated"));
    QCOMPARE(lines.last(), QStringLiteral("Notes after the end mark stay."));

    const DataChecker::Result checked = DataChecker::Check(lines, Format(5));
    QVERIFY2(checked.Ok, qPrintable(checked.Fault.Message));
    // Lines the expansion did not touch keep their bytes.
    QVERIFY(text.ToBytes().startsWith(original.left(original.indexOf("#  5  Nodes"))));
    QVERIFY(text.ToBytes().endsWith(original.mid(original.indexOf("*6 Supports"))));
}

void TestFrameSeries::stepsOfNumbersAndNodes() {
    // Odd nodes along the bottom chord by a series of step 2, the even ones along the top.
    DataFileText text = DataFileText::FromBytes(BeamWith(
        {QStringLiteral("#  1  0 0"), QStringLiteral("#  2  1 1"), QStringLiteral("#  7  6 0"),
         QStringLiteral("#N 1 7 2"), QStringLiteral("#  8  7 1"), QStringLiteral("#n 2 8 2")},
        {QStringLiteral("#  1  1 3 1 1 0"), QStringLiteral("#E 1 2 2 2"),
         QStringLiteral("#  2  2 4 1 1 0 ; top"), QStringLiteral("#e 2 2 2 2")}));
    const FrameSeries::Outcome outcome = FrameSeries::Expand(text, Format(5));
    QVERIFY2(outcome.Ok, qPrintable(outcome.Fault.Message));
    const QStringList lines = text.Lines();
    QCOMPARE(lines.mid(20, 3), (QStringList{QStringLiteral("#  3           2          0"),
                                            QStringLiteral("#  4           3          1"),
                                            QStringLiteral("#  5           4          0")}));
    const int elements = text.Table(5).Header + 2;
    QCOMPARE(
        lines.mid(elements, 6),
        (QStringList{QStringLiteral("#  1  1 3 1 1 0"), QStringLiteral("#  2  2 4 1 1 0 ; top"),
                     QStringLiteral("#  3      3     5     1     1     0"),
                     QStringLiteral("#  4      4     6     1     1     0"),
                     QStringLiteral("#  5      5     7     1     1     0"),
                     QStringLiteral("#  6      6     8     1     1     0")}));
    QCOMPARE(lines[6], QStringLiteral("#  5  Nodes        = 8"));
}

void TestFrameSeries::faultLeavesTheTextUntouched_data() {
    QTest::addColumn<QStringList>("nodes");
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    const QStringList ends{QStringLiteral("#  1  0 0"), QStringLiteral("#  5  4 0")};
    const QStringList element{QStringLiteral("#  1  1 2 1 1 0")};
    QTest::newRow("end node missing") << QStringList{ends[0], QStringLiteral("#N 1 6 1")} << element
                                      << 20 << "node 6 is not given";
    QTest::newRow("step does not divide")
        << QStringList{ends[0], ends[1], QStringLiteral("#N 1 5 3")} << element << 21
        << "multiple of the step";
    QTest::newRow("nothing between")
        << QStringList{ends[0], ends[1], QStringLiteral("#N 1 5 4")} << element << 21 << "no node";
    QTest::newRow("node given twice")
        << QStringList{ends[0], QStringLiteral("#  3  2 0"), ends[1], QStringLiteral("#N 1 5 1")}
        << element << 22 << "which line 20 already gives";
    QTest::newRow("gap left") << QStringList{ends[0], ends[1], QStringLiteral("#N 1 5 2")}
                              << element << 17 << "node 2 is missing";
    QTest::newRow("huge series") << QStringList{ends[0], QStringLiteral("#  2000000  1 0"),
                                                QStringLiteral("#N 1 2000000 1")}
                                 << element << 21 << "more than 1000000";
    QTest::newRow("element series in table 4")
        << QStringList{ends[0], ends[1], QStringLiteral("#E 1 3")} << element << 21
        << "table 4 takes node series";
    QTest::newRow("base element missing")
        << ends << QStringList{element[0], QStringLiteral("#E 2 3")} << 24
        << "element 2 is not given";
    QTest::newRow("node below 1") << ends << QStringList{element[0], QStringLiteral("#E 1 2 1 -1")}
                                  << 24 << "would name node 0";
    // Refused before a million copies are made, with the check's own words for the first.
    QTest::newRow("copies beyond the nodes")
        << ends << QStringList{element[0], QStringLiteral("#E 1 999999")} << 24
        << "item 5 that this series makes: node j is 6, but the nodes go only up to 5";
    QTest::newRow("not a whole number")
        << ends << QStringList{element[0], QStringLiteral("#E 1 2.5")} << 24
        << "\"2.5\" is not a whole number";
    QTest::newRow("elements overlap")
        << ends
        << QStringList{element[0], QStringLiteral("#  2  2 3 1 1 0"), QStringLiteral("#E 1 2")}
        << 25 << "makes element 2, which line 24 already gives";
}

void TestFrameSeries::faultLeavesTheTextUntouched() {
    QFETCH(QStringList, nodes);
    QFETCH(QStringList, elements);
    QFETCH(int, line);
    QFETCH(QString, message);
    const QByteArray bytes = BeamWith(nodes, elements);
    DataFileText text = DataFileText::FromBytes(bytes);
    const FrameSeries::Outcome outcome = FrameSeries::Expand(text, Format(5));
    QVERIFY(!outcome.Ok);
    QVERIFY2(outcome.Fault.Message.contains(message), qPrintable(outcome.Fault.Message));
    QCOMPARE(outcome.Fault.Line, line);
    QCOMPARE(text.ToBytes(), bytes);
}

void TestFrameSeries::textKeepsBytesAndLineEnds() {
    // A byte order mark, mixed line ends, a Cyrillic title, the undefined byte 0x98 and no
    // final line end all come back as they were.
    const QByteArray bytes(
        "\xEF\xBB\xBF\xCC\xEE\xF1\xF2 \x98\r\n*1\n#  5  Nodes = 3\r#  6  E =\r\n&");
    DataFileText text = DataFileText::FromBytes(bytes);
    QCOMPARE(text.LineCount(), 5);
    QCOMPARE(text.Line(0).left(4), QStringLiteral("Мост"));
    QCOMPARE(text.ToBytes(), bytes);
    QVERIFY(text.SetGeneralValue(5, QStringLiteral("3"))); // unchanged value: same bytes
    QCOMPARE(text.ToBytes(), bytes);
    QVERIFY(text.SetGeneralValue(5, QStringLiteral("12")));
    QVERIFY(text.SetGeneralValue(6, QStringLiteral("7")));
    QVERIFY(!text.SetGeneralValue(8, QStringLiteral("1")));
    QCOMPARE(
        text.ToBytes(),
        QByteArray("\xEF\xBB\xBF\xCC\xEE\xF1\xF2 \x98\r\n*1\n#  5  Nodes = 12\r#  6  E = 7\r\n&"));
}

void TestFrameSeries::replaceItemsKeepsHeadingsInFront() {
    DataFileText text = DataFileText::FromBytes(
        "*1\n*4 Nodes\n  x z\n#  1  0 0\n; middle\n#  2  1 0\n\n*5\n*6 Empty\n  heading\n*7\n&\n");
    text.ReplaceItems(text.Table(4), {QStringLiteral("#  1  a")});
    text.ReplaceItems(text.Table(6), {QStringLiteral("#  1  b")});
    QCOMPARE(text.Lines(), (QStringList{"*1", "*4 Nodes", "  x z", "#  1  a", "; middle", "", "*5",
                                        "*6 Empty", "  heading", "#  1  b", "*7", "&"}));
    QCOMPARE(text.Table(9).Found(), false);
    QCOMPARE(text.Table(7).End, 11);
}

QTEST_GUILESS_MAIN(TestFrameSeries)
#include "tst_frameseries.moc"
