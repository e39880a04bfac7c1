#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + path.toUtf8() + '>';
    return file.readAll();
}

// The manual's examples as data files: Windows Cyrillic, every line ended by CR LF.
QMap<QString, QByteArray> ManualExamples() {
    const QString manual =
        QString::fromUtf8(ReadBytes(QStringLiteral(PACKAGE_SOURCE "/FORMATS.md")));
    static const QRegularExpression example(
        QStringLiteral("Example file `([^`]+)`[^\\n]*\\n\\n```text\\n(.*?)\\n```"),
        QRegularExpression::DotMatchesEverythingOption);
    QMap<QString, QByteArray> examples;
    for (const QRegularExpressionMatch& match : example.globalMatch(manual)) {
        QStringEncoder encoder("windows-1251");
        QString text = match.captured(2);
        text.replace(u'\n', QStringLiteral("\r\n"));
        examples.insert(match.captured(1), encoder.encode(text + QStringLiteral("\r\n")));
    }
    return examples;
}

} // namespace

class TestExamples : public QObject {
    Q_OBJECT

private slots:
    void everyExampleShips();
    void exampleIsTheManualsAndPasses_data();
    void exampleIsTheManualsAndPasses();
};

void TestExamples::everyExampleShips() {
    const QStringList shipped =
        QDir(QStringLiteral(PACKAGE_SOURCE "/examples")).entryList(QDir::Files, QDir::Name);
    QStringList manual = ManualExamples().keys();
    manual.sort();
    QCOMPARE(shipped, manual);
    QVERIFY(manual.contains(QStringLiteral("gable.d05")));
}

void TestExamples::exampleIsTheManualsAndPasses_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    const QMap<QString, QByteArray> examples = ManualExamples();
    for (auto it = examples.begin(); it != examples.end(); ++it)
        QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
}

// The shipped file, the copy in the assembled package and the manual's text agree byte for
// byte, and the package's own checker accepts the file.
void TestExamples::exampleIsTheManualsAndPasses() {
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QCOMPARE(ReadBytes(QStringLiteral(PACKAGE_SOURCE "/examples/") + name), text);
    const QString packaged = QStringLiteral(VORM_PACKAGE_DIR "/") + name;
    QCOMPARE(ReadBytes(packaged), text);
    // The Gmsh files beside the examples (geometry, mesh, group map) are no data files.
    if (!QRegularExpression(QStringLiteral("\\.[dp]\\d\\d$")).match(name).hasMatch())
        return;

    QTemporaryDir work;
    QVERIFY(QFile::copy(packaged, work.filePath(name)));
    QProcess checker;
    checker.setWorkingDirectory(work.path());
    checker.start(QStringLiteral(VORM_PACKAGE_DIR "/Tolvik"), {work.filePath(name)});
    QVERIFY(checker.waitForFinished(30000));
    const QByteArray verdict = ReadBytes(work.filePath(QStringLiteral("Error.txt")));
    QVERIFY2(verdict.startsWith("OK"), verdict.constData());
    QCOMPARE(checker.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"
