#include "ProgramRun.h"
#include "ResultFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

// The solver programs run as the editor runs them ("NAME DATAFILE S" in the package
// directory) and for batch use ("NAME --json DATAFILE"): what files they leave and what they
// report.
class TestSolverPrograms : public QObject {
    Q_OBJECT

private:
    static QString Example(const QString& name) {
        return QStringLiteral(SOLVERS_EXAMPLES "/") + name;
    }

private slots:
    void solvesAnExampleAsTheEditorDoes();
    void printsJsonAndWritesNothing();
    void refusesBadDataWithoutResultFile();
    void wrongCommandLine();
    void noWindowWithoutDisplay();
};

void TestSolverPrograms::solvesAnExampleAsTheEditorDoes() {
    QTemporaryDir package, data;
    const QString path = data.filePath(QStringLiteral("gable.d05"));
    QVERIFY(QFile::copy(Example(QStringLiteral("gable.d05")), path));
    const ProgramRun::Result run = ProgramRun::Run(QStringLiteral(PELGON_PROGRAM), package.path(),
                                                   {path, QStringLiteral("S")});
    QCOMPARE(run.ExitCode, 0);
    // The results lie beside the data, the protocol in the working directory.
    const std::optional<ResultFile::Contents> contents =
        ResultFile::Read(ProgramRun::ReadFile(data.filePath(QStringLiteral("gable.bin"))));
    QVERIFY(contents);
    QCOMPARE(contents->Problem, 5);
    QCOMPARE(contents->Statics.Nodes, 5);
    QCOMPARE(contents->Statics.Cases.size(), size_t(2));
    QCOMPARE(contents->Statics.Cases[0].Reactions.size(), size_t(2));
    // The gable's rafters carry 8 kN/m over 2 x sqrt(17) m: the supports take half each.
    QVERIFY(std::abs(contents->Statics.Cases[0].Reactions[0].Values[1] - 4 * std::sqrt(17.0) * 2) <
            1e-9);
    const QByteArray protocol =
        ProgramRun::ReadFile(QDir(package.path()).filePath(QStringLiteral("PROT.TXT")));
    QVERIFY(protocol.contains("Load case 2"));
    QVERIFY(protocol.contains("Reactions"));
    QVERIFY(protocol.contains("\r\n"));
}

void TestSolverPrograms::printsJsonAndWritesNothing() {
    QTemporaryDir package;
    const QString path = package.filePath(QStringLiteral("warren.d03"));
    QVERIFY(QFile::copy(Example(QStringLiteral("warren.d03")), path));
    QProcess process;
    process.setWorkingDirectory(package.path());
    process.start(QStringLiteral(RABENO_PROGRAM), {QStringLiteral("--json"), path});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(process.readAllStandardOutput(), &error);
    QVERIFY2(json.isObject(), qPrintable(error.errorString()));
    const QJsonObject firstCase = json[QStringLiteral("cases")][0].toObject();
    QCOMPARE(firstCase[QStringLiteral("case")].toInt(), 1);
    QCOMPARE(firstCase[QStringLiteral("displacements")].toArray().size(), 5);
    QCOMPARE(firstCase[QStringLiteral("forces")][0].toArray().size(), 2); // element, N
    QCOMPARE(firstCase[QStringLiteral("reactions")][1][0].toInt(), 3);
    QVERIFY(!QFile::exists(package.filePath(QStringLiteral("warren.bin"))));
    QVERIFY(!QFile::exists(package.filePath(QStringLiteral("PROT.TXT"))));
}

void TestSolverPrograms::refusesBadDataWithoutResultFile() {
    // A mechanism: the gable frame on rollers only.
    QTemporaryDir package;
    QByteArray bytes = ProgramRun::ReadFile(Example(QStringLiteral("gable.d05")));
    bytes.replace("#  1    1    1   1   1", "#  1    1    0   1   0");
    bytes.replace("#  2    5    1   1   1", "#  2    5    0   1   0");
    const QString path = package.filePath(QStringLiteral("gable.d05"));
    ProgramRun::WriteFile(path, bytes);
    const ProgramRun::Result run = ProgramRun::Run(QStringLiteral(PELGON_PROGRAM), package.path(),
                                                   {path, QStringLiteral("S")});
    QCOMPARE(run.ExitCode, 1);
    QVERIFY2(run.Output.contains("ux"), run.Output.constData());
    QVERIFY(!QFile::exists(package.filePath(QStringLiteral("gable.bin"))));
    const QByteArray protocol =
        ProgramRun::ReadFile(QDir(package.path()).filePath(QStringLiteral("PROT.TXT")));
    QVERIFY2(protocol.contains("without resistance"), protocol.constData());

    // A file the checker refuses: the fault line, as the checker gives it.
    bytes.replace("*8 Element loads", "*9 Element loads");
    ProgramRun::WriteFile(path, bytes);
    const ProgramRun::Result refused = ProgramRun::Run(QStringLiteral(PELGON_PROGRAM),
                                                       package.path(), {path, QStringLiteral("S")});
    QCOMPARE(refused.ExitCode, 1);
    QVERIFY2(refused.Output.contains("Line "), refused.Output.constData());
    QVERIFY(!QFile::exists(package.filePath(QStringLiteral("gable.bin"))));
}

void TestSolverPrograms::wrongCommandLine() {
    QTemporaryDir package;
    const ProgramRun::Result run =
        ProgramRun::Run(QStringLiteral(PELGON_PROGRAM), package.path(), {});
    QCOMPARE(run.ExitCode, 2);
    QVERIFY(run.Output.contains("usage"));
}

void TestSolverPrograms::noWindowWithoutDisplay() {
    // A mathematics solver on a display waits for its report window to be closed; offscreen
    // (also with a display named) or without any display it must end on its own, as tests,
    // CI and the editor's tests run it.
    QTemporaryDir package;
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    offscreen.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
    QProcessEnvironment none = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        none.remove(QString::fromLatin1(name));
    // A display that is named but cannot be reached (a closed remote session) is no display.
    QProcessEnvironment unreachable = none;
    unreachable.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
    for (const QProcessEnvironment& environment : {offscreen, none, unreachable}) {
        QFile::remove(QDir(package.path()).filePath(QStringLiteral("PROT.TXT")));
        const ProgramRun::Result run = ProgramRun::Run(
            QStringLiteral(POMRAK_PROGRAM), package.path(),
            {Example(QStringLiteral("three.d21")), QStringLiteral("S")}, environment);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY(ProgramRun::ReadFile(QDir(package.path()).filePath(QStringLiteral("PROT.TXT")))
                    .contains("Determinant 56"));
    }
}

QTEST_GUILESS_MAIN(TestSolverPrograms)
#include "tst_solverprograms.moc"
