#include "LauncherSettings.h"
#include "PackageSettings.h"
#include "VormError.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestLauncherSettings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void freshStoreGivesUsableValues();
    void editorFontRoundTrip();
    void storedHeightDecidesSize();
    void wrongTypesAreReported_data();
    void wrongTypesAreReported();
    void dialogStyle();
    void dataDirectoryKeepsTrailingSeparator();
    void storedColours_data();
    void storedColours();

private:
    std::unique_ptr<QTemporaryDir> store;
    LauncherSettings settings;
};

void TestLauncherSettings::init() {
    store = std::make_unique<QTemporaryDir>();
    PackageSettings::SetLocationForTests(store->path());
}

void TestLauncherSettings::freshStoreGivesUsableValues() {
    QCOMPARE(settings.ReadDataDirectory(), QString());
    QCOMPARE(settings.ReadYornikDirectory(), QString());
    QCOMPARE(settings.ReadDialogStyle(), QString());
    // A fresh installation has no font and no background colour: the editor still gets a
    // monospaced black font on white.
    const EditorFont font = settings.ReadEditorFont();
    QVERIFY(font.Font.fixedPitch());
    QVERIFY(font.Font.pointSize() > 0);
    QCOMPARE(font.Color, QColor(Qt::black));
    QCOMPARE(LauncherSettings::ColorFromStored(settings.ReadBackColor()), QColor(Qt::white));
    // Integer values without a default still fail as the store reports them.
    try {
        LauncherSettings::ReadInteger(QStringLiteral("FontSize"));
        QFAIL("a missing integer must fail");
    } catch (const VormError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Failed to get data for 'FontSize'"));
    }
}

void TestLauncherSettings::editorFontRoundTrip() {
    EditorFont font;
    font.Font = QFont(QStringLiteral("DejaVu Sans Mono"));
    font.Font.setPointSize(12);
    font.Font.setBold(true);
    font.Font.setStrikeOut(true);
    font.Color = QColor(200, 10, 20);
    font.CharSet = 204;
    settings.WriteEditorFont(font);
    settings.WriteBackColor(0x00C0FFEE);

    QCOMPARE(LauncherSettings::ReadInteger(QStringLiteral("FontSize")), 12);
    QCOMPARE(LauncherSettings::ReadInteger(QStringLiteral("FontHeight")), -16);
    QCOMPARE(LauncherSettings::ReadInteger(QStringLiteral("FontStyle")), 1 | 8);
    const EditorFont read = settings.ReadEditorFont();
    QCOMPARE(read.Font.family(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(read.Font.pixelSize(), 16);
    QVERIFY(read.Font.bold());
    QVERIFY(!read.Font.italic());
    QVERIFY(read.Font.strikeOut());
    QCOMPARE(read.Color, QColor(200, 10, 20));
    QCOMPARE(read.CharSet, 204);
    QCOMPARE(settings.ReadBackColor(), 0x00C0FFEE);

    // Writing what was read stores the same values again.
    settings.WriteEditorFont(read);
    QCOMPARE(LauncherSettings::ReadInteger(QStringLiteral("FontSize")), 12);
    QCOMPARE(LauncherSettings::ReadInteger(QStringLiteral("FontHeight")), -16);
}

void TestLauncherSettings::storedHeightDecidesSize() {
    LauncherSettings::WriteInteger(QStringLiteral("FontSize"), 20);
    LauncherSettings::WriteInteger(QStringLiteral("FontHeight"), -11);
    QCOMPARE(settings.ReadEditorFont().Font.pixelSize(), 11);
}

void TestLauncherSettings::wrongTypesAreReported_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("size as text") << "FontSize" << QVariant(QStringLiteral("twelve"));
    QTest::newRow("colour as list") << "FontColor" << QVariant(QStringList{"1", "2"});
    QTest::newRow("name as list") << "FontName" << QVariant(QStringList{"a", "b"});
}

void TestLauncherSettings::wrongTypesAreReported() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    PackageSettings::Open()->setValue(name, value);
    try {
        settings.ReadEditorFont();
        QFAIL("a value of another type must be reported");
    } catch (const VormError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Invalid data type for '%1'").arg(name));
    }
}

void TestLauncherSettings::dialogStyle() {
    settings.SaveDialogStyle(true);
    QCOMPARE(settings.ReadDialogStyle(), QStringLiteral("List"));
    settings.SaveDialogStyle(false);
    QCOMPARE(settings.ReadDialogStyle(), QStringLiteral("Properties"));
    PackageSettings::Open()->setValue(QStringLiteral("DlgStyle"), QStringList{"List", "x"});
    QCOMPARE(settings.ReadDialogStyle(), QStringLiteral("Properties"));
}

void TestLauncherSettings::dataDirectoryKeepsTrailingSeparator() {
    QTemporaryDir data;
    settings.WriteDataDirectory(QDir(data.path()).filePath(QStringLiteral("frame.d55")));
    QCOMPARE(settings.ReadDataDirectory(),
             QDir::toNativeSeparators(data.path()) + QDir::separator());
}

void TestLauncherSettings::storedColours_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QColor>("color");
    QTest::newRow("red in the low byte") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("system window colour") << int(0x80000005u) << QColor(Qt::white);
}

void TestLauncherSettings::storedColours() {
    QFETCH(int, stored);
    QFETCH(QColor, color);
    QCOMPARE(LauncherSettings::ColorFromStored(stored), color);
    if (stored >= 0)
        QCOMPARE(LauncherSettings::StoredFromColor(color), stored);
    // Stored through the settings, a system colour keeps its high bit.
    LauncherSettings::WriteInteger(QStringLiteral("BackColor"), stored);
    QCOMPARE(settings.ReadBackColor(), stored);
}

QTEST_MAIN(TestLauncherSettings)
#include "tst_launchersettings.moc"
