#include "EditorFixture.h"
#include "EditorHelpPage.h"
#include "FindReplaceDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The editor window's find, replace, help, print and insertion actions through its buttons,
// menu items and dialogs.
class TestEditorActions : public QObject {
    Q_OBJECT

private slots:
    void findAndReplaceThroughTheDialogs();
    void helpShowsTheSectionOfTheProblem();
};

void TestEditorActions::findAndReplaceThroughTheDialogs() {
    EditorFixture f;
    f.WriteData("roof.d55", "Roof\r\n*3 Sections\r\n#  1  IPE 200\r\n#  2  ipe 220\r\n&\r\n");
    TEditForm* editor = f.Open("roof.d55");
    editor->MenuItem(QStringLiteral("Find"))->trigger();
    FindReplaceDialog* find = editor->FindDlg();
    QVERIFY(find && find->isVisible());
    find->FindField()->setText(QStringLiteral("IPE"));
    find->MatchCaseBox()->setChecked(true);
    QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
    QCOMPARE(editor->Field()->textCursor().selectedText(), QStringLiteral("IPE"));
    QCOMPARE(editor->StatusText(0), QStringLiteral("Line:   3 Col:  7"));
    // Case-sensitive: the lower-case one is no match, so the search wraps to the same one.
    f.dialogs.answers = {UserDialogs::Answer::Yes};
    QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
    QCOMPARE(f.dialogs.Texts("question").size(), 1);
    QCOMPARE(editor->StatusText(0), QStringLiteral("Line:   3 Col:  7"));
    // Upwards without match case from the end finds the nearest one.
    find->MatchCaseBox()->setChecked(false);
    find->UpButton()->setChecked(true);
    editor->Field()->moveCursor(QTextCursor::End);
    QTest::mouseClick(find->FindNextButton(), Qt::LeftButton);
    QCOMPARE(editor->Field()->textCursor().selectedText(), QStringLiteral("ipe"));

    editor->MenuItem(QStringLiteral("Replace"))->trigger();
    FindReplaceDialog* replace = editor->ReplaceDlg();
    QVERIFY(replace && replace->isVisible());
    replace->FindField()->setText(QStringLiteral("ipe"));
    replace->ReplaceField()->setText(QStringLiteral("HEA"));
    editor->Field()->moveCursor(QTextCursor::Start);
    QVERIFY(!EditorFixture::Enabled(editor, "SaveBtn"));
    f.dialogs.replaceAnswers = {UserDialogs::ReplaceAnswer::All};
    f.dialogs.answers = {UserDialogs::Answer::No};
    QTest::mouseClick(replace->ReplaceAllButton(), Qt::LeftButton);
    QCOMPARE(editor->Field()->toPlainText(),
             QStringLiteral("Roof\n*3 Sections\n#  1  HEA 200\n#  2  HEA 220\n&\n"));
    QVERIFY(EditorFixture::Enabled(editor, "SaveBtn"));
}

void TestEditorActions::helpShowsTheSectionOfTheProblem() {
    EditorFixture f;
    QVERIFY(QFile::copy(QStringLiteral(PACKAGE_SOURCE "/lang/en/EdHlp.htm"),
                        f.package.filePath("EdHlp.htm")));
    f.WriteData("truss.d53", "Truss\r\n&\r\n");
    TEditForm* editor = f.Open("truss.d53");
    QCOMPARE(editor->HelpContext(), 4);
    QTest::mouseClick(editor->Button(QStringLiteral("HelpBtn")), Qt::LeftButton);
    const QString page = f.package.filePath("Help.htm");
    QCOMPARE(f.dialogs.opened, QList<QUrl>{QUrl::fromLocalFile(page)});
    QFile written(page);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray html = written.readAll();
    QVERIFY(html.contains("Bar structures with hinged joints"));
    QVERIFY(html.contains("warren.d03"));
    QVERIFY(!html.contains("Plane frames"));
    written.close();

    // No browser: the user learns where the page is.
    f.dialogs.desktopOpens = false;
    editor->MenuItem(QStringLiteral("Help"))->trigger();
    QCOMPARE(f.dialogs.Texts("warning"), QStringList{EditorHelpPage::WithoutBrowserText(page)});
    QVERIFY(f.dialogs.Texts("warning").first().contains(QDir::toNativeSeparators(page)));

    // A missing help file is reported and nothing is opened.
    QFile::remove(f.package.filePath("EdHlp.htm"));
    f.dialogs.opened.clear();
    editor->MenuItem(QStringLiteral("Help"))->trigger();
    QCOMPARE(f.dialogs.Texts("error").size(), 1);
    QVERIFY(f.dialogs.Texts("error").first().startsWith("Cannot open file "));
    QVERIFY(f.dialogs.opened.isEmpty());
}

QTEST_MAIN(TestEditorActions)
#include "tst_editoractions.moc"
