#include "CheckSupport.h"
#include "ModelExport.h"
#include "ModelMarks.h"

#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>
#include <array>
#include <cmath>
#include <cstring>

using namespace CheckSupport;

namespace {

using Lines = QList<QPair<int, int>>;

// The model files of a test file; a rejected file gives no files and the fault as the error.
ModelExport::Files Export(const QByteArray& text, const QString& fileName) {
    const Checked checked = Check(text, fileName);
    if (!checked.Result.Ok)
        return {false, QString::fromUtf8(Describe(checked.Result)), {}, {}, {}};
    return ModelExport::Build(checked.Format, checked.Result.Data);
}

Lines LinesOf(const QByteArray& j1j2) {
    Lines lines;
    const auto* bytes = reinterpret_cast<const uchar*>(j1j2.constData());
    for (qsizetype at = 0; at + 4 <= j1j2.size(); at += 4)
        lines.append({bytes[at] | bytes[at + 1] << 8, bytes[at + 2] | bytes[at + 3] << 8});
    return lines;
}

float Coordinate(const QByteArray& xyz, int node, int axis) {
    const auto* bytes =
        reinterpret_cast<const uchar*>(xyz.constData()) + 12 * (node - 1) + 4 * axis;
    const quint32 bits = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | quint32(bytes[3]) << 24;
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A plane truss of `nodes` nodes in a row along x (all z = 0), each joined to the next.
QByteArray ChainTruss(int nodes) {
    QByteArray text = "*1 General data\n#  1  Title = Chain\n#  2  Force unit = kN\n"
                      "#  3  Length unit = m\n#  4  Load cases = 1\n";
    text += "#  5  Nodes = " + QByteArray::number(nodes) +
            "\n#  6  Elements = " + QByteArray::number(nodes - 1) +
            "\n#  7  Materials = 1\n#  8  Sections = 1\n";
    text += "*2 Materials\n#  1  2.1E8 0.3 78.5 1.2E-5\n*3 Sections\n#  1  0.001\n*4 Nodes\n";
    for (int node = 1; node <= nodes; ++node)
        text += "#  " + QByteArray::number(node) + "  " + QByteArray::number(node) + " 0\n";
    text += "*5 Elements\n";
    for (int element = 1; element < nodes; ++element)
        text += "#  " + QByteArray::number(element) + "  " + QByteArray::number(element) + " " +
                QByteArray::number(element + 1) + " 1 1\n";
    return text + "*6 Supports\n#  1  1 1 1\n*7 Nodal loads\n&\n";
}

// One mark of the "MARKS" file: kind, case, then At, To and the direction.
struct MarkRecord {
    int Kind = 0, Case = 0;
    std::array<float, 9> Values{};
};

std::vector<MarkRecord> MarksOf(const QByteArray& bytes) {
    std::vector<MarkRecord> marks;
    const auto* at = reinterpret_cast<const uchar*>(bytes.constData());
    for (qsizetype offset = 0; offset + ModelMarks::RecordSize <= bytes.size();
         offset += ModelMarks::RecordSize) {
        MarkRecord mark;
        mark.Kind = qFromLittleEndian<quint16>(at + offset);
        mark.Case = qFromLittleEndian<quint16>(at + offset + 2);
        for (size_t k = 0; k < mark.Values.size(); ++k)
            mark.Values[k] = qFromLittleEndian<float>(at + offset + 4 + 4 * k);
        marks.push_back(mark);
    }
    return marks;
}

ParsedTable Items(int number, int width, std::vector<double> values) {
    ParsedTable table;
    table.Number = number;
    table.Width = width;
    table.Values = std::move(values);
    table.Lines.assign(table.Values.size() / static_cast<size_t>(width), 0);
    return table;
}

} // namespace

class TestModelExport : public QObject {
    Q_OBJECT

private slots:
    void smallFrameBytes();
    void flatPlaneTruss();
    void elementEdges_data();
    void elementEdges();
    void noGeometricModel();
    void nodeNumbersHaveSixteenBits_data();
    void nodeNumbersHaveSixteenBits();
    void largeModel();
    void marksOfOptionalTables();
};

// Little-endian singles x, y, z per node and 16-bit end nodes per bar, byte for byte. A plane
// frame lies in the x-z plane, so y is 0.
void TestModelExport::smallFrameBytes() {
    const ModelExport::Files files =
        Export(ReadBytes(TestData(QStringLiteral("frame.d55"))), QStringLiteral("frame.d55"));
    QVERIFY2(files.Ok, qPrintable(files.Error));
    QCOMPARE(files.Xyz, QByteArray::fromHex("000000000000000000000000"
                                            "000000000000000000008040"
                                            "0000c04000000000 00008040"
                                            "0000c0400000000000000000"));
    QCOMPARE(files.J1J2, QByteArray::fromHex("0100020002000300"
                                             "03000400"));
}

// A plane truss whose nodes all have z = 0 keeps z = 0 in the model; the preview has to cope
// with a model without height, so the exporter must not invent one.
void TestModelExport::flatPlaneTruss() {
    const ModelExport::Files files = Export(ChainTruss(3), QStringLiteral("flat.d03"));
    QVERIFY2(files.Ok, qPrintable(files.Error));
    QCOMPARE(files.Xyz.size(), 36);
    for (int node = 1; node <= 3; ++node) {
        QCOMPARE(Coordinate(files.Xyz, node, 0), float(node));
        QCOMPARE(Coordinate(files.Xyz, node, 1), 0.0f);
        QCOMPARE(Coordinate(files.Xyz, node, 2), 0.0f);
    }
    QCOMPARE(LinesOf(files.J1J2), (Lines{{1, 2}, {2, 3}}));
}

void TestModelExport::elementEdges_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("edges");
    QTest::addColumn<Lines>("first");
    // Two quadrilaterals sharing edge 2-5 and a triangle on edge 5-6.
    QTest::newRow("plane elements")
        << "panel.d59" << 9
        << Lines{{1, 2}, {2, 5}, {5, 4}, {4, 1}, {2, 3}, {3, 6}, {6, 5}, {6, 7}, {7, 5}};
    // Two bricks sharing a face (12 + 8) and a wedge sharing four edges with them (+ 5).
    QTest::newRow("solids") << "block.d67" << 25 << Lines{{1, 2}, {2, 3}, {3, 4}, {4, 1}};
    // Bars keep one line each, in file order.
    QTest::newRow("bars") << "shaft.d62" << 3 << Lines{{1, 2}, {2, 3}, {3, 4}};
}

void TestModelExport::elementEdges() {
    QFETCH(QString, file);
    QFETCH(int, edges);
    QFETCH(Lines, first);
    const ModelExport::Files files = Export(ReadBytes(TestData(file)), file);
    const Lines lines = LinesOf(files.J1J2);
    QCOMPARE(lines.size(), edges);
    QCOMPARE(lines.mid(0, first.size()), first);
}

void TestModelExport::noGeometricModel() {
    for (const QString& file : {QStringLiteral("three.d71"), QStringLiteral("notes.d68")}) {
        const ModelExport::Files files = Export(ReadBytes(TestData(file)), file);
        QVERIFY(files.Ok);
        QVERIFY(files.Xyz.isEmpty() && files.J1J2.isEmpty());
    }
}

void TestModelExport::nodeNumbersHaveSixteenBits_data() {
    QTest::addColumn<int>("nodes");
    QTest::addColumn<bool>("exported");
    QTest::newRow("65535 nodes") << 65535 << true;
    QTest::newRow("65536 nodes") << 65536 << false;
}

// The check itself takes any number of nodes; only the preview's 16-bit node numbers stop
// at 65,535, and a larger model is refused instead of wrapping to node 0.
void TestModelExport::nodeNumbersHaveSixteenBits() {
    QFETCH(int, nodes);
    QFETCH(bool, exported);
    const ModelExport::Files files = Export(ChainTruss(nodes), QStringLiteral("long.d03"));
    QCOMPARE(files.Ok, exported);
    if (exported) {
        QCOMPARE(files.Xyz.size(), 12 * nodes);
        QCOMPARE(files.J1J2.right(4), QByteArray::fromHex("feffffff"));
    } else {
        QVERIFY(files.Error.contains(QStringLiteral("65536 nodes")));
        QVERIFY(files.Xyz.isEmpty() && files.J1J2.isEmpty());
    }
}

// 60,000 nodes and 120,000 bars: the check and export stay far from anything quadratic.
void TestModelExport::largeModel() {
    const int nodes = 60000;
    QByteArray text = "*1 General data\n#  1  Title = Large\n#  2  Force unit = kN\n"
                      "#  3  Length unit = m\n#  4  Load cases = 1\n#  5  Nodes = 60000\n"
                      "#  6  Elements = 120000\n#  7  Materials = 1\n#  8  Sections = 1\n"
                      "#  9  Natural modes = 0\n"
                      "*2 Materials\n#  1  2.1E8 0.3 78.5 1.2E-5\n*3 Sections\n#  1  0.001\n"
                      "*4 Nodes\n";
    for (int node = 1; node <= nodes; ++node)
        text += "#  " + QByteArray::number(node) + "  " + QByteArray::number(node % 100) + " " +
                QByteArray::number(node / 100) + " " + QByteArray::number(node % 7) + "\n";
    text += "*5 Elements\n";
    int element = 0;
    for (int span = 1; span <= 3; ++span) {
        for (int node = 1; node + span <= nodes && element < 120000; ++node)
            text += "#  " + QByteArray::number(++element) + "  " + QByteArray::number(node) + " " +
                    QByteArray::number(node + span) + " 1 1\n";
    }
    text += "*6 Supports\n#  1  1 1 1 1\n*7 Nodal loads\n*9 Masses\n&\n";

    QElapsedTimer timer;
    timer.start();
    const ModelExport::Files files = Export(text, QStringLiteral("large.d04"));
    const qint64 elapsed = timer.elapsed();
    qInfo("check and export of 60000 nodes and 120000 elements: %lld ms", elapsed);
    QVERIFY2(files.Ok, qPrintable(files.Error));
    QCOMPARE(files.Xyz.size(), 12 * nodes);
    QCOMPARE(files.J1J2.size(), 4 * 120000);
    QVERIFY2(elapsed < 20000, "far slower than a linear pass");
}

// The optional tables reach the preview in world axes: a member load in the member's own axes
// turns with it as the solver's bar axes do (a column drawn upwards has its local z pointing to
// the left, -x), springs lie along their component, a foundation spans its bar.
void TestModelExport::marksOfOptionalTables() {
    const QByteArray frame = "*1 General data\n#  1  Title = L\n#  2  Force unit = kN\n"
                             "#  3  Length unit = m\n#  4  Load cases = 1\n#  5  Nodes = 3\n"
                             "#  6  Elements = 2\n#  7  Materials = 1\n#  8  Sections = 1\n"
                             "*2 Materials\n#  1  2.1E8 0.3 78.5 1.2E-5\n*3 Sections\n"
                             "#  1  0.005 1E-4\n*4 Nodes\n#  1  0 0\n#  2  0 4\n#  3  6 4\n"
                             "*5 Elements\n#  1  1 2 1 1 0\n#  2  2 3 1 1 0\n*6 Supports\n"
                             "#  1  1 1 1 1\n*7 Nodal loads\n*8 Element loads\n&\n";
    Checked checked = Check(frame, QStringLiteral("l.d55"));
    QVERIFY2(checked.Result.Ok, Describe(checked.Result));
    std::vector<ParsedTable>& tables = checked.Result.Data.Tables;
    tables.push_back(Items(10, 3, {1, 0, -1}));                    // case gx gz
    tables.push_back(Items(11, 5, {1, 2, 20, 10, 0.3}));           // case element dT dTd h
    tables.push_back(Items(12, 5, {1, 1, 0, -0.01, 0}));           // case node ux uz ry
    tables.push_back(Items(13, 4, {3, 0, 5000, 0}));               // node ux uz ry
    tables.push_back(Items(14, 2, {2, 1e4}));                      // element k
    tables.push_back(Items(15, 7, {1, 1, 1, 1, 0, 10, 0}));        // case element L a Fx Fz My
    tables.push_back(Items(16, 9, {1, 2, 0, 1, 3, 0, -2, 0, -4})); // G a1 a2 qx1 qz1 qx2 qz2
    const ModelExport::Files files = ModelExport::Build(checked.Format, checked.Result.Data);
    QVERIFY(files.Ok);
    const std::vector<MarkRecord> marks = MarksOf(files.Marks);
    QCOMPARE(files.Marks.size(), qsizetype(7 * ModelMarks::RecordSize));
    using Kind = ModelMark::Kind;
    const auto expect = [&](size_t k, Kind kind, int loadCase, std::array<float, 9> values) {
        QCOMPARE(marks[k].Kind, int(kind));
        QCOMPARE(marks[k].Case, loadCase);
        for (size_t v = 0; v < values.size(); ++v)
            QVERIFY2(
                std::abs(marks[k].Values[v] - values[v]) < 1e-6f,
                qPrintable(
                    QStringLiteral("mark %1 value %2: %3").arg(k).arg(v).arg(marks[k].Values[v])));
    };
    expect(0, Kind::Gravity, 1, {3, 0, 2, 3, 0, 2, 0, 0, -1});
    expect(1, Kind::Heat, 1, {3, 0, 4, 3, 0, 4, 0, 0, 0});
    expect(2, Kind::Shift, 1, {0, 0, 0, 0, 0, 0, 0, 0, -1});
    expect(3, Kind::Spring, 0, {6, 0, 4, 6, 0, 4, 0, 0, 1});
    expect(4, Kind::Foundation, 0, {0, 0, 4, 6, 0, 4, 0, 0, 0});
    expect(5, Kind::Force, 1, {0, 0, 1, 0, 0, 1, -1, 0, 0});
    expect(6, Kind::PartialLoad, 1, {1, 0, 4, 3, 0, 4, 0, 0, -1});
}

QTEST_GUILESS_MAIN(TestModelExport)
#include "tst_modelexport.moc"
