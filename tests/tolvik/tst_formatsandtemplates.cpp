#include "CheckSupport.h"
#include "ModelExport.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <set>

using namespace CheckSupport;

namespace {

const QString Package = QStringLiteral(TOLVIK_PACKAGE_SOURCE);

// The examples of the manual: a line "Example file `name`" (a shipped example) or "Example of
// tables 10 to 18, file `name`" (or 20 to 30) and the ```text block after it.
QList<std::pair<QString, QByteArray>> ManualExamples() {
    const QString manual = QString::fromUtf8(ReadBytes(Package + QStringLiteral("/FORMATS.md")));
    static const QRegularExpression example(
        QStringLiteral("Example (?:file|of tables (?:10 to 18|20 to 30), file) `([^`]+)`[^\\n]*"
                       "\\n\\n```text\\n(.*?)\\n```"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<std::pair<QString, QByteArray>> examples;
    // The Gmsh files shipped beside the examples (a geometry, its mesh, the group map) are no
    // data files.
    static const QRegularExpression dataName(QStringLiteral("\\.[dp]\\d\\d$"));
    for (const QRegularExpressionMatch& match : example.globalMatch(manual))
        if (dataName.match(match.captured(1)).hasMatch())
            examples.append({match.captured(1), match.captured(2).toUtf8()});
    return examples;
}

// Block `index` of a template file, cut as the editor cuts it: a block ends with the first
// line that holds a "&" anywhere, and the end of the file ends one too.
QStringList Block(const QStringList& lines, int index) {
    qsizetype at = 0;
    for (int skipped = 0; skipped < index && at < lines.size(); ++at) {
        if (lines[at].contains(u'&'))
            ++skipped;
    }
    QStringList block;
    for (; at < lines.size(); ++at) {
        block.append(lines[at]);
        if (lines[at].contains(u'&'))
            break;
    }
    return block;
}

QByteArray Joined(const QStringList& lines) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

class TestFormatsAndTemplates : public QObject {
    Q_OBJECT

private slots:
    void manualExamplesPass_data();
    void manualExamplesPass();
    void manualCoversEveryType();
    void templateFiles_data();
    void templateFiles();
    void templateBlocksPass_data();
    void templateBlocksPass();
};

void TestFormatsAndTemplates::manualExamplesPass_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("text");
    for (const auto& [name, text] : ManualExamples())
        QTest::newRow(qPrintable(name)) << name << text;
}

// What the manual shows is accepted, and what it shows of a model reaches the preview.
void TestFormatsAndTemplates::manualExamplesPass() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, text);
    const Checked checked = Check(text, fileName);
    QVERIFY2(checked.Result.Ok, Describe(checked.Result));
    const ModelExport::Files model = ModelExport::Build(checked.Format, checked.Result.Data);
    QVERIFY(model.Ok);
    const bool hasModel = checked.Format.Model.Kind != ModelShape::Elements::None;
    QCOMPARE(model.Xyz.size(), hasModel ? 12 * checked.Result.Data.ItemCount(4) : 0);
    QCOMPARE(model.J1J2.isEmpty(), !hasModel);
}

void TestFormatsAndTemplates::manualCoversEveryType() {
    std::set<int> problems;
    for (const auto& example : ManualExamples())
        problems.insert(ProblemNumber::FromFileName(example.first).Problem);
    for (int problem = 1; problem <= 27; ++problem) {
        if (problem >= 19 && problem <= 20)
            continue;
        QVERIFY2(problems.count(problem),
                 qPrintable(QStringLiteral("no example of %1").arg(problem)));
    }
}

void TestFormatsAndTemplates::templateFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("blocks");
    QTest::newRow("Tablesw.dat") << "Tablesw.dat" << 22;
    QTest::newRow("Mattabw.dat") << "Mattabw.dat" << 7;
}

// The editor cuts new files out of the templates by their "&" lines, reads them as
// Windows-1251 and keeps their CR LF line ends.
void TestFormatsAndTemplates::templateFiles() {
    QFETCH(QString, file);
    QFETCH(int, blocks);
    const QByteArray bytes = ReadBytes(Package + u'/' + file);
    QVERIFY(bytes.endsWith("&\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));

    QStringDecoder decoder("windows-1251", QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    QVERIFY2(!decoder.hasError(), "bytes outside Windows-1251");
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]"))),
             "the titles name the menu entries in Cyrillic");

    const QStringList lines = InputText::Lines(bytes);
    QCOMPARE(bytes.count('&'), blocks);
    for (int index = 0; index < blocks; ++index) {
        const QStringList block = Block(lines, index);
        QVERIFY(block.size() > 3);
        QCOMPARE(block.last(), QStringLiteral("&"));
        QVERIFY2(!block.first().isEmpty(), "each block starts with its title");
    }
}

void TestFormatsAndTemplates::templateBlocksPass_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("block");
    QTest::addColumn<QString>("fileName");
    for (int number = 51; number <= 69; ++number)
        QTest::addRow("d%d", number)
            << "Tablesw.dat" << number - 51 << QStringLiteral("new.d%1").arg(number);
    // The dynamics variants have blocks of their own after the numbered ones.
    int variantBlock = 19;
    for (int number : {54, 57, 63})
        QTest::addRow("p%d", number)
            << "Tablesw.dat" << variantBlock++ << QStringLiteral("new.p%1").arg(number);
    for (int number = 71; number <= 77; ++number)
        QTest::addRow("d%d", number)
            << "Mattabw.dat" << number - 71 << QStringLiteral("new.d%1").arg(number);
}

// A new file made from its template block passes the check as it stands.
void TestFormatsAndTemplates::templateBlocksPass() {
    QFETCH(QString, file);
    QFETCH(int, block);
    QFETCH(QString, fileName);
    const QStringList lines = InputText::Lines(ReadBytes(Package + u'/' + file));
    const Checked checked = Check(Joined(Block(lines, block)), fileName);
    QVERIFY2(checked.Result.Ok, Describe(checked.Result));
    QVERIFY(ModelExport::Build(checked.Format, checked.Result.Data).Ok);
}

QTEST_GUILESS_MAIN(TestFormatsAndTemplates)
#include "tst_formatsandtemplates.moc"
