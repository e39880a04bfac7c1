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
    // The expansion succeeds but the result fails the check: the file is rewritten and the
    // verdict names the faulty line of the new file, so the editor does not accept it.
    QTest::newRow("check fault") << "beam.d55" << QByteArray("#  1    1     3      0.0")
                                 << QByteArray("#  1    1     9      0.0")
                                 << QByteArray("Line 36: node is 9, but the nodes go only up to "
                                               "5\r\n")
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
    if (verdict.startsWith("Line 36"))
        QVERIFY(ReadFile(DataPath(name)) != bytes);
    else
        QCOMPARE(ReadFile(DataPath(name)), bytes);
}

void TestMopsaProcess::wrongCommandLine() {
    const Result run = Run(QStringLiteral(MOPSA_PROGRAM), package_.path(), {});
    QCOMPARE(run.ErrorFile, QByteArray("Error: usage: Mopsa DATAFILE\r\n"));
    QCOMPARE(run.ExitCode, 2);
}

QTEST_GUILESS_MAIN(TestMopsaProcess)
#include "tst_mopsaprocess.moc"
