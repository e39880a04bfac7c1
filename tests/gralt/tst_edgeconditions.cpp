#include "EdgeLoads.h"
#include "EdgeTexts.h"
#include "MeshConditions.h"
#include "MeshFile.h"
#include "MeshProject.h"
#include "ProfileContours.h"
#include "RegionMesher.h"

#include <QTest>
#include <cmath>

namespace {

MeshRegion Rectangle(double x0, double y0, double x1, double y1, int n12, int n23) {
    return {{QPointF(x0, y0), QPointF(x1, y0), QPointF(x1, y1), QPointF(x0, y1)}, n12, n23, 1, 1};
}

EdgeCondition Load(EdgeCondition::Kind kind, int region, int side, std::vector<double> values,
                   int loadCase = 1) {
    return {kind, region, side, EdgeCondition::Place::Side, loadCase, std::move(values)};
}

EdgeCondition Support(int region, int side, std::vector<double> codes, bool corner = false) {
    return {EdgeCondition::Kind::Support,
            region,
            side,
            corner ? EdgeCondition::Place::Corner : EdgeCondition::Place::Side,
            0,
            std::move(codes)};
}

EdgeCondition AreaPressure(int region, double p, int loadCase = 1) {
    return {EdgeCondition::Kind::Pressure, region, 0, EdgeCondition::Place::Area, loadCase, {p}};
}

MeshConditions::Result Tables(int problem, const std::vector<MeshRegion>& regions,
                              const std::vector<EdgeCondition>& conditions) {
    return MeshConditions::Build(problem, regions, RegionMesher::Build(regions), conditions);
}

// The items of table `number`, or none.
std::vector<std::vector<double>> Items(const MeshConditions::Result& result, int number) {
    for (const Mesh::Table& table : result.Tables) {
        if (table.Number == number)
            return table.Items;
    }
    return {};
}

bool Near(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

} // namespace

class TestEdgeConditions : public QObject {
    Q_OBJECT

private slots:
    void planeEdgeLoadsKeepForceAndMoment();
    void pressurePushesIntoTheRegion();
    void ringLoadsOfAnInnerPressure();
    void ringLoadOnTheAxisMovesToTheNextNode();
    void plateLoadsActAlongZ();
    void supportsCombineAtCorners();
    void conditionsRefusedForTheProblem_data();
    void conditionsRefusedForTheProblem();
    void contoursOfAProfileWithTwoHoles();
    void separatePiecesAreNoProfile();
    void projectKeepsConditionsAndReadsVersion1();
    void projectAndTableFaults_data();
    void projectAndTableFaults();
    void meshFileCarriesLaterTables();
};

void TestEdgeConditions::planeEdgeLoadsKeepForceAndMoment() {
    // The hand values of one edge: (2 q1 + q2) L / 6 and (q1 + 2 q2) L / 6.
    const auto [a, b] =
        EdgeLoads::PlaneShares(QPointF(0, 0), QPointF(3, 0), QPointF(0, 2), QPointF(0, 8));
    QCOMPARE(a, QPointF(0, 6));
    QCOMPARE(b, QPointF(0, 9));

    // Side 1-2 of a 6 m strip in 3 parts, nodes at x = 0, 2, 4, 6. A uniform load of 10 kN/m
    // gives 10, 20, 20, 10; a triangular one from 0 to 30 kN/m sums to 90 kN acting at 4 m.
    const std::vector<MeshRegion> strip{Rectangle(0, 0, 6, 1, 3, 1)};
    const auto uniform =
        Items(Tables(9, strip, {Load(EdgeCondition::Kind::Global, 1, 0, {0, -10, 0, -10})}), 7);
    QCOMPARE(uniform.size(), size_t(4));
    const double expected[] = {-10, -20, -20, -10};
    for (size_t i = 0; i < 4; ++i) {
        QCOMPARE(uniform[i][0], 1.0);
        QCOMPARE(uniform[i][1], double(i + 1));
        QCOMPARE(uniform[i][2], 0.0);
        QVERIFY(Near(uniform[i][3], expected[i]));
    }
    const auto triangle =
        Items(Tables(9, strip, {Load(EdgeCondition::Kind::Global, 1, 0, {0, 0, 0, -30}, 2)}), 7);
    double total = 0, moment = 0;
    for (const auto& item : triangle) {
        QCOMPARE(item[0], 2.0);
        total += item[3];
        moment += item[3] * 2 * (item[1] - 1);
    }
    QVERIFY(Near(total, -90));
    QVERIFY(Near(moment, -90 * 4.0));
}

void TestEdgeConditions::pressurePushesIntoTheRegion() {
    // The same square with its corners counter-clockwise and clockwise: a pressure on its
    // left side, 6 at the top and 0 at the foot, pushes to +x either way.
    for (const bool clockwise : {false, true}) {
        MeshRegion square = Rectangle(0, 0, 2, 2, 1, 1);
        EdgeCondition left = Load(EdgeCondition::Kind::Pressure, 1, 3, {6, 0}); // side 4-1
        if (clockwise) {
            std::swap(square.Corners[1], square.Corners[3]); // (0,0) (0,2) (2,2) (2,0)
            left.Side = 0;                                   // side 1-2, from (0,0) to (0,2)
            left.Values = {0, 6};
        }
        const auto loads = Items(Tables(10, {square}, {left}), 7);
        QCOMPARE(loads.size(), size_t(2));
        for (const auto& item : loads) {
            const QPointF at = RegionMesher::Build({square}).Mesh_.Nodes[size_t(item[1]) - 1];
            QCOMPARE(at.x(), 0.0);
            QVERIFY(Near(item[2], at.y() == 2 ? 4 : 2)); // (2 * 6 + 0) * 2 / 6 at the top
            QCOMPARE(item[3], 0.0);
        }
    }
}

void TestEdgeConditions::ringLoadsOfAnInnerPressure() {
    // A cylinder of inner radius 2 and height 3, its inner face in 3 parts under p = 5: the
    // ring loads sum to p * height, 2.5 at the ends and 5 between.
    const std::vector<MeshRegion> ring{Rectangle(2, 0, 4, 3, 2, 3)};
    const auto loads =
        Items(Tables(11, ring, {Load(EdgeCondition::Kind::Pressure, 1, 3, {5, 5})}), 7);
    QCOMPARE(loads.size(), size_t(4));
    double total = 0;
    for (const auto& item : loads) {
        QVERIFY(Near(item[2], item[1] == 1 || item[1] == 10 ? 2.5 : 5));
        QCOMPARE(item[3], 0.0);
        total += item[2];
    }
    QVERIFY(Near(total, 5 * 3.0));

    // On the outer face the shares per radian follow r: a uniform axial shear there still
    // sums to q * height once multiplied back by the radius.
    const auto outer =
        Items(Tables(11, ring, {Load(EdgeCondition::Kind::Global, 1, 1, {0, 1, 0, 1})}), 7);
    total = 0;
    for (const auto& item : outer)
        total += item[3];
    QVERIFY(Near(total, 3.0));

    // Hand values of one edge from r = 1 to r = 3 under q = 6 at r = 1 and 0 at r = 3
    // (length 2): P1 = 2 (6 / 4 + 6 * 3 / 12) = 6 and P3 = 2 (6 * 3 / 12 + 6 / 12) = 4.
    const auto [a, b] =
        EdgeLoads::RadianShares(QPointF(1, 0), QPointF(3, 0), QPointF(0, 6), QPointF(0, 0));
    QVERIFY(Near(a.y(), 2 * (6.0 / 4 + 6.0 * 3 / 12)));
    QVERIFY(Near(b.y(), 2 * (6.0 * 3 / 12 + 6.0 / 12)));
}

void TestEdgeConditions::ringLoadOnTheAxisMovesToTheNextNode() {
    // A solid disc of radius 2, its top face in 2 parts under a uniform downward q = 3: the
    // force is q * pi * r^2, per radian q r^2 / 2 = 6. The node on the axis can carry no ring
    // load; its share goes to its neighbour, and the total per radian is kept.
    const std::vector<MeshRegion> disc{Rectangle(0, 0, 2, 0.5, 2, 1)};
    const auto loads =
        Items(Tables(11, disc, {Load(EdgeCondition::Kind::Pressure, 1, 2, {3, 3})}), 7);
    const Mesh mesh = RegionMesher::Build(disc).Mesh_;
    double perRadian = 0;
    for (const auto& item : loads) {
        const double r = mesh.Nodes[size_t(item[1]) - 1].x();
        QVERIFY(r > 0);
        QCOMPARE(item[2], 0.0);
        perRadian += item[3] * r;
    }
    QCOMPARE(loads.size(), size_t(2));
    QVERIFY(Near(perRadian, -6));
}

void TestEdgeConditions::plateLoadsActAlongZ() {
    // A plate of two regions, 4 x 3 m in 4 x 3 parts and 2 x 3 m in 2 x 3 parts. A pressure
    // over region 1 goes onto each of its 12 elements and sums to p times the area; two rows
    // of one case over region 2 add up.
    const std::vector<MeshRegion> plate{Rectangle(0, 0, 4, 3, 4, 3), Rectangle(4, 0, 6, 3, 2, 3)};
    const MeshConditions::Result tables = Tables(
        13, plate, {AreaPressure(1, -10), AreaPressure(2, -1.5, 2), AreaPressure(2, -0.5, 2)});
    QVERIFY2(tables.Ok, qPrintable(tables.Error));
    const Mesh mesh = RegionMesher::Build(plate).Mesh_;
    const auto area = [&](int element) {
        const auto& c = mesh.Elements[size_t(element - 1)].Corners;
        double twice = 0;
        for (size_t i = 0; i < 4; ++i) {
            const QPointF a = mesh.Nodes[size_t(c[i] - 1)],
                          b = mesh.Nodes[size_t(c[(i + 1) % 4] - 1)];
            twice += a.x() * b.y() - a.y() * b.x();
        }
        return twice / 2;
    };
    double total[3] = {};
    int items[3] = {};
    for (const auto& item : Items(tables, 8)) {
        QCOMPARE(item.size(), size_t(3)); // case, element, p
        total[size_t(item[0])] += item[2] * area(int(item[1]));
        ++items[size_t(item[0])];
    }
    QCOMPARE(items[1], 12);
    QCOMPARE(items[2], 6);
    QVERIFY(Near(total[1], -10 * 12.0));
    QVERIFY(Near(total[2], -2 * 6.0));

    // A line load along z on side 1-2 of a 6 m strip in 3 parts, from 0 to -30 kN/m: Fz sums
    // to -90 kN acting at 4 m, with no nodal moments (Fz Mx My, as the plate's table 7).
    const auto line = Items(Tables(13, {Rectangle(0, 0, 6, 1, 3, 1)},
                                   {Load(EdgeCondition::Kind::Pressure, 1, 0, {0, -30})}),
                            7);
    double force = 0, moment = 0;
    for (const auto& item : line) {
        QCOMPARE(item.size(), size_t(5));
        QCOMPARE(item[3], 0.0);
        QCOMPARE(item[4], 0.0);
        force += item[2];
        moment += item[2] * 2 * (item[1] - 1);
    }
    QVERIFY(Near(force, -90));
    QVERIFY(Near(moment, -90 * 4.0));
}

void TestEdgeConditions::supportsCombineAtCorners() {
    // Two regions side by side. The foot of the first fixes uz, its left side ux, the corner
    // 2 of the second both: the corner node of the first gets 1 1, the shared foot node 0 1
    // and then 1 1 from the second region's corner.
    const std::vector<MeshRegion> regions{Rectangle(0, 0, 1, 1, 1, 1), Rectangle(1, 0, 2, 1, 1, 1)};
    const auto supports =
        Items(Tables(10, regions,
                     {Support(1, 0, {0, 1}), Support(1, 3, {1, 0}), Support(2, 0, {1, 1}, true)}),
              6);
    // Nodes: 1 (0,0), 2 (1,0), 3 (0,1), 4 (1,1), 5 (2,0), 6 (2,1).
    QCOMPARE(supports, (std::vector<std::vector<double>>{{1, 1, 1}, {2, 1, 1}, {3, 1, 0}}));
    const auto plate =
        Items(Tables(13, {regions[0]}, {Support(1, 1, {1, 0, 1}), Support(1, 2, {1, 1, 0})}), 6);
    QCOMPARE(plate, (std::vector<std::vector<double>>{{2, 1, 0, 1}, {3, 1, 1, 0}, {4, 1, 1, 1}}));
}

void TestEdgeConditions::conditionsRefusedForTheProblem_data() {
    QTest::addColumn<int>("problem");
    QTest::addColumn<EdgeCondition>("condition");
    QTest::addColumn<QString>("message");
    QTest::newRow("no region") << 9 << Support(3, 0, {1, 1}) << "Edge row 1: there is no region 3";
    QTest::newRow("plate codes") << 13 << Support(1, 0, {1, 1})
                                 << "Edge row 1: a support has 3 codes here: uz rx ry";
    QTest::newRow("nothing fixed") << 11 << Support(1, 0, {0, 0})
                                   << "Edge row 1: a support must fix at least one displacement "
                                      "(a code 1)";
    QTest::newRow("plate global") << 13 << Load(EdgeCondition::Kind::Global, 1, 0, {1, 1, 1, 1})
                                  << "Edge row 1: a plate's loads act across it, along z: give "
                                     "them as pressure";
    QTest::newRow("area of a wall") << 9 << AreaPressure(1, 5)
                                    << "Edge row 1: only a plate takes a pressure over the area; "
                                       "plane regions take loads on their sides";
    QTest::newRow("torsion") << 16 << Support(1, 0, {1, 1})
                             << "Edge row 1: a torsion profile takes no supports or loads; its "
                                "contours are found from the mesh";
}

void TestEdgeConditions::conditionsRefusedForTheProblem() {
    QFETCH(int, problem);
    QFETCH(EdgeCondition, condition);
    QFETCH(QString, message);
    const MeshConditions::Result result =
        Tables(problem, {Rectangle(0, 0, 1, 1, 1, 1), Rectangle(1, 0, 2, 1, 1, 1)}, {condition});
    QVERIFY(!result.Ok);
    QCOMPARE(result.Error, message);
}

void TestEdgeConditions::contoursOfAProfileWithTwoHoles() {
    // A 5 x 3 plate of unit cells with the cells (1,1) and (3,1) left out: two holes. The
    // regions come in an order that puts the right hole's nodes first.
    std::vector<MeshRegion> regions;
    for (int x : {4, 3, 2, 1, 0}) {
        for (int y = 0; y < 3; ++y) {
            if (y == 1 && (x == 1 || x == 3))
                continue;
            regions.push_back(Rectangle(x, y, x + 1, y + 1, 1, 1));
        }
    }
    const Mesh mesh = RegionMesher::Build(regions).Mesh_;
    const ProfileContours::Result found = ProfileContours::Find(mesh);
    QVERIFY2(found.Ok, qPrintable(found.Error));
    QCOMPARE(found.Contours.size(), size_t(3));
    const auto at = [&](int node) { return mesh.Nodes[size_t(node - 1)]; };
    QCOMPARE(found.Contours[0].size(), size_t(16)); // the outer contour: 2 (5 + 3) edges
    for (int node : found.Contours[0]) {
        const QPointF p = at(node);
        QVERIFY(p.x() == 0 || p.x() == 5 || p.y() == 0 || p.y() == 3);
    }
    // Holes in the order of their lowest node, each going round its cell clockwise.
    for (size_t hole = 1; hole <= 2; ++hole) {
        const std::vector<int>& contour = found.Contours[hole];
        QCOMPARE(contour.size(), size_t(4));
        QCOMPARE(*std::min_element(contour.begin(), contour.end()), contour.front());
        double area = 0;
        for (size_t i = 0; i < 4; ++i) {
            const QPointF a = at(contour[i]), b = at(contour[(i + 1) % 4]);
            area += a.x() * b.y() - a.y() * b.x();
        }
        QCOMPARE(area, -2.0);
    }
    QVERIFY(found.Contours[1].front() < found.Contours[2].front());
    // The right hole's nodes at x = 4 were made first.
    QCOMPARE(at(found.Contours[1].front()), QPointF(4, 1));

    // The mesher lists them as table 6: each node once with its contour.
    const auto items = Items(Tables(16, regions, {}), 6);
    QCOMPARE(items.size(), size_t(24));
    QCOMPARE(items[16], (std::vector<double>{double(found.Contours[1].front()), 1}));
    QCOMPARE(items[20][1], 2.0);
}

void TestEdgeConditions::separatePiecesAreNoProfile() {
    const MeshConditions::Result result =
        Tables(16, {Rectangle(0, 0, 1, 1, 1, 1), Rectangle(3, 0, 4, 2, 1, 1)}, {});
    QVERIFY(!result.Ok);
    QVERIFY2(result.Error.startsWith(QStringLiteral("the profile falls into separate pieces")),
             qPrintable(result.Error));
}

void TestEdgeConditions::projectKeepsConditionsAndReadsVersion1() {
    const std::vector<MeshRegion> regions{Rectangle(0, 0, 4, 2, 4, 2)};
    const std::vector<EdgeCondition> conditions{
        Support(1, 0, {1, 1}), Support(1, 2, {0, 1}, true),
        Load(EdgeCondition::Kind::Pressure, 1, 3, {0, 98.1}, 2),
        Load(EdgeCondition::Kind::Global, 1, 1, {1.5, -2, 0, 0.25}), AreaPressure(1, -7.5, 3)};
    const QByteArray bytes = MeshProject::Write(regions, conditions);
    QVERIFY(bytes.startsWith("Gralt project 2\r\n"));
    QVERIFY(bytes.contains("\r\nsupport 1 1-2 1 1\r\nsupport 1 3 0 1\r\npressure 1 4-1 2 0 "
                           "98.1\r\nglobal 1 2-3 1 1.5 -2 0 0.25\r\npressure 1 area 3 -7.5\r\n"));
    const MeshProject::Result read = MeshProject::Read(bytes);
    QVERIFY2(read.Ok, qPrintable(read.Error));
    QVERIFY(read.Regions == regions);
    QVERIFY(read.Conditions == conditions);

    const MeshProject::Result first =
        MeshProject::Read("Gralt project 1\r\nregion 0 0 4 0 4 2 0 2 4 2 1 1\r\n");
    QVERIFY2(first.Ok, qPrintable(first.Error));
    QVERIFY(first.Regions == regions);
    QVERIFY(first.Conditions.empty());
}

void TestEdgeConditions::projectAndTableFaults_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("corner load") << "pressure 1 3 1 5 5"
                                 << "Side, corner or area: \"3\" is not a side (1-2, 2-3, 3-4, "
                                    "4-1) or area; loads lie on sides or over the region";
    QTest::newRow("backward side") << "support 1 2-1 1 1"
                                   << "Side, corner or area: \"2-1\" is not a side (1-2, 2-3, "
                                      "3-4, 4-1) or a corner (1 to 4)";
    QTest::newRow("code 2") << "support 1 1-2 1 2"
                            << "Value 2: \"2\" is not a code, 0 (free) or 1 (fixed)";
    QTest::newRow("case 0") << "global 1 1-2 0 1 1 1 1"
                            << "Case: \"0\" is not a load case, 1 or more";
    QTest::newRow("two pressures over the area")
        << "pressure 1 area 1 5 5"
        << "a pressure over the area needs 1 value: the force per unit area";
    QTest::newRow("one pressure") << "pressure 1 1-2 1 5"
                                  << "a pressure needs 2 values: at the side's first and second "
                                     "corner";
    QTest::newRow("too many") << "global 1 1-2 1 1 2 3 4 5"
                              << "a load line is its kind, the region, the side, the load case "
                                 "and its values";
}

void TestEdgeConditions::projectAndTableFaults() {
    QFETCH(QString, line);
    QFETCH(QString, message);
    const MeshProject::Result read = MeshProject::Read(
        "Gralt project 2\r\nregion 0 0 1 0 1 1 0 1 1 1 1 1\r\n" + line.toUtf8() + "\r\n");
    QVERIFY(!read.Ok);
    QVERIFY(read.Regions.empty() && read.Conditions.empty());
    QCOMPARE(read.Error, QStringLiteral("line 3: ") + message);
}

void TestEdgeConditions::meshFileCarriesLaterTables() {
    Mesh mesh = RegionMesher::Build({Rectangle(0, 0, 2, 1, 2, 1)}).Mesh_;
    mesh.Tables = {{6, QStringLiteral("Supports"), {{1, 1, 1}, {2, 0, 1}}},
                   {7, QStringLiteral("Nodal loads"), {{1, 3, 2.5, -0.125}}}};
    const QByteArray bytes = MeshFile::Write(mesh, QStringLiteral("Mesh"));
    QVERIFY(bytes.endsWith("*6 Supports\r\n#  1      1     1     1\r\n#  2      2     0     1\r\n"
                           "*7 Nodal loads\r\n#  1      1     3   2.5 -0.125\r\n&\r\n"));
    const MeshFile::Result read = MeshFile::Read(bytes);
    QVERIFY2(read.Ok, qPrintable(read.Error));
    QCOMPARE(read.Mesh_.Tables.size(), size_t(2));
    QCOMPARE(read.Mesh_.Tables[1].Title, QStringLiteral("Nodal loads"));
    QCOMPARE(read.Mesh_.Tables[1].Items, mesh.Tables[1].Items);

    // Tables after 5 come in ascending order, each once, before the end mark.
    QByteArray twice = bytes;
    twice.replace("*7 Nodal loads", "*6 Supports again");
    QVERIFY(MeshFile::Read(twice).Error.startsWith(
        QStringLiteral("line 15: \"*6 Supports again\" where a later table or the end mark is "
                       "expected")));
    QByteArray bad = bytes;
    bad.replace("-0.125", "x");
    QCOMPARE(MeshFile::Read(bad).Error, QStringLiteral("line 16: \"x\" is not a number"));
}

QTEST_GUILESS_MAIN(TestEdgeConditions)
#include "tst_edgeconditions.moc"
