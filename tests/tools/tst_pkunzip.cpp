#include "PackExtractor.h"
#include "TestPack.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int ExitCode;
    QString Error;
};

// Runs the unpacker as the launcher does: "-# -O PACK" in the target directory.
Run Unpack(const QString& directory, const QString& pack) {
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral(PKUNZIP_PROGRAM), {"-#", "-O", pack});
    if (!process.waitForFinished(10000))
        qFatal("the unpacker did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

} // namespace

class TestPkunzip : public QObject {
    Q_OBJECT

private slots:
    void safeEntryNames_data();
    void safeEntryNames();
    void unpacksAndReplacesFiles();
    void refusesEntriesOutsideTarget_data();
    void refusesEntriesOutsideTarget();
    void reportsDamagedPack_data();
    void reportsDamagedPack();
    void wrongCommandLine();
};

void TestPkunzip::safeEntryNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << "MESSW.TXT" << true;
    QTest::newRow("sub-directory") << "help/EdHlp.htm" << true;
    QTest::newRow("dots inside a name") << "a..b.txt" << true;
    QTest::newRow("parent") << "../evil.txt" << false;
    QTest::newRow("parent further down") << "help/../../evil.txt" << false;
    QTest::newRow("parent with backslash") << "help\\..\\..\\evil.txt" << false;
    QTest::newRow("absolute") << "/etc/evil" << false;
    QTest::newRow("absolute with backslash") << "\\evil" << false;
    QTest::newRow("drive") << "C:evil.txt" << false;
    QTest::newRow("empty") << "" << false;
}

void TestPkunzip::safeEntryNames() {
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(PackExtractor::IsSafeEntryName(name), safe);
}

void TestPkunzip::unpacksAndReplacesFiles() {
    QTemporaryDir dir;
    Write(dir.filePath("MESSW.TXT"), "old texts");
    Write(dir.filePath("Other.txt"), "untouched");
    QVERIFY(WriteTestPack(
        dir.filePath("PACK.ZIP"),
        {{"MESSW.TXT", "*MAINMENU\r\n&\r\n"}, {"help/", {}}, {"help/EdHlp.htm", "<HTML>"}}));
    const Run run = Unpack(dir.path(), "PACK.ZIP");
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.Error, QString());
    QCOMPARE(Content(dir.filePath("MESSW.TXT")), QByteArray("*MAINMENU\r\n&\r\n"));
    QCOMPARE(Content(dir.filePath("help/EdHlp.htm")), QByteArray("<HTML>"));
    QCOMPARE(Content(dir.filePath("Other.txt")), QByteArray("untouched"));
}

void TestPkunzip::refusesEntriesOutsideTarget_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("parent directory") << "../evil.txt";
    QTest::newRow("absolute path") << "/tmp/evil.txt";
}

void TestPkunzip::refusesEntriesOutsideTarget() {
    QFETCH(QString, entry);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir("package"));
    const QString package = root.filePath("package");
    Write(QDir(package).filePath("MESSW.TXT"), "old texts");
    QVERIFY(WriteTestPack(QDir(package).filePath("SLIP.ZIP"),
                          {{"MESSW.TXT", "new texts"}, {entry, "evil"}}));

    const Run run = Unpack(package, "SLIP.ZIP");
    QVERIFY(run.ExitCode != 0);
    QVERIFY2(run.Error.contains("refused") && run.Error.contains(entry), qPrintable(run.Error));
    QVERIFY(!QFile::exists(root.filePath("evil.txt")));
    // Nothing of a refused pack is unpacked.
    QCOMPARE(Content(QDir(package).filePath("MESSW.TXT")), QByteArray("old texts"));
}

void TestPkunzip::reportsDamagedPack_data() {
    QTest::addColumn<int>("damage"); // 0: not a zip at all, 1: entry data changed, 2: cut short
    QTest::newRow("not a zip") << 0;
    QTest::newRow("entry data changed") << 1;
    QTest::newRow("cut short") << 2;
}

void TestPkunzip::reportsDamagedPack() {
    QFETCH(int, damage);
    QTemporaryDir dir;
    Write(dir.filePath("MESSW.TXT"), "old texts");
    const QString pack = dir.filePath("DAMAGED.ZIP");
    const QByteArray content(4000, 'A');
    QVERIFY(WriteTestPack(pack, {{"MESSW.TXT", content}, {"MMHlp.htm", "<HTML>"}}));
    QByteArray bytes = Content(pack);
    if (damage == 0)
        bytes = "this is no zip pack at all";
    else if (damage == 1)
        bytes[40] = char(bytes[40] ^ 0x55); // inside the first entry's compressed data
    else
        bytes.truncate(bytes.size() / 2);
    Write(pack, bytes);

    const Run run = Unpack(dir.path(), "DAMAGED.ZIP");
    QVERIFY(run.ExitCode != 0);
    QVERIFY2(run.Error.startsWith("PKUNZIP: "), qPrintable(run.Error));
    QVERIFY(run.Error.contains("DAMAGED.ZIP"));
    QCOMPARE(Content(dir.filePath("MESSW.TXT")), QByteArray("old texts"));
    QVERIFY(!QFile::exists(dir.filePath("MMHlp.htm")));
}

void TestPkunzip::wrongCommandLine() {
    QTemporaryDir dir;
    QCOMPARE(Unpack(dir.path(), "-x").ExitCode, 2);
    QVERIFY(Unpack(dir.path(), "MISSING.ZIP").ExitCode != 0);
}

QTEST_MAIN(TestPkunzip)
#include "tst_pkunzip.moc"
