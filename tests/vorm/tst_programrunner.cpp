#include "PackageDir.h"
#include "ProgramRunner.h"
#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
    void eachRunReportsInAFolderOfItsOwn();
    void argumentWithBlanksArrivesWhole();
    void nestedRunEndsInsideOuterRun();
    void resolvesBareNamesInPackageFirst();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<QTemporaryDir> package;
    std::unique_ptr<QTemporaryDir> runs; // the user's folder of run folders
    QString record;
    QString probe = QStringLiteral(RUNNER_PROBE);
};

void TestProgramRunner::init() {
    package = std::make_unique<QTemporaryDir>();
    runs = std::make_unique<QTemporaryDir>();
    record = package->filePath("record.txt");
}

void TestProgramRunner::servesWindowsWhileProgramRuns() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs, runs->path());
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
    // The program ran in a folder of its own under the runs folder, gone afterwards.
    const QStringList cwd = Record(record).filter("main cwd=");
    QCOMPARE(cwd.size(), 1);
    const QString folder = cwd.first().mid(9);
    QCOMPARE(QFileInfo(folder).dir().canonicalPath(), QDir(runs->path()).canonicalPath());
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestProgramRunner::missingProgramIsReported() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs, runs->path());
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

void TestProgramRunner::eachRunReportsInAFolderOfItsOwn() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs, runs->path());
    // Files left in the package directory are no run's: never read, never touched.
    Touch(package->filePath("Error.txt"));
    Touch(package->filePath("PROT.TXT"));
    QStringList collected;
    const auto collect = [&](const QString& folder) {
        QFile verdict(QDir(folder).filePath("Error.txt"));
        collected << (verdict.open(QIODevice::ReadOnly) ? QString::fromUtf8(verdict.readAll())
                                                        : QStringLiteral("<none>"));
    };
    // The exit code comes back to the caller (the probe's 2 for a short command line).
    QCOMPARE(runner.RunProgram(nullptr, probe, {record, "main", "0"}, ProgramRunner::Hidden,
                               QString(), collect),
             0);
    QCOMPARE(runner.RunProgram(nullptr, probe, {record, "second", "0"}, ProgramRunner::Hidden,
                               QString(), collect),
             0);
    QCOMPARE(runner.RunProgram(nullptr, probe, {record}, ProgramRunner::Hidden, QString(), collect),
             2);
    // Each run found no exchange file and left its verdict for its caller only.
    const QStringList lines = Record(record);
    for (const char* label : {"main", "second"}) {
        QVERIFY(lines.contains(QString::fromLatin1(label) + " error-file=absent"));
        QVERIFY(lines.contains(QString::fromLatin1(label) + " prot-file=absent"));
    }
    QCOMPARE(collected, (QStringList{"main", "second", "<none>"}));
    QCOMPARE(Record(package->filePath("Error.txt")), QStringList("stale"));

    // A failed start has a folder too, and it goes as well.
    runner.RunProgram(nullptr, package->filePath("NoSuchProgram"), {}, ProgramRunner::Shown,
                      QString(), collect);
    QCOMPARE(collected.last(), QStringLiteral("<none>"));
    QVERIFY(QDir(runs->path()).isEmpty());
}

void TestProgramRunner::argumentWithBlanksArrivesWhole() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs, runs->path());
    const QString data = QStringLiteral("/home/user/My Data/plane frame.d55");
    runner.RunProgram(nullptr, probe, {record, "main", "0", data, "XYZ"}, ProgramRunner::Shown);
    const QStringList lines = Record(record);
    QCOMPARE(lines.filter(" arg="), (QStringList{"main arg=" + data, "main arg=XYZ"}));
}

void TestProgramRunner::nestedRunEndsInsideOuterRun() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs, runs->path());
    QWidget outerForm;
    QWidget innerForm;
    bool innerFormUsable = false;
    bool runningMeanwhile = false;
    // While the outer program runs, another window starts a program of its own.
    QString innerVerdict;
    QString outerVerdict;
    const auto verdictInto = [](QString& verdict) {
        return [&verdict](const QString& folder) {
            QFile file(QDir(folder).filePath("Error.txt"));
            if (file.open(QIODevice::ReadOnly))
                verdict = QString::fromUtf8(file.readAll());
        };
    };
    QTimer::singleShot(200, [&] {
        innerFormUsable = innerForm.isEnabled();
        runner.RunProgram(&innerForm, probe, {record, "inner", "200"}, ProgramRunner::Shown,
                          QString(), verdictInto(innerVerdict));
        // The outer run goes on: the launcher must not quit under it.
        runningMeanwhile = runner.IsRunning();
    });
    QVERIFY(!runner.IsRunning());
    runner.RunProgram(&outerForm, probe, {record, "outer", "800"}, ProgramRunner::Shown, QString(),
                      verdictInto(outerVerdict));

    QVERIFY(innerFormUsable);
    QVERIFY(runningMeanwhile);
    QVERIFY(!runner.IsRunning());
    const QStringList order = Record(record).filter(QRegularExpression(" (start|end)$"));
    QCOMPARE(order, (QStringList{"outer start", "inner start", "inner end", "outer end"}));
    // The two programs, running at once, never shared a folder: each caller read its own
    // program's verdict, though the inner one ended first.
    const QStringList folders = Record(record).filter(" cwd=");
    QCOMPARE(folders.size(), 2);
    QVERIFY(folders[0].mid(folders[0].indexOf(u'=')) != folders[1].mid(folders[1].indexOf(u'=')));
    QCOMPARE(innerVerdict, QStringLiteral("inner"));
    QCOMPARE(outerVerdict, QStringLiteral("outer"));
    QVERIFY(outerForm.isEnabled());
    QVERIFY(innerForm.isEnabled());
}

void TestProgramRunner::resolvesBareNamesInPackageFirst() {
    ScriptedDialogs dialogs;
    const ProgramRunner runner(PackageDir(package->path()), dialogs, runs->path());
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
