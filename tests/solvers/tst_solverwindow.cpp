#include "ProgramRun.h"
#include "ReportFont.h"
#include "ScriptedDialogs.h"
#include "SolverSession.h"
#include "SolverWindow.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

// The window a solver shows for the editor, offscreen: progress and Stop while the solver
// works on its own thread, closing by itself after a structural run, the report of a
// mathematics problem with Save, and the error of data that cannot be solved.
class TestSolverWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void stopEndsTheRunWithoutResult();
    void closingWhileWorkingIsStop();
    void noStopWhileWriting();
    void structuralRunClosesItself();
    void mathematicsReportWithSave();
    void failureShownUntilClosed();

private:
    // A session of the real solver; `gate` (if given) holds the run at its first stage until
    // released, so that the test can act while it works.
    void StartSession(const char* solverName, const QString& dataPath, QSemaphore* gate = nullptr);
    bool WaitEnded(int milliseconds = 30000);
    void Grab(const QString& name);

    std::optional<QTemporaryDir> package, data;
    ScriptedDialogs dialogs;
    std::unique_ptr<SolverSession> session;
    std::unique_ptr<QSignalSpy> ended;
    QList<SolverCommand::Outcome> endings; // what the process would have ended with
};

namespace {

QString Example(const QString& name) {
    return QStringLiteral(SOLVERS_EXAMPLES "/") + name;
}

QPushButton* Button(SolverWindow& window, const char* name) {
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

void TestSolverWindow::init() {
    session.reset();
    ended.reset();
    endings.clear();
    dialogs = ScriptedDialogs();
    package.emplace();
    data.emplace();
}

void TestSolverWindow::StartSession(const char* solverName, const QString& dataPath,
                                    QSemaphore* gate) {
    const SolverEntry solver = *SolverEntry::Named(QString::fromLatin1(solverName));
    const QString work = package->path();
    const QStringList arguments{dataPath, QStringLiteral("S")};
    session = std::make_unique<SolverSession>(
        solver, dataPath, work,
        [solver, arguments, work, gate](SolverProgress& progress) {
            if (gate) {
                progress.Stage(QStringLiteral("Load case 1"));
                gate->acquire();
            }
            return SolverCommand::Run(solver, arguments, work, &progress);
        },
        [this](const SolverCommand::Outcome& outcome) { endings << outcome; }, dialogs);
    ended = std::make_unique<QSignalSpy>(session.get(), &SolverSession::Ended);
    session->Start();
    QVERIFY(QTest::qWaitForWindowExposed(&session->Window()));
}

bool TestSolverWindow::WaitEnded(int milliseconds) {
    return !ended->isEmpty() || ended->wait(milliseconds);
}

// Set QV_SOLVER_SHOTS to a folder to look at the windows as drawn.
void TestSolverWindow::Grab(const QString& name) {
    const QString folder = qEnvironmentVariable("QV_SOLVER_SHOTS");
    if (!folder.isEmpty())
        session->Window().grab().save(QDir(folder).filePath(name));
}

void TestSolverWindow::stopEndsTheRunWithoutResult() {
    const QString path = data->filePath(QStringLiteral("gable.d05"));
    QVERIFY(QFile::copy(Example(QStringLiteral("gable.d05")), path));
    const QString result = data->filePath(QStringLiteral("gable.bin"));
    ProgramRun::WriteFile(result, "older results");
    QSemaphore gate;
    StartSession("Pelgon", path, &gate);
    SolverWindow& window = session->Window();
    QTRY_COMPARE(window.StageText(), QStringLiteral("Load case 1"));
    QVERIFY(window.StopEnabled());
    QVERIFY(window.windowTitle().contains(QStringLiteral("gable.d05")));
    Grab(QStringLiteral("progress.png"));

    QTest::mouseClick(Button(window, "StopButton"), Qt::LeftButton);
    // The stop is recorded before the process would end, while the solver still works.
    QCOMPARE(endings.size(), 1);
    QCOMPARE(endings[0].ExitCode, 4);
    QVERIFY(ProgramRun::ReadFile(QDir(package->path()).filePath(QStringLiteral("PROT.TXT")))
                .contains("Stopped by the user"));
    window.UpdateProgress();
    QVERIFY(!window.StopEnabled());

    // Had the process not ended, the solver would still write nothing.
    gate.release();
    QVERIFY(WaitEnded());
    QCOMPARE(ended->at(0).at(0).toInt(), 4);
    QCOMPARE(ProgramRun::ReadFile(result), QByteArray("older results"));
    QVERIFY(ProgramRun::ReadFile(QDir(package->path()).filePath(QStringLiteral("PROT.TXT")))
                .contains("Stopped by the user"));
    QCOMPARE(endings.size(), 1);
}

void TestSolverWindow::closingWhileWorkingIsStop() {
    const QString path = data->filePath(QStringLiteral("gable.d05"));
    QVERIFY(QFile::copy(Example(QStringLiteral("gable.d05")), path));
    QSemaphore gate;
    StartSession("Pelgon", path, &gate);
    QVERIFY(!session->Window().close()); // the run ends it, not the close button
    QCOMPARE(endings.size(), 1);
    QVERIFY(!session->Window().close()); // a second close does not stop twice
    QCOMPARE(endings.size(), 1);
    gate.release();
    QVERIFY(WaitEnded());
    QVERIFY(!QFile::exists(data->filePath(QStringLiteral("gable.bin"))));
}

void TestSolverWindow::noStopWhileWriting() {
    QSemaphore gate;
    session = std::make_unique<SolverSession>(
        *SolverEntry::Named(QStringLiteral("Pelgon")), QStringLiteral("x.d05"), package->path(),
        [&gate](SolverProgress& progress) {
            progress.BeginWriting();
            gate.acquire();
            return SolverCommand::Outcome{};
        },
        [this](const SolverCommand::Outcome& outcome) { endings << outcome; }, dialogs);
    ended = std::make_unique<QSignalSpy>(session.get(), &SolverSession::Ended);
    session->Start();
    SolverWindow& window = session->Window();
    QTRY_COMPARE(session->State().CurrentPhase(), SolverRunState::Phase::Writing);
    window.UpdateProgress();
    QCOMPARE(window.StageText(), QStringLiteral("Writing the results"));
    QVERIFY(!window.StopEnabled());
    QVERIFY(!window.close());
    QVERIFY(endings.isEmpty());
    gate.release();
    QVERIFY(WaitEnded());
    QCOMPARE(ended->at(0).at(0).toInt(), 0);
}

void TestSolverWindow::structuralRunClosesItself() {
    const QString path = data->filePath(QStringLiteral("gable.d05"));
    QVERIFY(QFile::copy(Example(QStringLiteral("gable.d05")), path));
    StartSession("Pelgon", path);
    QVERIFY(WaitEnded());
    QCOMPARE(ended->at(0).at(0).toInt(), 0);
    QVERIFY(!session->Window().isVisible());
    QVERIFY(QFile::exists(data->filePath(QStringLiteral("gable.bin"))));
    QVERIFY(endings.isEmpty());
}

void TestSolverWindow::mathematicsReportWithSave() {
    // A copy: the run keeps its report beside the data.
    const QString path = data->filePath(QStringLiteral("three.d21"));
    QVERIFY(QFile::copy(Example(QStringLiteral("three.d21")), path));
    StartSession("Pomrak", path);
    SolverWindow& window = session->Window();
    QTRY_VERIFY(!window.ReportText().isEmpty());
    QVERIFY(ended->isEmpty()); // waits for the user
    // The report is the protocol, as written to PROT.TXT.
    const QByteArray protocol =
        ProgramRun::ReadFile(QDir(package->path()).filePath(QStringLiteral("PROT.TXT")));
    QStringDecoder decoder("windows-1251");
    QCOMPARE(window.ReportText(),
             QString(decoder(protocol)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(window.ReportText().contains(QStringLiteral("Three equations")));
    auto* view = window.findChild<QPlainTextEdit*>(QStringLiteral("ReportView"));
    QVERIFY(view->isReadOnly());
    QVERIFY(view->textInteractionFlags() & Qt::TextSelectableByMouse);
    // The columns line up: every character as wide as any other, whatever fonts the machine
    // has.
    const QFontMetricsF metrics(view->font());
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiiiiiiiii")),
             metrics.horizontalAdvance(QStringLiteral("MMMMMMMMMM")));
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("1.0")),
             metrics.horizontalAdvance(QStringLiteral("W W")));
    // A proportional font is never taken for a monospaced one.
    QVERIFY(!ReportFont::IsMonospaced(QFont(QStringLiteral("DejaVu Sans"))) ||
            QFontInfo(QFont(QStringLiteral("DejaVu Sans"))).family() !=
                QStringLiteral("DejaVu Sans"));
    QVERIFY(Button(window, "SaveButton")->isVisible());
    Grab(QStringLiteral("report.png"));

    // Save: the dialog's answer, the file as PROT.TXT is; a cancelled dialog writes nothing.
    const QString saved = data->filePath(QStringLiteral("answers.txt"));
    dialogs.fileNames = {saved};
    QTest::mouseClick(Button(window, "SaveButton"), Qt::LeftButton);
    QCOMPARE(ProgramRun::ReadFile(saved), protocol);
    const FileDialogRequest request = dialogs.shown.last().Request;
    QCOMPARE(request.FileName, QStringLiteral("three.txt"));
    QCOMPARE(request.DefaultExtension, QStringLiteral("txt"));
    window.SaveReport();
    QVERIFY(dialogs.Texts(QStringLiteral("error")).isEmpty());

    // A folder that does not exist: said clearly, and the window stays.
    dialogs.fileNames = {data->filePath(QStringLiteral("missing/answers.txt"))};
    window.SaveReport();
    const QStringList errors = dialogs.Texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith(QStringLiteral("The report was not saved: cannot write")),
             qPrintable(errors[0]));
    QVERIFY(window.isVisible());

    QTest::mouseClick(Button(window, "CloseButton"), Qt::LeftButton);
    QVERIFY(WaitEnded(1000));
    QCOMPARE(ended->at(0).at(0).toInt(), 0);
}

void TestSolverWindow::failureShownUntilClosed() {
    // The gable on rollers only: a mechanism, which the user learns of only here.
    QByteArray bytes = ProgramRun::ReadFile(Example(QStringLiteral("gable.d05")));
    bytes.replace("#  1    1    1   1   1", "#  1    1    0   1   0");
    bytes.replace("#  2    5    1   1   1", "#  2    5    0   1   0");
    const QString path = data->filePath(QStringLiteral("gable.d05"));
    ProgramRun::WriteFile(path, bytes);
    StartSession("Pelgon", path);
    SolverWindow& window = session->Window();
    QTRY_VERIFY(!window.ReportText().isEmpty());
    QVERIFY2(window.ReportText().contains(QStringLiteral("without resistance")),
             qPrintable(window.ReportText()));
    QVERIFY(!Button(window, "SaveButton")->isVisible());
    QVERIFY(ended->isEmpty());
    Grab(QStringLiteral("error.png"));
    QTest::keyClick(&window, Qt::Key_Escape); // as the close button
    QVERIFY(WaitEnded(1000));
    QCOMPARE(ended->at(0).at(0).toInt(), 1);
}

QTEST_MAIN(TestSolverWindow)
#include "tst_solverwindow.moc"
