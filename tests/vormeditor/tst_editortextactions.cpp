#include "EditorFixture.h"
#include "EditorHelpPage.h"
#include "FindReplaceDialog.h"
#include "TextPrinter.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// The editor window's find, replace, help, print and insertion actions through its buttons,
// menu items and dialogs.
class TestEditorTextActions : public QObject {
    Q_OBJECT

private slots:
    void findAndReplaceThroughTheDialogs();
    void helpShowsTheSectionOfTheProblem();
    void printsTheTextOrTheSelection();
};

void TestEditorTextActions::findAndReplaceThroughTheDialogs() {
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

void TestEditorTextActions::helpShowsTheSectionOfTheProblem() {
    EditorFixture f;
    QVERIFY(QFile::copy(QStringLiteral(PACKAGE_SOURCE "/lang/en/EdHlp.htm"),
                        f.package.filePath("EdHlp.htm")));
    f.WriteData("truss.d53", "Truss\r\n&\r\n");
    TEditForm* editor = f.Open("truss.d53");
    QCOMPARE(editor->HelpContext(), 4);
    QTest::mouseClick(editor->Button(QStringLiteral("HelpBtn")), Qt::LeftButton);
    // The page is written into the user's data folder, not the package directory.
    const QString page = f.user.filePath("VORM/Help.htm");
    QCOMPARE(f.dialogs.opened, QList<QUrl>{QUrl::fromLocalFile(page)});
    QVERIFY(!QFile::exists(f.package.filePath("Help.htm")));
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

namespace {

// The text of a printed PDF, pages separated by form feeds, and its page count.
struct PrintedPdf {
    QString Text;
    int Pages = 0;
};

PrintedPdf ReadPdf(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!text.waitForFinished(30000))
        return {};
    PrintedPdf pdf;
    pdf.Text = QString::fromUtf8(text.readAllStandardOutput());
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    info.waitForFinished(30000);
    for (const QByteArray& line : info.readAllStandardOutput().split('\n'))
        if (line.startsWith("Pages:"))
            pdf.Pages = line.mid(6).trimmed().toInt();
    return pdf;
}

} // namespace

void TestEditorTextActions::printsTheTextOrTheSelection() {
    EditorFixture f;
    QByteArray data = "Long data\r\n*4 Nodes\r\n";
    for (int i = 1; i <= 400; ++i)
        data += "#" + QByteArray::number(i).rightJustified(3) + "  node" + QByteArray::number(i) +
                "  " + QByteArray::number(i * 0.25) + "  0.0\r\n";
    data += "&\r\n";
    f.WriteData("long.d55", data);
    TEditForm* editor = f.Open("long.d55");
    QTemporaryDir out;
    if (qEnvironmentVariableIsSet("KEEP_PDF"))
        out.setAutoRemove(false);

    // Without a printer nothing is set up and the user is told why.
    f.pickers.printerInstalled = false;
    f.pickers.pdf = out.filePath("none.pdf");
    editor->MenuItem(QStringLiteral("Print1"))->trigger();
    QCOMPARE(f.dialogs.Texts("error"), QStringList{TextPrinter::NoPrinterText()});
    QVERIFY(!QFile::exists(f.pickers.pdf));
    f.pickers.printerInstalled = true;

    // A selection over three pages prints them all, and nothing outside it.
    const QString text = editor->Field()->toPlainText();
    const int from = int(text.indexOf(QStringLiteral("node20 ")));
    const int to = int(text.indexOf(QStringLiteral("node201 ")));
    QTextCursor cursor = editor->Field()->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor->Field()->setTextCursor(cursor);
    f.pickers.pdf = out.filePath("selection.pdf");
    f.pickers.printSelection = true;
    editor->MenuItem(QStringLiteral("Print1"))->trigger();
    QVERIFY(f.pickers.offeredSelection);
    PrintedPdf pdf = ReadPdf(f.pickers.pdf);
    QCOMPARE(pdf.Pages, 3);
    QCOMPARE(pdf.Text.count(u'\f'), 3);
    QVERIFY(pdf.Text.contains(QStringLiteral("node20 ")));
    QVERIFY(pdf.Text.contains(QStringLiteral("node200 ")));
    QVERIFY(!pdf.Text.contains(QStringLiteral("node19 ")));
    QVERIFY(!pdf.Text.contains(QStringLiteral("node201 ")));
    // Every line is printed once, whichever page it falls on.
    for (int i = 20; i <= 200; ++i)
        QCOMPARE(pdf.Text.count(QStringLiteral("node%1 ").arg(i)), 1);

    // Fifty characters from position 100: exactly those, on one page.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out.filePath("fifty.pdf"));
    QCOMPARE(editor->PrintSel(printer, QStringLiteral("long.d55"), 100, 50), 1);
    pdf = ReadPdf(out.filePath("fifty.pdf"));
    QCOMPARE(pdf.Pages, 1);
    QString expected = text.mid(100, 50);
    QString printed = pdf.Text;
    expected.remove(u' ').remove(u'\n');
    printed.remove(u' ').remove(u'\n').remove(u'\f');
    QCOMPARE(printed, expected);

    // The whole text: the first and the last line, on more pages; cancelling prints nothing.
    f.pickers.pdf = out.filePath("all.pdf");
    f.pickers.printSelection = false;
    editor->MenuItem(QStringLiteral("Print1"))->trigger();
    pdf = ReadPdf(f.pickers.pdf);
    QVERIFY(pdf.Pages > 3);
    QVERIFY(pdf.Text.contains(QStringLiteral("Long data")));
    QVERIFY(pdf.Text.contains(QStringLiteral("node400 ")));
    f.pickers.pdf.clear();
    editor->MenuItem(QStringLiteral("Print1"))->trigger();
    QCOMPARE(f.dialogs.Texts("error").size(), 1);
}

QTEST_MAIN(TestEditorTextActions)
#include "tst_editortextactions.moc"
