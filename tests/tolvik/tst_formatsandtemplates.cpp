#include "CheckSupport.h"
#include "ModelExport.h"

#include <QRegularExpression>
#include <QTest>
#include <set>

using namespace CheckSupport;

namespace {

const QString Package = QStringLiteral(TOLVIK_PACKAGE_SOURCE);

// The examples of the manual: a line "Example file `name`" and the ```text block after it.
QList<std::pair<QString, QByteArray>> ManualExamples() {
    const QString manual = QString::fromUtf8(ReadBytes(Package + QStringLiteral("/FORMATS.md")));
    static const QRegularExpression example(
        QStringLiteral("Example file `([^`]+)`[^\\n]*\\n\\n```text\\n(.*?)\\n```"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<std::pair<QString, QByteArray>> examples;
    for (const QRegularExpressionMatch& match : example.globalMatch(manual))
        examples.append({match.captured(1), match.captured(2).toUtf8()});
    return examples;
}

} // namespace

class TestFormatsAndTemplates : public QObject {
    Q_OBJECT

private slots:
    void manualExamplesPass_data();
    void manualExamplesPass();
    void manualCoversEveryType();
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

QTEST_GUILESS_MAIN(TestFormatsAndTemplates)
#include "tst_formatsandtemplates.moc"
