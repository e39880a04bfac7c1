#include "ButtonRules.h"
#include "DataFileText.h"
#include "DosCodePage.h"
#include "EditorDocument.h"
#include "ResultFiles.h"
#include "TemplateBlocks.h"
#include "VormError.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray Windows(const char* text) {
    QStringEncoder encode("windows-1251");
    return encode(QString::fromUtf8(text));
}

QByteArray Dos(const char* text) {
    qsizetype failedAt = -1;
    const QByteArray bytes = DosCodePage::Encode(QString::fromUtf8(text), failedAt);
    if (failedAt >= 0)
        qFatal("no DOS byte for a character of %s", text);
    return bytes;
}

QByteArray Repro(const char* name) {
    QFile file(QStringLiteral(QV_TEST_DATA "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing %s", name);
    return file.readAll();
}

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

} // namespace

class TestEditorFiles : public QObject {
    Q_OBJECT

private slots:
    void dosTest_data();
    void dosTest();
    void dosMappings();
    void dosFileRoundTrips();
    void dosFileRefusesWhatItCannotHold();
    void linesAreWrittenWithCrLf();
    void unstorableCharacterRefusesTheSave();
    void failedSaveKeepsTheOldFile();
    void problemCodeAndHelpContext_data();
    void problemCodeAndHelpContext();
    void saveAsDialogFromTheOpenDialog();
    void buttonRules();
    void templateBlocks();
    void resultFiles();
};

void TestEditorFiles::dosTest_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("dos");
    QTest::newRow("ascii") << QByteArray("*1 General data\r\n") << false;
    QTest::newRow("only broken bar and degree") << Bytes({'a', 0xA6, 'b', 0xB0}) << false;
    QTest::newRow("windows letters") << Bytes({0xC0, 0xFF, 0xD4}) << false;
    // Windows texts whose signs lie where DOS keeps its letters.
    QTest::newRow("windows sections")
        << Windows("#  1  Сечение № 5 — «двутавр», всё – в см") << false;
    QTest::newRow("windows title") << Windows("#  1  Заглавие = Рамка №2 «Ёлка» – 8 м") << false;
    QTest::newRow("windows sign alone") << Windows("*3 Profiles №1 – №4") << false;
    QTest::newRow("windows quotes") << Windows("; „Пример“ … ‘b’ ±0,5 µm · §3") << false;
    QTest::newRow("windows ukrainian") << Windows("; відповідність історії їх") << false;
    QTest::newRow("windows repro") << Repro("editor_ya_becomes_space.d55") << false;
    // DOS texts: words in 0x80–0xBF, with box lines and signs of the upper half.
    QTest::newRow("dos word") << Dos("*1 Пример") << true;
    QTest::newRow("dos with signs") << Dos("#  1  Рамка Θ 90° │ напречно сечение") << true;
    QTest::newRow("dos box and words") << Dos("╔══════╗\n║ Данни ║\n╚══════╝") << true;
    QTest::newRow("byte unused by windows") << Bytes({'a', 0x98, 'b'}) << true;
}

void TestEditorFiles::dosTest() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, dos);
    QCOMPARE(DosCodePage::IsDosEncoded(bytes), dos);
}

void TestEditorFiles::dosMappings() {
    // Letters move to А…я, the vertical line 0xD3, Θ 0xE9 and the degree sign 0xF8 keep their
    // DOS meaning, and each byte has a character of its own, so 0x94 (Ф) and 0xE9 (Θ) stay apart.
    const DataFileText::Loaded loaded = DataFileText::Decode(
        Bytes({0x80, 0x94, 0xBF, 0xD3, 0xE9, 0xF8, '|', 'A', ' ', 0x8F, 0xB0, 0xA8, 0xAC}));
    QVERIFY(loaded.DosEncoded);
    QCOMPARE(loaded.Text, QStringLiteral("АФя│Θ°|A Прим"));
}

void TestEditorFiles::dosFileRoundTrips() {
    QByteArray file = Bytes({'*', '1',  ' ', 0x8F, 0xA0, 0xB0, '\r', '\n', '#', ' ',  0xE9,
                             ' ', 0x94, ' ', '9',  '0',  0xF8, '\r', '\n', '&', '\r', '\n'});
    // Every other byte too, box lines and all: none may come back as another.
    for (int b = 0x20; b < 0x100; ++b)
        file += static_cast<char>(b);
    file += "\r\n";
    const DataFileText::Loaded loaded = DataFileText::Decode(file);
    QVERIFY(loaded.DosEncoded);
    QVERIFY(loaded.Text.startsWith(QStringLiteral("*1 Пар\n# Θ Ф 90°\n&\n")));
    QCOMPARE(DataFileText::Encode(loaded.Text, true), file);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dos.d55"));
    Write(path, file);
    const auto again = DataFileText::Load(path);
    QVERIFY(again);
    DataFileText::Save(path, again->Text, again->DosEncoded);
    QCOMPARE(Read(path), file);
}

void TestEditorFiles::dosFileRefusesWhatItCannotHold() {
    // An en dash has a Windows byte but no DOS one: the save names its line instead of writing
    // a byte that DOS reads as a letter.
    try {
        DataFileText::Encode(QStringLiteral("*1\n# 1 \u2013 2\n"), true);
        QFAIL("an en dash was written into a DOS file");
    } catch (const VormError& error) {
        QVERIFY2(QString(error.what()).contains(QStringLiteral("Line 2")), error.what());
    }
}

void TestEditorFiles::linesAreWrittenWithCrLf() {
    QCOMPARE(DataFileText::Encode(QStringLiteral("a\nb"), false), QByteArray("a\r\nb\r\n"));
    QCOMPARE(DataFileText::Encode(QStringLiteral("a\nb\n"), false), QByteArray("a\r\nb\r\n"));
    QCOMPARE(DataFileText::Encode(QString(), false), QByteArray());
    QCOMPARE(DataFileText::Encode(QStringLiteral("Плоча"), false),
             Bytes({0xCF, 0xEB, 0xEE, 0xF7, 0xE0, '\r', '\n'}));
    // Files with LF or CR alone are read the same way and written back with CR LF.
    QCOMPARE(DataFileText::Decode("a\nb\rc\r\n").Text, QStringLiteral("a\nb\nc\n"));
}

void TestEditorFiles::unstorableCharacterRefusesTheSave() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.d51"));
    Write(path, "old\r\n");
    try {
        DataFileText::Save(path, QStringLiteral("fine\nnot \u4E2D\n"), false);
        QFAIL("a character outside the code page was written");
    } catch (const VormError& error) {
        QVERIFY2(error.Message().startsWith(QStringLiteral("Line 2 ")),
                 qPrintable(error.Message()));
    }
    QCOMPARE(Read(path), QByteArray("old\r\n"));
}

void TestEditorFiles::failedSaveKeepsTheOldFile() {
    QTemporaryDir dir;
    // A folder that is gone: the save fails and says why.
    try {
        DataFileText::Save(dir.filePath(QStringLiteral("gone/x.d51")), QStringLiteral("new"),
                           false);
        QFAIL("a save into a missing folder succeeded");
    } catch (const VormError& error) {
        QVERIFY2(error.Message().startsWith(QStringLiteral("Cannot save ")),
                 qPrintable(error.Message()));
    }
    // A file without write permission (refused also for the superuser, whom the folder's
    // permissions would not stop), and a path through a plain file, which nobody can make.
    const QString locked = dir.filePath(QStringLiteral("locked.d51"));
    Write(locked, "old\r\n");
    QFile::setPermissions(locked, QFileDevice::ReadOwner);
    const QString blocked = dir.filePath(QStringLiteral("plain/x.d51"));
    Write(dir.filePath(QStringLiteral("plain")), "old\r\n");
    for (const QString& path : {locked, blocked})
        QVERIFY_THROWS_EXCEPTION(VormError, DataFileText::Save(path, QStringLiteral("new"), false));
    QCOMPARE(Read(locked), QByteArray("old\r\n"));
    QCOMPARE(Read(dir.filePath(QStringLiteral("plain"))), QByteArray("old\r\n"));
}

void TestEditorFiles::problemCodeAndHelpContext_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("help");
    QTest::newRow("unaccepted beams") << "x.d51" << 51 << 2;
    QTest::newRow("accepted beams") << "x.d01" << 1 << 2;
    QTest::newRow("space trusses") << "t.p54" << 54 << 4;
    QTest::newRow("grillage keeps its number") << "g.d06" << 6 << 6;
    QTest::newRow("stability") << "s.d65" << 65 << 15;
    QTest::newRow("complex frames") << "c.d58" << 58 << 14;
    QTest::newRow("plane strain") << "p.d10" << 10 << 8;
    QTest::newRow("solids") << "b.d67" << 67 << 13;
    QTest::newRow("shaft line") << "s.d62" << 62 << 0;
    QTest::newRow("mathematics") << "m.d71" << 71 << 0;
    QTest::newRow("letters") << "data.dat" << 0 << 0;
    QTest::newRow("blank and digit") << "x.d 7" << 7 << 7;
    QTest::newRow("digit then letter") << "x.d5a" << 5 << 5;
}

void TestEditorFiles::problemCodeAndHelpContext() {
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(int, help);
    QCOMPARE(EditorDocument::ProblemCodeOf(name), code);
    QCOMPARE(EditorDocument::HelpContextOf(code), help);
}

void TestEditorFiles::saveAsDialogFromTheOpenDialog() {
    FileDialogRequest open;
    open.Filter = QStringLiteral("Plane frames|*.d55;*.d05|Data files|*.dat|All files|*.*");
    open.InitialDirectory = QStringLiteral("/data/");
    FileDialogRequest save = EditorDocument::SaveAsRequest(open, QStringLiteral("g.d05"));
    // Both numbers of the problem type, whichever the file carries.
    QCOMPARE(save.Filter,
             QStringLiteral("Plane frames|*.d55;*.d05|Data files|*.dat|All files|*.*"));
    QCOMPARE(save.DefaultExtension, QStringLiteral("d05"));
    QCOMPARE(save.InitialDirectory, QStringLiteral("/data/"));
    QCOMPARE(EditorDocument::SaveAsRequest(open, QStringLiteral("g.d55")).Filter, save.Filter);
    open.Filter = QStringLiteral("Data files|*.dat|All files|*.*");
    save = EditorDocument::SaveAsRequest(open, QStringLiteral("t.p54"));
    QCOMPARE(save.Filter, QStringLiteral("Data files|*.p54;*.p04|All files|*.*"));
    QCOMPARE(save.DefaultExtension, QStringLiteral("p54"));
    // A name without a number keeps its own extension in front.
    save = EditorDocument::SaveAsRequest(open, QStringLiteral("notes.txt"));
    QCOMPARE(save.Filter, QStringLiteral("Data files|*.txt|All files|*.*"));
    EditorDocument document;
    document.SetPath(QStringLiteral("/data/sub/x.d51"));
    QCOMPARE(document.FileName, QStringLiteral("x.d51"));
    QCOMPARE(document.Path(), QDir::toNativeSeparators(QStringLiteral("/data/sub/x.d51")));
}

void TestEditorFiles::buttonRules() {
    int asked = 0;
    ButtonRules::Inputs in;
    in.ResultExists = [&] {
        ++asked;
        return true;
    };
    in.ProblemCode = 5;
    in.SolverAvailable = true;
    ButtonRules::States s = ButtonRules::Evaluate(in);
    QVERIFY(s.Generate && s.Preview && s.Visualize && s.Calculate);
    QVERIFY(!s.Copy && !s.Paste && !s.Undo);
    // Unsaved, or not accepted: no preview, results or calculation.
    in.Unsaved = true;
    s = ButtonRules::Evaluate(in);
    QVERIFY(s.Generate && !s.Preview && !s.Visualize && !s.Calculate);
    in.Unsaved = false;
    in.ProblemCode = 55;
    s = ButtonRules::Evaluate(in);
    QVERIFY(s.Generate && !s.Preview && !s.Calculate);
    // No model to view, but the solver runs.
    in.ProblemCode = 21;
    asked = 0;
    s = ButtonRules::Evaluate(in);
    QVERIFY(!s.Generate && !s.Preview && !s.Visualize && s.Calculate);
    QCOMPARE(asked, 0);
    in.ProblemCode = 12;
    QVERIFY(!ButtonRules::Evaluate(in).Generate);
    in.ProblemCode = 0;
    in.HasSelection = in.ClipboardHasData = in.CanUndo = true;
    s = ButtonRules::Evaluate(in);
    QVERIFY(!s.Generate && !s.Preview && s.Copy && s.Cut && s.Paste && s.Undo);
    in.ProblemCode = 3;
    in.SolverAvailable = false;
    in.ResultExists = [] { return false; };
    s = ButtonRules::Evaluate(in);
    QVERIFY(s.Preview && !s.Visualize && !s.Calculate);
    QVERIFY(EditorDocument::ProfilesAllowed(55, true));
    QVERIFY(!EditorDocument::ProfilesAllowed(55, false));
    QVERIFY(!EditorDocument::ProfilesAllowed(71, true));
    QVERIFY(!EditorDocument::MaterialsAllowed(73) && EditorDocument::MaterialsAllowed(68));
}

void TestEditorFiles::templateBlocks() {
    const QStringList lines = {"A", "*1", "& end A", "B", "x&y", "C", "*1", "&", "D"};
    QCOMPARE(TemplateBlocks::Block(lines, 51, 51), QStringList({"A", "*1", "& end A"}));
    QCOMPARE(TemplateBlocks::Block(lines, 1, 51), QStringList({"A", "*1", "& end A"}));
    QCOMPARE(TemplateBlocks::Block(lines, 52, 51), QStringList({"B", "x&y"}));
    QCOMPARE(TemplateBlocks::Block(lines, 53, 51), QStringList({"C", "*1", "&"}));
    // The last block runs to the end of the file; beyond it there is nothing.
    QCOMPARE(TemplateBlocks::Block(lines, 54, 51), QStringList({"D"}));
    QCOMPARE(TemplateBlocks::Block(lines, 56, 51), QStringList());
    QCOMPARE(TemplateBlocks::SourceFor(69).FileName, QStringLiteral("Tablesw.dat"));
    QCOMPARE(TemplateBlocks::SourceFor(70).BaseCode, 71);
}

void TestEditorFiles::resultFiles() {
    QTemporaryDir dir;
    const QString directory = dir.path() + u'/';
    const QByteArray result = "QVRESULT\x02\x00\x00\x00";
    // Results of the package whose data file is gone go, also beside a name with two dots
    // (its base runs to the last dot); those with a data file of their base stay.
    for (const char* name : {"gone.bin", "gone.bi0", "old.bi1", "a.b.bin", "my.bin", "frame.bin",
                             "dyn.bi0", "my.frame.bin", "notes.bin", "w[1].bin"})
        Write(directory + QString::fromLatin1(name), result);
    // Files of other programs that only share the pattern are never touched.
    for (const char* name : {"frame.d05", "dyn.p07", "a.d01", "my.frame.d05", "notes.dat",
                             "refs.bib", "firmware.bin", "short.bin", "w[1].d05"})
        Write(directory + QString::fromLatin1(name), "not a result");
    Write(directory + "short.bin", "QVRES");
    QVERIFY(QDir(directory).mkdir("folder.bin"));
    QCOMPARE(ResultFiles::ClearUnnecessaryFiles(directory), 5);
    const QStringList left =
        QDir(directory).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QCOMPARE(left,
             QStringList({"a.d01", "dyn.bi0", "dyn.p07", "firmware.bin", "folder.bin", "frame.bin",
                          "frame.d05", "my.frame.bin", "my.frame.d05", "notes.bin", "notes.dat",
                          "refs.bib", "short.bin", "w[1].bin", "w[1].d05"}));

    // The result file follows the file's own name: "p" files of space frames keep theirs in
    // "bi0", whatever another window's open dialog was last set up for.
    EditorDocument document;
    document.FileDir = directory;
    document.FileName = QStringLiteral("frame.d05");
    document.ProblemCode = 5;
    QVERIFY(ResultFiles::ResultExists(document));
    document.FileName = QStringLiteral("dyn.p07");
    document.ProblemCode = 7;
    QVERIFY(document.DynamicsVariant());
    QCOMPARE(ResultFiles::ResultPath(document), directory + "dyn.bi0");
    QVERIFY(ResultFiles::ResultExists(document));
    document.FileName = QStringLiteral("dyn.d07");
    QVERIFY(!document.DynamicsVariant());
    QCOMPARE(ResultFiles::ResultPath(document), directory + "dyn.bin");
    document.FileName = QStringLiteral("dyn.p57");
    document.ProblemCode = 57;
    QCOMPARE(ResultFiles::ResultPath(document), directory + "dyn.bin");
    document.FileName = QStringLiteral("noext");
    QVERIFY(!document.DynamicsVariant());
    QCOMPARE(ResultFiles::ResultPath(document), directory + "noextbin");
}

QTEST_GUILESS_MAIN(TestEditorFiles)
#include "tst_editorfiles.moc"
