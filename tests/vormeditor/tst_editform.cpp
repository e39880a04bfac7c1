#include "DataChecker.h"
#include "EditorFixture.h"
#include "FormatCatalogue.h"
#include "InputText.h"
#include "PackageTextFile.h"
#include "ProblemCatalogue.h"
#include "ProblemMenuItems.h"
#include "ProblemNumber.h"
#include "RecentFiles.h"
#include "TemplateBlocks.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStringEncoder>
#include <QTest>
#include <QTextBlock>

namespace {

QStringList MenuBarTexts(const QMenuBar* bar) {
    QStringList texts;
    for (QAction* action : bar->actions())
        if (action->isVisible())
            texts << action->text();
    return texts;
}

void TypeAtEnd(TEditForm* editor, const QString& text) {
    editor->Field()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->Field(), text);
}

} // namespace

class TestEditForm : public QObject {
    Q_OBJECT

private slots:
    void opensByProblemNumber();
    void dataFileHasNoProblem();
    void newFilesStartFromTemplates();
    void dosFileGoesBackAsItCame();
    void untitledAndSaveAs();
    void cancelKeepsTheDocument();
    void failedSaveKeepsTheUnsavedState();
    void closingAsksForUnsavedText();
    void numberingOnEnter();
    void statusLineAndButtons();
    void preferencesAreStored();
    void menusMergeAndF1();
    void launcherClosingAsksEachWindow();
    void menuDropAndRecentFilesOpenEditors();
    void longLinesOpenQuickly();
};

void TestEditForm::opensByProblemNumber() {
    EditorFixture f;
    f.WriteData("x.d51", "*1 General\r\n#  1  a = 1\r\n&\r\n");
    TEditForm* editor = f.Open("x.d51");
    QCOMPARE(editor->Document().ProblemCode, 51);
    QCOMPARE(editor->HelpContext(), 2);
    QCOMPARE(editor->windowTitle(), QDir::toNativeSeparators(f.DataPath("x.d51")));
    QCOMPARE(f.settings.ReadDataDirectory(),
             QDir::toNativeSeparators(f.data.path()) + QDir::separator());
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("*1 General\n#  1  a = 1\n&\n"));
    QCOMPARE(editor->StatusText(0), QStringLiteral("Line:   1 Col:  1"));

    // An accepted file tidies result files whose data file has gone; x.d51 keeps x.bin.
    // Only files that the package's solvers wrote go: not the bibliography or the firmware
    // image beside a notes.dat.
    f.WriteData("x.d01", "*1\r\n&\r\n");
    f.WriteData("x.bin", "QVRESULT");
    f.WriteData("orphan.bin", "QVRESULT");
    f.WriteData("orphan.bi0", "QVRESULT");
    f.WriteData("refs.bib", "@book{x}");
    f.WriteData("firmware.bin", "\x7f"
                                "ELF");
    editor = f.Open("x.d01");
    QCOMPARE(editor->Document().ProblemCode, 1);
    QCOMPARE(editor->HelpContext(), 2);
    QVERIFY(QFile::exists(f.DataPath("x.bin")));
    QVERIFY(!QFile::exists(f.DataPath("orphan.bin")));
    QVERIFY(!QFile::exists(f.DataPath("orphan.bi0")));
    QVERIFY(QFile::exists(f.DataPath("refs.bib")));
    QVERIFY(QFile::exists(f.DataPath("firmware.bin")));
    f.WriteData("notes.dat", "notes\r\n");
    f.WriteData("my.frame.d05", "*1\r\n&\r\n");
    f.WriteData("my.frame.bin", "QVRESULT");
    f.Open("notes.dat");
    f.Open("my.frame.d05");
    for (const char* kept : {"refs.bib", "firmware.bin", "my.frame.bin"})
        QVERIFY2(QFile::exists(f.DataPath(kept)), kept);
    // Saved and accepted: the model can be viewed, and with results the results too.
    QVERIFY(EditorFixture::Enabled(editor, "PreviewBtn"));
    QVERIFY(EditorFixture::Enabled(editor, "VisualizeBtn"));
    QVERIFY(EditorFixture::Enabled(editor, "CalculateBtn"));
    QVERIFY(!EditorFixture::Enabled(editor, "InsertProfDat")); // no table 3
    QVERIFY(EditorFixture::Enabled(editor, "MatBtn"));
}

void TestEditForm::dataFileHasNoProblem() {
    EditorFixture f;
    PackageSettings::WriteDataDirectory(QStringLiteral("/elsewhere/"));
    f.WriteData("data.dat", "*3 Sections\r\n#  1  x\r\n");
    TEditForm* editor = f.Open("data.dat");
    QCOMPARE(editor->Document().ProblemCode, 0);
    QCOMPARE(editor->HelpContext(), 0);
    QCOMPARE(f.settings.ReadDataDirectory(), QStringLiteral("/elsewhere/"));
    for (const char* button :
         {"GenerateBtn", "PreviewBtn", "VisualizeBtn", "InsertProfDat", "SaveBtn"})
        QVERIFY2(!EditorFixture::Enabled(editor, button), button);
    QVERIFY(EditorFixture::Enabled(editor, "MatBtn"));
    QVERIFY(!editor->MenuItem("Generate")->isEnabled());
}

void TestEditForm::newFilesStartFromTemplates() {
    EditorFixture f;
    QFile::copy(QStringLiteral(PACKAGE_SOURCE "/Tablesw.dat"), f.package.filePath("mat.dat"));
    QFile::copy(QStringLiteral(PACKAGE_SOURCE "/Tablesw.dat"), f.package.filePath("PROF.DAT"));
    // The package's own templates: a new plane truss gets the plane truss tables.
    TEditForm* editor = f.Open("y.d53");
    QVERIFY(editor->Field()->toPlainText().contains(QStringLiteral("plane trusses")));
    QVERIFY(editor->Field()->toPlainText().contains(QStringLiteral("\n*3 ")));
    QVERIFY(editor->Field()->document()->isModified());
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    QVERIFY(editor->Field()->isEnabled());
    QVERIFY(EditorFixture::Enabled(editor, "InsertProfDat"));
    // The scratch files of the insertion dialogs are gone, whatever the case of their names.
    QVERIFY(!QFile::exists(f.package.filePath("mat.dat")));
    QVERIFY(!QFile::exists(f.package.filePath("PROF.DAT")));
    QVERIFY(!QFile::exists(f.DataPath("y.d53")));

    // In every language every new file of every type and variant names its type in the
    // launcher's language and passes the checker as it stands; space trusses, space frames and
    // plates keep statics (loads) and natural modes (masses) apart.
    for (const char* language : {"bg", "en", "ru"}) {
        QFile::remove(f.package.filePath("MESSW.TXT"));
        QFile::copy(QStringLiteral(PACKAGE_SOURCE "/lang/%1/MESSW.TXT").arg(language),
                    f.package.filePath("MESSW.TXT"));
        f.globals->LoadMenuTexts(*f.main->ProblemMenu());
        for (const ProblemEntry& entry : ProblemCatalogue::Entries()) {
            if (entry.Kind != MenuItemKind::Problem)
                continue;
            const QString name = "new." + entry.DefaultExtension;
            TEditForm* created = f.Open(name);
            const QString text = created->Field()->toPlainText();
            const QString title = f.main->Texts().Text(entry.GroupTag).remove(u'&') + ": " +
                                  f.main->Texts().Text(entry.Tag);
            QCOMPARE(text.section(u'\n', 0, 0), title);
            if (!qEnvironmentVariableIsEmpty("QV_SHOTS") && name == "new.p63")
                created->window()->grab().save(
                    QStringLiteral("%1/new-p63-%2.png")
                        .arg(qEnvironmentVariable("QV_SHOTS"), language));
            const ProblemNumber number = ProblemNumber::FromFileName(name);
            const DataChecker::Result checked =
                DataChecker::Check(InputText::Lines(QStringEncoder("windows-1251").encode(text)),
                                   *FormatCatalogue::For(number.Problem, number.Dynamics));
            QVERIFY2(checked.Ok, qPrintable(name + ": " + checked.Fault.Message));
            if (number.Problem == 4 || number.Problem == 7 || number.Problem == 13) {
                const ParsedData& data = checked.Data;
                QCOMPARE(data.ItemCount(9) > 0, number.Dynamics);
                QCOMPARE(data.ItemCount(7) + data.ItemCount(8) > 0, !number.Dynamics);
                QCOMPARE(text.contains("Natural modes = 0"), !number.Dynamics);
            }
            created->Field()->document()->setModified(false);
            created->ExitBtnClick();
        }
    }
    QCOMPARE(TemplateBlocks::LocalTitle(f.main->Texts(), "y.d59"),
             QString::fromUtf8("Статика: Плоское напряжённое состояние"));
    QApplication::processEvents();
    // Without menu texts a new file keeps its block's own title line.
    for (int entry = 0; entry < MenuTexts::Count; ++entry)
        f.main->Texts().Set(entry, QString());

    // Templates whose blocks the test knows: each block runs to its first line with "&"
    // anywhere in it; the block of a number is the number less the base (51 or 71), and an
    // accepted number takes the block of its unaccepted one.
    QFile::remove(f.package.filePath("Tablesw.dat"));
    QFile::remove(f.package.filePath("Mattabw.dat"));
    for (const auto& [name, bytes] :
         {std::pair{"Tablesw.dat", QByteArray("beams\r\n*1\r\n&\r\nshells\r\nx&y\r\n"
                                              "trusses\r\n*3 Sections\r\n#  1\r\n&\r\n"
                                              "space trusses\r\n")},
          std::pair{"Mattabw.dat", QByteArray("equations\r\n&\r\neigen\r\n&\r\n"
                                              "inverse\r\n*2 Matrix\r\n&\r\n")}}) {
        QFile file(f.package.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    editor = f.Open("t.d53");
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("trusses\n*3 Sections\n#  1\n&"));
    editor = f.Open("t.d03");
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("trusses\n*3 Sections\n#  1\n&"));
    editor = f.Open("t.d52");
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("shells\nx&y"));
    editor = f.Open("t.d54"); // the last block runs to the end of the file
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("space trusses"));
    editor = f.Open("y.d73");
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("inverse\n*2 Matrix\n&"));
    QVERIFY(!EditorFixture::Enabled(editor, "MatBtn"));
    QVERIFY(!editor->MenuItem("Materials")->isEnabled());
    editor = f.Open("z.d21");
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("equations\n&"));

    // Without its template the open ends with the file error and an empty, usable text.
    QFile::remove(f.package.filePath("Mattabw.dat"));
    editor = f.Open("z.d74");
    QCOMPARE(f.dialogs.Texts("error").size(), 1);
    QVERIFY(f.dialogs.Texts("error").first().startsWith(QStringLiteral("Cannot open file")));
    QVERIFY(editor->Field()->toPlainText().isEmpty());
    QVERIFY(editor->Field()->isEnabled());
}

void TestEditForm::dosFileGoesBackAsItCame() {
    EditorFixture f;
    QByteArray file("*1 ");
    file += "\x8F\xB0\xA8\xAC\xA5\xB0 \xE9 90\xF8\r\n#  1  a = 1\r\n&\r\n";
    f.WriteData("dos.d55", file);
    TEditForm* editor = f.Open("dos.d55");
    QVERIFY(editor->Document().DosEncoded);
    QVERIFY(editor->Field()->toPlainText().startsWith(QStringLiteral("*1 Пример Θ 90°")));
    editor->SaveBtnClick();
    QCOMPARE(f.ReadData("dos.d55"), file);
    // An edit changes only what was typed.
    editor->Field()->moveCursor(QTextCursor::End);
    editor->Field()->insertPlainText(QStringLiteral("Ф"));
    editor->SaveBtnClick();
    QCOMPARE(f.ReadData("dos.d55"), file + "\x94\r\n");
    // Every byte survives a plain open and save, also the one the text control would turn
    // into a blank (DOS 0xFF, Windows no-break space 0xA0).
    const QByteArray withFF = "*1 \x8F\xB0\xA8\xAC\xA5\xB0 \xFF\r\n";
    f.WriteData("ff.d55", withFF);
    f.Open("ff.d55")->SaveBtnClick();
    QCOMPARE(f.ReadData("ff.d55"), withFF);
    // A Windows file with "№" and "я": read as Windows, and saved unchanged it stays as it
    // came.
    QFile::copy(QStringLiteral(QV_TEST_DATA "/editor_ya_becomes_space.d55"), f.DataPath("ya.d55"));
    const QByteArray ya = f.ReadData("ya.d55");
    editor = f.Open("ya.d55");
    QVERIFY(!editor->Document().DosEncoded);
    QVERIFY(editor->Field()->toPlainText().contains(QStringLiteral("Моя рама")));
    QVERIFY(editor->Field()->toPlainText().contains(QStringLiteral("№")));
    editor->SaveBtnClick();
    QCOMPARE(f.ReadData("ya.d55"), ya);
    // Typed afterwards, a letter goes in the file's own code page.
    editor->Field()->moveCursor(QTextCursor::End);
    editor->Field()->insertPlainText(QStringLiteral("ё\u00A0я"));
    editor->SaveBtnClick();
    QCOMPARE(f.ReadData("ya.d55"), ya + "\xB8\xA0\xFF\r\n");
    // A Windows text with only the broken bar and the degree sign stays as it is.
    f.WriteData("win.d55", "*1 90\xB0 \xA6\r\n");
    editor = f.Open("win.d55");
    QVERIFY(!editor->Document().DosEncoded);
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("*1 90° ¦\n"));
}

void TestEditForm::untitledAndSaveAs() {
    EditorFixture f;
    TEditForm* editor = f.Open("Untitled.d51");
    f.dialogs.fileNames.push_back(f.DataPath("Untitled2.d05"));
    editor->SaveBtnClick();
    QCOMPARE(f.dialogs.Texts("save").size(), 1);
    const FileDialogRequest& request = f.dialogs.shown.last().Request;
    QCOMPARE(request.Filter, QStringLiteral("Frames|*.d51;*.d01|Data files|*.dat"));
    QCOMPARE(request.DefaultExtension, QStringLiteral("d51"));
    // A chosen name with "Untitled" in it is written, not asked for again. The new name's
    // number is the file's problem type from now on: plane frames, accepted.
    QVERIFY(QFile::exists(f.DataPath("Untitled2.d05")));
    QCOMPARE(editor->Document().ProblemCode, 5);
    QCOMPARE(editor->HelpContext(), 5);
    QCOMPARE(editor->windowTitle(), f.DataPath("Untitled2.d05"));
    QCOMPARE(f.globals->PreviewDlg().FileName, f.DataPath("Untitled2.d05"));
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));

    // A cancelled Save As writes nothing and keeps the name.
    TypeAtEnd(editor, QStringLiteral("x"));
    editor->SaveAsClick();
    QCOMPARE(editor->Document().FileName, QStringLiteral("Untitled2.d05"));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));

    // x.d51 saved as y.d55 is a plane frame not yet checked; as y.dat it keeps that type.
    f.WriteData("x.d51", "*1\r\n");
    editor = f.Open("x.d51");
    f.dialogs.fileNames = {f.DataPath("y.d55"), f.DataPath("y.dat")};
    editor->SaveAsClick();
    QCOMPARE(editor->Document().ProblemCode, 55);
    QCOMPARE(editor->HelpContext(), 5);
    // Whether it can be calculated is the new type's: no plane frame solver is installed here.
    QVERIFY(!editor->Document().SolverAvailable);
    QCOMPARE(f.dialogs.shown.last().Request.Filter,
             QStringLiteral("Frames|*.d51;*.d01|Data files|*.dat"));
    editor->SaveAsClick();
    QCOMPARE(editor->Document().FileName, QStringLiteral("y.dat"));
    QCOMPARE(editor->Document().ProblemCode, 55);
    QCOMPARE(f.dialogs.shown.last().Request.Filter,
             QStringLiteral("Frames|*.d55;*.d05|Data files|*.dat"));
}

void TestEditForm::cancelKeepsTheDocument() {
    EditorFixture f;
    f.WriteData("a.d55", "*1\r\n");
    f.WriteData("b.d55", "*2\r\n");
    TEditForm* editor = f.Open("a.d55");
    TypeAtEnd(editor, QStringLiteral("typed"));
    f.dialogs.answers.push_back(UserDialogs::Answer::Cancel);
    f.dialogs.fileNames.push_back(f.DataPath("b.d55"));
    editor->OpenBtnClick(true);
    QCOMPARE(f.dialogs.Texts("question"), QStringList{"Save changes?"});
    QCOMPARE(f.dialogs.Texts("open").size(), 0);
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("*1\ntyped"));
    QCOMPARE(editor->Document().FileName, QStringLiteral("a.d55"));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    // No: the other file replaces the text, unsaved.
    f.dialogs.answers.push_back(UserDialogs::Answer::No);
    editor->OpenBtnClick(true);
    QCOMPARE(editor->Field()->toPlainText(), QStringLiteral("*2\n"));
    QCOMPARE(f.ReadData("a.d55"), QByteArray("*1\r\n"));
}

void TestEditForm::failedSaveKeepsTheUnsavedState() {
    EditorFixture f;
    QVERIFY(QDir(f.data.path()).mkdir("sub"));
    f.WriteData("sub/x.d55", "*1\r\n");
    TEditForm* editor = f.Open("sub/x.d55");
    TypeAtEnd(editor, QStringLiteral("new"));
    QVERIFY(QDir(f.DataPath("sub")).removeRecursively());
    editor->Button("SaveBtn")->click();
    QCOMPARE(f.dialogs.Texts("error").size(), 1);
    QVERIFY(f.dialogs.Texts("error").first().startsWith(QStringLiteral("Cannot save ")));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    QVERIFY(editor->Field()->document()->isModified());
    // Closing: Yes tries to save, fails, and the window stays.
    f.dialogs.answers.push_back(UserDialogs::Answer::Yes);
    QVERIFY(!editor->close());
    QCOMPARE(f.dialogs.Texts("error").size(), 2);
    QCOMPARE(f.windows->Editors().size(), 1);
}

void TestEditForm::closingAsksForUnsavedText() {
    EditorFixture f;
    f.WriteData("x.d55", "*1\r\n");
    TEditForm* editor = f.Open("x.d55");
    QMdiSubWindow* window = f.main->MdiArea()->subWindowList().first();
    // Saved text closes without a question.
    QVERIFY(window->close());
    QVERIFY(f.dialogs.Texts("question").isEmpty());

    editor = f.Open("x.d55");
    TypeAtEnd(editor, QStringLiteral("a"));
    f.dialogs.answers = {UserDialogs::Answer::Cancel};
    editor->MenuItem("Exit")->trigger();
    QCOMPARE(f.windows->Editors().size(), 1);
    f.dialogs.answers = {UserDialogs::Answer::Yes};
    editor->ExitBtnClick();
    QCOMPARE(f.ReadData("x.d55"), QByteArray("*1\r\na\r\n"));
    QApplication::processEvents();
    QCOMPARE(f.windows->Editors().size(), 0);

    editor = f.Open("x.d55");
    TypeAtEnd(editor, QStringLiteral("b"));
    f.dialogs.answers = {UserDialogs::Answer::No};
    editor->ExitBtnClick();
    QCOMPARE(f.ReadData("x.d55"), QByteArray("*1\r\na\r\n"));
    QCOMPARE(f.dialogs.Texts("question").size(), 3);
}

void TestEditForm::numberingOnEnter() {
    EditorFixture f;
    f.WriteData("n.d55", "*2 Materials\r\n#  7  2.1E8 0.3\r\nplain\r\n#\r\n");
    TEditForm* editor = f.Open("n.d55");
    EditField* field = editor->Field();
    field->setFocus();
    QTextCursor cursor(field->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    field->setTextCursor(cursor);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->document()->findBlockByNumber(2).text(), QStringLiteral("#  8  "));
    QCOMPARE(field->textCursor().positionInBlock(), 6);
    QCOMPARE(editor->StatusText(0), QStringLiteral("Line:   3 Col:  7"));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    // One undo takes the line break and its number away together.
    editor->UndoBtnClick();
    QCOMPARE(field->toPlainText(), QStringLiteral("*2 Materials\n#  7  2.1E8 0.3\nplain\n#\n"));

    // Inside an item line: the second part gets the next number in front.
    cursor = QTextCursor(field->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 11);
    field->setTextCursor(cursor);
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(field->document()->findBlockByNumber(1).text(), QStringLiteral("#  7  2.1E8"));
    QCOMPARE(field->document()->findBlockByNumber(2).text(), QStringLiteral("#  8   0.3"));
    // After a line that is no item, nothing; after "#" without a digit, number 0.
    cursor = QTextCursor(field->document()->findBlockByNumber(3));
    cursor.movePosition(QTextCursor::EndOfBlock);
    field->setTextCursor(cursor);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->document()->findBlockByNumber(4).text(), QString());
    cursor = QTextCursor(field->document()->findBlockByNumber(5));
    cursor.movePosition(QTextCursor::EndOfBlock);
    field->setTextCursor(cursor);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->document()->findBlockByNumber(6).text(), QStringLiteral("#  0  "));
}

void TestEditForm::statusLineAndButtons() {
    EditorFixture f;
    f.WriteData("s.d05", "*1 General\r\n#  1  a = 1\r\n");
    QFile::copy(f.DataPath("s.d05"), f.DataPath("s.bin"));
    TEditForm* editor = f.Open("s.d05", false);
    EditField* field = editor->Field();
    QVERIFY(!EditorFixture::Enabled(editor, "CalculateBtn")); // no solver
    QVERIFY(EditorFixture::Enabled(editor, "VisualizeBtn"));
    QVERIFY(!EditorFixture::Enabled(editor, "CopyBtn"));
    QTextCursor cursor(field->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 3);
    field->setTextCursor(cursor);
    QCOMPARE(editor->StatusText(0), QStringLiteral("Line:   2 Col:  1"));
    QVERIFY(EditorFixture::Enabled(editor, "CopyBtn"));
    QVERIFY(editor->MenuItem("CutItem")->isEnabled());
    // Cutting from the button is a change to save: preview and results go until it is.
    editor->CutBtnClick();
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
    QVERIFY(EditorFixture::Enabled(editor, "PasteBtn"));
    QVERIFY(!EditorFixture::Enabled(editor, "PreviewBtn"));
    QVERIFY(!editor->MenuItem("Visualize")->isEnabled());
    QVERIFY(EditorFixture::Enabled(editor, "UndoBtn"));
    editor->MenuItem("Save")->trigger();
    QVERIFY(EditorFixture::Enabled(editor, "PreviewBtn"));
    QCOMPARE(f.ReadData("s.d05"), QByteArray("*1 General\r\n1  a = 1\r\n"));
}

void TestEditForm::preferencesAreStored() {
    EditorFixture f;
    f.WriteData("p.d55", "*1\r\n");
    TEditForm* editor = f.Open("p.d55");
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(17);
    font.setBold(true);
    f.pickers.font = font;
    f.pickers.colour = QColor(0x10, 0x20, 0x30);
    editor->MenuItem("Fonts")->trigger();
    editor->MenuItem("ColorItem")->trigger();
    QCOMPARE(editor->Field()->font().pixelSize(), 17);
    QCOMPARE(f.settings.ReadBackColor(), 0x302010);
    // A window opened later takes both.
    TEditForm* other = f.Open("p.d55");
    QCOMPARE(other->Field()->font().pixelSize(), 17);
    QVERIFY(other->Field()->font().bold());
    QCOMPARE(other->Field()->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
}

void TestEditForm::menusMergeAndF1() {
    EditorFixture f;
    const QStringList own = MenuBarTexts(f.main->menuBar());
    f.WriteData("a.d55", "*1\r\n");
    f.WriteData("b.d55", "*1\r\n");
    TEditForm* a = f.Open("a.d55");
    TEditForm* b = f.Open("b.d55");
    const QStringList merged = own + QStringList{"&File", "&Edit", "&Operations", "&Preferences"};
    QCOMPARE(MenuBarTexts(f.main->menuBar()), merged);
    QVERIFY(f.main->menuBar()->actions().contains(b->Menus().first()->menuAction()));
    QVERIFY(!f.main->menuBar()->actions().contains(a->Menus().first()->menuAction()));
    // Switching windows swaps the menus; only one window's menus are there at a time.
    f.main->MdiArea()->setActiveSubWindow(f.main->MdiArea()->subWindowList().first());
    QCOMPARE(MenuBarTexts(f.main->menuBar()), merged);
    QVERIFY(f.main->menuBar()->actions().contains(a->Menus().first()->menuAction()));
    QVERIFY(!f.main->menuBar()->actions().contains(b->Menus().first()->menuAction()));

    // Ctrl+F4 closes the active editor window. Where the platform's keys for Close (held by
    // the child windows' system menus) lack it, as under a plain X11 desktop, the launcher
    // holds it; where they have it, a second holder would silence both.
    f.main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
    TEditForm* c = f.Open("b.d55");
    c->Field()->setFocus();
    QTest::keyClick(c->Field(), Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
    QCOMPARE(f.windows->Editors().size(), 2);
    QCOMPARE(f.main->MdiArea()->activeSubWindow()->widget(), a);
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4), ctrlW(Qt::CTRL | Qt::Key_W);
    QCOMPARE(TMainForm::ChildCloseKey({ctrlW}), ctrlF4);
    QCOMPARE(TMainForm::ChildCloseKey({}), ctrlF4);
    QCOMPARE(TMainForm::ChildCloseKey({ctrlF4, ctrlW}), QKeySequence());

    // F1 with an editor active is the editor's help (missing here), not the main help file.
    f.main->HelpKey();
    QVERIFY(f.dialogs.opened.isEmpty());
    QVERIFY(f.dialogs.Texts("error").first().contains(QStringLiteral("EdHlp.htm")));
    // Closing both takes their menus away; F1 is then the main window's again.
    f.main->MdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    QCOMPARE(MenuBarTexts(f.main->menuBar()), own);
    f.main->HelpKey();
    QCOMPARE(f.dialogs.opened.size(), 1);
    // In every language each menu of the bar has a key of its own, an editor's included.
    f.Open("a.d55");
    for (const char* language : {"bg", "en", "ru"}) {
        QFile::remove(f.package.filePath("MESSW.TXT"));
        QFile::copy(QStringLiteral(PACKAGE_SOURCE "/lang/%1/MESSW.TXT").arg(language),
                    f.package.filePath("MESSW.TXT"));
        f.globals->LoadMenuTexts(*f.main->ProblemMenu());
        QList<QKeySequence> keys;
        for (const QString& text : MenuBarTexts(f.main->menuBar())) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            QVERIFY2(!key.isEmpty() && !keys.contains(key), qPrintable(language + (": " + text)));
            keys << key;
        }
    }
}

void TestEditForm::launcherClosingAsksEachWindow() {
    EditorFixture f;
    f.WriteData("a.d55", "*1\r\n");
    f.WriteData("b.d55", "*1\r\n");
    TypeAtEnd(f.Open("a.d55"), QStringLiteral("x"));
    TypeAtEnd(f.Open("b.d55"), QStringLiteral("y"));
    f.dialogs.answers = {UserDialogs::Answer::No, UserDialogs::Answer::Cancel};
    QVERIFY(!f.main->close());
    QCOMPARE(f.dialogs.Texts("question").size(), 2);
    QApplication::processEvents();
    QCOMPARE(f.windows->Editors().size(), 1);
    f.dialogs.answers = {UserDialogs::Answer::Yes};
    QVERIFY(f.main->close());
    QCOMPARE(f.dialogs.Texts("question").size(), 3);
}

void TestEditForm::menuDropAndRecentFilesOpenEditors() {
    EditorFixture f;
    QFile::copy(QStringLiteral(PACKAGE_SOURCE "/examples/gable.d05"), f.DataPath("gable.d05"));
    f.main->Texts().Set(5, QStringLiteral("Plane frames"));
    // The menu entry: the launcher's dialog, then an editor with the solver's mark.
    f.dialogs.fileNames.push_back(f.DataPath("gable.d05"));
    ProblemMenuItems::Find(*f.main->ProblemMenu(), 5)->trigger();
    QCOMPARE(f.windows->Editors().size(), 1);
    TEditForm* editor = f.windows->Editors().first();
    QCOMPARE(editor->Document().FileName, QStringLiteral("gable.d05"));
    QVERIFY(!editor->Document().SolverAvailable);
    QVERIFY(editor->Field()->toPlainText().startsWith(QStringLiteral("Gable frame")));

    // A dropped file opens as if chosen from its problem's entry.
    f.main->OpenFile(f.DataPath("gable.d05"));
    QCOMPARE(f.windows->Editors().size(), 2);
    QCOMPARE(f.globals->PreviewDlg().Filter,
             QStringLiteral("Plane frames|*.d55;*.d05|Data files|*.dat|All files|*.*"));
    QCOMPARE(RecentFiles::Read().first(), f.DataPath("gable.d05"));
    f.main->RecentMenu()->aboutToShow();
    QCOMPARE(f.main->RecentMenu()->actions().size(), 1);
    f.main->RecentMenu()->actions().first()->trigger();
    QCOMPARE(f.windows->Editors().size(), 3);
    QCOMPARE(RecentFiles::Added({"a", "b", "c", "d", "e", "f"}, "c"),
             QStringList({"c", "a", "b", "d", "e", "f"}));
    QCOMPARE(RecentFiles::Added({"a", "b", "c", "d", "e", "f"}, "g").size(), RecentFiles::Limit);
}

void TestEditForm::longLinesOpenQuickly() {
    // How fast is measured by bench_editor; here: a file with a line of megabytes comes in whole,
    // and the text is laid out without shaping, which made such a line take half a minute.
    EditorFixture f;
    QFile::copy(QStringLiteral(QV_TEST_DATA "/editor_1MB_line.d55"), f.DataPath("line.d55"));
    QByteArray big = "*1 General\r\n#  1  Title = " + QByteArray(3000000, 'x') + "\r\n";
    for (int i = 0; i < 25000; ++i)
        big += "#  2  12.5  13.5  ; a line of the data\r\n";
    f.WriteData("big.d55", big);
    TEditForm* editor = f.Open(QStringLiteral("big.d55"));
    QCOMPARE(editor->Field()->document()->blockCount(), 25003);
    QCOMPARE(editor->Field()->document()->findBlockByNumber(1).length(), 3000000 + 15);
    QVERIFY(editor->Field()->font().styleStrategy() & QFont::PreferNoShaping);
    editor = f.Open(QStringLiteral("line.d55"));
    QVERIFY(editor->Field()->document()->blockCount() > 2);
    QVERIFY(editor->Field()->font().styleStrategy() & QFont::PreferNoShaping);
}

QTEST_MAIN(TestEditForm)
#include "tst_editform.moc"
