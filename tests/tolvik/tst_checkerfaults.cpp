#include "CheckSupport.h"
#include "ModelExport.h"

#include <QTest>

using namespace CheckSupport;

namespace {

// The lines of a test data file with lines [first, first + count) (counted from 1) replaced
// by `replacement`, which may hold several lines or none.
QByteArray Edited(const QString& file, int first, int count, const QString& replacement) {
    QList<QByteArray> lines = ReadBytes(TestData(file)).split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    lines.remove(first - 1, count);
    if (!replacement.isEmpty()) {
        const QList<QByteArray> added = replacement.toLatin1().split('\n');
        for (qsizetype i = 0; i < added.size(); ++i)
            lines.insert(first - 1 + i, added[i]);
    }
    return lines.join("\r\n") + "\r\n";
}

} // namespace

class TestCheckerFaults : public QObject {
    Q_OBJECT

private slots:
    void rejects_data();
    void rejects();
    void addedTablesPass();
    void dynamicTablesPass_data();
    void dynamicTablesPass();
    void faultsOfTheWholeFile_data();
    void faultsOfTheWholeFile();
    void dynamicsFilesNeedModes();
    void countsBeyondTheLimits_data();
    void countsBeyondTheLimits();
    void countsAtTheLimitsPass();
    void stepsTimesEquationsLimited();
};

// Each row breaks a sound file in one place; the checker must name the line the user has to
// mend, and say what is wrong there.
void TestCheckerFaults::rejects_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");

    const QString frame = QStringLiteral("frame.d55");
    // Elements and the nodes they name.
    QTest::newRow("element names node 0")
        << frame << 25 << 1 << "#  2  0 3 1 1 0" << 25 << "node i is 0; nodes are numbered from 1";
    QTest::newRow("element names a node past the end")
        << frame << 26 << 1 << "#  3  3 5 1 1 0" << 26
        << "node j is 5, but the nodes go only up to 4";
    QTest::newRow("both ends one node")
        << frame << 24 << 1 << "#  1  2 2 1 1 0" << 24 << "both ends of the element are node 2";
    // Sizes whose powers leave the range of numbers: a profile scaled to 1e-150 stopped the
    // eigen-solver of the plate modes, which the checker had let through.
    QTest::newRow("elements too small to compute with")
        << "rect.d66" << 17 << 9
        << "#  1 0 0\n#  2 1e-151 0\n#  3 2e-151 0\n#  4 0 2e-151\n#  5 1e-151 2e-151\n"
           "#  6 2e-151 2e-151\n#  7 0 4e-151\n#  8 1e-151 4e-151\n#  9 2e-151 4e-151"
        << 28 << "measures 2.2360679775e-151 from node 1 to node 5, too small to compute with";
    QTest::newRow("elements too large to compute with")
        << frame << 19 << 3 << "#  2 0 4e35\n#  3 6e35 4e35\n#  4 6e35 0" << 24
        << "measures 4e+35 from node 1 to node 2, too large to compute with; elements must "
           "measure between 1e-30 and 1e+30";
    QTest::newRow("ends at one point")
        << frame << 20 << 1 << "#  3  0.0 4.0" << 25 << "no length: nodes 2 and 3";
    QTest::newRow("missing material") << frame << 24 << 1 << "#  1  1 2 2 1 0" << 24
                                      << "material is 2, but the materials go only up to 1";
    QTest::newRow("unexpanded series")
        << frame << 24 << 1 << "#E 1 2" << 24 << "a series line of the frame generator";
    QTest::newRow("hinge code") << frame << 24 << 1 << "#  1  1 2 1 1 4" << 24
                                << "hinges must be from 0 to 3, not 4";
    QTest::newRow("value missing") << frame << 24 << 1 << "#  1  1 2 1 1" << 24
                                   << "expected 5 values (node i, node j, material, section, "
                                      "hinges), found 4";
    QTest::newRow("value too many")
        << frame << 24 << 1 << "#  1  1 2 1 1 0 7" << 24 << "found 6; a remark must follow a \";\"";
    // Numbers.
    QTest::newRow("not a number") << frame << 18 << 1 << "#  1  0.0 abc" << 18
                                  << "z: \"abc\" is not a number";
    QTest::newRow("decimal comma")
        << frame << 19 << 1 << "#  2  0,0 4" << 19 << "write decimals with a point";
    QTest::newRow("whole number expected")
        << frame << 24 << 1 << "#  1  1.5 2 1 1 0" << 24 << "node i: \"1.5\" is not a whole number";
    QTest::newRow("negative modulus") << frame << 13 << 1 << "#  1  -2.1E8 0.3 78.5 1.2E-5" << 13
                                      << "E must be greater than 0, not -210000000";
    QTest::newRow("Poisson's ratio 0.5")
        << frame << 13 << 1 << "#  1  2.1E8 0.5 78.5 1.2E-5" << 13 << "nu must be less than 0.5";
    QTest::newRow("coordinate beyond a single")
        << frame << 20 << 1 << "#  3  1e39 4.0" << 20
        << "x is 1e+39; a coordinate must lie between -3.40282346639e+38 and 3.40282346639e+38";
    QTest::newRow("negative coordinate beyond a single")
        << frame << 19 << 1 << "#  2  0.0 -3.5e38" << 19 << "z is -3.5e+38; a coordinate must";
    QTest::newRow("infinity is no number")
        << frame << 18 << 1 << "#  1  inf 0" << 18 << "x: \"inf\" is not a number";
    // Table 1.
    QTest::newRow("node count") << frame << 7 << 1 << "#  5  Nodes = 5" << 7
                                << "item 5 of table 1 gives 5 items for table 4, but table 4 "
                                   "has 4";
    QTest::newRow("element count")
        << frame << 8 << 1 << "#  6  Elements = 2" << 8 << "gives 2 items for table 5";
    QTest::newRow("unit of two words")
        << frame << 4 << 1 << "#  2  Force unit = k N" << 4 << "the unit name must be one word";
    QTest::newRow("unit missing") << frame << 5 << 1 << "#  3  Length unit =" << 5
                                  << "needs a unit name";
    QTest::newRow("no equals sign")
        << frame << 6 << 1 << "#  4  Load cases 2" << 6 << "needs \"=\" before its value";
    QTest::newRow("no load case") << frame << 6 << 1 << "#  4  Load cases = 0" << 6
                                  << "Load cases must be at least 1, not 0";
    QTest::newRow("item missing") << frame << 10 << 1 << "" << 2
                                  << "table 1 lacks item 8 (Sections)";
    QTest::newRow("item too many")
        << frame << 10 << 1 << "#  8  Sections = 1\n#  9  More = 1" << 11 << "there is no item 9";
    // Table structure and numbering.
    QTest::newRow("numbering gap")
        << frame << 20 << 1 << "#  4  6 4" << 20 << "item 4 follows item 2 in table 4";
    QTest::newRow("first item not 1") << frame << 13 << 1 << "#  2  2.1E8 0.3 78.5 1.2E-5" << 13
                                      << "the first item of table 2 must be number 1, not 2";
    QTest::newRow("table missing")
        << frame << 14 << 2 << "" << 14 << "table 3 (Sections) must come before table 4";
    QTest::newRow("table of another type")
        << frame << 27 << 1 << "*9 Supports" << 27 << "plane frames have no table 9";
    QTest::newRow("table twice") << frame << 30 << 1 << "*6 Nodal loads" << 30
                                 << "table 6 appears a second time";
    QTest::newRow("table missing at the end") << frame << 32 << 2 << "" << 32
                                              << "table 8 (Element loads) is missing before "
                                                 "the end mark";
    QTest::newRow("no end mark") << frame << 34 << 1 << "" << 33 << "the end mark \"&\" is missing";
    QTest::newRow("header without number")
        << frame << 11 << 1 << "*Materials" << 11 << "needs its table number";
    QTest::newRow("header of three digits") << frame << 11 << 1 << "*222 Materials" << 11
                                            << "a table number has one or two digits, not 222";
    QTest::newRow("item before the first table")
        << frame << 1 << 1 << "#  1  x" << 1 << "an item before the first table";
    QTest::newRow("table 1 not first")
        << frame << 2 << 1 << "*2 General data" << 2 << "must start with table 1";
    QTest::newRow("empty table") << frame << 24 << 3 << "" << 22
                                 << "table 5 (Elements) has no items";
    // Lines whose values would silently be lost.
    QTest::newRow("indented item") << frame << 25 << 1 << "  #  2  2 3 1 1 0" << 25
                                   << "\"#\" must be the first character of its line";
    QTest::newRow("numbers without #")
        << frame << 26 << 1 << "   3  3 4 1 1 0" << 26 << "a line of numbers without \"#\"";
    // Supports and loads.
    QTest::newRow("support fixes nothing")
        << frame << 29 << 1 << "#  2  4 0 0 0" << 29 << "the support fixes nothing";
    QTest::newRow("support twice") << frame << 29 << 1 << "#  2  1 1 1 1" << 29
                                   << "node 1 appears a second time in table 6; it was first "
                                      "given in line 28";
    QTest::newRow("load case not declared") << frame << 31 << 1 << "#  1  3 2 10 0 0" << 31
                                            << "load case 3 is not declared: item 4 of table 1 "
                                               "gives 2";
    QTest::newRow("load on a missing element") << frame << 33 << 1 << "#  1  1 4 0 -12" << 33
                                               << "element is 4, but the elements go only up to 3";
    QTest::newRow("loose node") << frame << 26 << 1 << "#  3  3 1 1 1 0" << 21
                                << "node 4 belongs to no element";

    // The optional tables 10 to 18: what they ask for must act on the model.
    const QString loads = QStringLiteral("loads.d55");
    QTest::newRow("added tables out of order")
        << loads << 34 << 6
        << "*11 Temperatures\n#  1  2 2 20 10 0.2\n*10 Self-weight\n#  1  1 0 -1" << 36
        << "table 10 must come before table 11";
    QTest::newRow("added table twice")
        << loads << 40 << 1 << "*11 Displacements" << 40 << "table 11 appears a second time";
    QTest::newRow("self-weight without gamma")
        << loads << 13 << 1 << "#  1  2.1E8 0.3 0 1.2E-5" << 36
        << "the self-weight weighs nothing: the material of every element has gamma 0";
    QTest::newRow("self-weight without factor")
        << loads << 36 << 1 << "#  1  1 0 0" << 36 << "the self-weight has no factor";
    QTest::newRow("temperature without alpha")
        << loads << 13 << 1 << "#  1  2.1E8 0.3 78.5 0" << 39
        << "element 2 does not expand with heat: its material 1 has alpha 0";
    QTest::newRow("node temperature beside an element without alpha")
        << "heated.d59" << 45 << 1 << "#  2  1 5 25" << 45
        << "node 5 is a corner of element 3, which does not expand with heat: its material 2 "
           "has alpha 0";
    QTest::newRow("temperature difference without depth")
        << loads << 39 << 1 << "#  1  2 2 20 10 0" << 39 << "needs the depth h of the section";
    QTest::newRow("temperature twice")
        << loads << 39 << 1 << "#  1  2 2 20 10 0.2\n#  2  2 2 5 0 0" << 40
        << "the temperature of element 2 in load case 2 appears a second time in table 11; it "
           "was first given in line 39";
    QTest::newRow("settlement of a free component")
        << loads << 42 << 1 << "#  1  1 4 0 -0.01 0.001" << 42
        << "node 4 is not held in ry by the supports: an imposed displacement needs a fixed "
           "component";
    QTest::newRow("settlement of an unsupported node")
        << loads << 42 << 1 << "#  1  1 2 0.01 0 0" << 42 << "node 2 is not held in ux";
    QTest::newRow("spring of no stiffness")
        << loads << 45 << 1 << "#  1  4 0 0 0" << 45 << "the spring has no stiffness";
    QTest::newRow("spring of negative stiffness")
        << loads << 45 << 1 << "#  1  4 0 0 -5000" << 45 << "ry must be at least 0, not -5000";
    QTest::newRow("spring on a fixed component")
        << loads << 45 << 1 << "#  1  4 0 100 5000" << 45
        << "node 4 is held in uz by the supports: a spring there would do nothing";
    QTest::newRow("neither supports nor springs")
        << frame << 28 << 2 << "" << 27
        << "table 6 (Supports) has no items; hold the structure by supports, by springs";
    QTest::newRow("point load beyond the member")
        << loads << 51 << 1 << "#  1  2 2 G 6.5 0 -20 0" << 51
        << "a is 6.5, beyond the length 6 of element 2";
    QTest::newRow("partial load backwards")
        << loads << 54 << 1 << "#  1  1 2 L 5 1 0 -5 0 -10" << 54 << "a1 must be less than a2";
    QTest::newRow("point load on a curved member")
        << "arch.d51" << 39 << 1 << "*15 Point loads\n#  1  1 2 G 2 0 -10 0\n&" << 40
        << "element 2 is curved (R 10)";
    QTest::newRow("combination of a missing case")
        << loads << 60 << 1 << "#  4  2 3 1.0" << 60
        << "combination 2 names load case 3, a missing case: item 4 of table 1 gives 2";
    QTest::newRow("case twice in a combination")
        << loads << 60 << 1 << "#  4  2 1 1.0" << 60
        << "load case 1 in combination 2 appears a second time in table 17; it was first given "
           "in line 59";
    QTest::newRow("combinations with a gap")
        << loads << 59 << 2 << "#  3  3 1 1.0\n#  4  3 2 1.0" << 59
        << "combination 3 comes before any item of combination 2";
    QTest::newRow("envelope of a missing combination")
        << loads << 64 << 1 << "#  2  1 3" << 64
        << "combination 3 is not defined: table 17 gives combinations up to 2";
    QTest::newRow("envelopes with a gap") << loads << 64 << 1 << "#  2  3 2" << 64
                                          << "envelope 3 comes before any item of envelope 2";
    QTest::newRow("envelopes without combinations")
        << loads << 55 << 6 << "" << 55 << "table 18 (Envelopes) needs table 17";

    // The dynamic tables 20 to 30 of a space frame shaken in every way the format knows.
    const QString shaken = QStringLiteral("shaken.p07");
    QTest::newRow("spectrum periods not increasing")
        << shaken << 77 << 1 << "#  2     1        0.0    1.0" << 77
        << "T 0 of spectrum 1 does not increase: the point before it (line 76) has T 0";
    QTest::newRow("damping ratio of 1")
        << shaken << 41 << 1 << "#  2    1    1.0" << 41 << "ratio must be less than 1, not 1";
    QTest::newRow("excitation defined twice")
        << shaken << 74 << 0 << "#  2      2         SRSS   SRSS" << 74
        << "excitation 2 is defined a second time; line 70 defines it already, as a history "
           "excitation (table 27)";
    QTest::newRow("history of a missing function")
        << shaken << 70 << 1 << "#  1      2           5        2.0     0.01   modal" << 70
        << "function 5 is not defined: tables 22 and 23 give no function 5";
    QTest::newRow("gap in the excitations")
        << shaken << 74 << 0 << "#  2      5         SRSS   SRSS" << 74
        << "excitation 5 comes before any excitation 4; excitations are numbered 1, 2, 3, ... "
           "without gaps over tables 26 to 28";
    QTest::newRow("ground motion across a plane frame")
        << "sway.d58" << 49 << 1 << "#  1      1           Y         1      1.0" << 49
        << "complex plane frames and beams move in X and Z only: the ground cannot move them "
           "in Y";
    QTest::newRow("loads on a spectrum excitation")
        << shaken << 59 << 1 << "#  2      3         3      0.0   25.0    0.0    0.0    0.0    0.0"
        << 59 << "excitation 3 is a spectrum excitation (line 73): it takes ground motions";
    QTest::newRow("spectrum by points and by a code")
        << shaken << 81 << 1 << "#  1     1        1      C      0.24    1.0" << 81
        << "spectrum 1 is defined in table 29 already (line 76)";
    QTest::newRow("history of one step")
        << "sway.d58" << 52 << 1 << "#  1      1           0        1.0     0.6  DIRECT" << 52
        << "the step 0.6 leaves fewer than 2 steps";

    // Other types: what their own tables demand.
    QTest::newRow("arc radius below half the chord")
        << "arch.d51" << 27 << 1 << "#  2    2   3     1        2        0      3.9" << 27
        << "the radius 3.9 is too small for the chord 8";
    QTest::newRow("corner twice") << "panel.d59" << 29 << 1 << "#  2  2 3 3 5 1 1" << 29
                                  << "node 3 is named twice among the corners";
    QTest::newRow("element on the corners of an earlier one")
        << "panel.d59" << 29 << 1 << "#  2  5 4 1 2 1 1" << 29
        << "element 2 repeats element 1 (line 28)";
    QTest::newRow("triangle needs three corners") << "panel.d59" << 29 << 1 << "#  2  2 0 6 5 1 1"
                                                  << 29 << "n2 is 0; nodes are numbered from 1";
    QTest::newRow("solid of five corners")
        << "block.d67" << 34 << 1 << "#  3  9 10 13 12 11 0 0 0 1" << 34 << "a solid has 4 corners";
    QTest::newRow("hollow shaft thicker than it is wide")
        << "shaft.d62" << 17 << 1 << "#  1  0.05 0.05" << 17 << "the inner diameter d must be less";
    QTest::newRow("torsion without outer contour")
        << "rect.d66" << 34 << 8 << "#  1  1 1\n#  2  2 1\n#  3  3 1" << 32
        << "no node lies on the outer contour";
    QTest::newRow("matrix not square")
        << "three.d71" << 13 << 3 << "#  1  4 -1\n#  2  -1 4\n#  3  0 -1" << 11
        << "the matrix has 3 rows of 2 values";
    QTest::newRow("matrix row too short") << "three.d71" << 15 << 1 << "#  3   0.0   -1.0" << 15
                                          << "expected 3 values like the first item";
    QTest::newRow("matrix not symmetric")
        << "three.d71" << 15 << 1 << "#  3   0.5   -1.0    4.0" << 15
        << "the matrix is not symmetric: value 1 of "
           "this row is 0.5, value 3 of row 1 is 0";
    QTest::newRow("right-hand side too long") << "three.d71" << 18 << 1 << "#  1  2 4 10 1" << 18
                                              << "one for each item of table 2, found 4";
    QTest::newRow("mathematics without table 4")
        << "three.d71" << 7 << 1 << "#  5  Items of table 4 = 1" << 7
        << "item 5 of table 1 must be 0";
    QTest::newRow("more values wanted than rows")
        << "modes.d72" << 4 << 1 << "#  2  Values wanted = 4" << 4
        << "4 values are wanted, but the matrix has only 3";
    QTest::newRow("matrix B of one row")
        << "modes.d72" << 10 << 8
        << "#  8  Rows of B = 1\n*2 Matrix A\n#  1  2 -1 0\n#  2  -1 2 -1\n#  3  0 -1 2\n"
           "*3 Matrix B\n#  1  1 0 0"
        << 15 << "matrix B has 1 rows";
    QTest::newRow("nothing to compute")
        << "inverse.d73" << 4 << 2 << "#  2  Inverse = 0\n#  3  Determinant = 0" << 4
        << "nothing to compute";
    QTest::newRow("function values out of order")
        << "wave.d74" << 16 << 1 << "#  4  1.0  3.0" << 16 << "x must grow from item to item";
    QTest::newRow("function value outside the period")
        << "wave.d74" << 20 << 1 << "#  8  7.0  1.0" << 20 << "lies outside the period";
    QTest::newRow("too few function values") << "wave.d74" << 6 << 1 << "#  4  Harmonics = 4" << 11
                                             << "4 harmonics need at least 9 function values";
    QTest::newRow("power twice") << "cubic.d75" << 15 << 1 << "#  3    1     -5.0" << 15
                                 << "the power 1 appears a second time";
    QTest::newRow("interval backwards") << "cubic.d75" << 18 << 1 << "#  1   3.0     2.0" << 18
                                        << "the interval must end beyond its start";
    QTest::newRow("initial values missing")
        << "oscillator.d76" << 10 << 9
        << "#  8  Initial values = 1\n*2 Matrix\n#  1  0 1\n#  2  -4 0\n*3 Initial values\n"
           "#  1  1 0"
        << 14 << "one item for each of the 2 equations";
    QTest::newRow("integration backwards") << "oscillator.d76" << 5 << 1 << "#  3  End = 0" << 5
                                           << "the end 0 must lie beyond the start 0";
    QTest::newRow("coefficient P missing")
        << "string.d77" << 14 << 1 << "#  1  Q 0 1.0" << 12 << "the coefficient P needs a term";
    QTest::newRow("unknown coefficient") << "string.d77" << 14 << 1 << "#  1  S 0 1.0" << 14
                                         << "function must be P, Q or R, not \"S\"";
    QTest::newRow("third boundary condition")
        << "string.d77" << 19 << 1 << "#  2  1.0 0.0\n#  3  1.0 0.0" << 20
        << "table 3 takes two items";
    QTest::newRow("tables descending without a type")
        << "notes.d68" << 14 << 1 << "*1 Another table" << 14 << "table 1 appears a second time";
    QTest::newRow("count without a type") << "notes.d68" << 9 << 1 << "#  7  Items of table 2 = 3"
                                          << 9 << "gives 3 items for table 2, but table 2 has 2";
}

void TestCheckerFaults::rejects() {
    QFETCH(QString, file);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QString, replacement);
    QFETCH(int, line);
    QFETCH(QString, message);

    const DataChecker::Result result = Check(Edited(file, first, count, replacement), file).Result;
    QVERIFY2(!result.Ok, "the broken file was accepted");
    QVERIFY2(result.Fault.Line == line && result.Fault.Message.contains(message), Describe(result));
}

// The optional tables after a type's own: a frame with every one of them and a plane body
// heated at its nodes pass, their values read as written (a word as its index), and springs
// alone may hold a structure whose table 6 is empty.
void TestCheckerFaults::addedTablesPass() {
    const DataChecker::Result frame =
        Check(ReadBytes(TestData(QStringLiteral("loads.d55"))), QStringLiteral("loads.d55")).Result;
    QVERIFY2(frame.Ok, Describe(frame));
    for (int table = 10; table <= 18; ++table)
        QVERIFY(frame.Data.Table(table));
    const ParsedTable& partial = *frame.Data.Table(16);
    QCOMPARE(partial.Width, 9);
    QCOMPARE(partial.At(0, 2), 1.0); // "l": the member's axes
    QCOMPARE(partial.At(0, 8), -10.0);
    QCOMPARE(frame.Data.Table(17)->Rows(), 4);

    const QString heated = QStringLiteral("heated.d59");
    QVERIFY2(Check(ReadBytes(TestData(heated)), heated).Result.Ok, "node temperatures");
    const DataChecker::Result springs = Check(Edited(heated, 34, 2, QString()), heated).Result;
    QVERIFY2(springs.Ok, Describe(springs));
    QCOMPARE(springs.Data.ItemCount(6), 0);
}

// Every dynamic table in a space frame, and a plane frame's ground motion alone, pass, their
// words read as their indices; the preview still draws the model, and a static file of the
// same type is refused them.
void TestCheckerFaults::dynamicTablesPass_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("tables");
    QTest::newRow("space frame") << "shaken.p07"
                                 << QList<int>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
    QTest::newRow("plane frame") << "sway.d58" << QList<int>{20, 22, 25, 27};
}

void TestCheckerFaults::dynamicTablesPass() {
    QFETCH(QString, file);
    QFETCH(QList<int>, tables);
    const QByteArray text = ReadBytes(TestData(file));
    const Checked checked = Check(text, file);
    const DataChecker::Result& result = checked.Result;
    QVERIFY2(result.Ok, Describe(result));
    for (int table : tables)
        QVERIFY(result.Data.Table(table) && result.Data.Table(table)->Rows() > 0);
    QVERIFY(ModelExport::Build(checked.Format, result.Data).Ok);
    if (file == QStringLiteral("shaken.p07")) {
        QCOMPARE(result.Data.Table(23)->At(1, 1), 1.0); // "pulse"
        QCOMPARE(result.Data.Table(25)->At(2, 1), 1.0); // "Y"
        QCOMPARE(result.Data.Table(28)->At(0, 2), 1.0); // "100/30"
        QCOMPARE(result.Data.Table(30)->At(0, 2), 2.0); // ground "C"
        const DataChecker::Result statics = Check(text, QStringLiteral("shaken.d57")).Result;
        QVERIFY(!statics.Ok);
        QCOMPARE(statics.Fault.Line, 38);
        QVERIFY2(statics.Fault.Message.contains("space frames have no table 20"),
                 Describe(statics));
    }
}

void TestCheckerFaults::faultsOfTheWholeFile_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << 0 << "the file is empty";
    QTest::newRow("text only") << QByteArray("just a note\r\n") << 1 << "no table found";
    QTest::newRow("end mark first")
        << QByteArray("title\r\n&\r\n") << 2 << "the end mark comes before table 1";
}

void TestCheckerFaults::faultsOfTheWholeFile() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, message);
    const DataChecker::Result result = Check(text, QStringLiteral("x.d55")).Result;
    QVERIFY(!result.Ok);
    QVERIFY2(result.Fault.Line == line && result.Fault.Message.contains(message), Describe(result));
}

// A ".p" file asks for a dynamic analysis, so it needs at least one natural mode; the ".d"
// file of the same number may leave it at 0.
void TestCheckerFaults::dynamicsFilesNeedModes() {
    const QByteArray noModes =
        Edited(QStringLiteral("tripod.d54"), 11, 1, "#  9  Natural modes = 0");
    QVERIFY2(Check(noModes, QStringLiteral("tripod.d54")).Result.Ok, "statics need no modes");
    const DataChecker::Result dynamics = Check(noModes, QStringLiteral("tripod.p54")).Result;
    QVERIFY(!dynamics.Ok);
    QCOMPARE(dynamics.Fault.Line, 11);
    QVERIFY(Check(ReadBytes(TestData(QStringLiteral("tripod.d54"))), QStringLiteral("t.p04"))
                .Result.Ok);
}

// A count of table 1 costs what it claims: files of a kilobyte that ask for a million load
// cases or two billion steps are refused at the count's line before anything is reserved.
void TestCheckerFaults::countsBeyondTheLimits_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("a million load cases")
        << "limits/pelgon_loadcases_1e6.d05" << 6
        << "Load cases is 1000000; a data file may ask for at most 1000";
    QTest::newRow("load cases near the largest whole number")
        << "limits/pelgon_loadcases_intmax.d05" << 6 << "Load cases is 2147483646";
    QTest::newRow("ten thousand buckling cases")
        << "limits/wempel_loadcases_1e4.d15" << 6 << "Load cases is 10000";
    QTest::newRow("subdivisions") << "limits/jastro_subdivisions_intmax.d25" << 6
                                  << "Subdivisions is 2147483647; a data file may ask for at "
                                     "most 1000";
    QTest::newRow("steps") << "limits/rendup_steps_big.d26" << 6
                           << "Steps is 2147483646; a data file may ask for at most 10000";
    QTest::newRow("mesh intervals") << "limits/zorbek_intervals_1e5.d27" << 11
                                    << "Mesh intervals is 100000; a data file may ask for at "
                                       "most 5000";
    QTest::newRow("mesh intervals near the largest whole number")
        << "limits/zorbek_intervals_intmax.d27" << 11 << "Mesh intervals is 2147483646";
}

void TestCheckerFaults::countsBeyondTheLimits() {
    QFETCH(QString, file);
    QFETCH(int, line);
    QFETCH(QString, message);
    const DataChecker::Result result = Check(ReadBytes(TestData(file)), file).Result;
    QVERIFY2(!result.Ok, "the count beyond the limit was accepted");
    QVERIFY2(result.Fault.Line == line && result.Fault.Message.contains(message), Describe(result));

    // The same counts in the sound files of the other types, and the modes of dynamics.
    const struct {
        const char* File;
        int Line;
        const char* Replacement;
        const char* Message;
    } others[] = {
        {"tripod.d54", 11, "#  9  Natural modes = 201", "Natural modes is 201"},
        {"shaft.d62", 11, "#  9  Natural frequencies = 100000", "Natural frequencies is 100000"},
        {"wave.d74", 6, "#  4  Harmonics = 101", "Harmonics is 101"},
        {"cubic.d75", 5, "#  3  Iterations = 10001", "Iterations is 10001"},
    };
    for (const auto& other : others) {
        const QString name = QString::fromLatin1(other.File);
        const DataChecker::Result refused =
            Check(Edited(name, other.Line, 1, QString::fromLatin1(other.Replacement)), name).Result;
        QVERIFY2(!refused.Ok && refused.Fault.Line == other.Line &&
                     refused.Fault.Message.contains(QLatin1String(other.Message)),
                 Describe(refused));
    }
}

// The limits themselves are sound values: a file may ask for exactly as much.
void TestCheckerFaults::countsAtTheLimitsPass() {
    const struct {
        const char* File;
        int Line;
        const char* Replacement;
    } atLimit[] = {
        {"frame.d55", 6, "#  4  Load cases = 1000"},
        {"tripod.d54", 11, "#  9  Natural modes = 200"},
        {"cubic.d75", 5, "#  3  Iterations = 10000\n#  4  Subdivisions = 1000"},
        {"oscillator.d76", 6, "#  4  Steps = 10000"},
        {"string.d77", 11, "#  9  Mesh intervals = 5000"},
    };
    for (const auto& file : atLimit) {
        const QString name = QString::fromLatin1(file.File);
        const int count = QByteArray(file.Replacement).count('\n') + 1;
        const DataChecker::Result result =
            Check(Edited(name, file.Line, count, QString::fromLatin1(file.Replacement)), name)
                .Result;
        QVERIFY2(result.Ok, Describe(result));
    }
}

// Every step end of a differential system is written out with one value per equation: 10000
// steps are fine for a hundred equations, but not for a hundred and one.
void TestCheckerFaults::stepsTimesEquationsLimited() {
    const auto system = [](int equations, int steps) {
        QString text = QStringLiteral("*1 General data\r\n#  1 Title = wide\r\n#  2 Start = 0\r\n"
                                      "#  3 End = 1\r\n#  4 Steps = %1\r\n#  5 x = 0\r\n"
                                      "#  6 x = 0\r\n#  7 x = %2\r\n#  8 x = %2\r\n*2 Matrix\r\n")
                           .arg(steps)
                           .arg(equations);
        for (int row = 0; row < equations; ++row) {
            QStringList values;
            for (int column = 0; column < equations; ++column)
                values << (row == column ? QStringLiteral("-1") : QStringLiteral("0"));
            text += QStringLiteral("# %1 %2\r\n").arg(row + 1).arg(values.join(u' '));
        }
        text += QStringLiteral("*3 Initial values\r\n");
        for (int row = 0; row < equations; ++row)
            text += QStringLiteral("# %1 1 0\r\n").arg(row + 1);
        return (text + QStringLiteral("&\r\n")).toLatin1();
    };
    QVERIFY(Check(system(100, 10000), QStringLiteral("w.d76")).Result.Ok);
    const DataChecker::Result wide = Check(system(101, 10000), QStringLiteral("w.d76")).Result;
    QVERIFY(!wide.Ok);
    QCOMPARE(wide.Fault.Line, 5);
    QVERIFY2(wide.Fault.Message.contains(QLatin1String("Steps: 10000 steps of 101 equations give "
                                                       "1010000 values")),
             Describe(wide));
}

QTEST_GUILESS_MAIN(TestCheckerFaults)
#include "tst_checkerfaults.moc"
