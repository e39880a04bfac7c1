#include "MeshFile.h"
#include "MeshOutput.h"
#include "MeshProject.h"
#include "RegionMesher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

MeshRegion Rectangle(double x0, double y0, double x1, double y1, int n12, int n23) {
    return {{QPointF(x0, y0), QPointF(x1, y0), QPointF(x1, y1), QPointF(x0, y1)}, n12, n23, 1, 1};
}

double SignedArea(const Mesh& mesh, const Mesh::Element& element) {
    // From the first corner, so that elements far from the origin keep their digits.
    const QPointF origin = mesh.Nodes[element.Corners[0] - 1];
    double area = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = mesh.Nodes[element.Corners[i] - 1] - origin;
        const QPointF b = mesh.Nodes[element.Corners[(i + 1) % 4] - 1] - origin;
        area += a.x() * b.y() - a.y() * b.x();
    }
    return area / 2;
}

} // namespace

using Regions = std::vector<MeshRegion>;
Q_DECLARE_METATYPE(Regions)

class TestRegionMesher : public QObject {
    Q_OBJECT

private slots:
    void dividesOneRegion();
    void sharedEdgesShareNodes();
    void farFromTheOriginAsNearIt_data();
    void farFromTheOriginAsNearIt();
    void junctionOnADivisionPointIsConforming();
    void manyRegionsMeshIntoOneStrip();
    void refusesRegions_data();
    void refusesRegions();
    void projectFileRoundTrip();
    void projectFileFaults_data();
    void projectFileFaults();
    void meshFileRoundTripAndFaults();
    void outputWritesBothFilesOrNone();
    void projectIsReadWhole();
};

void TestRegionMesher::dividesOneRegion() {
    const RegionMesher::Result result = RegionMesher::Build({Rectangle(0, 0, 4, 2, 2, 1)});
    QVERIFY(result.Ok);
    const Mesh& mesh = result.Mesh_;
    QCOMPARE(mesh.Nodes, (std::vector<QPointF>{{0, 0}, {2, 0}, {4, 0}, {0, 2}, {2, 2}, {4, 2}}));
    QCOMPARE(mesh.Elements.size(), size_t(2));
    QCOMPARE(mesh.Elements[0].Corners, (std::array<int, 4>{1, 2, 5, 4}));
    QCOMPARE(mesh.Elements[1].Corners, (std::array<int, 4>{2, 3, 6, 5}));
}

void TestRegionMesher::sharedEdgesShareNodes() {
    // The right region is given clockwise and from another corner: its elements still run
    // counter-clockwise and its left edge reuses the nodes of the first region's right edge.
    MeshRegion right{{QPointF(4, 2), QPointF(6, 2), QPointF(6, 0), QPointF(4, 0)}, 2, 2, 2, 3};
    const RegionMesher::Result result = RegionMesher::Build({Rectangle(0, 0, 4, 2, 2, 2), right});
    QVERIFY2(result.Ok, qPrintable(result.Error));
    QCOMPARE(result.Mesh_.Nodes.size(), size_t(15));
    QCOMPARE(result.Mesh_.Elements.size(), size_t(8));
    for (const Mesh::Element& element : result.Mesh_.Elements)
        QVERIFY(SignedArea(result.Mesh_, element) > 0);
    QCOMPARE(result.Mesh_.Elements.back().Material, 2);
    QCOMPARE(result.Mesh_.Elements.back().Section, 3);
}

void TestRegionMesher::farFromTheOriginAsNearIt_data() {
    QTest::addColumn<double>("offset");
    QTest::newRow("at the origin") << 0.0;
    QTest::newRow("ten million away") << 1e7; // used to merge into one node
    QTest::newRow("far negative") << -3e8;
}

void TestRegionMesher::farFromTheOriginAsNearIt() {
    QFETCH(double, offset);
    const RegionMesher::Result result =
        RegionMesher::Build({Rectangle(offset, offset, offset + 4, offset + 3, 8, 6),
                             Rectangle(offset + 4, offset, offset + 6, offset + 3, 4, 6)});
    QVERIFY2(result.Ok, qPrintable(result.Error));
    QCOMPARE(result.Mesh_.Nodes.size(), size_t(9 * 7 + 4 * 7));
    QCOMPARE(result.Mesh_.Elements.size(), size_t(48 + 24));
    for (const Mesh::Element& element : result.Mesh_.Elements)
        QVERIFY(qAbs(SignedArea(result.Mesh_, element) - 0.25) < 1e-3);
}

void TestRegionMesher::junctionOnADivisionPointIsConforming() {
    // The two upper regions meet the lower one at its division point: no crack.
    const RegionMesher::Result result = RegionMesher::Build(
        {Rectangle(0, 0, 2, 1, 2, 1), Rectangle(0, 1, 1, 2, 1, 1), Rectangle(1, 1, 2, 2, 1, 1)});
    QVERIFY2(result.Ok, qPrintable(result.Error));
    QCOMPARE(result.Mesh_.Nodes.size(), size_t(9));
    QCOMPARE(result.Mesh_.Elements.size(), size_t(4));
}

void TestRegionMesher::manyRegionsMeshIntoOneStrip() {
    // 20,000 regions in a row, each sharing a side with the next, mesh into one conforming
    // strip (bench_gralt times it: every pair of regions used to be compared).
    std::vector<MeshRegion> regions;
    for (int r = 0; r < 20000; ++r)
        regions.push_back(Rectangle(r, 0, r + 1, 1, 1, 1));
    const RegionMesher::Result result = RegionMesher::Build(regions);
    QVERIFY2(result.Ok, qPrintable(result.Error));
    QCOMPARE(result.Mesh_.Nodes.size(), size_t(40002));
    QCOMPARE(result.Mesh_.Elements.size(), size_t(20000));
}

void TestRegionMesher::refusesRegions_data() {
    QTest::addColumn<std::vector<MeshRegion>>("regions");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << std::vector<MeshRegion>{} << "no region";
    MeshRegion crossed = Rectangle(0, 0, 1, 1, 1, 1);
    std::swap(crossed.Corners[1], crossed.Corners[2]);
    QTest::newRow("sides cross") << std::vector{crossed} << "Region 1: its sides cross";
    MeshRegion flat{{QPointF(0, 0), QPointF(1, 0), QPointF(2, 0), QPointF(3, 0)}, 1, 1, 1, 1};
    QTest::newRow("no area") << std::vector{flat} << "no area";
    MeshRegion dart{{QPointF(0, 0), QPointF(4, 0), QPointF(1, 1), QPointF(0, 4)}, 1, 1, 1, 1};
    QTest::newRow("reflex corner") << std::vector{dart} << "not convex at corner 3";
    QTest::newRow("no division") << std::vector{Rectangle(0, 0, 1, 1, 0, 1)} << "divisions";
    QTest::newRow("edge divided twice")
        << std::vector{Rectangle(0, 0, 1, 1, 2, 3), Rectangle(1, 0, 2, 1, 2, 4)}
        << "Regions 1 and 2 share an edge but divide it into 3 and 4 parts";
    // A T-junction: two regions on one undivided side of a third.
    QTest::newRow("T-junction") << std::vector{Rectangle(0, 0, 2, 1, 1, 1),
                                               Rectangle(0, 1, 1, 2, 1, 1),
                                               Rectangle(1, 1, 2, 2, 1, 1)}
                                << "Regions 1 and 2 share only part of an edge: the point (1, 1) "
                                   "lies on a side of region 1";
    // The same on a slanted side, where the search walks the cells along the side.
    MeshRegion slanted{{QPointF(0, 0), QPointF(4, -1), QPointF(5, 3), QPointF(1, 4)}, 1, 1, 1, 1};
    MeshRegion half{{QPointF(4, -1), QPointF(6, -1), QPointF(5.5, 1), QPointF(4.5, 1)}, 1, 1, 1, 1};
    QTest::newRow("T-junction on a slanted side")
        << std::vector{slanted, half}
        << "Regions 1 and 2 share only part of an edge: the point (4.5, 1) lies on a side of "
           "region 1";
    QTest::newRow("edges overlap in part")
        << std::vector{Rectangle(0, 0, 2, 1, 1, 1), Rectangle(1, 1, 3, 2, 1, 1)}
        << "Regions 1 and 2 share only part of an edge";
    // Elements on top of one another would each add their stiffness.
    QTest::newRow("overlap") << std::vector{Rectangle(0, 0, 2, 2, 1, 1),
                                            Rectangle(5, 0, 6, 1, 1, 1),
                                            Rectangle(1, 1, 3, 3, 1, 1)}
                             << "Regions 1 and 3 overlap";
    QTest::newRow("one inside another")
        << std::vector{Rectangle(0, 0, 10, 10, 1, 1), Rectangle(4, 4, 5, 5, 1, 1)}
        << "Regions 1 and 2 overlap";
    QTest::newRow("too small for the coordinates")
        << std::vector{Rectangle(1e9, 0, 1e9 + 0.01, 0.01, 10, 10)}
        << "move the regions nearer to the origin";
    QTest::newRow("too many nodes")
        << std::vector{Rectangle(0, 0, 1, 1, 1000, 1000)} << "at most 200000";
}

void TestRegionMesher::refusesRegions() {
    QFETCH(std::vector<MeshRegion>, regions);
    QFETCH(QString, message);
    const RegionMesher::Result result = RegionMesher::Build(regions);
    QVERIFY(!result.Ok);
    QVERIFY2(result.Error.contains(message), qPrintable(result.Error));
}

void TestRegionMesher::projectFileRoundTrip() {
    const std::vector<MeshRegion> regions{
        Rectangle(0, 0, 4.25, 2, 8, 4),
        {{QPointF(-1e-3, 0), QPointF(1, 0.1), QPointF(1.5, 2), QPointF(0, 1)}, 3, 5, 2, 7}};
    const QByteArray bytes = MeshProject::Write(regions);
    QVERIFY(bytes.contains("\r\nregion 0 0 4.25 0 4.25 2 0 2 8 4 1 1\r\n"));
    const MeshProject::Result read = MeshProject::Read(bytes);
    QVERIFY2(read.Ok, qPrintable(read.Error));
    QVERIFY(read.Regions == regions);
}

void TestRegionMesher::projectFileFaults_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("other file") << QByteArray("region 0 0 1 0 1 1 0 1 1 1 1 1\n")
                                << "line 1: not a project";
    QTest::newRow("short line") << QByteArray("Gralt project 1\n; c\n\nregion 0 0 1\n")
                                << "line 4: a region line";
    QTest::newRow("text for a number")
        << QByteArray("Gralt project 1\nregion 0 0 1 0 1 1 0 one 1 1 1 1\n")
        << "line 2: \"one\" is not a number";
    QTest::newRow("zero divisions")
        << QByteArray("Gralt project 1\nregion 0 0 1 0 1 1 0 1 0 1 1 1\n")
        << "line 2: \"0\" is not a whole number of 1 or more";
}

void TestRegionMesher::projectFileFaults() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const MeshProject::Result read = MeshProject::Read(bytes);
    QVERIFY(!read.Ok);
    QVERIFY(read.Regions.empty());
    QVERIFY2(read.Error.startsWith(message), qPrintable(read.Error));
}

void TestRegionMesher::meshFileRoundTripAndFaults() {
    const Mesh mesh = RegionMesher::Build({Rectangle(0, 0, 0.3, 0.2, 3, 2)}).Mesh_;
    const QByteArray bytes = MeshFile::Write(mesh, QStringLiteral("Mesh"));
    QVERIFY(
        bytes.startsWith("Mesh\r\n*4 Nodes\r\n#  1           0          0\r\n#  2         0.1"));
    const MeshFile::Result read = MeshFile::Read(bytes);
    QVERIFY2(read.Ok, qPrintable(read.Error));
    QCOMPARE(read.Mesh_.Nodes, mesh.Nodes);
    QVERIFY(read.Mesh_.Elements == mesh.Elements);

    QByteArray broken = bytes;
    broken.replace("#  1      1     2     6     5     1     1",
                   "#  1      1     2    99     5     1     1");
    QCOMPARE(MeshFile::Read(broken).Error, QStringLiteral("line 16: node 99 is not in table 4"));
    QCOMPARE(MeshFile::Read("*4\n*5\n&\n").Error,
             QStringLiteral("line 3: the mesh has no elements"));
}

void TestRegionMesher::outputWritesBothFilesOrNone() {
    QTemporaryDir toolset;
    const QString data = QDir(toolset.path()).filePath(QStringLiteral("data"));
    QVERIFY(MeshOutput::Load(data).Ok);
    QVERIFY(MeshOutput::Load(data).Regions.empty());

    QCOMPARE(MeshOutput::Save(data, {Rectangle(0, 0, 1, 1, 0, 1)}).left(9),
             QStringLiteral("Region 1:"));
    QVERIFY(!QFile::exists(QDir(data).filePath(QStringLiteral("unnamed1.spj"))));

    QCOMPARE(MeshOutput::Save(data, {Rectangle(0, 0, 1, 1, 2, 2)}), QString());
    QVERIFY(QFile::exists(QDir(data).filePath(QStringLiteral("unnamed1.d13"))));
    QCOMPARE(MeshOutput::Load(data).Regions.size(), size_t(1));
}

void TestRegionMesher::projectIsReadWhole() {
    // A region line across the first mebibyte: its section (12) and the region after it used
    // to be cut off, and OK then wrote the rest over the project.
    QTemporaryDir toolset;
    const QString data = QDir(toolset.path()).filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(data));
    QByteArray bytes("Gralt project 1\r\n;");
    bytes += QByteArray(1024 * 1024 - bytes.size() - 32, 'x');
    bytes += "\r\nregion 0 0 4 0 4 3 0 3 8 6 1 12\r\nregion 4 0 5 0 5 3 4 3 2 6 1 1\r\n";
    QCOMPARE(bytes.indexOf("12\r\n"), 1024 * 1024 - 1);
    QFile file(QDir(data).filePath(MeshOutput::ProjectName()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const MeshProject::Result project = MeshOutput::Load(data);
    QVERIFY2(project.Ok, qPrintable(project.Error));
    QCOMPARE(project.Regions.size(), size_t(2));
    QCOMPARE(project.Regions[0].Section, 12);
}

QTEST_GUILESS_MAIN(TestRegionMesher)
#include "tst_regionmesher.moc"
