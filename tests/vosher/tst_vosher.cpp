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

Mesh Strip(int parts) {
    return RegionMesher::Build(
               {{{QPointF(0, 0), QPointF(6, 0), QPointF(6, 2), QPointF(0, 2)}, parts, 1, 1, 1}})
        .Mesh_;
}

} // namespace

class TestVosher : public QObject {
    Q_OBJECT

private slots:
    void replacesNodesAndElementsKeepsTheRest();
    void leavesOutSectionsWhereTheTypeHasNone();
    void refusesAndLeavesTheFile_data();
    void refusesAndLeavesTheFile();
    void programFindsTheMeshInTheToolset();
    void toolsetDefaultsToThePackageFolder();
};

void TestVosher::replacesNodesAndElementsKeepsTheRest() {
    const QByteArray original = TolvikData(QStringLiteral("panel.d59"));
    DataFileText text = DataFileText::FromBytes(original);
    const DataFormat format = *FormatCatalogue::For(9, false);
    QCOMPARE(MeshTransfer::Apply(text, format, Strip(3)), QString());
    const QStringList lines = text.Lines();
    QCOMPARE(lines[6], QStringLiteral("#  5  Nodes        = 8"));
    QCOMPARE(lines[7], QStringLiteral("#  6  Elements     = 3"));
    QCOMPARE(lines.mid(16, 3),
             (QStringList{QStringLiteral("*4 Nodes"), QStringLiteral("   No     x      z"),
                          QStringLiteral("#  1           0          0")}));
    QCOMPARE(lines[28], QStringLiteral("#  1      1     2     6     5     1     1"));
    // Supports and loads stay byte for byte, and the file passes the check.
    const QByteArray bytes = text.ToBytes();
    QVERIFY(bytes.endsWith(original.mid(original.indexOf("*6 Supports"))));
    const DataChecker::Result checked = DataChecker::Check(lines, format);
    QVERIFY2(checked.Ok, qPrintable(checked.Fault.Message));
}

void TestVosher::leavesOutSectionsWhereTheTypeHasNone() {
    DataFileText text = DataFileText::FromBytes(TolvikData(QStringLiteral("rect.d66")));
    QCOMPARE(MeshTransfer::Apply(text, *FormatCatalogue::For(16, false), Strip(2)), QString());
    QVERIFY(text.Lines().contains(QStringLiteral("#  2      2     3     6     5     1")));
}

void TestVosher::refusesAndLeavesTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("frame") << "frame.d55" << TolvikData(QStringLiteral("frame.d55"))
                           << QByteArray("not of problem 5");
    QByteArray noNodes = TolvikData(QStringLiteral("panel.d59"));
    noNodes.replace("*4 Nodes", "Nodes");
    QTest::newRow("no table 4") << "panel.d59" << noNodes
                                << QByteArray("the data file has no table 4");
}

void TestVosher::refusesAndLeavesTheFile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, message);
    QTemporaryDir directory;
    const QString mesh = directory.filePath(QStringLiteral("mesh.d13"));
    WriteFile(mesh, MeshFile::Write(Strip(2), QStringLiteral("Mesh")));
    WriteFile(directory.filePath(name), bytes);
    const Result run =
        Run(QStringLiteral(VOSHER_PROGRAM), directory.path(), {name, QStringLiteral("mesh.d13")});
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Output.contains(message), run.Output.constData());
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
