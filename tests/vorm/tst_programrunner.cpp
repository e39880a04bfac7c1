#include "PackageDir.h"
#include "ProgramRunner.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

QStringList Record(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void Touch(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("stale\r\n") != 7)
        qFatal("cannot write test file");
}

} // namespace

class TestProgramRunner : public QObject {
    Q_OBJECT

private slots:
    void init();
    void servesWindowsWhileProgramRuns();
    void missingProgramIsReported();
    void staleExchangeFilesAreRemovedFirst();
    void argumentWithBlanksArrivesWhole();
    void nestedRunEndsInsideOuterRun();
    void resolvesBareNamesInPackageFirst();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<QTemporaryDir> package;
    QString record;
    QString probe = QStringLiteral(RUNNER_PROBE);
};

void TestProgramRunner::init() {
    package = std::make_unique<QTemporaryDir>();
    record = package->filePath("record.txt");
}

void TestProgramRunner::servesWindowsWhileProgramRuns() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs);
    QWidget form;
    form.show();

    int ticks = 0;
    bool disabledMeanwhile = true;
    bool busyCursorMeanwhile = true;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        disabledMeanwhile = disabledMeanwhile && !form.isEnabled();
        busyCursorMeanwhile = busyCursorMeanwhile && form.cursor().shape() == Qt::WaitCursor;
    });
    timer.start(20);

    QElapsedTimer clock;
    clock.start();
    runner.RunProgram(&form, probe, {record, "main", "1000"}, ProgramRunner::Shown);
    const qint64 elapsed = clock.elapsed();
    timer.stop();

    QVERIFY2(elapsed >= 1000, "the runner returns only when the program has ended");
    QVERIFY2(ticks >= 8, qPrintable(QStringLiteral("timer fired %1 times").arg(ticks)));
    QVERIFY(disabledMeanwhile);
    QVERIFY(busyCursorMeanwhile);
    QVERIFY(form.isEnabled());
    QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(Record(record).last(), QStringLiteral("main end"));
    QVERIFY(Record(record).contains("main cwd=" + QDir(package->path()).canonicalPath()));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestProgramRunner::missingProgramIsReported() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs);
    QWidget form;
    const QString program = QDir(package->path()).filePath("Prusk");
    QCOMPARE(runner.RunProgram(&form, program, {}, ProgramRunner::Shown),
             ProgramRunner::NotFinished);
    QCOMPARE(dialogs.Texts("error"),
             QStringList{"Error executing " + QDir::toNativeSeparators(program) +
                         "\r\nError message: 2!"});
    QVERIFY(form.isEnabled());
    QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
}

void TestProgramRunner::staleExchangeFilesAreRemovedFirst() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs);
    Touch(package->filePath("Error.txt"));
    Touch(package->filePath("PROT.TXT"));
    // The exit code comes back to the caller (the probe's 2 for a short command line).
    QCOMPARE(runner.RunProgram(nullptr, probe, {record, "main", "0"}, ProgramRunner::Hidden), 0);
    QCOMPARE(runner.RunProgram(nullptr, probe, {record}, ProgramRunner::Hidden), 2);
    const QStringList lines = Record(record);
    QVERIFY(lines.contains("main error-file=absent"));
    QVERIFY(lines.contains("main prot-file=absent"));
    QVERIFY(!QFile::exists(package->filePath("Error.txt")));

    // A failed start removes them as well.
    Touch(package->filePath("Error.txt"));
    runner.RunProgram(nullptr, package->filePath("NoSuchProgram"), {}, ProgramRunner::Shown);
    QVERIFY(!QFile::exists(package->filePath("Error.txt")));
}

void TestProgramRunner::argumentWithBlanksArrivesWhole() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs);
    const QString data = QStringLiteral("/home/user/My Data/plane frame.d55");
    runner.RunProgram(nullptr, probe, {record, "main", "0", data, "XYZ"}, ProgramRunner::Shown);
    const QStringList lines = Record(record);
    QCOMPARE(lines.filter(" arg="), (QStringList{"main arg=" + data, "main arg=XYZ"}));
}

void TestProgramRunner::nestedRunEndsInsideOuterRun() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs);
    QWidget outerForm;
    QWidget innerForm;
    bool innerFormUsable = false;
    bool runningMeanwhile = false;
    // While the outer program runs, another window starts a program of its own.
    QTimer::singleShot(200, [&] {
        innerFormUsable = innerForm.isEnabled();
        runner.RunProgram(&innerForm, probe, {record, "inner", "200"}, ProgramRunner::Shown);
        // The outer run goes on: the launcher must not quit under it.
        runningMeanwhile = runner.IsRunning();
    });
    QVERIFY(!runner.IsRunning());
    runner.RunProgram(&outerForm, probe, {record, "outer", "800"}, ProgramRunner::Shown);

    QVERIFY(innerFormUsable);
    QVERIFY(runningMeanwhile);
    QVERIFY(!runner.IsRunning());
    const QStringList order = Record(record).filter(QRegularExpression(" (start|end)$"));
    QCOMPARE(order, (QStringList{"outer start", "inner start", "inner end", "outer end"}));
    QVERIFY(outerForm.isEnabled());
    QVERIFY(innerForm.isEnabled());
}

void TestProgramRunner::resolvesBareNamesInPackageFirst() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs);
    QVERIFY(QFile::copy(probe, package->filePath("Probe")));
    QCOMPARE(runner.ResolveProgram("PROBE"), package->filePath("Probe"));
    QCOMPARE(runner.ResolveProgram(package->filePath("probe")), package->filePath("Probe"));
    // Not in the package: the system's search path.
    QVERIFY(QFile::copy(probe, package->filePath("sh")));
    QCOMPARE(runner.ResolveProgram("sh"), package->filePath("sh"));
    QFile::remove(package->filePath("sh"));
    QCOMPARE(runner.ResolveProgram("sh"), QStandardPaths::findExecutable("sh"));

    // A bare name reaches the program through the package directory.
    runner.RunProgram(nullptr, "PROBE", {record, "bare", "0"}, ProgramRunner::Hidden);
    QVERIFY(Record(record).contains("bare end"));
}

void TestProgramRunner::commandLine_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("line");
    QTest::newRow("tool") << "/pkg/QUARVEL" << QStringList{"G"} << "/pkg/QUARVEL G";
    QTest::newRow("unpacker") << "PKUNZIP" << QStringList{"-#", "-O", "VORMEW.ZIP"}
                              << "PKUNZIP -# -O VORMEW.ZIP";
    QTest::newRow("path with blanks quoted")
        << "/pkg/TOLVIK" << QStringList{"/my data/f.d55", "XYZ"}
        << "/pkg/TOLVIK \"/my data/f.d55\" XYZ";
}

void TestProgramRunner::commandLine() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, line);
    QCOMPARE(ProgramRunner::CommandLine(program, arguments), QDir::toNativeSeparators(line));
}

QTEST_MAIN(TestProgramRunner)
#include "tst_programrunner.moc"
