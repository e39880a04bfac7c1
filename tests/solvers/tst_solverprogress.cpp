#include "ProgramRun.h"
#include "ResultFile.h"
#include "SolverCommand.h"
#include "SolverLaunch.h"
#include "SolverRunState.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// What a solver's window is told and decides, without a display: the stages the solvers
// report, the elapsed time, when a run may still be stopped, that a stopped run writes
// nothing, and when a window is shown at all.
class TestSolverProgress : public QObject {
    Q_OBJECT

private slots:
    void elapsedTime();
    void stopOnlyWhileCalculating();
    void windowOnlyForTheEditorOnADisplay();
    void whatTheWindowDoesAtTheEnd();
    void stagesOfEachAnalysis();
    void stoppedRunWritesNothing();
};

namespace {

QString Example(const QString& name) {
    return QStringLiteral(SOLVERS_EXAMPLES "/") + name;
}

SolverEntry Solver(const char* name) {
    return *SolverEntry::Named(QString::fromLatin1(name));
}

// Records every stage; stops the run at the first stage that starts with `stopAt`.
class RecordingProgress : public SolverRunState {
public:
    explicit RecordingProgress(QString stopAt = {}) : stopAt(std::move(stopAt)) {}
    void Stage(const QString& text) override {
        stages << text;
        SolverRunState::Stage(text);
        if (!stopAt.isEmpty() && text.startsWith(stopAt))
            RequestStop();
    }
    QStringList stages;

private:
    QString stopAt;
};

QProcessEnvironment Environment(const QStringList& pairs) {
    QProcessEnvironment environment;
    for (const QString& pair : pairs)
        environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return environment;
}

} // namespace

void TestSolverProgress::elapsedTime() {
    QCOMPARE(SolverRunState::ElapsedText(0), QStringLiteral("0:00"));
    QCOMPARE(SolverRunState::ElapsedText(7999), QStringLiteral("0:07"));
    QCOMPARE(SolverRunState::ElapsedText(750'000), QStringLiteral("12:30"));
    QCOMPARE(SolverRunState::ElapsedText(3'723'000), QStringLiteral("1:02:03"));
    QCOMPARE(SolverRunState::ElapsedText(-5), QStringLiteral("0:00"));
    // The clock runs from the start of the run.
    const SolverRunState state;
    QThread::msleep(30);
    QVERIFY2(state.ElapsedMilliseconds() >= 25,
             qPrintable(QString::number(state.ElapsedMilliseconds())));
    QVERIFY(state.ElapsedMilliseconds() < 60'000);
    QCOMPARE(SolverProgress::Count(3012), QStringLiteral("3,012"));
}

void TestSolverProgress::stopOnlyWhileCalculating() {
    // Stopped while calculating: the solver may no longer write, and stays stopped.
    SolverRunState calculating;
    calculating.Stage(QStringLiteral("Load case 2"));
    QCOMPARE(calculating.CurrentStage(), QStringLiteral("Load case 2"));
    QVERIFY(calculating.CanStop());
    QVERIFY(calculating.RequestStop());
    QVERIFY(!calculating.CanStop());
    QVERIFY(!calculating.RequestStop()); // a second press changes nothing
    QVERIFY(!calculating.BeginWriting());
    calculating.Finish();
    QCOMPARE(calculating.CurrentPhase(), SolverRunState::Phase::Stopped);

    // Once writing, the files are finished: a stop comes too late and changes nothing.
    SolverRunState writing;
    QVERIFY(writing.BeginWriting());
    QCOMPARE(writing.CurrentStage(), QStringLiteral("Writing the results"));
    QVERIFY(!writing.CanStop());
    QVERIFY(!writing.RequestStop());
    writing.Finish();
    QCOMPARE(writing.CurrentPhase(), SolverRunState::Phase::Finished);
    QVERIFY(!writing.RequestStop());
}

void TestSolverProgress::windowOnlyForTheEditorOnADisplay() {
    const QStringList editor{QStringLiteral("gable.d05"), QStringLiteral("S")};
    const QProcessEnvironment x11 = Environment({QStringLiteral("DISPLAY=:0")});
    QVERIFY(SolverLaunch::ShowsWindow(editor, x11, true));
    QVERIFY(SolverLaunch::ShowsWindow({QStringLiteral("gable.d05")}, x11, true));
    QVERIFY(SolverLaunch::ShowsWindow(
        editor, Environment({QStringLiteral("WAYLAND_DISPLAY=wayland-0")}), true));
    // Batch use, a wrong command line and no display: the console, as ever.
    QVERIFY(!SolverLaunch::ShowsWindow({QStringLiteral("--json"), QStringLiteral("gable.d05")}, x11,
                                       true));
    QVERIFY(!SolverLaunch::ShowsWindow({}, x11, true));
    QVERIFY(
        !SolverLaunch::ShowsWindow({QStringLiteral("gable.d05"), QStringLiteral("X")}, x11, true));
    QVERIFY(!SolverLaunch::ShowsWindow(editor, Environment({}), true));
    QVERIFY(!SolverLaunch::ShowsWindow(editor, Environment({QStringLiteral("DISPLAY=")}), true));
    // Tests and CI run offscreen, also where a display happens to be named: nobody answers.
    for (const char* platform : {"offscreen", "minimal", "Offscreen:fontengine=freetype"}) {
        const QProcessEnvironment headless = Environment(
            {QStringLiteral("DISPLAY=:0"), QStringLiteral("QT_QPA_PLATFORM=") + platform});
        QVERIFY2(!SolverLaunch::ShowsWindow(editor, headless, true), platform);
        QVERIFY2(!SolverLaunch::ShowsWindow(editor, headless, false), platform);
    }
    // Where every session has a display (Windows, macOS) no variable names it.
    QVERIFY(SolverLaunch::ShowsWindow(editor, Environment({}), false));
    QVERIFY(SolverLaunch::ShowsWindow(editor, Environment({QStringLiteral("QT_QPA_PLATFORM=xcb")}),
                                      false));
}

void TestSolverProgress::whatTheWindowDoesAtTheEnd() {
    using E = SolverLaunch::Ending;
    SolverCommand::Outcome outcome;
    QCOMPARE(SolverLaunch::AfterRun(Solver("Pelgon"), outcome), E::Close);
    QCOMPARE(SolverLaunch::AfterRun(Solver("Wempel"), outcome), E::Close);
    QCOMPARE(SolverLaunch::AfterRun(Solver("Pomrak"), outcome), E::ShowReport);
    for (int failure : {1, 3}) {
        outcome.ExitCode = failure;
        QCOMPARE(SolverLaunch::AfterRun(Solver("Pelgon"), outcome), E::ShowError);
        QCOMPARE(SolverLaunch::AfterRun(Solver("Pomrak"), outcome), E::ShowError);
    }
    outcome.ExitCode = SolverCommand::StoppedExitCode;
    QCOMPARE(SolverLaunch::AfterRun(Solver("Pomrak"), outcome), E::Close);
}

void TestSolverProgress::stagesOfEachAnalysis() {
    QTemporaryDir package;
    const auto stages = [&package](const char* solver, const char* example) {
        // A copy, so that the result file lands in the scratch folder.
        const QString path = package.filePath(QString::fromLatin1(example));
        QFile::copy(Example(QString::fromLatin1(example)), path);
        RecordingProgress progress;
        const SolverCommand::Outcome outcome =
            SolverCommand::Run(Solver(solver), {path}, package.path(), &progress);
        if (outcome.ExitCode != 0)
            qWarning("%s", qPrintable(outcome.Message));
        return progress.stages;
    };
    QCOMPARE(stages("Pelgon", "gable.d05"),
             QStringList({QStringLiteral("Reading the data"),
                          QStringLiteral("Assembling and factorising the stiffness equations "
                                         "of 5 nodes"),
                          QStringLiteral("Load case 1"), QStringLiteral("Load case 2")}));
    const QStringList modes = stages("Lirtag", "twostorey.d08");
    // The members are divided ever finer until the frequencies settle: one search each.
    QVERIFY2(modes.size() >= 4, qPrintable(modes.join(u'|')));
    QVERIFY2(modes[1].startsWith(QStringLiteral("Assembling and factorising: 6 nodes")),
             qPrintable(modes[1]));
    for (qsizetype k = 2; k < modes.size(); ++k)
        QVERIFY2(modes[k].startsWith(QStringLiteral("Natural modes: the lowest 2 of ")),
                 qPrintable(modes[k]));
    const QStringList buckling = stages("Wempel", "buckling.d15");
    QVERIFY2(buckling.contains(QStringLiteral("Load case 1: critical factors")),
             qPrintable(buckling.join(u'|')));
    QCOMPARE(stages("Pomrak", "three.d21"),
             QStringList({QStringLiteral("Reading the data"),
                          QStringLiteral("Solving the linear system")}));
}

void TestSolverProgress::stoppedRunWritesNothing() {
    QTemporaryDir package, data;
    const QString path = data.filePath(QStringLiteral("gable.d05"));
    QVERIFY(QFile::copy(Example(QStringLiteral("gable.d05")), path));
    const QString result = data.filePath(QStringLiteral("gable.bin"));
    const QString protocol = QDir(package.path()).filePath(QStringLiteral("PROT.TXT"));
    ProgramRun::WriteFile(result, "the results of an older run");
    ProgramRun::WriteFile(protocol, "the protocol of an older run");

    // Stopped while solving the load cases: neither the result file nor the protocol is
    // touched by the run; the older result stays.
    RecordingProgress progress(QStringLiteral("Load case 2"));
    const SolverEntry pelgon = Solver("Pelgon");
    const SolverCommand::Outcome stopped =
        SolverCommand::Run(pelgon, {path, QStringLiteral("S")}, package.path(), &progress);
    QCOMPARE(stopped.ExitCode, SolverCommand::StoppedExitCode);
    QVERIFY(stopped.ResultPath.isEmpty());
    QCOMPARE(ProgramRun::ReadFile(result), QByteArray("the results of an older run"));
    QCOMPARE(ProgramRun::ReadFile(protocol), QByteArray("the protocol of an older run"));
    QCOMPARE(progress.CurrentPhase(), SolverRunState::Phase::Stopped);
    // No temporary file of a write was left beside the data.
    QCOMPARE(QDir(data.path()).entryList(QDir::Files).size(), 2);

    // Whoever stopped it records the stop in the protocol.
    const SolverCommand::Outcome recorded = SolverCommand::RecordStop(
        pelgon, SolverCommand::DataPath({path}, package.path()), package.path());
    QCOMPARE(recorded.ExitCode, 4);
    QVERIFY(recorded.Message.contains(QStringLiteral("Stopped")));
    const QByteArray text = ProgramRun::ReadFile(protocol);
    QVERIFY2(text.contains("Stopped by the user: no results were written.\r\n"), text.constData());
    QCOMPARE(ProgramRun::ReadFile(data.filePath(QStringLiteral("gable.rpt"))), text);
    QVERIFY(text.startsWith("Pelgon: " + path.toLocal8Bit()));
    QCOMPARE(ProgramRun::ReadFile(result), QByteArray("the results of an older run"));

    // Not stopped: the same run writes both, with the writing stage last.
    RecordingProgress whole;
    const SolverCommand::Outcome solved =
        SolverCommand::Run(pelgon, {path, QStringLiteral("S")}, package.path(), &whole);
    QCOMPARE(solved.ExitCode, 0);
    QCOMPARE(whole.CurrentStage(), QStringLiteral("Writing the results"));
    QVERIFY(ResultFile::Read(ProgramRun::ReadFile(result)));
}

QTEST_GUILESS_MAIN(TestSolverProgress)
#include "tst_solverprogress.moc"
