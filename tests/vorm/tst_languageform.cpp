#include "LauncherSettings.h"
#include "PackageSettings.h"
#include "ProblemCatalogue.h"
#include "ProblemMenuItems.h"
#include "ScriptedDialogs.h"
#include "TAboutBox.h"
#include "TGlobalObj.h"
#include "TLanguageForm.h"
#include "TMainForm.h"
#include "TestPack.h"
#include "VormStartup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString PackageSource = QStringLiteral(VORM_PACKAGE_DIR);

void CopyFromPackage(const QString& target, const QStringList& names) {
    for (const QString& name : names)
        if (!QFile::copy(QDir(PackageSource).filePath(name), QDir(target).filePath(name)))
            qFatal("cannot copy %s from the built package", qPrintable(name));
}

void DeleteClosedWindows() {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

} // namespace

class TestLanguageForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithoutMenu();
    void choosingLanguageAttachesLocalisedMenu_data();
    void choosingLanguageAttachesLocalisedMenu();
    void onlyPresentPacksAreOffered();
    void packWithoutMenuTextsKeepsWindowOpen();
    void missingUnpackerIsReported();
    void commandLineFilesOpenOnceTheLanguageIsChosen();

private:
    void Start();

    std::unique_ptr<QTemporaryDir> package;
    std::unique_ptr<QTemporaryDir> store;
    std::unique_ptr<QTemporaryDir> user; // the user's data folder
    ScriptedDialogs dialogs;
    LauncherSettings settings;
    std::unique_ptr<VormStartup> startup;
};

void TestLanguageForm::init() {
    package = std::make_unique<QTemporaryDir>();
    store = std::make_unique<QTemporaryDir>();
    user = std::make_unique<QTemporaryDir>();
    PackageSettings::SetLocationForTests(store->path());
    qputenv("XDG_DATA_HOME", user->path().toUtf8());
    dialogs = ScriptedDialogs();
}

void TestLanguageForm::cleanup() {
    startup.reset();
}

void TestLanguageForm::Start() {
    QVERIFY(QDir::setCurrent(package->path()));
    startup = std::make_unique<VormStartup>(dialogs, settings);
    startup->Run();
}

void TestLanguageForm::startsWithoutMenu() {
    CopyFromPackage(package->path(), {"VORMEW.ZIP", "VORMBW.ZIP", "VORMRW.ZIP", "PKUNZIP"});
    Start();
    TMainForm* main = startup->MainForm();
    QCOMPARE(main->Package().Path(), QDir(package->path()).absolutePath());
    QCOMPARE(main->windowTitle(), QStringLiteral("VORM"));
    QVERIFY(main->menuWidget() == nullptr);
    QVERIFY(!main->IsProblemMenuAttached());
    QVERIFY(main->isMaximized());

    TLanguageForm* language = startup->LanguageForm();
    QVERIFY(language);
    QCOMPARE(main->MdiArea()->subWindowList(), QList<QMdiSubWindow*>{language});
    QCOMPARE(language->windowTitle(), QStringLiteral("Language"));
    QVERIFY(language->isVisible());
    QCOMPARE(language->Languages(), (QStringList{"English", "Bulgarian", "Russian"}));

    QVERIFY(startup->Globals());
    QCOMPARE(main->Globals(), startup->Globals());
    QVERIFY(startup->AboutBox());
    QVERIFY(!startup->AboutBox()->isVisible());
    // No help file yet on a first start, and no error about it either.
    QVERIFY(dialogs.shown.isEmpty());
}

void TestLanguageForm::choosingLanguageAttachesLocalisedMenu_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("statics");
    QTest::addColumn<QString>("planeFrames");
    QTest::newRow("English") << 0 << "VORM - Analysis of Structures"
                             << "&Statics"
                             << "Plane frames";
    QTest::newRow("Bulgarian") << 1 << "VORM - Анализ на конструкции"
                               << "&Статика"
                               << "Равнинни рамки";
    QTest::newRow("Russian") << 2 << "VORM - Расчёт конструкций"
                             << "&Статика"
                             << "Плоские рамы";
}

void TestLanguageForm::choosingLanguageAttachesLocalisedMenu() {
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QString, statics);
    QFETCH(QString, planeFrames);

    CopyFromPackage(package->path(),
                    {"VORMEW.ZIP", "VORMBW.ZIP", "VORMRW.ZIP", "PKUNZIP", "Halbrin"});
    Start();
    TMainForm* main = startup->MainForm();
    startup->LanguageForm()->LanguageGroupClick(index);
    DeleteClosedWindows();

    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.Texts("error").join(u'\n')));
    QVERIFY(startup->LanguageForm() == nullptr);
    QVERIFY(main->IsProblemMenuAttached());
    QCOMPARE(main->menuWidget(), main->ProblemMenu());
    QCOMPARE(main->windowTitle(), title);
    const QMenuBar& menu = *main->ProblemMenu();
    QCOMPARE(ProblemMenuItems::Find(menu, 81)->text(), statics);
    QCOMPARE(ProblemMenuItems::Find(menu, 5)->text(), planeFrames);
    for (QAction* item : ProblemMenuItems::AllItems(menu))
        QVERIFY2(!item->text().isEmpty(), qPrintable(QString::number(ProblemMenuItems::Tag(item))));
    // The unpacked help files are in the user's data folder now, never in the package
    // directory, which may be installed read-only.
    for (const char* name : {"MESSW.TXT", "MMHlp.htm", "EdHlp.htm", "edhlp.htm", "HelpBtn.bmp"}) {
        QVERIFY2(QFile::exists(user->filePath(QStringLiteral("VORM/") + name)), name);
        QVERIFY2(!QFile::exists(package->filePath(name)), name);
    }
    // The principal stresses tool lies in the package, the architectural one does not.
    QCOMPARE(ProblemMenuItems::ImageIndex(ProblemMenuItems::Find(menu, 43)), 0);
    QCOMPARE(ProblemMenuItems::ImageIndex(ProblemMenuItems::Find(menu, 44)), -1);
    QCOMPARE(ProblemMenuItems::ImageIndex(ProblemMenuItems::Find(menu, 5)), -1);

    // The Bulgarian pack brings the captions of the window design, with accelerator letters
    // on the groups, and its own texts for the entries the design left in English.
    if (index == 1) {
        for (const ProblemEntry& entry : ProblemCatalogue::Entries())
            if (entry.Tag <= 84)
                QCOMPARE(ProblemMenuItems::Find(menu, entry.Tag)->text().remove(u'&'),
                         entry.Caption);
        QCOMPARE(ProblemMenuItems::Find(menu, 111)->text(), QStringLiteral("Файлове с данни"));
        QCOMPARE(ProblemMenuItems::Find(menu, 112)->text(), QStringLiteral("&Помощ"));
        QCOMPARE(ProblemMenuItems::Find(menu, 114)->text(), QStringLiteral("&Помощ"));
        QCOMPARE(ProblemMenuItems::Find(menu, 113)->text(), QStringLiteral("&За програмата"));
    }
}

void TestLanguageForm::onlyPresentPacksAreOffered() {
    CopyFromPackage(package->path(), {"VORMBW.ZIP"});
    QVERIFY(QFile::rename(package->filePath("VORMBW.ZIP"), package->filePath("vormbw.zip")));
    Start();
    QCOMPARE(startup->LanguageForm()->Languages(), QStringList{"Bulgarian"});
}

void TestLanguageForm::packWithoutMenuTextsKeepsWindowOpen() {
    CopyFromPackage(package->path(), {"VORMBW.ZIP", "PKUNZIP"});
    QVERIFY(WriteTestPack(package->filePath("VORMEW.ZIP"), {{"MMHlp.htm", "<HTML></HTML>\r\n"}}));
    Start();
    TLanguageForm* language = startup->LanguageForm();
    language->LanguageGroupClick(0);
    DeleteClosedWindows();

    QCOMPARE(dialogs.Texts("error"),
             QStringList{"Cannot open file " + package->filePath("MESSW.TXT")});
    QVERIFY(startup->LanguageForm());
    QVERIFY(!startup->MainForm()->IsProblemMenuAttached());
    QCOMPARE(startup->MainForm()->windowTitle(), QStringLiteral("VORM"));
    QVERIFY(language->isEnabled());

    // Picking the same entry again is no new choice.
    language->LanguageGroupClick(0);
    QCOMPARE(dialogs.Texts("error").size(), 1);

    // Another language still works.
    language->LanguageGroupClick(1);
    DeleteClosedWindows();
    QCOMPARE(dialogs.Texts("error").size(), 1);
    QVERIFY(startup->MainForm()->IsProblemMenuAttached());
    QVERIFY(startup->LanguageForm() == nullptr);
}

void TestLanguageForm::missingUnpackerIsReported() {
    CopyFromPackage(package->path(), {"VORMEW.ZIP"});
    // Keep the system's search path from offering another unpacker.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", package->path().toLocal8Bit());
    Start();
    startup->LanguageForm()->LanguageGroupClick(0);
    qputenv("PATH", path);

    const QStringList errors = dialogs.Texts("error");
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors[0], QStringLiteral("Error executing PKUNZIP -# -O VORMEW.ZIP\r\n"
                                       "Error message: 2!"));
    QCOMPARE(errors[1], "Cannot open file " + package->filePath("MESSW.TXT"));
}

void TestLanguageForm::commandLineFilesOpenOnceTheLanguageIsChosen() {
    // A double-clicked data file reaches the launcher on its command line; it opens when the
    // menu knows its texts and which solvers are installed.
    CopyFromPackage(package->path(), {"VORMEW.ZIP", "PKUNZIP"});
    QVERIFY(QFile::copy(package->filePath("PKUNZIP"), package->filePath("Pelgon")));
    QTemporaryDir data;
    const QString file = data.filePath("gable.d05");
    QVERIFY(QFile(file).open(QIODevice::WriteOnly));
    Start();
    QSignalSpy requests(startup->MainForm(), &TMainForm::EditorRequested);
    startup->OpenWhenReady({file});
    DeleteClosedWindows();
    QCOMPARE(requests.size(), 0);

    startup->LanguageForm()->LanguageGroupClick(0);
    DeleteClosedWindows();
    QTRY_COMPARE(requests.size(), 1);
    QCOMPARE(requests[0][0].toString(), file);
    QCOMPARE(requests[0][1].toBool(), true); // the plane frames' solver is installed
}

QTEST_MAIN(TestLanguageForm)
#include "tst_languageform.moc"
