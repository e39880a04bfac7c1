#include "DataChecker.h"
#include "DataFileText.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "ItemLine.h"
#include "MeshFile.h"
#include "MeshOutput.h"
#include "MeshTransfer.h"
#include "PackageSettings.h"
#include "ProgramRun.h"
#include "RegionMesher.h"
#include "SolverFiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace ProgramRun;

namespace {

QByteArray TolvikData(const QString& name) {
    return ReadFile(QStringLiteral(TOLVIK_TEST_DATA "/") + name);
}

QByteArray OwnData(const QString& name) {
    return ReadFile(QStringLiteral(QV_TEST_DATA "/") + name);
}

QByteArray Example(const QString& name) {
    return OwnData(QStringLiteral("examples/") + name);
}

// The mesh file the mesher writes on OK for the example project `name`.spj.
QByteArray ExampleMesh(const QString& name, int problem) {
    const MeshProject::Result project = MeshProject::Read(Example(name + QStringLiteral(".spj")));
    QTemporaryDir data;
    const QString error =
        MeshOutput::Save(data.path(), project.Regions, project.Conditions, problem);
    if (!project.Ok || !error.isEmpty())
        qFatal("%s", qPrintable(project.Error + error));
    return ReadFile(data.filePath(MeshOutput::MeshName()));
}

Mesh Strip(int parts) {
    return RegionMesher::Build(
               {{{QPointF(0, 0), QPointF(6, 0), QPointF(6, 2), QPointF(0, 2)}, parts, 1, 1, 1}})
        .Mesh_;
}

} // namespace

class TestVosher : public QObject {
    Q_OBJECT

private slots:
    void replacesTheMeshAndRemovesWhatNamedIt();
    void removesWhatTheAddedTablesNamed();
    void leavesOutSectionsWhereTheTypeHasNone();
    void reportsRemovedSupportsAndLoads();
    void removedItemsAreToldInRuns();
    void headingWithoutLineEndStaysALine();
    void examplesGoThroughToTheChecker_data();
    void examplesGoThroughToTheChecker();
    void meshTablesReplaceOnlyTheirOwn();
    void refusesAndLeavesTheFile_data();
    void refusesAndLeavesTheFile();
    void slabUnderPressureMeetsNavier();
    void programFindsTheMeshInTheToolset();
    void toolsetDefaultsToThePackageFolder();
};

void TestVosher::replacesTheMeshAndRemovesWhatNamedIt() {
    const QByteArray original = TolvikData(QStringLiteral("panel.d59"));
    DataFileText text = DataFileText::FromBytes(original);
    const DataFormat format = *FormatCatalogue::For(9, false);
    const MeshTransfer::Result result = MeshTransfer::Apply(text, format, Strip(3));
    QCOMPARE(result.Error, QString());
    // Every old node is gone, so supports and loads at them would land on unrelated nodes.
    QCOMPARE(result.Removed, (QStringList{QStringLiteral("Removed from table 6 (they referred "
                                                         "to nodes of the old mesh): items 1, "
                                                         "2. Give them again."),
                                          QStringLiteral("Removed from table 7 (they referred "
                                                         "to nodes of the old mesh): item 1. "
                                                         "Give them again.")}));
    const QStringList lines = text.Lines();
    QCOMPARE(lines[6], QStringLiteral("#  5  Nodes        = 8"));
    QCOMPARE(lines[7], QStringLiteral("#  6  Elements     = 3"));
    QCOMPARE(lines.mid(16, 3),
             (QStringList{QStringLiteral("*4 Nodes"), QStringLiteral("   No     x      z"),
                          QStringLiteral("#  1           0          0")}));
    QCOMPARE(lines[28], QStringLiteral("#  1      1     2     6     5     1     1"));
    // The tables and their headings stay, ready for the items to be given again.
    QCOMPARE(lines.mid(31),
             (QStringList{QStringLiteral("*6 Supports"), QStringLiteral("   No  node  ux  uz"),
                          QStringLiteral("*7 Nodal loads"),
                          QStringLiteral("   No  case  node    Fx     Fz"), QStringLiteral("&")}));
    const QByteArray bytes = text.ToBytes();
    QVERIFY(bytes.startsWith(original.left(original.indexOf("#  5  Nodes"))));
}

// Temperatures and springs name nodes too: left behind, they would act on unrelated nodes of
// the new mesh. A self-weight names none and stays.
void TestVosher::removesWhatTheAddedTablesNamed() {
    DataFileText text = DataFileText::FromBytes(TolvikData(QStringLiteral("heated.d59")));
    const MeshTransfer::Result result =
        MeshTransfer::Apply(text, *FormatCatalogue::For(9, false), Strip(3));
    QCOMPARE(result.Error, QString());
    QCOMPARE(result.Removed.mid(2),
             (QStringList{QStringLiteral("Removed from table 11 (they referred to nodes of the "
                                         "old mesh): items 1, 2. Give them again."),
                          QStringLiteral("Removed from table 13 (they referred to nodes of the "
                                         "old mesh): item 1. Give them again.")}));
    QVERIFY(text.Lines().contains(QStringLiteral("#  1    1     0.0  -1.0")));
}

void TestVosher::leavesOutSectionsWhereTheTypeHasNone() {
    DataFileText text = DataFileText::FromBytes(TolvikData(QStringLiteral("rect.d66")));
    QCOMPARE(MeshTransfer::Apply(text, *FormatCatalogue::For(16, false), Strip(2)).Error,
             QString());
    QVERIFY(text.Lines().contains(QStringLiteral("#  2      2     3     6     5     1")));
}

void TestVosher::reportsRemovedSupportsAndLoads() {
    // The slab's supports, point load and pressures named the nodes and elements of its
    // 2 x 2 mesh; after a 5 x 5 mesh none of them may stay.
    QTemporaryDir directory;
    WriteFile(directory.filePath(QStringLiteral("slab.d13")), OwnData(QStringLiteral("slab.d13")));
    const Mesh mesh =
        RegionMesher::Build(
            {{{QPointF(0, 0), QPointF(6, 0), QPointF(6, 6), QPointF(0, 6)}, 5, 5, 1, 1}})
            .Mesh_;
    WriteFile(directory.filePath(QStringLiteral("mesh.d13")),
              MeshFile::Write(mesh, QStringLiteral("Mesh")));
    const Result run = Run(QStringLiteral(VOSHER_PROGRAM), directory.path(),
                           {QStringLiteral("slab.d13"), QStringLiteral("mesh.d13")});
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.ErrorFile,
             QByteArray("OK - the mesh of 36 nodes and 25 elements was taken into slab.d13\r\n"
                        "Removed from table 6 (they referred to nodes of the old mesh): items 1 to "
                        "8. Give them again.\r\n"
                        "Removed from table 7 (they referred to nodes of the old mesh): item 1. "
                        "Give them again.\r\n"
                        "Removed from table 8 (they referred to elements of the old mesh): items "
                        "1 to 4. Give them again.\r\n"));
    const DataFileText text =
        DataFileText::FromBytes(ReadFile(directory.filePath(QStringLiteral("slab.d13"))));
    for (int table = 6; table <= 9; ++table) {
        const DataFileText::Span span = text.Table(table);
        QVERIFY(span.Found());
        for (int i = span.Header + 1; i < span.End; ++i)
            QVERIFY2(!text.Line(i).startsWith(u'#'), qPrintable(text.Line(i)));
    }
    QCOMPARE(text.Table(5).End - text.Table(5).Header, 27); // header, headings, 25 items
}

void TestVosher::removedItemsAreToldInRuns() {
    QByteArray slab = OwnData(QStringLiteral("slab.d13"));
    slab.replace("#  3    3    1   0   0", "#  9    3    1   0   0");
    slab.replace("#  8    9    1   0   0", "#x   9    1   0   0");
    slab.replace("#  1    1    1   0   0", "#  0    1    1   0   0");
    DataFileText text = DataFileText::FromBytes(slab);
    const MeshTransfer::Result result =
        MeshTransfer::Apply(text, *FormatCatalogue::For(13, false), Strip(2));
    QCOMPARE(result.Removed.value(0),
             QStringLiteral("Removed from table 6 (they referred to nodes of the old mesh): "
                            "items 0, 2, 9, 4 to 7, \"#x 9 1 0 0\". Give them again."));
}

void TestVosher::headingWithoutLineEndStaysALine() {
    // The file ends in the element table's column headings, without a line end.
    QTemporaryDir directory;
    const QByteArray data = OwnData(QStringLiteral("heading_at_eof/data.d16"));
    QVERIFY(data.endsWith("materia"));
    WriteFile(directory.filePath(QStringLiteral("rect.d16")), data);
    WriteFile(directory.filePath(QStringLiteral("mesh.d13")),
              OwnData(QStringLiteral("heading_at_eof/mesh.d13")));
    const Result run = Run(QStringLiteral(VOSHER_PROGRAM), directory.path(),
                           {QStringLiteral("rect.d16"), QStringLiteral("mesh.d13")});
    QCOMPARE(run.ExitCode, 0);
    QVERIFY(run.ErrorFile.startsWith("OK - the mesh of 4 nodes and 1 elements"));
    QVERIFY(ReadFile(directory.filePath(QStringLiteral("rect.d16")))
                .endsWith("   No   n1  n2  n3  n4  materia\r\n"
                          "#  1      1     2     4     3     1\r\n"));
}

void TestVosher::examplesGoThroughToTheChecker_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QPointF>("total"); // of the nodal loads of case 1; radial ones times r
    // 20 kN/m over 6 m on the top in case 1; the wind of case 2 on the left side's 8 nodes.
    QTest::newRow("wall with an opening")
        << "wall.d59" << 9
        << "the mesh of 98 nodes and 72 elements was taken into wall.d59; table 6: 13 "
           "supports, table 7: 21 nodal loads"
        << QPointF(0, -120);
    // Water 10 m deep on the upstream face: 98.1 * 10 / 2 kN per metre of dam.
    QTest::newRow("dam") << "dam.d60" << 10
                         << "the mesh of 99 nodes and 80 elements was taken into dam.d60; table 6: "
                            "9 supports, table 7: 11 nodal loads"
                         << QPointF(490.5, 0);
    // 100 kN/m2 on the inner face 1 m high, at r = 1: 100 kN per radian.
    QTest::newRow("thick ring") << "ring.d61" << 11
                                << "the mesh of 25 nodes and 16 elements was taken into ring.d61; "
                                   "table 6: 5 supports, table 7: 5 nodal loads"
                                << QPointF(100, 0);
    QTest::newRow("hollow profile")
        << "hollow.d66" << 16
        << "the mesh of 56 nodes and 28 elements was taken into hollow.d66; table 6: 56 contour "
           "nodes"
        << QPointF();
}

void TestVosher::examplesGoThroughToTheChecker() {
    QFETCH(QString, name);
    QFETCH(int, problem);
    QFETCH(QString, verdict);
    QFETCH(QPointF, total);
    const QString base = name.section(u'.', 0, 0);
    QTemporaryDir directory;
    WriteFile(directory.filePath(QStringLiteral("mesh.d13")), ExampleMesh(base, problem));
    WriteFile(directory.filePath(name), Example(name));
    const Result run =
        Run(QStringLiteral(VOSHER_PROGRAM), directory.path(), {name, QStringLiteral("mesh.d13")});
    QCOMPARE(run.ExitCode, 0);
    // Every later table came with the mesh: nothing was removed.
    QCOMPARE(QString::fromUtf8(run.ErrorFile), QStringLiteral("OK - ") + verdict + "\r\n");

    const QByteArray bytes = ReadFile(directory.filePath(name));
    const DataFormat format = *FormatCatalogue::For(problem, false);
    const DataChecker::Result checked = DataChecker::Check(InputText::Lines(bytes), format);
    QVERIFY2(checked.Ok,
             qPrintable(
                 QStringLiteral("line %1: %2").arg(checked.Fault.Line).arg(checked.Fault.Message)));
    if (problem == 16)
        return;
    const DataFileText text = DataFileText::FromBytes(bytes);
    std::vector<QPointF> nodes;
    const DataFileText::Span nodeTable = text.Table(4), loadTable = text.Table(7);
    for (int i = nodeTable.Header + 1; i < nodeTable.End; ++i) {
        const ItemLine item = ItemLine::Parse(text.Line(i));
        if (item.Valid)
            nodes.emplace_back(item.Words[0].toDouble(), item.Words[1].toDouble());
    }
    QPointF sum;
    for (int i = loadTable.Header + 1; i < loadTable.End; ++i) {
        const ItemLine item = ItemLine::Parse(text.Line(i));
        if (!item.Valid || item.Words[0] != u"1")
            continue;
        const double r = problem == 11 ? nodes[size_t(item.Words[1].toInt() - 1)].x() : 1;
        sum += QPointF(item.Words[2].toDouble(), item.Words[3].toDouble()) * r;
    }
    QVERIFY2(std::abs(sum.x() - total.x()) < 1e-6 && std::abs(sum.y() - total.y()) < 1e-6,
             qPrintable(QStringLiteral("%1 %2").arg(sum.x()).arg(sum.y())));
}

void TestVosher::meshTablesReplaceOnlyTheirOwn() {
    // A mesh with supports only: table 6 takes them, table 7's old loads are removed and
    // named, as before.
    DataFileText text = DataFileText::FromBytes(TolvikData(QStringLiteral("panel.d59")));
    Mesh mesh = Strip(3);
    mesh.Tables = {{6, QStringLiteral("Supports"), {{1, 1, 1}, {4, 0, 1}}}};
    const MeshTransfer::Result result =
        MeshTransfer::Apply(text, *FormatCatalogue::For(9, false), mesh);
    QCOMPARE(result.Error, QString());
    QCOMPARE(result.Written, QStringList{QStringLiteral("table 6: 2 supports")});
    QCOMPARE(result.Removed, QStringList{QStringLiteral("Removed from table 7 (they referred to "
                                                        "nodes of the old mesh): item 1. Give "
                                                        "them again.")});
    const DataFileText::Span supports = text.Table(6);
    QCOMPARE(text.Lines().mid(supports.Header, 4),
             (QStringList{QStringLiteral("*6 Supports"), QStringLiteral("   No  node  ux  uz"),
                          QStringLiteral("#  1      1     1     1"),
                          QStringLiteral("#  2      4     0     1")}));
}

void TestVosher::refusesAndLeavesTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("mesh");
    QTest::addColumn<QByteArray>("message");
    const QByteArray strip = MeshFile::Write(Strip(2), QStringLiteral("Mesh"));
    QTest::newRow("frame") << "frame.d55" << TolvikData(QStringLiteral("frame.d55")) << strip
                           << QByteArray("not of problem 5");
    QByteArray noNodes = TolvikData(QStringLiteral("panel.d59"));
    noNodes.replace("*4 Nodes", "Nodes");
    QTest::newRow("no table 4") << "panel.d59" << noNodes << strip
                                << QByteArray("the data file has no table 4");
    // A header among the elements used to end the mesh there, and the rest was lost.
    QTest::newRow("stray header")
        << "panel.d09" << OwnData(QStringLiteral("panel.d09"))
        << OwnData(QStringLiteral("stray_header.d13"))
        << QByteArray("mesh.d13, line 11: \"*4 Nodes of the second part\" where a later table or "
                      "the end mark is expected");
    // The mesh's later tables must fit the data file's type and load cases.
    const auto withTable = [](const QByteArray& mesh, const QByteArray& table) {
        QByteArray bytes = mesh;
        bytes.replace("&\r\n", table + "&\r\n");
        return bytes;
    };
    QTest::newRow("load case beyond item 4")
        << "panel.d59" << TolvikData(QStringLiteral("panel.d59"))
        << withTable(strip, "*7 Nodal loads\r\n#  1  2  3  1.5  0\r\n")
        << QByteArray("the mesh brings loads of load case 2, but the data file has 1 load cases "
                      "(item 4 of table 1)");
    QTest::newRow("loads for a profile")
        << "rect.d66" << TolvikData(QStringLiteral("rect.d66"))
        << withTable(strip, "*7 Nodal loads\r\n#  1  1  3  1.5  0\r\n")
        << QByteArray("the mesh file gives table 7, which torsion profiles do not have");
    QTest::newRow("plane codes for a plate")
        << "slab.d13" << OwnData(QStringLiteral("slab.d13"))
        << withTable(strip, "*6 Supports\r\n#  1  1  1  1\r\n")
        << QByteArray("table 6 of the mesh file, item 1: 4 values expected (node uz rx ry), not 3");
    QTest::newRow("support beyond the mesh")
        << "panel.d59" << TolvikData(QStringLiteral("panel.d59"))
        << withTable(strip, "*6 Supports\r\n#  1  7  1  1\r\n")
        << QByteArray("table 6 of the mesh file, item 1: node 7 is not in the mesh");
    // Coordinates the checker would refuse never reach the file; the mesh's line is named.
    for (const auto& [row, node, at, text] :
         {std::tuple{"beyond a single", 2, QPointF(1e308, 0),
                     "line 5, node 3 of the mesh: x is 1e+308"},
          std::tuple{"far up", 5, QPointF(0, -1e100),
                     "line 8, node 6 of the mesh: z is -1e+100"}}) {
        Mesh far = Strip(2);
        far.Nodes[size_t(node)] = at;
        QTest::newRow(row) << "panel.d09" << OwnData(QStringLiteral("panel.d09"))
                           << MeshFile::Write(far, QStringLiteral("Mesh"))
                           << QByteArray(text) + "; a coordinate must lie between";
    }
    // So do elements too small to compute with, though every coordinate is a fine number.
    Mesh tiny = Strip(2);
    for (QPointF& node : tiny.Nodes)
        node *= 1e-40;
    QTest::newRow("tiny elements")
        << "panel.d09" << OwnData(QStringLiteral("panel.d09"))
        << MeshFile::Write(tiny, QStringLiteral("Mesh"))
        << QByteArray("line 10, element 1 of the mesh: the element measures");
    Mesh twice = Strip(2);
    twice.Elements[1] = twice.Elements[0];
    std::rotate(twice.Elements[1].Corners.begin(), twice.Elements[1].Corners.begin() + 1,
                twice.Elements[1].Corners.end());
    QTest::newRow("element given twice")
        << "panel.d09" << OwnData(QStringLiteral("panel.d09"))
        << MeshFile::Write(twice, QStringLiteral("Mesh"))
        << QByteArray("line 11, element 2 of the mesh repeats element 1");
    QByteArray cut = strip;
    cut.chop(3);
    QTest::newRow("cut short") << "panel.d09" << OwnData(QStringLiteral("panel.d09")) << cut
                               << QByteArray("the end mark \"&\" is missing");
}

void TestVosher::refusesAndLeavesTheFile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, mesh);
    QFETCH(QByteArray, message);
    QTemporaryDir directory;
    WriteFile(directory.filePath(QStringLiteral("mesh.d13")), mesh);
    WriteFile(directory.filePath(name), bytes);
    const Result run =
        Run(QStringLiteral(VOSHER_PROGRAM), directory.path(), {name, QStringLiteral("mesh.d13")});
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Output.contains(message), run.Output.constData());
    // The launcher shows the verdict: one line, not "OK".
    QVERIFY2(run.ErrorFile.startsWith("Error: ") && run.ErrorFile.contains(message) &&
                 run.ErrorFile.count("\r\n") == 1,
             run.ErrorFile.constData());
    QCOMPARE(ReadFile(directory.filePath(name)), bytes);
}

void TestVosher::slabUnderPressureMeetsNavier() {
    // A simply supported square slab, 6 m in 12 x 12 parts, under an even 10 kN/m2 given once
    // in the mesher: 144 element pressures that carry p times the area, and a centre deflection
    // of 0.00406 q a^4 / D (Timoshenko's table for a square plate).
    const double a = 6, q = 10, e = 3e7, nu = 0.3, t = 0.18;
    QTemporaryDir directory;
    const MeshProject::Result project = MeshProject::Read(
        "Gralt project 2\r\nregion 0 0 6 0 6 6 0 6 12 12 1 1\r\nsupport 1 1-2 1 0 0\r\n"
        "support 1 2-3 1 0 0\r\nsupport 1 3-4 1 0 0\r\nsupport 1 4-1 1 0 0\r\n"
        "pressure 1 area 1 -10\r\n");
    QVERIFY2(project.Ok, qPrintable(project.Error));
    QCOMPARE(MeshOutput::Save(directory.path(), project.Regions, project.Conditions, 13),
             QString());
    QByteArray slab = OwnData(QStringLiteral("slab.d13"));
    slab.replace("3.0E7     0.2", "3.0E7     0.3");
    WriteFile(directory.filePath(QStringLiteral("slab.d13")), slab);
    const Result run = Run(QStringLiteral(VOSHER_PROGRAM), directory.path(),
                           {QStringLiteral("slab.d13"), MeshOutput::MeshName()});
    QCOMPARE(run.ExitCode, 0);
    QVERIFY2(run.ErrorFile.startsWith("OK - the mesh of 169 nodes and 144 elements was taken into "
                                      "slab.d13; table 6: 48 supports, table 8: 144 element "
                                      "loads\r\n"),
             run.ErrorFile.constData());

    const QByteArray bytes = ReadFile(directory.filePath(QStringLiteral("slab.d13")));
    const DataChecker::Result checked =
        DataChecker::Check(InputText::Lines(bytes), *FormatCatalogue::For(13, false));
    QVERIFY2(checked.Ok, qPrintable(checked.Fault.Message));
    const DataFileText text = DataFileText::FromBytes(bytes);
    const auto items = [&](int table) {
        std::vector<std::vector<double>> rows;
        const DataFileText::Span span = text.Table(table);
        for (int i = span.Header + 1; i < span.End; ++i) {
            const ItemLine item = ItemLine::Parse(text.Line(i));
            if (!item.Valid)
                continue;
            std::vector<double>& row = rows.emplace_back();
            for (QStringView word : item.Words)
                row.push_back(word.toDouble());
        }
        return rows;
    };
    const auto nodes = items(4), elements = items(5);
    double load = 0;
    for (const auto& item : items(8)) {
        const auto& c = elements[size_t(item[1]) - 1];
        double twice = 0;
        for (size_t k = 0; k < 4; ++k) {
            const auto& p = nodes[size_t(c[k]) - 1];
            const auto& n = nodes[size_t(c[(k + 1) % 4]) - 1];
            twice += p[0] * n[1] - p[1] * n[0];
        }
        load += item[2] * twice / 2;
    }
    QV_COMPARE_NEAR(load, -q * a * a, 1e-12);

    int centre = 0;
    for (size_t n = 0; n < nodes.size(); ++n) {
        if (std::abs(nodes[n][0] - a / 2) < 1e-9 && std::abs(nodes[n][1] - a / 2) < 1e-9)
            centre = int(n + 1);
    }
    QVERIFY(centre > 0);
    const SolverFiles::Run solved(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"), bytes);
    QVERIFY2(solved.Ok(), qPrintable(solved.Error()));
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    QV_COMPARE_NEAR(solved.Displacement(centre, 0), -0.00406 * q * a * a * a * a / d, 0.01);
}

void TestVosher::programFindsTheMeshInTheToolset() {
    // The launcher runs "Vosher DATAFILE": the mesh comes from the data folder of the toolset
    // that the settings name.
    QTemporaryDir config, toolset, package;
    QVERIFY(QDir(toolset.path()).mkpath(QStringLiteral("data")));
    WriteFile(QDir(config.path()).filePath(QStringLiteral("VORM.ini")),
              "[General]\nYornikDirectory=" + toolset.path().toUtf8() + "/\n");
    WriteFile(toolset.filePath(QStringLiteral("data/unnamed1.d13")),
              MeshFile::Write(Strip(3), QStringLiteral("Mesh")));
    const QString data = package.filePath(QStringLiteral("panel.d59"));
    WriteFile(data, TolvikData(QStringLiteral("panel.d59")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    const Result run = Run(QStringLiteral(VOSHER_PROGRAM), package.path(), {data}, environment);
    QCOMPARE(run.ExitCode, 0);
    QVERIFY(ReadFile(data).contains("#  8           6          2\r\n*5"));
}

void TestVosher::toolsetDefaultsToThePackageFolder() {
    QTemporaryDir config;
    PackageSettings::SetLocationForTests(config.path());
    QCOMPARE(PackageSettings::ToolsetDirectory(QStringLiteral("/opt/package")),
             QStringLiteral("/opt/package/Yornik"));
    PackageSettings::WriteString(QStringLiteral("YornikDirectory"), QStringLiteral("/opt/yornik/"));
    QCOMPARE(PackageSettings::ToolsetDirectory(QStringLiteral("/opt/package")),
             QStringLiteral("/opt/yornik"));
}

QTEST_GUILESS_MAIN(TestVosher)
#include "tst_vosher.moc"
