#include "AboutText.h"
#include "PackageDir.h"
#include "ScriptedDialogs.h"
#include "TAboutBox.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Bookmark = QStringLiteral("<A NAME=\"ProblemH37\">");

QString Tags(int count) {
    QString tags;
    for (int i = 0; i < count; ++i)
        tags += QStringLiteral("<B>x");
    return tags;
}

} // namespace

class TestAboutText : public QObject {
    Q_OBJECT

private slots:
    void extract_data();
    void extract();
    void boxShowsTextOfHelpFile();
    void boxReportsMissingHelpFile();
    void hiddenStartupBoxStaysQuiet();
    void boxFitsItsText_data();
    void boxFitsItsText();
};

void TestAboutText::extract_data() {
    QTest::addColumn<QString>("help");
    QTest::addColumn<QString>("about");
    const QString message = AboutText::BookmarkMessage();

    QTest::newRow("section up to the next anchor")
        << "<HTML>\r\n" + Bookmark + "About VORM</A>\r\n<P>Text</P>\r\n<A NAME=\"End\"></A>"
        << "About VORM\r\nText\r\n";
    QTest::newRow("lower-case anchor wins over an earlier upper-case one")
        << Bookmark + "One<A HREF=\"x\">two</A> three<a name=\"z\">four"
        << "Onetwo three";
    QTest::newRow("no anchor after the section leaves nothing") << Bookmark + "Text only"
                                                                << "";
    QTest::newRow("without bookmark from the 21st character") << "0123456789012345678901234<A>"
                                                              << "01234";
    QTest::newRow("entities are not decoded") << Bookmark + "A &amp; B<A NAME=\"x\">"
                                              << "A &amp; B";
    QTest::newRow("'>' before the first '<'") << Bookmark + "a > b <B>c<A>" << message;
    QTest::newRow("unclosed tag") << Bookmark + "a <B c<A>" << message;
    QTest::newRow("1999 tags are removed") << Bookmark + Tags(1999) + "<A>" << QString(1999, u'x');
    QTest::newRow("2000 tags give the bookmark message")
        << Bookmark + Tags(2000) + "<A>" << message;
}

void TestAboutText::extract() {
    QFETCH(QString, help);
    QFETCH(QString, about);
    QCOMPARE(AboutText::Extract(help), about);
}

void TestAboutText::boxShowsTextOfHelpFile() {
    QTemporaryDir dir;
    QFile file(dir.filePath("MMHlp.htm")); // another case than the box asks for
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<HTML>\r\n<A NAME=\"ProblemH37\">About</A>\r\n<P>\xCF\xF0\xE8\xEC\xE5\xF0</P>\r\n"
               "<A NAME=\"ProblemEnd\"></A>\r\n");
    file.close();

    ScriptedDialogs dialogs;
    TAboutBox box(PackageDir(dir.path()), dialogs);
    QCOMPARE(box.AboutTextShown(), QStringLiteral("About\nПример\n"));
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
}

void TestAboutText::boxReportsMissingHelpFile() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAboutBox box(PackageDir(dir.path()), dialogs);
    QCOMPARE(dialogs.Texts("error"), QStringList{"Cannot open file " + dir.filePath("mmhlp.htm")});
    QVERIFY(!box.AboutTextShown().isEmpty()); // the initial description stays

    // Entering the field reloads the text and reports again.
    box.show();
    box.RichEdit1()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    box.OKButton()->setFocus(Qt::TabFocusReason);
    QFocusEvent entering(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(box.RichEdit1(), &entering);
    QVERIFY(dialogs.Texts("error").size() >= 2);
    // Focus coming back with the window (after the error box) is not entering it.
    const auto count = dialogs.Texts("error").size();
    QFocusEvent returning(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box.RichEdit1(), &returning);
    QCOMPARE(dialogs.Texts("error").size(), count);
}

void TestAboutText::hiddenStartupBoxStaysQuiet() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    TAboutBox box(PackageDir(dir.path()), dialogs, nullptr, TAboutBox::HelpFileErrors::Ignore);
    QVERIFY(dialogs.shown.isEmpty());
}

// The text is wrapped, never scrolled sideways, and the box grows to show all of it; only a
// text taller than most of the screen scrolls.
void TestAboutText::boxFitsItsText_data() {
    QTest::addColumn<QString>("packageDir");
    QTest::addColumn<QString>("about"); // written into a help file when not empty
    QTest::addColumn<bool>("scrolls");
    const QString lang = QStringLiteral(VORM_LANG_SOURCE "/");
    QTest::newRow("English pack") << lang + "en" << QString() << false;
    QTest::newRow("Bulgarian pack") << lang + "bg" << QString() << false;
    QTest::newRow("Russian pack") << lang + "ru" << QString() << false;
    QTest::newRow("one long line")
        << QString() << QString(60, u'x').append(QStringLiteral(" word").repeated(60)) << false;
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << QStringLiteral("Line %1 of a very long About text").arg(i);
    QTest::newRow("taller than the screen") << QString() << lines.join("\r\n") << true;
}

void TestAboutText::boxFitsItsText() {
    QFETCH(QString, packageDir);
    QFETCH(QString, about);
    QFETCH(bool, scrolls);
    QTemporaryDir dir;
    if (packageDir.isEmpty()) {
        packageDir = dir.path();
        QFile file(dir.filePath("mmhlp.htm"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((Bookmark + about + "<A NAME=\"End\"></A>").toLatin1());
    }
    ScriptedDialogs dialogs;
    TAboutBox box(PackageDir(packageDir), dialogs);
    QVERIFY(dialogs.shown.isEmpty());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QPlainTextEdit* text = box.RichEdit1();
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(!text->horizontalScrollBar()->isVisible());
    QCOMPARE(text->verticalScrollBar()->isVisible(), scrolls);
    if (!scrolls)
        QCOMPARE(text->verticalScrollBar()->maximum(), 0);
    QVERIFY(box.width() < 600);
    QVERIFY(box.height() <= box.screen()->availableSize().height());
    // The OK button still fits below the text.
    QVERIFY(box.rect().contains(box.OKButton()->geometry()));
}

QTEST_MAIN(TestAboutText)
#include "tst_abouttext.moc"
