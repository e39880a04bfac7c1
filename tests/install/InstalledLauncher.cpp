// The launcher as an installed package runs it: started in the installed programs' folder
// (QV_INSTALLED_PROGRAMS), whose data lie in another folder, both read-only. It chooses a
// language (the installed unpacker), then runs two programs at once from two editor windows:
// a solver from one, the checker from the other while the solver is still running. Run by
// install_check.cmake, which installs the package and checks that nothing was written into it.
#include "EditorFixture.h"
#include "LauncherSettings.h"
#include "PackageSettings.h"
#include "ResultFiles.h"
#include "ScriptedDialogs.h"
#include "TEditForm.h"
#include "TGlobalObj.h"
#include "TLanguageForm.h"
#include "TMainForm.h"
#include "VormStartup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestInstalledLauncher : public QObject {
    Q_OBJECT

private slots:
    void runsTwoProgramsAtOnceFromTheInstalledPackage();
};

void TestInstalledLauncher::runsTwoProgramsAtOnceFromTheInstalledPackage() {
    const QString programs = qEnvironmentVariable("QV_INSTALLED_PROGRAMS");
    if (programs.isEmpty())
        QSKIP("run by install_check.cmake on an installed package");
    QTemporaryDir store;
    QTemporaryDir data;
    PackageSettings::SetLocationForTests(store.path());
    ScriptedDialogs dialogs;
    ScriptedPickers pickers;
    const LauncherSettings settings;

    QVERIFY(QDir::setCurrent(programs));
    VormStartup startup(dialogs, settings);
    startup.Run();
    TMainForm* main = startup.MainForm();
    // The data are found in their own folder beside the programs'.
    const QString shared = QDir::cleanPath(programs + "/../../share/vorm");
    QCOMPARE(main->Package().DataPath(), shared);
    QCOMPARE(main->Package().FilePath("Tablesw.dat"), shared + "/Tablesw.dat");

    // The language pack is unpacked by the installed unpacker into the user's data folder.
    startup.LanguageForm()->LanguageGroupClick(0);
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.Texts("error").join(u'\n')));
    QVERIFY(main->IsProblemMenuAttached());
    QVERIFY(QFile::exists(main->Package().UserPath() + "/MESSW.TXT"));

    auto* windows = new EditorWindows(*main, dialogs, settings, pickers);
    const auto open = [&](const QString& example, const QString& name) {
        QFile::copy(shared + "/" + example, data.filePath(name));
        startup.Globals()->PreviewDlg().FileName = data.filePath(name);
        return windows->Open(true);
    };
    TEditForm* solved = open("dam.d10", "dam.d10");
    TEditForm* checked = open("portal.d05", "portal.d55");

    // While the solver of one window runs, the other window checks its file.
    bool overlapped = false;
    QTimer::singleShot(20, [&] {
        overlapped = main->Runner().IsRunning();
        checked->CheckBtnClick();
    });
    solved->CalculateBtnClick();
    QVERIFY2(overlapped, "the checker started while the solver was running");
    // Each window read its own program's answers.
    QCOMPARE(checked->Document().FileName, QStringLiteral("portal.d05"));
    QVERIFY(checked->StatusText(1).startsWith(QStringLiteral("OK")));
    QVERIFY(QFileInfo::exists(ResultFiles::ResultPath(solved->Document())));
    QVERIFY2(dialogs.Texts("error").isEmpty(), qPrintable(dialogs.Texts("error").join(u'\n')));
    QVERIFY2(dialogs.Texts("warning").isEmpty(), qPrintable(dialogs.Texts("warning").join(u'\n')));
}

QTEST_MAIN(TestInstalledLauncher)
#include "InstalledLauncher.moc"
