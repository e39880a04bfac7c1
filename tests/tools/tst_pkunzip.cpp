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

// Everything in a folder, hidden names too, sub-folders as "name/".
QStringList Listing(const QString& directory) {
    QStringList names;
    const QDir dir(directory);
    for (const QFileInfo& info : dir.entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        names << (info.isDir() && !info.isSymLink() ? info.fileName() + u'/' : info.fileName());
    return names;
}

// What stands in the target folder before a hostile pack is unpacked there.
enum class Before { Plain, FolderWhereFileGoes, LinkedFile, LinkedFolder };

} // namespace

Q_DECLARE_METATYPE(Before)

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
    void hostilePackChangesNothing_data();
    void hostilePackChangesNothing();
    void sameFileInTwoCases();
    void sizeLimitCountsAllEntries();
    void largeEntryIsStreamed();
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

// The packs in the test data are built by make_packs.py there. Each is refused with a reason
// that says what is wrong, and the target folder stays exactly as it was: no entry written,
// no temporary folder left, nothing written through a link.
void TestPkunzip::hostilePackChangesNothing_data() {
    QTest::addColumn<QString>("pack");
    QTest::addColumn<Before>("before");
    QTest::addColumn<QString>("reason");
    QTest::newRow("1 TiB claimed") << "huge-claim.zip" << Before::Plain
                                   << "\"MESSW.TXT\" would unpack to 1099511627776 bytes, more "
                                      "than the 268435456 a pack may hold";
    QTest::newRow("entries together too large")
        << "over-limit.zip" << Before::Plain
        << "its entries would unpack to more than the 268435456 bytes a pack may hold";
    QTest::newRow("longer than claimed") << "longer-than-claimed.zip" << Before::Plain
                                         << "\"MMHlp.htm\" holds more than the 1000 bytes its "
                                            "header gives";
    QTest::newRow("shorter than claimed") << "shorter-than-claimed.zip" << Before::Plain
                                          << "\"MMHlp.htm\" holds 6 bytes, but its header "
                                             "gives 5000";
    QTest::newRow("one name twice") << "duplicate-name.zip" << Before::Plain
                                    << "entries \"MESSW.TXT\" and \"MESSW.TXT\" name the same "
                                       "file";
    QTest::newRow("names differing in case")
        << "case-duplicate.zip" << Before::Plain
        << "entries \"MESSW.TXT\" and \"messw.txt\" name the same file";
    QTest::newRow("file and folder in the pack") << "file-and-folder.zip" << Before::Plain
                                                 << "\"help\" is a file, but "
                                                    "\"help/EdHlp.htm\" makes it a folder";
    QTest::newRow("file where a folder is") << "file-over-folder.zip" << Before::FolderWhereFileGoes
                                            << "is a folder and cannot be replaced by a file";
    QTest::newRow("linked file") << "into-folder.zip" << Before::LinkedFile
                                 << "MESSW.TXT is a symbolic link";
    QTest::newRow("linked folder")
        << "into-folder.zip" << Before::LinkedFolder << "help is a symbolic link";
}

void TestPkunzip::hostilePackChangesNothing() {
    QFETCH(QString, pack);
    QFETCH(Before, before);
    QFETCH(QString, reason);

    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("package") && QDir(root.path()).mkpath("elsewhere"));
    const QString package = root.filePath("package");
    const QDir target(package);
    const QString elsewhere = root.filePath("elsewhere");
    QVERIFY(QFile::copy(QStringLiteral(QV_TEST_DATA "/") + pack, target.filePath(pack)));
    Write(target.filePath("MESSW.TXT"), "old texts");
    if (before == Before::FolderWhereFileGoes) {
        QVERIFY(target.mkdir("help"));
        Write(target.filePath("help/EdHlp.htm"), "old help");
    } else if (before == Before::LinkedFile) {
        QVERIFY(QFile::remove(target.filePath("MESSW.TXT")));
        Write(QDir(elsewhere).filePath("private.txt"), "old texts");
        QVERIFY(QFile::link(QDir(elsewhere).filePath("private.txt"), target.filePath("MESSW.TXT")));
    } else if (before == Before::LinkedFolder) {
        QVERIFY(QFile::link(elsewhere, target.filePath("help")));
    }
    const QStringList listing = Listing(package);

    const Run run = Unpack(package, pack);
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Error.startsWith("PKUNZIP: ") && run.Error.contains(reason),
             qPrintable(run.Error));
    QVERIFY2(!run.Error.contains("No error"), qPrintable(run.Error));
    QCOMPARE(Listing(package), listing);
    QCOMPARE(Content(target.filePath("MESSW.TXT")), QByteArray("old texts"));
    if (before == Before::FolderWhereFileGoes)
        QCOMPARE(Content(target.filePath("help/EdHlp.htm")), QByteArray("old help"));
    QCOMPARE(Listing(elsewhere),
             before == Before::LinkedFile ? QStringList{"private.txt"} : QStringList{});
}

// The language packs carry the editor help in two spellings for systems that tell case apart;
// the same bytes under both names are one file, not a clash.
void TestPkunzip::sameFileInTwoCases() {
    QTemporaryDir dir;
    QVERIFY(QFile::copy(QStringLiteral(QV_TEST_DATA "/same-file-two-cases.zip"),
                        dir.filePath("PACK.ZIP")));
    const Run run = Unpack(dir.path(), "PACK.ZIP");
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(Content(dir.filePath("EdHlp.htm")), QByteArray("<HTML>"));
    QCOMPARE(Content(dir.filePath("edhlp.htm")), QByteArray("<HTML>"));
}

void TestPkunzip::sizeLimitCountsAllEntries() {
    QTemporaryDir dir;
    const QString pack = dir.filePath("PACK.ZIP");
    QVERIFY(
        WriteTestPack(pack, {{"a.txt", QByteArray(600, 'a')}, {"b.txt", QByteArray(600, 'b')}}));
    const QString target = dir.filePath("target");
    QVERIFY(QDir().mkpath(target));
    const PackExtractor::Result refused = PackExtractor::Extract(pack, target, 1000);
    QVERIFY(!refused.Ok);
    QVERIFY2(refused.Error.contains("more than the 1000 bytes"), qPrintable(refused.Error));
    QCOMPARE(Listing(target), QStringList{});
    const PackExtractor::Result taken = PackExtractor::Extract(pack, target, 1200);
    QVERIFY2(taken.Ok, qPrintable(taken.Error));
    QCOMPARE(Listing(target), (QStringList{"a.txt", "b.txt"}));
}

// An entry many buffers long arrives whole and byte for byte.
void TestPkunzip::largeEntryIsStreamed() {
    QTemporaryDir dir;
    QByteArray data(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char((i * 7919) >> 5);
    QVERIFY(WriteTestPack(dir.filePath("BIG.ZIP"), {{"help/big.bin", data}}));
    const Run run = Unpack(dir.path(), "BIG.ZIP");
    QCOMPARE(run.ExitCode, 0);
    QVERIFY(Content(dir.filePath("help/big.bin")) == data);
    QCOMPARE(Listing(dir.path()), (QStringList{"BIG.ZIP", "help/"}));
}

QTEST_MAIN(TestPkunzip)
#include "tst_pkunzip.moc"
