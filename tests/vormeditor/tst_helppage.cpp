#include "EditorDocument.h"
#include "EditorHelpPage.h"
#include "PackageDir.h"
#include "ProgramTable.h"
#include "VormError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Anchored(std::initializer_list<int> keys) {
    QByteArray text = "<HTML><BODY>\n<A NAME=\"Editor\"><H1>Editor</H1></A>\nGeneral text\n";
    for (int key : keys)
        text += "<A NAME=\"Problem" + QByteArray::number(key) + "\"><H2>T" +
                QByteArray::number(key) + "</H2></A>\nSection " + QByteArray::number(key) + "\n";
    return text + "</BODY></HTML>\n";
}

QByteArray Page(const QByteArray& content) {
    const QByteArray link = "<A href=\"edhlp.htm\"><img src=\"HelpBtn.bmp\" align=center></A>";
    return "<HTML><BODY>\r\n" + link + "\r\n" + content + "<p>" + link + "\r\n</BODY></HTML>\r\n";
}

} // namespace

class TestHelpPage : public QObject {
    Q_OBJECT

private slots:
    void cutsTheSectionOfTheContext_data();
    void cutsTheSectionOfTheContext();
    void writesHelpBesideTheHelpFile();
    void everyLanguageHasEveryProblemSection_data();
    void everyLanguageHasEveryProblemSection();
};

void TestHelpPage::cutsTheSectionOfTheContext_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("context");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("4 between 3 and 5")
        << Anchored({2, 3, 4, 5}) << 4 << QByteArray("\r\nSection 4\r\n");
    // The key is matched as a prefix and the first anchor wins.
    QTest::newRow("1 finds 10 first") << Anchored({10, 1}) << 1 << QByteArray("\r\nSection 10\r\n");
    QTest::newRow("last runs to the end")
        << Anchored({2, 3}) << 3 << QByteArray("\r\nSection 3\r\n</BODY></HTML>\r\n");
    QTest::newRow("no section: the general text")
        << Anchored({2, 3}) << 0 << QByteArray("\r\nGeneral text\r\n");
}

void TestHelpPage::cutsTheSectionOfTheContext() {
    QFETCH(QByteArray, source);
    QFETCH(int, context);
    QFETCH(QByteArray, content);
    QCOMPARE(EditorHelpPage::Build(source, context), Page(content));
}

void TestHelpPage::writesHelpBesideTheHelpFile() {
    QTemporaryDir dir;
    QTemporaryDir user;
    const PackageDir package(dir.path(), user.path());
    try {
        EditorHelpPage::Write(package, 2);
        QFAIL("a missing help file must fail");
    } catch (const VormError& error) {
        QCOMPARE(error.Message(), QStringLiteral("Cannot open file ") +
                                      QDir::toNativeSeparators(dir.filePath("EdHlp.htm")));
    }
    QVERIFY(!QFile::exists(dir.filePath("Help.htm")));
    QVERIFY(!QFile::exists(user.filePath("Help.htm")));

    // The help file is found in any case; each request rewrites the page, in the user's
    // folder: the package directory may be read-only.
    QFile source(dir.filePath("edhlp.HTM"));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write(Anchored({2, 3}));
    source.close();
    QString page = EditorHelpPage::Write(package, 3);
    QCOMPARE(page, user.filePath("Help.htm"));
    QVERIFY(!QFile::exists(dir.filePath("Help.htm")));
    page = EditorHelpPage::Write(package, 2);
    QFile written(page);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), Page("\r\nSection 2\r\n"));
}

void TestHelpPage::everyLanguageHasEveryProblemSection_data() {
    QTest::addColumn<QString>("language");
    for (const char* language : {"en", "bg", "ru"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

void TestHelpPage::everyLanguageHasEveryProblemSection() {
    QFETCH(QString, language);
    QFile file(QStringLiteral(PACKAGE_SOURCE "/lang/%1/EdHlp.htm").arg(language));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray source = file.readAll();
    QStringDecoder decode("windows-1251");
    const QString text = decode(source);
    QVERIFY(!decode.hasError());
    QVERIFY(text.contains(QStringLiteral("charset=windows-1251")));
    // Every help context an editor window can have shows its own section, which names the
    // problem's example file and its tables.
    const QRegularExpression example(QStringLiteral("[a-z]+\\.[dp]\\d\\d"));
    for (int context = 2; context <= 15; ++context) {
        const QString page = decode(EditorHelpPage::Build(source, context));
        QVERIFY2(page.contains(example), qPrintable(QString::number(context)));
        QVERIFY2(page.contains(QStringLiteral("*1")), qPrintable(QString::number(context)));
        QVERIFY2(page.size() > 600, qPrintable(QString::number(context)));
    }
    const QString general = decode(EditorHelpPage::Build(source, 0));
    QVERIFY(general.contains(QStringLiteral("#")));

    // A problem type whose solver the package does not install says so on its page, so
    // that the page promises no results that Calculate cannot give; the others do not.
    const QString noSolver = language == u"en" ? QStringLiteral("No solver for this problem type")
                             : language == u"ru" ? QStringLiteral("Расчётная программа для этого")
                                                 : QStringLiteral("Програма за решаване на този");
    const QStringList installed = QStringLiteral(INSTALLED_SOLVERS).split(u',');
    for (int code = 1; code <= 17; ++code) {
        const int context = EditorDocument::HelpContextOf(code);
        if (context == 0)
            continue;
        const bool solved = installed.contains(ProgramTable::Solver(code, false));
        const QString page = decode(EditorHelpPage::Build(source, context));
        QVERIFY2(page.contains(noSolver) != solved, qPrintable(QString::number(code)));
    }
}

QTEST_MAIN(TestHelpPage)
#include "tst_helppage.moc"
