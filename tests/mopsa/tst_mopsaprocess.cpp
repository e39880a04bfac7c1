#include "ProgramRun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ProgramRun;

class TestMopsaProcess : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(package_.isValid() && data_.isValid());
        beam_ = ReadFile(QStringLiteral(QV_TEST_DATA "/beam.d55"));
    }
    void expandsAndChecksTheFile();
    void rejectedFileStaysUntouched_data();
    void rejectedFileStaysUntouched();
    void withoutSeriesTheVerdictIsTheCheckers_data();
    void withoutSeriesTheVerdictIsTheCheckers();
    void wrongCommandLine();

private:
    QString DataPath(const QString& name) const { return QDir(data_.path()).filePath(name); }

    QTemporaryDir package_; // the working directory: "Error.txt" goes here
    QTemporaryDir data_;
    QByteArray beam_;
};

void TestMopsaProcess::expandsAndChecksTheFile() {
    WriteFile(DataPath(QStringLiteral("beam.d55")), beam_);
    const Result run =
        Run(QStringLiteral(MOPSA_PROGRAM), package_.path(), {DataPath(QStringLiteral("beam.d55"))});
    QCOMPARE(
        run.ErrorFile,
        QByteArray("OK - 3 nodes and 3 elements generated; no errors found (plane frames)\r\n"));
    QCOMPARE(run.ExitCode, 0);
    const QByteArray written = ReadFile(DataPath(QStringLiteral("beam.d55")));
    QVERIFY(written.contains("#  4           9          0\r\n#  5   12.0"));
    QVERIFY(written.endsWith("&\r\nNotes after the end mark stay.\r\n"));

    // A second run finds nothing to expand and leaves the file as it is.
    const Result again =
        Run(QStringLiteral(MOPSA_PROGRAM), package_.path(), {DataPath(QStringLiteral("beam.d55"))});
    QCOMPARE(again.ErrorFile,
             QByteArray("OK - no series to expand; no errors found (plane frames)\r\n"));
    QCOMPARE(ReadFile(DataPath(QStringLiteral("beam.d55"))), written);
}

void TestMopsaProcess::rejectedFileStaysUntouched_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QByteArray>("verdict");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("series fault") << "beam.d55" << QByteArray("#N 1 5 1") << QByteArray("#N 1 6 1")
                                  << QByteArray("Line 20: node 6 is not given above or among the "
                                                "items of the table\r\n")
                                  << 1;
    // The expansion succeeds but the result fails the check: nothing is written, and the
    // verdict names the line of the file as it stands, which the editor selects.
    QTest::newRow("check fault") << "beam.d55" << QByteArray("#  1    1     3      0.0")
                                 << QByteArray("#  1    1     9      0.0")
                                 << QByteArray("Line 32: node is 9, but the nodes go only up to "
                                               "5\r\n")
                                 << 1;
    // A generated item at fault is named by the series line that makes it.
    QTest::newRow("series makes a faulty item")
        << "beam.d55" << QByteArray("#E 1 3") << QByteArray("#E 1 9")
        << QByteArray("Line 25: item 5 that this series makes: node j is 6, but the nodes go "
                      "only up to 5\r\n")
        << 1;
    // A million copies naming nodes that are not there: refused before they are made.
    QTest::newRow("a million copies")
        << "beam.d55" << QByteArray("#E 1 3") << QByteArray("#E 1 999999")
        << QByteArray("Line 25: item 5 that this series makes: node j is 6, but the nodes go "
                      "only up to 5\r\n")
        << 1;
    // A line the message names is one of the file as it stands as well.
    QTest::newRow("second support at a node")
        << "beam.d55" << QByteArray("#  2    5    0   1   0")
        << QByteArray("#  2    1    0   1   0")
        << QByteArray("Line 29: node 1 appears a second time in table 6; it was first given in "
                      "line 28\r\n")
        << 1;
    QTest::newRow("plane stress") << "panel.d59" << QByteArray() << QByteArray()
                                  << QByteArray("Error: Mopsa generates the data of beams, "
                                                "trusses and frames (problem numbers 1 to 8 and "
                                                "15), not of problem 9\r\n")
                                  << 1;
}

void TestMopsaProcess::rejectedFileStaysUntouched() {
    QFETCH(QString, name);
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QByteArray, verdict);
    QFETCH(int, exitCode);
    QByteArray bytes = beam_;
    if (!from.isEmpty())
        bytes.replace(from, to);
    WriteFile(DataPath(name), bytes);
    const Result run = Run(QStringLiteral(MOPSA_PROGRAM), package_.path(), {DataPath(name)});
    QCOMPARE(run.ErrorFile, verdict);
    QCOMPARE(run.ExitCode, exitCode);
    QCOMPARE(ReadFile(DataPath(name)), bytes);
}

void TestMopsaProcess::withoutSeriesTheVerdictIsTheCheckers_data() {
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    // Faults the expansion would have met first, in words of its own.
    QTest::newRow("item twice") << QByteArray("#  5   12.0") << QByteArray("#  1   12.0");
    QTest::newRow("item 0") << QByteArray("#  5   12.0") << QByteArray("#  0   12.0");
    QTest::newRow("no number") << QByteArray("#  5   12.0") << QByteArray("#x 5   12.0");
    // An earlier fault comes first.
    QTest::newRow("earlier fault") << QByteArray("#  1   2.1E8") << QByteArray("#  1   2.1Q8");
    QTest::newRow("sound") << QByteArray() << QByteArray();
}

void TestMopsaProcess::withoutSeriesTheVerdictIsTheCheckers() {
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QByteArray bytes = beam_;
    bytes.replace("#N 1 5 1\r\n",
                  "#  2    3.0    0.0\r\n#  3    6.0    0.0\r\n#  4    9.0    0.0\r\n");
    bytes.replace("#E 1 3\r\n",
                  "#  2  2  3  1  1  0\r\n#  3  3  4  1  1  0\r\n#  4  4  5  1  1  0\r\n");
    bytes.replace("Nodes        = 2", "Nodes        = 5");
    bytes.replace("Elements     = 1 ", "Elements     = 4 ");
    if (!from.isEmpty())
        bytes.replace(from, to);
    WriteFile(DataPath(QStringLiteral("beam.d55")), bytes);
    const Result checker = Run(QStringLiteral(TOLVIK_PROGRAM), package_.path(),
                               {DataPath(QStringLiteral("beam.d55"))});
    const Result run =
        Run(QStringLiteral(MOPSA_PROGRAM), package_.path(), {DataPath(QStringLiteral("beam.d55"))});
    QCOMPARE(run.ExitCode, checker.ExitCode);
    if (checker.ExitCode == 0)
        QCOMPARE(run.ErrorFile,
                 QByteArray("OK - no series to expand; no errors found (plane frames)\r\n"));
    else
        QCOMPARE(run.ErrorFile, checker.ErrorFile);
    QCOMPARE(ReadFile(DataPath(QStringLiteral("beam.d55"))), bytes);
}

void TestMopsaProcess::wrongCommandLine() {
    const Result run = Run(QStringLiteral(MOPSA_PROGRAM), package_.path(), {});
    QCOMPARE(run.ErrorFile, QByteArray("Error: usage: Mopsa DATAFILE\r\n"));
    QCOMPARE(run.ExitCode, 2);
}

QTEST_GUILESS_MAIN(TestMopsaProcess)
#include "tst_mopsaprocess.moc"
