#include "MenuTextFile.h"
#include "MenuTexts.h"
#include "PackageDir.h"
#include "ProblemCatalogue.h"
#include "ProblemMenuItems.h"
#include "ScriptedDialogs.h"
#include "TGlobalObj.h"
#include "VormError.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using Entries = QMap<int, QString>;
Q_DECLARE_METATYPE(Entries)

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

QByteArray Cp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder(text);
}

void MakeExecutable(const QString& path) {
    WriteBytes(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

} // namespace

class TestMenuTexts : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void damagedSectionIsReportedWithFileName_data();
    void damagedSectionIsReportedWithFileName();
    void readsWindows1251File();
    void missingFileCannotBeOpened();
    void applySetsCaptionsAndMarksInstalledSolvers();
    void loadFailureLeavesMenuUnchanged();
};

void TestMenuTexts::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<Entries>("expected");

    QTest::newRow("final blank is not part of the text") << "*MAINMENU\r\n071 Title \r\n&\r\n"
                                                         << true << Entries{{71, "Title"}};
    QTest::newRow("without final blank the last character is lost")
        << "*MAINMENU\r\n071 Title\r\n&\r\n"
        << true << Entries{{71, "Titl"}};
    QTest::newRow("another section first loads nothing")
        << "*OTHER\r\n001 Other \r\n&\r\n*MAINMENU\r\n071 Title \r\n&\r\n"
        << false << Entries{{1, ""}, {71, ""}};
    QTest::newRow("MAINMENU named without star loads nothing") << "MAINMENU\r\n071 Title \r\n&\r\n"
                                                               << false << Entries{{71, ""}};
    QTest::newRow("lines before the header and blank lines are skipped")
        << "; comment\r\n\r\n* MAINMENU section\r\n\r\n001 One \r\n\r\n002 Two \r\n&\r\n"
        << true << Entries{{1, "One"}, {2, "Two"}};
    QTest::newRow("leading blank and short number") << "*MAINMENU\n 71 Title \n71  Other \n&\n"
                                                    << true << Entries{{71, "Other"}};
    QTest::newRow("no digit gives entry 0") << "*MAINMENU\nabc Zero \n&\n"
                                            << true << Entries{{0, "Zero"}};
    QTest::newRow("numbers above 150 are ignored")
        << "*MAINMENU\n150 Last \n151 Out \n999 Out \n&\n"
        << true << Entries{{150, "Last"}};
    QTest::newRow("later entry replaces earlier")
        << "*MAINMENU\r001 First \r001 Second \r&\r" << true << Entries{{1, "Second"}};
    QTest::newRow("short lines give empty texts")
        << "*MAINMENU\r\n005\r\n006 \r\n&" << true << Entries{{5, ""}, {6, ""}};
    QTest::newRow("text cut to 255 characters")
        << "*MAINMENU\r\n009 " + QString(300, u'x') + " \r\n&\r\n"
        << true << Entries{{9, QString(255, u'x')}};
    QTest::newRow("lines after the end are not read")
        << "*MAINMENU\r\n001 One \r\n&\r\n002 Two \r\n"
        << true << Entries{{1, "One"}, {2, ""}};
}

void TestMenuTexts::parse() {
    QFETCH(QString, text);
    QFETCH(bool, loaded);
    QFETCH(Entries, expected);

    MenuTexts texts;
    QCOMPARE(MenuTextFile::Parse(text, texts, QStringLiteral("MESSW.TXT")), loaded);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(texts.Text(it.key()), it.value());
}

void TestMenuTexts::damagedSectionIsReportedWithFileName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::addColumn<Entries>("kept");

    QTest::newRow("empty file") << ""
                                << "No section \"*MAINMENU\" in file /pkg/MESSW.TXT" << Entries{};
    QTest::newRow("no header") << "001 One \r\n002 Two \r\n"
                               << "No section \"*MAINMENU\" in file /pkg/MESSW.TXT" << Entries{};
    QTest::newRow("no end line")
        << "*MAINMENU\r\n001 One \r\n002 Two \r\n"
        << "Section MAINMENU of file /pkg/MESSW.TXT has no end line beginning with \"&\""
        << Entries{{1, "One"}, {2, "Two"}};
}

void TestMenuTexts::damagedSectionIsReportedWithFileName() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(Entries, kept);

    MenuTexts texts;
    try {
        MenuTextFile::Parse(text, texts, QStringLiteral("/pkg/MESSW.TXT"));
        QFAIL("a damaged section must be reported");
    } catch (const VormError& e) {
        QCOMPARE(e.Message(), error);
    }
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        QCOMPARE(texts.Text(it.key()), it.value());
}

void TestMenuTexts::readsWindows1251File() {
    QTemporaryDir dir;
    const QString path = dir.filePath("MESSW.TXT");
    WriteBytes(path, Cp1251(QStringLiteral("*MAINMENU\r\n081 Статика \r\n071 Расчёт \r\n&\r\n")));
    MenuTexts texts;
    QVERIFY(MenuTextFile::Read(path, texts));
    QCOMPARE(texts.Text(81), QStringLiteral("Статика"));
    QCOMPARE(texts.Text(71), QStringLiteral("Расчёт"));
}

void TestMenuTexts::missingFileCannotBeOpened() {
    QTemporaryDir dir;
    MenuTexts texts;
    try {
        MenuTextFile::Read(dir.filePath("MESSW.TXT"), texts);
        QFAIL("a missing file must be reported");
    } catch (const VormError& e) {
        QCOMPARE(e.Message(), "Cannot open file " + dir.filePath("MESSW.TXT"));
    }
}

void TestMenuTexts::applySetsCaptionsAndMarksInstalledSolvers() {
    QTemporaryDir dir;
    // Names differ in case from the table; another extension does not count.
    MakeExecutable(dir.filePath("DORVAN"));
    MakeExecutable(dir.filePath("halbrin"));
    MakeExecutable(dir.filePath("Kelmis.sh"));
    WriteBytes(dir.filePath("Rabeno"), "not executable");
    WriteBytes(dir.filePath("messw.txt"),
               "*MAINMENU\r\n081 Statics \r\n001 Beams \r\n043 Stresses \r\n&\r\n");

    MenuTexts texts;
    ScriptedDialogs dialogs;
    TGlobalObj globals(PackageDir(dir.path()), texts, dialogs);
    const auto menu = ProblemMenuItems::Build(globals.MenuImages());
    const auto item = [&](int tag) { return ProblemMenuItems::Find(*menu, tag); };
    QCOMPARE(ProblemMenuItems::ImageIndex(item(ProblemCatalogue::DataFilesTag)), 0);
    QCOMPARE(item(1)->text(), QStringLiteral("Прави и криви греди / рамки"));

    globals.LoadMenuTexts(*menu);
    QCOMPARE(item(81)->text(), QStringLiteral("Statics"));
    QCOMPARE(item(1)->text(), QStringLiteral("Beams"));
    QCOMPARE(item(43)->text(), QStringLiteral("Stresses"));
    QCOMPARE(item(2)->text(), QString()); // no entry: caption emptied
    QCOMPARE(item(113)->text(), QString());

    QCOMPARE(ProblemMenuItems::ImageIndex(item(1)), 0);
    QVERIFY(!item(1)->icon().isNull());
    QCOMPARE(ProblemMenuItems::ImageIndex(item(43)), 0);
    QCOMPARE(ProblemMenuItems::ImageIndex(item(2)), -1);
    QVERIFY(item(2)->icon().isNull());
    QCOMPARE(ProblemMenuItems::ImageIndex(item(3)), -1);
    QCOMPARE(ProblemMenuItems::ImageIndex(item(44)), -1);
    QCOMPARE(ProblemMenuItems::ImageIndex(item(ProblemCatalogue::DataFilesTag)), 0);

    // A mark once given stays, even when the solver goes away.
    QFile::remove(dir.filePath("DORVAN"));
    globals.ApplyMenuTexts(menu->actions());
    QCOMPARE(ProblemMenuItems::ImageIndex(item(1)), 0);
}

void TestMenuTexts::loadFailureLeavesMenuUnchanged() {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("MESSW.TXT"), "*MAINMENU\r\n001 Beams \r\n");
    MenuTexts texts;
    ScriptedDialogs dialogs;
    TGlobalObj globals(PackageDir(dir.path()), texts, dialogs);
    const auto menu = ProblemMenuItems::Build(globals.MenuImages());
    QVERIFY_THROWS_EXCEPTION(VormError, globals.LoadMenuTexts(*menu));
    QCOMPARE(ProblemMenuItems::Find(*menu, 1)->text(),
             QStringLiteral("Прави и криви греди / рамки"));
}

QTEST_MAIN(TestMenuTexts)
#include "tst_menutexts.moc"
