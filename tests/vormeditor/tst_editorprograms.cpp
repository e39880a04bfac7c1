// The editor's outside programs from its window, offscreen: the real checker, frame generator
// and mesh follow-up of the built package; the viewers and the region mesher, which open
// windows that wait for a user, are stood in for by a probe that records how it was started.
#include "ButtonRules.h"
#include "CalculationRecord.h"
#include "DataFileText.h"
#include "EditorFixture.h"
#include "PreviewRules.h"
#include "RecentFiles.h"
#include "ReportWindow.h"
#include "SystemCalculator.h"

#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcessEnvironment>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace {

QByteArray Example(const QString& name) {
    QFile file(QStringLiteral(PACKAGE_SOURCE "/examples/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing example %s", qPrintable(name));
    return file.readAll();
}

// The example with line `number` (counted from 1) replaced.
QByteArray WithLine(const QByteArray& text, int number, const QByteArray& line) {
    QList<QByteArray> lines = text.split('\n');
    lines[number - 1] = line + '\r';
    return lines.join('\n');
}

// Keys reach the editor's shortcuts only in the active window.
void PressKey(TEditForm* editor, Qt::Key key) {
    editor->window()->activateWindow();
    if (!QTest::qWaitForWindowActive(editor->window()))
        qWarning("the launcher window did not become active");
    editor->Field()->setFocus();
    QTest::keyClick(editor->Field(), key);
}

QString SelectedLine(TEditForm* editor) {
    return editor->Field()->textCursor().selectedText();
}

// A launcher whose package holds the real programs and the probe.
class ProgramsFixture : public EditorFixture {
public:
    ProgramsFixture() {
        for (const char* name : {"Tolvik", "Mopsa", "Vosher"})
            Install(QStringLiteral(VORM_PACKAGE_DIR "/") + name + Suffix(),
                    package.filePath(name + Suffix()));
        for (const char* name : {"Kaddle", "Pantex", "Ciffon", "Brimto"})
            Install(QStringLiteral(ACTION_PROBE), package.filePath(name + Suffix()));
        QDir(package.path()).mkpath("Yornik");
        Install(QStringLiteral(ACTION_PROBE), package.filePath("Yornik/Gralt" + Suffix()));
        qputenv("QV_PROBE_RECORD", package.filePath("probe.txt").toUtf8());
        qunsetenv("QV_PROBE_VERDICT");
        qunsetenv("QV_PROBE_MESH");
        qunsetenv("QV_PROBE_SLEEP_MS");
        qunsetenv("QV_PROBE_EXIT");
    }
    static QString Suffix() { return PackageDir::ExecutableSuffix(); }
    static void Install(const QString& from, const QString& to) {
        if (!QFile::copy(from, to))
            qFatal("cannot install %s", qPrintable(to));
    }
    QStringList ProbeRuns() const {
        QFile file(package.filePath("probe.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList runs = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        file.remove();
        return runs;
    }
    QString Native(const QString& name) const { return QDir::toNativeSeparators(DataPath(name)); }
    static void Touch(const QString& path, qint64 secondsFromNow) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(QDateTime::currentDateTime().addSecs(secondsFromNow),
                              QFileDevice::FileModificationTime))
            qFatal("cannot touch %s", qPrintable(path));
    }
};

} // namespace

class TestEditorPrograms : public QObject {
    Q_OBJECT

private slots:
    void checkMovesTheFileBetweenItsNames();
    void uncheckedCountsAreUpdatedBeforeTheCheck();
    void renameConflictKeepsTheName();
    void calculate();
    void previewModes();
    void frameGeneration();
    void plateGeneration();
    void calculator();
    void followUpVerdict();
    void windowsStayWhileTheirProgramRuns();
    void closeWaitsForTheWholeAction();
    void reportOfTheCalculation();
};

void TestEditorPrograms::checkMovesTheFileBetweenItsNames() {
    ProgramsFixture f;
    // An accepted file that the checker rejects: x.d51 with line 12 selected, line end and all.
    QByteArray arch = Example("arch.d01");
    arch = WithLine(arch, 12, "#  1  -2.1E8     0.3    78.5     1.2E-5   ; steel");
    arch = WithLine(arch, 13, "   No     E        nu     gamma    alpha");
    f.WriteData("x.d01", arch);
    TEditForm* editor = f.Open("x.d01");
    PressKey(editor, Qt::Key_F2);
    QCOMPARE(editor->Document().FileName, QStringLiteral("x.d51"));
    // The keyboard is back in the text, to mend the line.
    QCOMPARE(QApplication::focusWidget(), editor->Field());
    QCOMPARE(editor->Document().ProblemCode, 51);
    QVERIFY(QFile::exists(f.DataPath("x.d51")));
    QVERIFY(!QFile::exists(f.DataPath("x.d01")));
    QCOMPARE(editor->windowTitle(), f.Native("x.d51"));
    QCOMPARE(f.globals->PreviewDlg().FileName, f.Native("x.d51"));
    QVERIFY(editor->StatusText(1).startsWith(QStringLiteral("Line 12: ")));
    QCOMPARE(SelectedLine(editor),
             QStringLiteral("#  1  -2.1E8     0.3    78.5     1.2E-5   ; steel") +
                 QChar::ParagraphSeparator);
    QCOMPARE(editor->StatusText(0), QStringLiteral("Line:  12 Col:  1"));
    QVERIFY(!QFile::exists(f.package.filePath("Error.txt")));
    QVERIFY(!EditorFixture::Enabled(editor, "PreviewBtn"));

    // Mended and checked again from the menu: back to x.d01, nothing selected.
    QTextCursor cursor = editor->Field()->textCursor();
    cursor.insertText(QStringLiteral("#  1   2.1E8     0.3    78.5     1.2E-5   ; steel\n"));
    editor->EditFieldKeyUp(Qt::Key_A);
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    editor->MenuItem("Check")->trigger();
    QCOMPARE(editor->Document().FileName, QStringLiteral("x.d01"));
    QCOMPARE(editor->Document().ProblemCode, 1);
    QVERIFY(QFile::exists(f.DataPath("x.d01")));
    QVERIFY(!QFile::exists(f.DataPath("x.d51")));
    QVERIFY(editor->StatusText(1).startsWith(QStringLiteral("OK - ")));
    QVERIFY(EditorFixture::Enabled(editor, "PreviewBtn"));

    // A file not yet accepted that passes: x.d53 becomes x.d03; an accepted one keeps its name.
    f.WriteData("t.d53", Example("warren.d03"));
    editor = f.Open("t.d53");
    editor->Button("CheckBtn")->click();
    QCOMPARE(editor->Document().FileName, QStringLiteral("t.d03"));
    QCOMPARE(editor->Document().ProblemCode, 3);
    QVERIFY(QFile::exists(f.DataPath("t.d03")) && !QFile::exists(f.DataPath("t.d53")));
    editor->CheckBtnClick();
    QCOMPARE(editor->Document().FileName, QStringLiteral("t.d03"));
    // The recent files follow the move: t.d53 would open as a blank template, and Save would
    // write it beside t.d03. An entry whose file has gone (one kept from before) says so and
    // opens nothing.
    QCOMPARE(RecentFiles::Read().first(), f.DataPath("t.d03"));
    QVERIFY(!RecentFiles::Read().contains(f.DataPath("t.d53")));
    RecentFiles::Add(f.DataPath("t.d53"));
    const qsizetype windows = f.windows->Editors().size();
    f.main->RecentMenu()->aboutToShow();
    f.main->RecentMenu()->actions().first()->trigger();
    QCOMPARE(f.windows->Editors().size(), windows);
    QCOMPARE(f.dialogs.Texts("warning").last(), TMainForm::RecentGoneText(f.DataPath("t.d53")));
    QVERIFY(!RecentFiles::Read().contains(f.DataPath("t.d53")));
    QVERIFY(!QFile::exists(f.DataPath("t.d53")));

    // A verdict whose sixth character is no digit selects nothing, yet rejects: data.dat
    // becomes data.d50.
    f.WriteData("data.dat", Example("gable.d05"));
    editor = f.Open("data.dat");
    editor->CheckBtnClick();
    QVERIFY(editor->StatusText(1).startsWith(QStringLiteral("Error: ")));
    QCOMPARE(editor->Document().FileName, QStringLiteral("data.d50"));
    QCOMPARE(editor->Document().ProblemCode, 50);
    QVERIFY(!editor->Field()->textCursor().hasSelection());
    QVERIFY(QFile::exists(f.DataPath("data.d50")));
}

void TestEditorPrograms::uncheckedCountsAreUpdatedBeforeTheCheck() {
    ProgramsFixture f;
    // Saved with a wrong node count: the check runs at once, and the checker sees the count.
    f.WriteData("g.d05", WithLine(Example("gable.d05"), 7, "#  5  Nodes        = 4"));
    TEditForm* editor = f.Open("g.d05");
    editor->CheckBtnClick();
    QCOMPARE(editor->Document().FileName, QStringLiteral("g.d55"));
    QVERIFY(editor->Field()->toPlainText().contains(QStringLiteral("Nodes        = 4\n")));

    // Unsaved, the counts of tables 2 to 5 are brought up to date first, the caret stays.
    QTextCursor title = editor->Field()->textCursor();
    title.setPosition(3);
    editor->Field()->setTextCursor(title);
    QTest::keyClicks(editor->Field(), QStringLiteral("x"));
    editor->EditFieldKeyUp(Qt::Key_X);
    const int caret = editor->Field()->textCursor().position();
    editor->CheckBtnClick();
    QCOMPARE(editor->Field()->textCursor().position(), caret);
    QCOMPARE(editor->Document().FileName, QStringLiteral("g.d05"));
    QVERIFY(f.ReadData("g.d05").contains("Nodes        =5\r\n"));
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));

    // Shaft lines (12) keep their counts as typed.
    f.WriteData("s.d12", WithLine(Example("shaft.d12"), 1, "Shaft"));
    editor = f.Open("s.d12");
    const QString before = editor->Field()->toPlainText();
    editor->Field()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->Field(), QStringLiteral(" "));
    editor->EditFieldKeyUp(Qt::Key_Space);
    editor->CheckBtnClick();
    QCOMPARE(editor->Field()->toPlainText(), before + u' ');
}

void TestEditorPrograms::renameConflictKeepsTheName() {
    ProgramsFixture f;
    QByteArray broken = WithLine(Example("gable.d05"), 12, "#  1   0     0.3    78.5     1.2E-5");
    f.WriteData("c.d05", broken);
    f.WriteData("c.d55", "an older unchecked copy\r\n");
    TEditForm* editor = f.Open("c.d05");
    editor->CheckBtnClick();
    // The window and the disk agree: both keep c.d05, the other file is untouched.
    QCOMPARE(editor->Document().FileName, QStringLiteral("c.d05"));
    QCOMPARE(editor->Document().ProblemCode, 5);
    QCOMPARE(editor->windowTitle(), f.Native("c.d05"));
    QCOMPARE(f.ReadData("c.d05"), broken);
    QCOMPARE(f.ReadData("c.d55"), QByteArray("an older unchecked copy\r\n"));
    QCOMPARE(f.dialogs.Texts("warning"),
             QStringList("Cannot rename " + f.Native("c.d05") + " to " + f.Native("c.d55") +
                         ": a file of that name already exists.\r\nThe file keeps its name."));
    // The verdict is still shown and its line selected.
    QVERIFY(editor->StatusText(1).startsWith(QStringLiteral("Line 12: ")));
    QVERIFY(SelectedLine(editor).startsWith(QStringLiteral("#  1   0 ")));
}

void TestEditorPrograms::calculate() {
    ProgramsFixture f;
    f.WriteData("s.d12", Example("shaft.d12"));
    TEditForm* editor = f.Open("s.d12", false);
    // Unsaved text is not calculated.
    QTest::keyClicks(editor->Field(), QStringLiteral(" "));
    editor->EditFieldKeyUp(Qt::Key_Space);
    editor->CalculateBtnClick();
    QCOMPARE(f.dialogs.Texts("warning"), QStringList("Seve the project first!"));
    QVERIFY(f.dialogs.Texts("error").isEmpty());
    editor->SaveBtnClick();

    // No solver is installed: the runner says so with the command line as built, three blanks
    // after "Gimbro".
    const QString package = QDir::toNativeSeparators(f.package.path()) + QDir::separator();
    editor->CalculateBtnClick();
    QCOMPARE(f.dialogs.Texts("error"), QStringList("Error executing " + package + "Gimbro   " +
                                                   f.Native("s.d12") + " S\r\nError message: 2!"));

    // The variant, and so the solver, is the file's own: storey.d07 goes to the statics
    // solver even while the shared dialog was last set up for the "*.p" entry by another
    // window, tripod.p04 opened through "Data files" to the dynamics one.
    for (const char* solver : {"Hosken", "Quendo", "Mirbek", "Sutalo"})
        ProgramsFixture::Install(QStringLiteral(ACTION_PROBE),
                                 f.package.filePath(solver + ProgramsFixture::Suffix()));
    f.WriteData("st.d07", Example("storey.d07"));
    f.WriteData("tri.p04", Example("tripod.d04"));
    editor = f.Open("st.d07");
    f.globals->PreviewDlg().Filter = QStringLiteral("Space frames|*.p57;*.p07");
    PressKey(editor, Qt::Key_F9);
    QCOMPARE(f.ProbeRuns().first(), "Hosken|" + f.Native("st.d07") + "|S");
    TEditForm* dynamics = f.Open("tri.p04");
    f.globals->PreviewDlg().Filter = QStringLiteral("Data files|*.dat|All files|*.*");
    dynamics->CalculateBtnClick();
    QCOMPARE(f.ProbeRuns().first(), "Mirbek|" + f.Native("tri.p04") + "|S");
    editor->CalculateBtnClick();
    QCOMPARE(f.ProbeRuns().first(), "Hosken|" + f.Native("st.d07") + "|S");
    QCOMPARE(editor->StatusText(1), CalculationRecord::DoneText());

    // Stopped (exit status 4) with results of an earlier run beside the data: the status line
    // says that none were written, in place of the check's "OK", and F4 asks before it shows
    // the old ones, until the result file is written again.
    f.WriteData("st.bin", "QVRESULT");
    ProgramsFixture::Touch(f.DataPath("st.bin"), 60);
    qputenv("QV_PROBE_EXIT", "4");
    PressKey(editor, Qt::Key_F9);
    QCOMPARE(editor->StatusText(1),
             CalculationRecord::StoppedText() + CalculationRecord::EarlierResultsText());
    if (!qEnvironmentVariableIsEmpty("QV_SHOTS"))
        editor->window()->grab().save(qEnvironmentVariable("QV_SHOTS") + "/stopped.png");
    QVERIFY(f.dialogs.Texts("question").isEmpty());
    f.ProbeRuns();
    PressKey(editor, Qt::Key_F4);
    QCOMPARE(f.dialogs.Texts("question"), QStringList(PreviewRules::EarlierRunQuestion()));
    QVERIFY(f.ProbeRuns().isEmpty());
    f.dialogs.answers = {UserDialogs::Answer::Yes};
    PressKey(editor, Qt::Key_F4);
    QCOMPARE(f.ProbeRuns().first(), "Pantex|" + f.Native("st.d07") + "|R");
    ProgramsFixture::Touch(f.DataPath("st.bin"), 120);
    PressKey(editor, Qt::Key_F4);
    QCOMPARE(f.dialogs.Texts("question").size(), 2);
    // A solver that could not solve the data, without earlier results.
    QFile::remove(f.DataPath("st.bin"));
    qputenv("QV_PROBE_EXIT", "1");
    editor->CalculateBtnClick();
    QCOMPARE(editor->StatusText(1), CalculationRecord::FailedText());
    qunsetenv("QV_PROBE_EXIT");
    f.ProbeRuns();

    // Without the solver F9 is greyed: the key, which reached the window above, now starts
    // nothing and says why in the status line and the tooltip.
    // Unsaved text: the same.
    QTest::keyClicks(editor->Field(), QStringLiteral("x"));
    editor->EditFieldKeyUp(Qt::Key_X);
    PressKey(editor, Qt::Key_F9);
    QVERIFY(f.ProbeRuns().isEmpty());
    QCOMPARE(editor->StatusText(1), QStringLiteral("Save the data first"));
    editor = f.Open("tri.p04", false);
    QCOMPARE(editor->StatusText(1), ButtonRules::NoSolverText());
    editor->Field()->setFocus();
    PressKey(editor, Qt::Key_F9);
    QVERIFY(f.ProbeRuns().isEmpty());
    QCOMPARE(editor->StatusText(1), ButtonRules::NoSolverText());
    QVERIFY(editor->Button("CalculateBtn")->toolTip().endsWith(ButtonRules::NoSolverText()));
    QVERIFY(editor->MenuItem("Calculate")->toolTip().endsWith(ButtonRules::NoSolverText()));
    PressKey(editor, Qt::Key_F4);
    QCOMPARE(editor->StatusText(1), ButtonRules::NoSolverText());
    QCOMPARE(f.dialogs.Texts("error").size(), 1);
    // Saved as a space frame, the window looks up that type's solver, which is here.
    f.dialogs.fileNames.push_back(f.DataPath("frame.d57"));
    editor->SaveAsClick();
    QVERIFY(editor->Document().SolverAvailable);
    QCOMPARE(ButtonRules::CalculateReason({57, false, true, false, false, false, {}}),
             QStringLiteral("Check the data first (F2)"));
    if (!qEnvironmentVariableIsEmpty("QV_SHOTS")) {
        QToolButton* button = editor->Button("CalculateBtn");
        QToolTip::showText(button->mapToGlobal(QPoint(5, 20)), button->toolTip(), button);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->inherits("QTipLabel"))
                top->grab().save(qEnvironmentVariable("QV_SHOTS") + "/tooltip.png");
        editor->window()->grab().save(qEnvironmentVariable("QV_SHOTS") + "/nosolver.png");
    }
}

void TestEditorPrograms::previewModes() {
    ProgramsFixture f;
    f.WriteData("g.d05", Example("gable.d05"));
    f.WriteData("g.bin", "results");
    ProgramsFixture::Touch(f.DataPath("g.bin"), 60);
    TEditForm* editor = f.Open("g.d05");
    const QString model = "Pantex|" + f.Native("g.d05") + "|E";
    const QString results = "Pantex|" + f.Native("g.d05") + "|R";

    // The Preview button shows the model even with fresh results; F7 and F4 show the results.
    qputenv("QV_PROBE_VERDICT", "OK - the model is shown");
    editor->Button("PreviewBtn")->click();
    QCOMPARE(f.ProbeRuns(), QStringList({model, "project=none"}));
    QCOMPARE(editor->StatusText(1), QStringLiteral("OK - the model is shown"));
    PressKey(editor, Qt::Key_F7);
    QCOMPARE(f.ProbeRuns().first(), results);
    PressKey(editor, Qt::Key_F4);
    QCOMPARE(f.ProbeRuns().first(), results);
    QVERIFY(f.dialogs.Texts("question").isEmpty());
    // Another window's newer file, named by the shared dialog, does not make these results
    // look old.
    f.WriteData("newer.d05", Example("gable.d05"));
    ProgramsFixture::Touch(f.DataPath("newer.d05"), 120);
    f.Open("newer.d05");
    editor->PreviewClick();
    QCOMPARE(f.ProbeRuns().first(), results);
    QVERIFY(f.dialogs.Texts("question").isEmpty());

    // Results older than the data: asked; No starts no viewer. An error file that another
    // run left where programs used to report is no verdict of this window's: each run
    // reports in its own folder.
    ProgramsFixture::Touch(f.DataPath("g.bin"), -60);
    QFile error(f.package.filePath("Error.txt"));
    QVERIFY(error.open(QIODevice::WriteOnly));
    error.write("OK - left by another window\r\n");
    error.close();
    f.dialogs.answers = {UserDialogs::Answer::No, UserDialogs::Answer::Yes};
    editor->PreviewClick();
    QCOMPARE(f.dialogs.Texts("question"),
             QStringList("The file containing results is older than input data file ! Proceed ?"));
    QVERIFY(f.ProbeRuns().isEmpty());
    QVERIFY(editor->StatusText(1) != QStringLiteral("OK - left by another window"));
    QVERIFY(error.exists());
    error.remove();
    editor->VisualizeBtnClick();
    QCOMPARE(f.ProbeRuns().first(), results);

    // A verdict longer than the window wraps in the status line instead of being cut off.
    const QString longVerdict = "OK - the structure is a mechanism or not supported enough: node 3 "
                                "can move in ux without resistance (no bar or support holds it)";
    qputenv("QV_PROBE_VERDICT", longVerdict.toUtf8());
    editor->window()->resize(500, 400);
    editor->PreviewBtnClick(true);
    QCOMPARE(editor->StatusText(1), longVerdict);
    QApplication::processEvents();
    auto* panel = editor->findChild<QLabel*>(QStringLiteral("MessagePanel"));
    QCOMPARE(panel->text(), longVerdict);
    QVERIFY(panel->width() <= editor->width());
    QTRY_VERIFY2(panel->height() >= 2 * panel->fontMetrics().height(),
                 qPrintable(QString::number(panel->height())));
    if (!qEnvironmentVariableIsEmpty("QV_SHOTS"))
        editor->window()->grab().save(qEnvironmentVariable("QV_SHOTS") + "/longverdict.png");
    editor->window()->resize(900, 700);

    // A viewer that finds a fault moves the file like the checker.
    qputenv("QV_PROBE_VERDICT", "Line 3: title missing");
    editor->PreviewBtnClick(true);
    QCOMPARE(editor->Document().FileName, QStringLiteral("g.d55"));
    QCOMPARE(SelectedLine(editor).left(7), QStringLiteral("#  1  T"));

    f.ProbeRuns();
    // Shaft lines have no viewer: only the status text and the error file.
    f.WriteData("s.d12", Example("shaft.d12"));
    editor = f.Open("s.d12");
    editor->PreviewBtnClick(false);
    QCOMPARE(editor->StatusText(1), QStringLiteral("Executing drawing tool!"));
    QVERIFY(f.ProbeRuns().isEmpty());
}

void TestEditorPrograms::frameGeneration() {
    ProgramsFixture f;
    QByteArray beam = Example("gable.d05");
    // Node 3 of the gable, straight between nodes 2 and 4.
    beam = WithLine(beam, 22, "#N 2 4 1");
    f.WriteData("b.d55", beam);
    TEditForm* editor = f.Open("b.d55");
    QTest::keyClicks(editor->Field(), QStringLiteral("Spans "));
    editor->EditFieldKeyUp(Qt::Key_Space);
    // Another window opened meanwhile: the shared dialog now names its file.
    f.WriteData("other.d05", Example("storey.d07"));
    TEditForm* other = f.Open("other.d05");
    editor->MenuItem("Generate")->trigger();
    QCOMPARE(other->Document().FileName, QStringLiteral("other.d05"));
    // Saved, expanded, accepted by the generator's check and read back.
    QVERIFY2(editor->StatusText(1).startsWith(QStringLiteral("OK - ")),
             qPrintable(editor->StatusText(1)));
    QCOMPARE(editor->Document().FileName, QStringLiteral("b.d05"));
    QVERIFY(QFile::exists(f.DataPath("b.d05")) && !QFile::exists(f.DataPath("b.d55")));
    const QString text = editor->Field()->toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("Spans Gable")), qPrintable(text.left(40)));
    QVERIFY(!text.contains(QStringLiteral("#N")));
    QVERIFY(text.contains(QStringLiteral("\n#  3 ")));
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));
    QCOMPARE(editor->Field()->textCursor().position(), 0);
    QVERIFY(editor->StatusText(1).startsWith(QStringLiteral("OK - ")));

    // No generator for shaft lines; the caret still goes to the start.
    f.WriteData("s.d12", Example("shaft.d12"));
    editor = f.Open("s.d12");
    editor->Field()->moveCursor(QTextCursor::End);
    editor->GenerateBtnClick();
    QCOMPARE(f.dialogs.Texts("warning"), QStringList("No automatic generation availuable!"));
    QCOMPARE(editor->Field()->textCursor().position(), 0);
}

void TestEditorPrograms::plateGeneration() {
    ProgramsFixture f;
    // The package's own toolset keeps the mesher's files in the user's data folder, where the
    // real follow-up finds them too; the package directory gets none.
    const QString data = f.user.filePath("VORM/Yornik/data/");
    QVERIFY(QDir().mkpath(data));
    f.WriteData("mesh.d13", "Mesh\r\n*4 Nodes\r\n#  1  0 0\r\n#  2  2 0\r\n#  3  2 2\r\n"
                            "#  4  0 2\r\n*5 Elements\r\n#  1  1 2 3 4 1 1\r\n&\r\n");
    f.WriteData("p.d09", Example("panel.d09"));
    QFile::copy(f.DataPath("mesh.d13"), data + "unnamed1.d13"); // a stale mesh of another run
    TEditForm* editor = f.Open("p.d09");

    // Cancelled in the mesher (its exit status 1): no mesh, no word, the data untouched.
    qputenv("QV_PROBE_EXIT", "1");
    editor->GenerateBtnClick();
    qunsetenv("QV_PROBE_EXIT");
    QCOMPARE(f.ProbeRuns(), QStringList({"Gralt|" + f.Native("p.d09"), "project=none"}));
    QVERIFY(f.dialogs.Texts("warning").isEmpty());
    QCOMPARE(f.ReadData("p.d09"), Example("panel.d09"));
    // A mesher that ends without a mesh and was not cancelled failed: the warning says so.
    editor->GenerateBtnClick();
    f.ProbeRuns();
    QCOMPARE(f.dialogs.Texts("warning"),
             QStringList("File " + QDir::toNativeSeparators(data) + "unnamed1.d13 not created!"));
    QCOMPARE(f.ReadData("p.d09"), Example("panel.d09"));

    // OK in the mesher: the mesh goes into tables 4 and 5 and the project keeps the data
    // file's name; the next run lends it again.
    qputenv("QV_PROBE_MESH", f.DataPath("mesh.d13").toUtf8());
    qputenv("QV_PROBE_PROJECT", "Gralt project 1\r\nregion 0 0 2 0 2 2 0 2 1 1 1 1\r\n");
    editor->GenerateBtnClick();
    QCOMPARE(f.dialogs.Texts("warning").size(), 1);
    QVERIFY(QFile::exists(data + "p.spj"));
    QVERIFY(!QFile::exists(data + "unnamed1.spj"));
    const QString text = editor->Field()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("#  5  Nodes        = 4")) ||
            text.contains(QStringLiteral("Nodes        =4")));
    QVERIFY(!text.contains(QStringLiteral("3.0    3.0")));
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));
    QCOMPARE(editor->Field()->textCursor().position(), 0);
    f.ProbeRuns();
    qunsetenv("QV_PROBE_MESH");
    qputenv("QV_PROBE_EXIT", "1");
    editor->GenerateBtnClick();
    qunsetenv("QV_PROBE_EXIT");
    QCOMPARE(f.ProbeRuns().last(),
             QStringLiteral("project=Gralt project 1 region 0 0 2 0 2 2 0 2 1 1 1 1"));
    QVERIFY(QFile::exists(data + "p.spj")); // cancelled again: still the data file's project

    // Unsaved text is saved before the mesher runs, so the reload neither asks nor loses the
    // edit or the mesh.
    qputenv("QV_PROBE_MESH", f.DataPath("mesh.d13").toUtf8());
    editor->Field()->moveCursor(QTextCursor::End);
    editor->Field()->insertPlainText(QStringLiteral("; edited before meshing\n"));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    editor->GenerateBtnClick();
    qunsetenv("QV_PROBE_MESH");
    QVERIFY(f.dialogs.Texts("question").isEmpty());
    const QByteArray saved = f.ReadData("p.d09");
    QVERIFY(saved.contains("; edited before meshing"));
    QVERIFY(saved.contains("#  5  Nodes        = 4"));
    QVERIFY(editor->Field()->toPlainText().contains(QStringLiteral("; edited before meshing")));
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));
}

void TestEditorPrograms::calculator() {
    ProgramsFixture f;
    f.WriteData("g.d05", Example("gable.d05"));
    TEditForm* editor = f.Open("g.d05");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", f.data.path().toUtf8());
    editor->Button("CalculatorBtn")->click();
    qputenv("PATH", path);
#ifndef Q_OS_WIN
    QCOMPARE(f.dialogs.Texts("warning"), QStringList(SystemCalculator::NoneFoundMessage()));
#endif
}

void TestEditorPrograms::followUpVerdict() {
    ProgramsFixture f;
    // The follow-up stood in for by the probe, which leaves the verdict given.
    QFile::remove(f.package.filePath("Vosher" + ProgramsFixture::Suffix()));
    ProgramsFixture::Install(QStringLiteral(ACTION_PROBE),
                             f.package.filePath("Vosher" + ProgramsFixture::Suffix()));
    f.WriteData("mesh.d13", "Mesh\r\n*4 Nodes\r\n#  1  0 0\r\n&\r\n");
    qputenv("QV_PROBE_MESH", f.DataPath("mesh.d13").toUtf8());
    f.WriteData("p.d09", Example("panel.d09"));
    // As in the package, plane stress has no solver: the reload's note of that must not hide
    // the follow-up's verdict.
    TEditForm* editor = f.Open("p.d09", false);
    // Another window opened since: the shared dialog names its file, not this window's.
    f.WriteData("b.d05", Example("gable.d05"));
    TEditForm* other = f.Open("b.d05");

    // OK with what it removed: the first line in the status line, all of it in a note.
    const QString removed = "Removed from table 6 (they referred to nodes of the old mesh): "
                            "items 1, 2. Give them again.";
    qputenv("QV_PROBE_VERDICT", "OK - the mesh was taken into p.d09\r\n" + removed.toUtf8());
    editor->GenerateBtnClick();
    QCOMPARE(editor->StatusText(1), QStringLiteral("OK - the mesh was taken into p.d09"));
    QCOMPARE(f.dialogs.Texts("information"),
             QStringList("OK - the mesh was taken into p.d09\r\n" + removed));
    QVERIFY(f.dialogs.Texts("warning").isEmpty());
    // The window read its own file again.
    QCOMPARE(editor->Document().FileName, QStringLiteral("p.d09"));
    QCOMPARE(editor->Field()->toPlainText(), DataFileText::Decode(Example("panel.d09")).Text);
    QCOMPARE(other->Document().FileName, QStringLiteral("b.d05"));
    QVERIFY(!QFile::exists(f.package.filePath("Error.txt")));

    // Refused: a warning with the whole text; the data file keeps its name all the same.
    f.dialogs.shown.clear();
    qputenv("QV_PROBE_VERDICT", "Line 3: the mesh has no elements\r\nNothing was changed.");
    editor->GenerateBtnClick();
    QCOMPARE(editor->StatusText(1), QStringLiteral("Line 3: the mesh has no elements"));
    QCOMPARE(f.dialogs.Texts("warning"),
             QStringList("Line 3: the mesh has no elements\r\nNothing was changed."));
    QCOMPARE(editor->Document().FileName, QStringLiteral("p.d09"));
    QVERIFY(QFile::exists(f.DataPath("p.d09")));

    // A plain OK: only the status line.
    f.dialogs.shown.clear();
    qputenv("QV_PROBE_VERDICT", "OK - the mesh was taken into p.d09");
    editor->GenerateBtnClick();
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(editor->StatusText(1), QStringLiteral("OK - the mesh was taken into p.d09"));
}

void TestEditorPrograms::windowsStayWhileTheirProgramRuns() {
    ProgramsFixture f;
    f.WriteData("g.d05", Example("gable.d05"));
    TEditForm* editor = f.Open("g.d05");
    const QPointer<TEditForm> alive(editor);
    QMdiSubWindow* window = f.main->MdiArea()->subWindowList().first();
    // The viewer runs a while; meanwhile the user closes the window and the launcher.
    qputenv("QV_PROBE_SLEEP_MS", "1500");
    bool tried = false;
    QTimer::singleShot(300, f.main.get(), [&] {
        window->close();
        f.main->close();
        tried = true;
    });
    editor->PreviewBtnClick(true);
    qunsetenv("QV_PROBE_SLEEP_MS");
    QVERIFY(tried);
    QVERIFY(alive);
    QCOMPARE(f.windows->Editors().size(), 1);
    QVERIFY(f.main->isVisible());
    QCOMPARE(editor->StatusText(1), TEditForm::StillRunningText());
    QCOMPARE(f.dialogs.Texts("warning"), QStringList(TMainForm::StillRunningText()));
    QVERIFY(f.main->isEnabled() && editor->isEnabled());
    // The window's close comes once the action is over; then the launcher closes as usual.
    QTRY_VERIFY(!alive);
    QCOMPARE(f.windows->Editors().size(), 0);
    QVERIFY(f.main->close());
}

void TestEditorPrograms::closeWaitsForTheWholeAction() {
    ProgramsFixture f;
    f.WriteData("p.d09", Example("panel.d09"));
    TEditForm* editor = f.Open("p.d09", false);
    const QPointer<TEditForm> alive(editor);
    QMdiSubWindow* window = f.main->MdiArea()->subWindowList().first();
    // The mesher runs a while and ends without a mesh; meanwhile the user closes the window.
    // The warning that follows is modal and runs its own event loop: the window must outlive
    // it, or the message box is freed with it under the user.
    qputenv("QV_PROBE_SLEEP_MS", "600");
    QTimer::singleShot(200, f.main.get(), [&] { window->close(); });
    bool aliveUnderWarning = false;
    f.dialogs.whileShown = [&] {
        QEventLoop modal;
        QTimer::singleShot(300, &modal, &QEventLoop::quit);
        modal.exec();
        aliveUnderWarning = alive;
    };
    editor->Button("GenerateBtn")->click();
    qunsetenv("QV_PROBE_SLEEP_MS");
    f.dialogs.whileShown = nullptr;
    QCOMPARE(f.dialogs.Texts("warning").size(), 1);
    QVERIFY(aliveUnderWarning);
    // Once the action is over, the close asked for comes.
    QTRY_VERIFY(!alive);
}

void TestEditorPrograms::reportOfTheCalculation() {
    ProgramsFixture f;
    f.WriteData("g.d05", Example("gable.d05"));
    TEditForm* editor = f.Open("g.d05");
    QAction* report = editor->MenuItem("Report");
    // No protocol yet: greyed, and F8 says why.
    QVERIFY(!report->isEnabled());
    const QString missing = "No report yet: g.rpt is written by Calculate (F9)";
    QVERIFY(report->toolTip().endsWith(missing));
    PressKey(editor, Qt::Key_F8);
    QCOMPARE(editor->StatusText(1), missing);
    QVERIFY(!editor->Report());
    if (!qEnvironmentVariableIsEmpty("QV_SHOTS")) {
        QMenu* operations = editor->Menus().at(2);
        operations->popup(editor->mapToGlobal(QPoint(100, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(operations));
        operations->grab().save(qEnvironmentVariable("QV_SHOTS") + "/operations.png");
        operations->hide();
    }

    // The solver kept its protocol beside the data file (Windows Cyrillic, CR LF).
    const QByteArray protocol = "Pelgon: \xf0\xe0\xec\xea\xe0 g.d05\r\nReactions\r\n"
                                "  node 1   Fz = 12.500 kN\r\n";
    f.WriteData("g.rpt", protocol);
    editor->SelectionChange();
    QVERIFY(report->isEnabled());
    PressKey(editor, Qt::Key_F8);
    ReportWindow* shown = editor->Report();
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QVERIFY(shown->View()->isReadOnly());
    QCOMPARE(shown->View()->toPlainText(),
             QString::fromUtf8("Pelgon: рамка g.d05\nReactions\n  node 1   Fz = 12.500 kN\n"));
    const QFontMetrics metrics(shown->View()->font());
    QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
    // Saved elsewhere byte for byte.
    f.dialogs.fileNames.push_back(f.DataPath("copy.rpt"));
    shown->SaveAsClick();
    QCOMPARE(f.ReadData("copy.rpt"), protocol);
    // Printed as a whole; without a printer the user is told.
    f.pickers.pdf = f.DataPath("report.pdf");
    shown->PrintClick();
    QVERIFY(QFileInfo(f.DataPath("report.pdf")).size() > 0);
    f.pickers.printerInstalled = false;
    shown->PrintClick();
    QCOMPARE(f.dialogs.Texts("error").size(), 1);
    if (!qEnvironmentVariableIsEmpty("QV_SHOTS"))
        shown->grab().save(qEnvironmentVariable("QV_SHOTS") + "/report.png");
    // The report of a renamed or reopened file is its own: none for another name.
    f.WriteData("h.d05", Example("gable.d05"));
    editor = f.Open("h.d05");
    QVERIFY(!editor->MenuItem("Report")->isEnabled());
    // The statics and the modes of one frame keep their reports apart, as the solvers write
    // them: F8 in each window shows its own.
    f.WriteData("st.d07", Example("storey.d07"));
    f.WriteData("st.p07", Example("storey.d07"));
    f.WriteData("st.rpt", "Hosken: statics\r\n");
    f.WriteData("st.rp0", "Quendo: modes\r\n");
    for (const char* name : {"st.d07", "st.p07"}) {
        editor = f.Open(QString::fromLatin1(name));
        editor->ReportClick();
        QCOMPARE(editor->Report()->View()->toPlainText(), name[3] == 'd'
                                                              ? QStringLiteral("Hosken: statics\n")
                                                              : QStringLiteral("Quendo: modes\n"));
    }
}

QTEST_MAIN(TestEditorPrograms)
#include "tst_editorprograms.moc"
