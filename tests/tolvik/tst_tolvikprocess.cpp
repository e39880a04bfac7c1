#include "CheckSupport.h"

#include <QDir>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace CheckSupport;

namespace {

struct Run {
    int ExitCode = -1;
    QByteArray ErrorFile; // "Error.txt" as written, or "<missing>"
};

// Runs the real checker in `directory`, as the launcher does from the package directory.
Run Tolvik(const QString& directory, const QStringList& arguments) {
    QFile::remove(QDir(directory).filePath(QStringLiteral("Error.txt")));
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral(TOLVIK_PROGRAM), arguments);
    if (!process.waitForFinished(30000))
        qFatal("the checker did not finish");
    Run run;
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    QFile file(QDir(directory).filePath(QStringLiteral("Error.txt")));
    run.ErrorFile = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    return run;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

QByteArray Cp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

} // namespace

class TestTolvikProcess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir(package_.path()).mkdir(QStringLiteral("folder.d05"))); }
    void verdict_data();
    void verdict();
    void modelFiles();
    void modelFilesOfARejectedFile();
    void cyrillicText();
    void wrongCommandLine();

private:
    QTemporaryDir package_;
};

void TestTolvikProcess::verdict_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("errorFile");
    QTest::newRow("accepted") << TestData(QStringLiteral("frame.d55")) << 0
                              << QByteArray("OK - no errors found (plane frames)\r\n");
    QTest::newRow("not yet accepted and accepted numbers alike")
        << TestData(QStringLiteral("three.d71")) << 0
        << QByteArray("OK - no errors found (systems of linear equations)\r\n");
    QTest::newRow("missing file") << QStringLiteral("nowhere/x.d05") << 1
                                  << QByteArray("Error: cannot read ");
    QTest::newRow("directory") << QStringLiteral("folder.d05") << 1
                               << QByteArray("Error: ") + package_.filePath("folder.d05").toUtf8() +
                                      " is a directory";
    // The preview's model file holds 32-bit singles: a node beyond them is refused, not
    // written as infinity.
    QTest::newRow("node beyond a single")
        << TestData(QStringLiteral("beyond-single.d05")) << 1
        << QByteArray("Line 20: x is 1e+39; a coordinate must lie between");
    QTest::newRow("no problem number") << TestData(QStringLiteral("frame.d55")) + "x" << 1
                                       << QByteArray("Error: the name frame.d55x gives no problem "
                                                     "number");
}

void TestTolvikProcess::verdict() {
    QFETCH(QString, path);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, errorFile);
    const Run run = Tolvik(package_.path(), {path, QStringLiteral("XYZ")});
    QCOMPARE(run.ExitCode, exitCode);
    if (exitCode != 0)
        QCOMPARE(QFileInfo(package_.filePath(QStringLiteral("XYZ"))).size(), 0);
    QVERIFY2(run.ErrorFile.startsWith(errorFile), run.ErrorFile);
    QVERIFY(run.ErrorFile.endsWith("\r\n"));
}

// A fault names its line from character 6 on, which the editor selects; the two model files
// of the preview follow the same check.
void TestTolvikProcess::modelFiles() {
    const QString directory = package_.filePath(QStringLiteral("my data"));
    QVERIFY(QDir().mkpath(directory));
    const QString data = QDir(directory).filePath(QStringLiteral("frame.d05"));
    QByteArray text = ReadBytes(TestData(QStringLiteral("frame.d55")));
    Write(data, text);

    const Run accepted = Tolvik(package_.path(), {data, QStringLiteral("XYZ")});
    QCOMPARE(accepted.ExitCode, 0);
    QCOMPARE(ReadBytes(package_.filePath(QStringLiteral("XYZ"))).size(), 4 * 12);
    QCOMPARE(ReadBytes(package_.filePath(QStringLiteral("J1J2"))),
             QByteArray::fromHex("010002000200030003000400"));

    Write(data, text.replace("#  3    3   4     1        1        0",
                             "#  3    3   5     1        1        0"));
    const Run rejected = Tolvik(package_.path(), {data});
    QCOMPARE(rejected.ExitCode, 1);
    QCOMPARE(rejected.ErrorFile,
             QByteArray("Line 26: node j is 5, but the nodes go only up to 4\r\n"));
    QCOMPARE(rejected.ErrorFile.left(5), QByteArray("Line "));
}

// Without a sound model the files are emptied, so the preview cannot show a stale one.
void TestTolvikProcess::modelFilesOfARejectedFile() {
    Write(package_.filePath(QStringLiteral("XYZ")), QByteArray(24, 'x'));
    Write(package_.filePath(QStringLiteral("J1J2")), QByteArray(4, 'x'));
    Write(package_.filePath(QStringLiteral("MARKS")), QByteArray(40, 'x'));
    const QString data = package_.filePath(QStringLiteral("broken.d55"));
    Write(data, "*1 General data\r\n&\r\n");
    const Run run = Tolvik(package_.path(), {data, QStringLiteral("xyz")});
    QCOMPARE(run.ExitCode, 1);
    QVERIFY(run.ErrorFile.startsWith("Line 1: table 1 lacks item 1 (Title)"));
    QCOMPARE(QFileInfo(package_.filePath(QStringLiteral("XYZ"))).size(), 0);
    QCOMPARE(QFileInfo(package_.filePath(QStringLiteral("J1J2"))).size(), 0);
    QCOMPARE(QFileInfo(package_.filePath(QStringLiteral("MARKS"))).size(), 0);
}

// Data files and the verdict are Windows-1251: Cyrillic titles and unit names pass, and a
// Cyrillic word quoted in a message reaches the editor in the same code page.
void TestTolvikProcess::cyrillicText() {
    QByteArray text = ReadBytes(TestData(QStringLiteral("frame.d55")));
    text.replace("Portal frame", Cp1251(QStringLiteral("Рамка с две колони")));
    text.replace("Force unit   = kN", Cp1251(QStringLiteral("Сила         = кН")));
    const QString data = package_.filePath(QStringLiteral("frame.d55"));
    Write(data, text);
    QCOMPARE(Tolvik(package_.path(), {data}).ExitCode, 0);

    Write(data, text.replace("#  4    6.0    0.0", Cp1251(QStringLiteral("#  4    6.0    нула"))));
    const Run run = Tolvik(package_.path(), {data});
    QCOMPARE(run.ErrorFile, Cp1251(QStringLiteral("Line 21: z: \"нула\" is not a number\r\n")));
}

void TestTolvikProcess::wrongCommandLine() {
    const QByteArray usage("Error: usage: Tolvik DATAFILE [XYZ]\r\n");
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"a.d05", "ABC"}, QStringList{"a.d05", "XYZ", "more"}}) {
        const Run run = Tolvik(package_.path(), arguments);
        QCOMPARE(run.ExitCode, 2);
        QCOMPARE(run.ErrorFile, usage);
    }
}

QTEST_GUILESS_MAIN(TestTolvikProcess)
#include "tst_tolvikprocess.moc"
