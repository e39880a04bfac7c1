#include "LauncherSettings.h"
#include "MenuTexts.h"
#include "PackageSettings.h"
#include "ProblemCatalogue.h"
#include "ProblemMenuItems.h"
#include "ScriptedDialogs.h"
#include "TAboutBox.h"
#include "TGlobalObj.h"
#include "TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void catalogueNumbering();
    void startEditorSetsUpDialog_data();
    void startEditorSetsUpDialog();
    void solverAvailability_data();
    void solverAvailability();
    void cancelledDialogOpensNothing();
    void missingToolIsReported();
    void helpOpensMainHelpFile();
    void helpWithoutBrowserNamesThePage();
    void aboutShowsVersion();

private:
    void Trigger(int tag) { ProblemMenuItems::Find(*form->ProblemMenu(), tag)->trigger(); }

    std::unique_ptr<QTemporaryDir> package;
    std::unique_ptr<QTemporaryDir> store;
    ScriptedDialogs dialogs;
    LauncherSettings settings;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TGlobalObj> globals;
};

void TestMainForm::init() {
    package = std::make_unique<QTemporaryDir>();
    store = std::make_unique<QTemporaryDir>();
    PackageSettings::SetLocationForTests(store->path());
    QVERIFY(QDir::setCurrent(package->path()));
    dialogs = ScriptedDialogs();
    form = std::make_unique<TMainForm>(dialogs, settings);
    globals = std::make_unique<TGlobalObj>(form->Package(), form->Texts(), dialogs);
    form->SetGlobals(globals.get());
    MenuTexts& texts = form->Texts();
    texts.Set(1, "Beams");
    texts.Set(8, "Plane stress");
    texts.Set(21, "Complex frames");
    texts.Set(24, "Plates");
    texts.Set(38, "All input data|*.d??;*.p??");
    texts.Set(111, "Data files");
}

void TestMainForm::cleanup() {
    form.reset();
    globals.reset();
}

void TestMainForm::catalogueNumbering() {
    int problems = 0;
    for (const ProblemEntry& entry : ProblemCatalogue::Entries()) {
        if (entry.Kind != MenuItemKind::Problem)
            continue;
        ++problems;
        const QString letter = entry.DefaultExtension.left(1);
        const QString upper = letter + QString::number(entry.UnacceptedNumber);
        const QString lower =
            letter + QStringLiteral("%1").arg(entry.AcceptedNumber, 2, 10, QChar(u'0'));
        QCOMPARE(entry.UnacceptedNumber, entry.AcceptedNumber + 50);
        QCOMPARE(entry.DefaultExtension, upper);
        QCOMPARE(entry.Patterns, "|*." + upper + ";*." + lower);
        QVERIFY2(!ProblemCatalogue::SolverName(entry.Tag).isEmpty(), qPrintable(entry.Handler));
        QVERIFY(ProblemMenuItems::Find(*form->ProblemMenu(), entry.Tag));
    }
    QCOMPARE(problems, 27);
    QCOMPARE(ProblemCatalogue::SolverName(15), QString());
    QCOMPARE(ProblemCatalogue::SolverName(38), QString());
    QCOMPARE(ProblemCatalogue::SolverName(41), QStringLiteral("Quarvel"));
    QCOMPARE(ProblemCatalogue::Find(8)->DefaultExtension, QStringLiteral("d59"));
    QCOMPARE(ProblemCatalogue::Find(26)->Patterns, QStringLiteral("|*.p54;*.p04"));
    // The group order of the menu, "&Help" last.
    QStringList groups;
    for (QAction* group : form->ProblemMenu()->actions())
        groups << group->text();
    QCOMPARE(groups, (QStringList{"Статика", "Динамика", "Математика", "Други", "&Help"}));
}

void TestMainForm::startEditorSetsUpDialog_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("startsInPackage");

    QTest::newRow("plane stress") << 8 << "Plane stress|*.d59;*.d09|Data files|*.dat|All files|*.*"
                                  << "Plane stress"
                                  << "d59" << false;
    QTest::newRow("dynamics of plates") << 24 << "Plates|*.p63;*.p13|Data files|*.dat|All files|*.*"
                                        << "Plates"
                                        << "p63" << false;
    QTest::newRow("entry of its own tag") << 21
                                          << "Complex frames|*.d58;*.d08|Data files|*.dat|All "
                                             "files|*.*"
                                          << "Complex frames"
                                          << "d58" << false;
    QTest::newRow("data files") << ProblemCatalogue::DataFilesTag
                                << "All input data|*.d??;*.p??|Data files|*.dat|All files|*.*"
                                << "Data files"
                                << "dat" << true;
}

void TestMainForm::startEditorSetsUpDialog() {
    QFETCH(int, tag);
    QFETCH(QString, filter);
    QFETCH(QString, title);
    QFETCH(QString, extension);
    QFETCH(bool, startsInPackage);

    QTemporaryDir data;
    const QString dataDirectory = QDir::toNativeSeparators(data.path()) + QDir::separator();
    PackageSettings::WriteDataDirectory(dataDirectory);
    globals->PreviewDlg().FileName = QStringLiteral("left over");
    Trigger(tag);

    QCOMPARE(dialogs.shown.size(), 1);
    const FileDialogRequest& request = dialogs.shown.first().Request;
    QCOMPARE(request.Filter, filter);
    QCOMPARE(request.Title, title);
    QCOMPARE(request.DefaultExtension, extension);
    QCOMPARE(request.FileName, QString());
    QCOMPARE(request.InitialDirectory, startsInPackage ? form->Package().Path() : dataDirectory);
}

void TestMainForm::solverAvailability_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("available");
    QTest::newRow("solver absent") << 1 << "frame.d51" << false << false;
    QTest::newRow("solver installed") << 1 << "frame.d51" << true << true;
    // Data files opens any type: the file's own type decides, as its menu entry would.
    QTest::newRow("data files, solver absent")
        << ProblemCatalogue::DataFilesTag << "frame.d51" << false << false;
    QTest::newRow("data files, solver installed")
        << ProblemCatalogue::DataFilesTag << "frame.d01" << true << true;
    QTest::newRow("data files, no type")
        << ProblemCatalogue::DataFilesTag << "notes.dat" << false << true;
}

void TestMainForm::solverAvailability() {
    QFETCH(int, tag);
    QFETCH(QString, file);
    QFETCH(bool, installed);
    QFETCH(bool, available);

    if (installed) {
        QFile solver(package->filePath("Dorvan"));
        QVERIFY(solver.open(QIODevice::WriteOnly));
        solver.close();
        solver.setPermissions(solver.permissions() | QFileDevice::ExeOwner);
    }
    globals->ApplyMenuTexts(form->ProblemMenu()->actions());
    QSignalSpy requested(form.get(), &TMainForm::EditorRequested);
    dialogs.fileNames.push_back(package->filePath(file));
    Trigger(tag);
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested.first().at(0).toString(), package->filePath(file));
    QCOMPARE(requested.first().at(1).toBool(), available);
    QCOMPARE(globals->PreviewDlg().FileName, package->filePath(file));
}

void TestMainForm::cancelledDialogOpensNothing() {
    QSignalSpy requested(form.get(), &TMainForm::EditorRequested);
    Trigger(5);
    QCOMPARE(dialogs.Texts("open").size(), 1);
    QCOMPARE(requested.size(), 0);
}

void TestMainForm::missingToolIsReported() {
    Trigger(44);
    const QString prusk = QDir(form->Package().Path()).filePath("Prusk");
    QCOMPARE(dialogs.Texts("error"),
             QStringList{"Error executing " + QDir::toNativeSeparators(prusk) +
                         "\r\nError message: 2!"});
    QVERIFY(form->isEnabled());
}

void TestMainForm::helpOpensMainHelpFile() {
    QFile help(package->filePath("mmhlp.htm"));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.close();
    Trigger(114);
    QCOMPARE(dialogs.opened, QList<QUrl>{QUrl::fromLocalFile(package->filePath("mmhlp.htm"))});
}

// F1 with no browser to start: a message names the page, so the user can open it by hand.
void TestMainForm::helpWithoutBrowserNamesThePage() {
    struct NoBrowser : ScriptedDialogs {
        bool OpenWithDesktop(const QUrl& url) override {
            opened << url;
            return false;
        }
    } noBrowser;
    TMainForm main(noBrowser, settings);
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F1);
    const QString page =
        QDir::toNativeSeparators(QDir(main.Package().Path()).filePath("MMHlp.htm"));
    QCOMPARE(noBrowser.opened.size(), 1);
    QCOMPARE(noBrowser.Texts("warning"),
             QStringList{"No web browser could be started to show the help.\r\n"
                         "Open this page by hand:\r\n" +
                         page});
    QVERIFY(main.FormHelp());
    QCOMPARE(noBrowser.Texts("warning").size(), 2);
}

void TestMainForm::aboutShowsVersion() {
    QString version;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget())) {
            version = box->VersionText();
            box->accept();
        }
    });
    Trigger(113);
    QCOMPARE(version, "Version: " + TMainForm::Version());
    QVERIFY(!TMainForm::Version().isEmpty());
    // The box is freed after it closed.
    QVERIFY(form->findChildren<TAboutBox*>().isEmpty());
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
