#include "DataChecker.h"
#include "DataFileText.h"
#include "FormatCatalogue.h"
#include "MeshFile.h"
#include "MeshTransfer.h"
#include "PackageSettings.h"
#include "ProgramRun.h"
#include "RegionMesher.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ProgramRun;

namespace {

QByteArray TolvikData(const QString& name) {
    return ReadFile(QStringLiteral(TOLVIK_TEST_DATA "/") + name);
}

QByteArray OwnData(const QString& name) {
    return ReadFile(QStringLiteral(QV_TEST_DATA "/") + name);
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
    void leavesOutSectionsWhereTheTypeHasNone();
    void reportsRemovedSupportsAndLoads();
    void removedItemsAreToldInRuns();
    void headingWithoutLineEndStaysALine();
    void refusesAndLeavesTheFile_data();
    void refusesAndLeavesTheFile();
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
