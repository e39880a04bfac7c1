#include "AboutText.h"
#include "MenuTextFile.h"
#include "MenuTexts.h"
#include "PackExtractor.h"
#include "PackageTextFile.h"
#include "ProblemCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString Package = QStringLiteral(VORM_PACKAGE_DIR);

// The section of a sectioned help file, cut as the help pages cut it.
QString HelpSection(const QString& text, const QString& key) {
    const QString anchor = QStringLiteral("<A NAME=\"Problem");
    const qsizetype from = text.indexOf(anchor + key);
    if (from < 0)
        return {};
    QString rest = text.mid(from);
    rest = rest.mid(rest.indexOf(QStringLiteral("</A>")) + 4);
    const qsizetype next = rest.indexOf(anchor);
    return next < 0 ? rest : rest.left(next);
}

} // namespace

class TestPackageData : public QObject {
    Q_OBJECT

private slots:
    void programsArePresent();
    void pack_data();
    void pack();
    void desktopOpensEveryDataFile();
};

void TestPackageData::programsArePresent() {
    // The viewer is one program under four names; the region mesher lies in the default
    // toolset folder "Yornik", beside the "data" folder it writes into.
    for (const char* name : {"Vorm", "PKUNZIP", "Halbrin", "Mopsa", "Vosher", "Kaddle", "Pantex",
                             "Ciffon", "Brimto", "Yornik/Gralt"}) {
        const QFileInfo program(QDir(Package).filePath(QString::fromLatin1(name)));
        QVERIFY2(program.isFile() && program.isExecutable(), name);
    }
    QVERIFY(QFileInfo(QDir(Package).filePath(QStringLiteral("Yornik/data"))).isDir());
}

void TestPackageData::pack_data() {
    QTest::addColumn<QString>("pack");
    QTest::newRow("English") << "VORMEW.ZIP";
    QTest::newRow("Bulgarian") << "VORMBW.ZIP";
    QTest::newRow("Russian") << "VORMRW.ZIP";
}

void TestPackageData::pack() {
    QFETCH(QString, pack);
    QTemporaryDir dir;
    const PackExtractor::Result result =
        PackExtractor::Extract(QDir(Package).filePath(pack), dir.path());
    QVERIFY2(result.Ok, qPrintable(result.Error));
    // Exactly the names the launcher and the generated help pages refer to.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
             (QStringList{"EdHlp.htm", "HelpBtn.bmp", "MESSW.TXT", "MMHlp.htm", "edhlp.htm"}));

    // Every menu item, the title and the "Data files" filter have a text, none of them cut
    // short by a missing final blank.
    const QString messw = dir.filePath("MESSW.TXT");
    MenuTexts texts;
    QVERIFY(MenuTextFile::Read(messw, texts));
    for (const ProblemEntry& entry : ProblemCatalogue::Entries())
        QVERIFY2(!texts.Text(entry.Tag).isEmpty(), qPrintable(entry.Handler));
    QVERIFY(!texts.Text(ProblemCatalogue::TitleEntry).isEmpty());
    QVERIFY(texts.Text(ProblemCatalogue::DataFilesFilterEntry).contains("|*."));
    // Every group of the menu bar, and each entry of the help group, can be reached from the
    // keyboard by a letter of its own.
    for (const QList<int>& siblings : {QList<int>{81, 82, 83, 84, 112}, QList<int>{114, 113}}) {
        QSet<QChar> letters;
        for (int tag : siblings) {
            const QString text = texts.Text(tag);
            const qsizetype amp = text.indexOf(u'&');
            QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
            QVERIFY2(!letters.contains(text[amp + 1].toLower()), qPrintable(text));
            letters.insert(text[amp + 1].toLower());
        }
    }
    for (const QString& line : PackageTextFile::SplitLines(PackageTextFile::Read(messw)))
        if (!line.isEmpty() && line[0].isDigit())
            QVERIFY2(line.endsWith(u' '), qPrintable(line));

    const QString mainHelp = PackageTextFile::Read(dir.filePath("MMHlp.htm"));
    const QString about = AboutText::Load(dir.filePath("MMHlp.htm"));
    QVERIFY(!about.trimmed().isEmpty());
    QVERIFY(about != AboutText::BookmarkMessage());
    QVERIFY(!about.contains(u'<'));
    QVERIFY(!HelpSection(mainHelp, "H36").trimmed().isEmpty());

    // Each help context of the editor has its own section.
    const QString editorHelp = PackageTextFile::Read(dir.filePath("EdHlp.htm"));
    for (int context = 2; context <= 15; ++context)
        QVERIFY2(HelpSection(editorHelp, QString::number(context)).contains("<P>"),
                 qPrintable(QString::number(context)));
    QCOMPARE(PackageTextFile::Read(dir.filePath("edhlp.htm")), editorHelp);
    QVERIFY(!QImage(dir.filePath("HelpBtn.bmp")).isNull());
}

void TestPackageData::desktopOpensEveryDataFile() {
    // The MIME types the package installs, by type.
    QFile mime(QStringLiteral(PACKAGE_SOURCE "/desktop/vorm-mime.xml"));
    QVERIFY(mime.open(QIODevice::ReadOnly));
    QMap<QString, QStringList> globs;
    QString type;
    QXmlStreamReader xml(&mime);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mime-type"))
            type = xml.attributes().value("type").toString();
        else if (xml.name() == QLatin1String("glob"))
            globs[type] << xml.attributes().value("pattern").toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

    // Every file type the launcher's menu opens, and every example shipped, is one of its
    // data files; section files are Quarvel's.
    const QStringList data = globs.value("application/x-vorm-data");
    for (const ProblemEntry& entry : ProblemCatalogue::Entries())
        for (const QString& pattern : entry.Patterns.mid(1).split(u';', Qt::SkipEmptyParts))
            QVERIFY2(data.contains(pattern), qPrintable(pattern));
    // The Gmsh example's script, mesh and group map are Gmsh's files and the importer's, not
    // data files.
    const QDir examples(QStringLiteral(PACKAGE_SOURCE "/examples"));
    const QStringList gmsh{QStringLiteral("geo"), QStringLiteral("msh"), QStringLiteral("gmi")};
    for (const QString& example : examples.entryList(QDir::Files))
        if (!gmsh.contains(QFileInfo(example).suffix()))
            QVERIFY2(data.contains("*." + QFileInfo(example).suffix()), qPrintable(example));
    QCOMPARE(globs.value("application/x-vorm-section"), QStringList("*.geo"));

    // The desktop entries hand the double-clicked files to the program that opens them (the
    // INI reader takes the list's closing ";" for a comment).
    const auto entry = [](const char* name) {
        QSettings desktop(QStringLiteral(PACKAGE_SOURCE "/desktop/") + QString::fromLatin1(name),
                          QSettings::IniFormat);
        desktop.beginGroup("Desktop Entry");
        return std::pair{desktop.value("Exec").toString(), desktop.value("MimeType").toString()};
    };
    QCOMPARE(entry("vorm.desktop"),
             std::pair(QStringLiteral("vorm %F"), QStringLiteral("application/x-vorm-data")));
    QCOMPARE(entry("vorm-quarvel.desktop"),
             std::pair(QStringLiteral("quarvel %f"), QStringLiteral("application/x-vorm-section")));
}

QTEST_MAIN(TestPackageData)
#include "tst_packagedata.moc"
