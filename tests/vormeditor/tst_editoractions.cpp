// The plain classes behind the editor's outside programs: verdicts and renames, the program
// table, the command lines, the mesher's toolset files, the preview rules and the calculator.
#include "CheckVerdict.h"
#include "ErrorFile.h"
#include "FileRename.h"
#include "PreviewRules.h"
#include "ProgramCommands.h"
#include "ProgramTable.h"
#include "SystemCalculator.h"
#include "ToolsetFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
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

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestEditorActions : public QObject {
    Q_OBJECT

private slots:
    void verdicts_data();
    void verdicts();
    void errorFileIsTakenOnce();
    void renameNeverReplaces();
    void programTable();
    void commandLines();
    void toolsetFilesLendTheProject();
    void previewRules();
    void calculatorLookup();
};

void TestEditorActions::verdicts_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("newCode");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("faultyLine");

    QTest::newRow("accepted keeps an accepted name")
        << "OK - fine" << 3 << "x.d03" << 3 << "x.d03" << -1;
    QTest::newRow("accepted moves 53 to 03") << "OK" << 53 << "x.d53" << 3 << "x.d03" << -1;
    QTest::newRow("rejected moves 01 to 51 with line 12")
        << "Line 12: E must be positive" << 1 << "x.d01" << 51 << "x.d51" << 12;
    QTest::newRow("rejected keeps 51") << "Line 7: bad" << 51 << "x.d51" << 51 << "x.d51" << 7;
    QTest::newRow("data.dat becomes data.d50")
        << "Error: no problem number" << 0 << "data.dat" << 50 << "data.d50" << -1;
    QTest::newRow("sixth character no digit") << "Line x12" << 5 << "f.d05" << 55 << "f.d55" << -1;
    QTest::newRow("digits end at the first other")
        << "Err  34a5" << 55 << "f.d55" << 55 << "f.d55" << 34;
    QTest::newRow("a lower-case ok rejects") << "ok" << 5 << "f.d05" << 55 << "f.d55" << -1;
    QTest::newRow("a number beyond any line")
        << "Line 99999999999: x" << 5 << "f.d05" << 55 << "f.d55" << -1;
    QTest::newRow("an empty line rejects") << "" << 9 << "p.d09" << 59 << "p.d59" << -1;
}

void TestEditorActions::verdicts() {
    QFETCH(QString, line);
    QFETCH(int, code);
    QFETCH(QString, name);
    const CheckVerdict::Outcome outcome = CheckVerdict::Apply(line, code, name);
    QTEST(outcome.ProblemCode, "newCode");
    QTEST(outcome.FileName, "newName");
    QTEST(outcome.FaultyLine, "faultyLine");
    QCOMPARE(outcome.Moved, outcome.FileName != name);
}

void TestEditorActions::errorFileIsTakenOnce() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Error.txt");
    QVERIFY(!ErrorFile::Take(path));
    // Windows Cyrillic, CR LF, only the first line counts.
    Write(path, "Line 4: \xe3\xf0\xe5\xf8\xea\xe0\r\nsecond\r\n");
    QCOMPARE(ErrorFile::Take(path), QString::fromUtf8("Line 4: грешка"));
    QVERIFY(!QFile::exists(path));
    Write(path, "");
    QCOMPARE(ErrorFile::Take(path), QString());
}

void TestEditorActions::renameNeverReplaces() {
    QTemporaryDir dir;
    const QString from = dir.filePath("x.d01");
    const QString to = dir.filePath("x.d51");
    Write(from, "mine");
    Write(to, "other");
    QCOMPARE(FileRename::Move(from, to), QStringLiteral("a file of that name already exists"));
    QCOMPARE(Read(from), QByteArray("mine"));
    QCOMPARE(Read(to), QByteArray("other"));
    const QString message = FileRename::FailureMessage(from, to, "why");
    QVERIFY(message.startsWith("Cannot rename " + Native(from) + " to " + Native(to) + ": why."));

    QFile::remove(to);
    QCOMPARE(FileRename::Move(from, to), QString());
    QCOMPARE(Read(to), QByteArray("mine"));
    QVERIFY(!QFile::exists(from));
    QVERIFY(!FileRename::Move(from, dir.filePath("y.d01")).isEmpty()); // gone meanwhile

    // A new name that cannot be made (its folder is a plain file, which stops the superuser
    // too): both names stay as they were.
    const QString source = dir.filePath("a.d01");
    Write(source, "x");
    Write(dir.filePath("plain"), "a file, not a folder");
    QVERIFY(!FileRename::Move(source, dir.filePath("plain/a.d51")).isEmpty());
    QCOMPARE(Read(source), QByteArray("x"));
    QVERIFY(!QFile::exists(dir.filePath("plain/a.d51")));
}

void TestEditorActions::programTable() {
    QCOMPARE(ProgramTable::Solver(1, false), QStringLiteral("Dorvan"));
    QCOMPARE(ProgramTable::Solver(12, false), QStringLiteral("Gimbro  "));
    QCOMPARE(ProgramTable::Solver(17, false), QStringLiteral("Fentar"));
    QCOMPARE(ProgramTable::Solver(21, false), QStringLiteral("Pomrak"));
    QCOMPARE(ProgramTable::Solver(27, false), QStringLiteral("Zorbek"));
    for (int code : {0, 18, 20, 28, 51, -1})
        QVERIFY2(ProgramTable::Solver(code, false).isEmpty(), qPrintable(QString::number(code)));
    // The "*.p" entries of space trusses, space frames and plates.
    QCOMPARE(ProgramTable::Solver(4, true), QStringLiteral("Mirbek"));
    QCOMPARE(ProgramTable::Solver(7, true), QStringLiteral("Quendo"));
    QCOMPARE(ProgramTable::Solver(13, true), QStringLiteral("Yerdol"));
    QCOMPARE(ProgramTable::Solver(5, true), QStringLiteral("Pelgon"));

    const QString viewers[] = {"",       "Kaddle", "Kaddle", "Pantex", "Pantex", "Pantex",
                               "Pantex", "Pantex", "Kaddle", "Ciffon", "Ciffon", "Ciffon",
                               "",       "Ciffon", "Ciffon", "Kaddle", "Ciffon", "Brimto"};
    for (int code = 0; code <= 17; ++code)
        QCOMPARE(ProgramTable::Viewer(code), viewers[code]);
    for (int code : {21, 27, 55, 67})
        QVERIFY(ProgramTable::Viewer(code).isEmpty());

    using G = ProgramTable::Generator;
    for (int code : {1, 8, 15, 51, 58, 65})
        QCOMPARE(ProgramTable::GeneratorOf(code), G::Frame);
    for (int code : {9, 11, 13, 16, 59, 61, 63, 66})
        QCOMPARE(ProgramTable::GeneratorOf(code), G::Plate);
    for (int code : {0, 12, 14, 17, 21, 50, 62, 64, 67, 71})
        QCOMPARE(ProgramTable::GeneratorOf(code), G::None);
}

void TestEditorActions::commandLines() {
    const QString sep = QDir::separator();
    const QString data = Native("/my data/shaft.d12");
    const ProgramCommands commands("/pkg", data);

    ProgramCall call = commands.Calculate(ProgramTable::Solver(12, false));
    // Three blanks between the solver and the data path, as the line has always been built.
    QCOMPARE(call.CommandLine, sep + "pkg" + sep + "Gimbro   " + data + " S");
    QCOMPARE(call.Program, QStringLiteral("/pkg/Gimbro"));
    QCOMPARE(call.Arguments, QStringList({data, "S"}));
    QCOMPARE(call.ShowState, 5);

    call = commands.Viewer("Pantex", " R");
    QCOMPARE(call.CommandLine, sep + "pkg" + sep + "Pantex    " + data + " R");
    QCOMPARE(call.Program, QStringLiteral("/pkg/Pantex"));
    QCOMPARE(call.Arguments, QStringList({data, "R"}));
    QCOMPARE(call.ShowState, 3);

    call = commands.Check();
    QCOMPARE(call.CommandLine, sep + "pkg" + sep + "Tolvik " + data);
    QCOMPARE(call.Arguments, QStringList({data}));
    QCOMPARE(commands.FrameGenerator().CommandLine, sep + "pkg" + sep + "Mopsa " + data);
    QCOMPARE(commands.FollowUp().CommandLine, sep + "pkg" + sep + "Vosher " + data);
    QCOMPARE(commands.FollowUp().ShowState, 0);
    call = commands.PlateGenerator("/tools/Yornik");
    QCOMPARE(call.CommandLine, Native("/tools/Yornik/Gralt ") + data);
    QCOMPARE(call.Program, QStringLiteral("/tools/Yornik/Gralt"));
    QCOMPARE(call.ShowState, 5);
}

void TestEditorActions::toolsetFilesLendTheProject() {
    QTemporaryDir toolset;
    QDir(toolset.path()).mkdir("data");
    const ToolsetFiles files(toolset.filePath("data"), "frame.v2.d59");
    QCOMPARE(files.ProjectPath(), toolset.filePath("data/frame.spj"));
    Write(files.ProjectPath(), "regions of frame");
    Write(files.MeshPath(), "old mesh");
    files.LendProject();
    QVERIFY(!files.MeshCreated());
    QCOMPARE(Read(files.WorkProjectPath()), QByteArray("regions of frame"));
    QVERIFY(!QFile::exists(files.ProjectPath()));
    files.ReturnProject();
    QCOMPARE(Read(files.ProjectPath()), QByteArray("regions of frame"));
    QVERIFY(!QFile::exists(files.WorkProjectPath()));

    // A data file without a project lends nothing, and failures are ignored.
    const ToolsetFiles other(toolset.filePath("data"), "panel.d09");
    other.LendProject();
    other.ReturnProject();
    QVERIFY(!QFile::exists(files.WorkProjectPath()));
    QCOMPARE(other.MissingMeshWarning(), "File " + Native(toolset.path()) + QDir::separator() +
                                             "data" + QDir::separator() +
                                             "unnamed1.d13 not created!");
}

void TestEditorActions::previewRules() {
    QCOMPARE(PreviewRules::Mode(true, true), QStringLiteral(" E"));
    QCOMPARE(PreviewRules::Mode(false, true), QStringLiteral(" R"));
    QCOMPARE(PreviewRules::Mode(false, false), QStringLiteral(" E"));

    QTemporaryDir dir;
    Write(dir.filePath("x.d05"), "data");
    Write(dir.filePath("x.bin"), "results");
    QFile results(dir.filePath("x.bin"));
    QVERIFY(results.open(QIODevice::ReadWrite));
    const QDateTime data = QFileInfo(dir.filePath("x.d05")).lastModified();
    QVERIFY(results.setFileTime(data.addSecs(-60), QFileDevice::FileModificationTime));
    results.close();
    QVERIFY(PreviewRules::ResultsOutdated(dir.filePath("x.d05"), dir.filePath("x.bin")));
    QVERIFY(results.open(QIODevice::ReadWrite));
    QVERIFY(results.setFileTime(data.addSecs(60), QFileDevice::FileModificationTime));
    results.close();
    QVERIFY(!PreviewRules::ResultsOutdated(dir.filePath("x.d05"), dir.filePath("x.bin")));
}

void TestEditorActions::calculatorLookup() {
#ifdef Q_OS_WIN
    QCOMPARE(SystemCalculator::Candidates(), QStringList({"calc.exe"}));
#else
    QTemporaryDir first, second;
    QVERIFY(SystemCalculator::Find({first.path()}).isEmpty());
    QVERIFY(SystemCalculator::NoneFoundMessage().contains("gnome-calculator"));
    // The first of the usual calculators wins, whichever folder holds it.
    for (const auto& [dir, name] : {std::pair{&first, "xcalc"}, std::pair{&second, "kcalc"}}) {
        Write(dir->filePath(name), "#!/bin/sh\n");
        QFile::setPermissions(dir->filePath(name), QFile::ReadOwner | QFile::ExeOwner);
    }
    QCOMPARE(SystemCalculator::Find({first.path(), second.path()}), second.filePath("kcalc"));
    QCOMPARE(SystemCalculator::Find({first.path()}), first.filePath("xcalc"));
#endif
}

QTEST_GUILESS_MAIN(TestEditorActions)
#include "tst_editoractions.moc"
