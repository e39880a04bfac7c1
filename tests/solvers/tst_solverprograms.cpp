#include "HugePageMemory.h"
#include "Parallel.h"
#include "ProgramRun.h"
#include "ResultFile.h"
#include "SolverCommand.h"
#include "SolverFiles.h"

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
    void filesHoldWhatWasSolved();
    void restartForHugePagesKeepsTheRun();
#ifdef FENTAR_PROGRAM
    void solidSolverSharesTheIterationWithHelpers();
#endif
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
    // The launcher deletes PROT.TXT before its next program: the same report stays beside
    // the data.
    QCOMPARE(ProgramRun::ReadFile(data.filePath(QStringLiteral("gable.rpt"))), protocol);

    // The statics and the modes of one space frame lie side by side: each keeps its own report
    // (storey.rpt, storey.rp0), as it keeps its own result file, whichever ran last.
    QByteArray storey = ProgramRun::ReadFile(Example(QStringLiteral("storey.d07")));
    ProgramRun::WriteFile(data.filePath(QStringLiteral("storey.d07")), storey);
    storey.replace("Natural modes = 0", "Natural modes = 2");
    ProgramRun::WriteFile(data.filePath(QStringLiteral("storey.p07")), storey);
    for (const char* solver : {"Hosken", "Quendo"}) {
        const QString extension = solver[0] == 'H' ? QStringLiteral("d07") : QStringLiteral("p07");
        QCOMPARE(SolverCommand::Run(*SolverEntry::Named(QString::fromLatin1(solver)),
                                    {data.filePath("storey." + extension), QStringLiteral("S")},
                                    package.path())
                     .ExitCode,
                 0);
    }
    QVERIFY(ProgramRun::ReadFile(data.filePath(QStringLiteral("storey.rpt"))).startsWith("Hosken"));
    QVERIFY(ProgramRun::ReadFile(data.filePath(QStringLiteral("storey.rp0"))).startsWith("Quendo"));
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
    // Why it was refused stays readable beside the data.
    QCOMPARE(ProgramRun::ReadFile(package.filePath(QStringLiteral("gable.rpt"))), protocol);

    // A file the checker refuses: the fault line, as the checker gives it.
    bytes.replace("*8 Element loads", "*9 Element loads");
    ProgramRun::WriteFile(path, bytes);
    const ProgramRun::Result refused = ProgramRun::Run(QStringLiteral(PELGON_PROGRAM),
                                                       package.path(), {path, QStringLiteral("S")});
    QCOMPARE(refused.ExitCode, 1);
    QVERIFY2(refused.Output.contains("Line "), refused.Output.constData());
    QVERIFY(!QFile::exists(package.filePath(QStringLiteral("gable.bin"))));
    QVERIFY(ProgramRun::ReadFile(package.filePath(QStringLiteral("gable.rpt"))).contains("Line "));

    // A data file named like a report is refused by its name and never overwritten by it.
    const QString named = package.filePath(QStringLiteral("frame.rpt"));
    ProgramRun::WriteFile(named, bytes);
    const ProgramRun::Result wrongName = ProgramRun::Run(
        QStringLiteral(PELGON_PROGRAM), package.path(), {named, QStringLiteral("S")});
    QCOMPARE(wrongName.ExitCode, 1);
    QCOMPARE(ProgramRun::ReadFile(named), bytes);
}

void TestSolverPrograms::wrongCommandLine() {
    QTemporaryDir package;
    const ProgramRun::Result run =
        ProgramRun::Run(QStringLiteral(PELGON_PROGRAM), package.path(), {});
    QCOMPARE(run.ExitCode, 2);
    QVERIFY(run.Output.contains("usage"));

    // An option a solver does not use is refused, not ignored (Brasko would solve as before and
    // say nothing); so are more processes than cores (Open MPI's page of text, then one process)
    // and a tolerance below what double precision reaches (accepted, then never met).
    const SolverEntry brasko = *SolverEntry::Named(QStringLiteral("Brasko"));
    const SolverCommand::Outcome option = SolverCommand::Run(
        brasko, {QStringLiteral("--solver=iterative"), QStringLiteral("x.d16")}, package.path());
    QCOMPARE(option.ExitCode, 2);
    QCOMPARE(option.Message, QStringLiteral("this solver does not take --solver; usage: Brasko "
                                            "DATAFILE [S]   or   Brasko --json DATAFILE"));
    const SolverEntry fentar = *SolverEntry::Named(QStringLiteral("Fentar"));
    const auto fault = [&](const QString& argument) {
        const SolverCommand::Split split =
            SolverCommand::SplitOptions({argument, QStringLiteral("x.d17")});
        return split.Fault.isEmpty() ? SolverCommand::OptionFault(fentar, split, 4) : split.Fault;
    };
    QVERIFY(fault(QStringLiteral("--processes=4")).isEmpty());
    QCOMPARE(fault(QStringLiteral("--processes=5")),
             QStringLiteral("--processes=5 asks for more processes than the 4 cores this program "
                            "may use; give at most 4"));
    QVERIFY(fault(QStringLiteral("--tolerance=1e-12")).isEmpty());
    QVERIFY(fault(QStringLiteral("--tolerance=1e-300")).contains(QLatin1String("from 1e-12")));
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
    // A copy: the run keeps its report beside the data.
    const QString copy = package.filePath(QStringLiteral("three.d21"));
    QVERIFY(QFile::copy(Example(QStringLiteral("three.d21")), copy));
    for (const QProcessEnvironment& environment : {offscreen, none, unreachable}) {
        QFile::remove(QDir(package.path()).filePath(QStringLiteral("PROT.TXT")));
        const ProgramRun::Result run =
            ProgramRun::Run(QStringLiteral(POMRAK_PROGRAM), package.path(),
                            {copy, QStringLiteral("S")}, environment);
        QCOMPARE(run.ExitCode, 0);
        QVERIFY(ProgramRun::ReadFile(QDir(package.path()).filePath(QStringLiteral("PROT.TXT")))
                    .contains("Determinant 56"));
    }
}

void TestSolverPrograms::filesHoldWhatWasSolved() {
    // A frame with a Cyrillic title: the protocol is Windows-1251 with CR LF line ends and
    // prints each value as "%12.5g"; the result file holds the very doubles of the JSON
    // answers; a run that writes files leaves the JSON out, the protocol unchanged.
    QTemporaryDir package;
    const QString path = package.filePath(QStringLiteral("frame.d05"));
    const QByteArray title =
        QStringEncoder("windows-1251")
            .encode(QString::fromUtf8("\u0420\u0430\u043c\u0430 \u2116 1 \u20ac"));
    QByteArray bytes = SolverFiles::Structure(
        1, {{2, {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}},
            {3, {QStringLiteral("0.01 1.0E-4")}},
            {4, {QStringLiteral("0 0"), QStringLiteral("0 3"), QStringLiteral("4 3")}},
            {5, {QStringLiteral("1 2 1 1 0"), QStringLiteral("2 3 1 1 0")}},
            {6, {QStringLiteral("1 1 1 1"), QStringLiteral("3 1 1 0")}},
            {7, {QStringLiteral("1 2 7 -10 0")}},
            {8, {QStringLiteral("1 2 0 -4.5")}}});
    bytes.replace("Title = test", "Title = " + title);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const SolverEntry pelgon = *SolverEntry::Named(QStringLiteral("Pelgon"));
    const SolverOutcome solved = SolverCommand::Solve(pelgon, path);
    const SolverOutcome filesOnly = SolverCommand::Solve(pelgon, path, nullptr, false);
    QVERIFY(filesOnly.Json.isEmpty());
    QCOMPARE(filesOnly.Protocol, solved.Protocol);

    const SolverCommand::Outcome run =
        SolverCommand::Run(pelgon, {path, QStringLiteral("S")}, package.path());
    QCOMPARE(run.ExitCode, 0);
    const QByteArray protocol = ProgramRun::ReadFile(package.filePath(QStringLiteral("PROT.TXT")));
    QVERIFY(protocol.contains(title));
    QCOMPARE(protocol.count('\n'), protocol.count("\r\n"));
    const QJsonArray cases = solved.Json[QStringLiteral("cases")].toArray();
    const QJsonArray node2 = cases[0][QStringLiteral("displacements")].toArray()[1].toArray();
    const QByteArray line =
        QByteArray("       2") + QString::asprintf(" %12.5g %12.5g %12.5g\r\n", node2[1].toDouble(),
                                                   node2[2].toDouble(), node2[3].toDouble())
                                     .toLatin1();
    QVERIFY2(protocol.contains(line), line.constData());

    const std::optional<ResultFile::Contents> contents =
        ResultFile::Read(ProgramRun::ReadFile(run.ResultPath));
    QVERIFY(contents);
    const StaticResults::Case& first = contents->Statics.Cases[0];
    for (int node = 0; node < 3; ++node) {
        const QJsonArray row = cases[0][QStringLiteral("displacements")].toArray()[node].toArray();
        for (int c = 0; c < 3; ++c)
            QCOMPARE(first.Displacements[static_cast<size_t>(3 * node + c)], row[c + 1].toDouble());
    }
    const QJsonArray forces = cases[0][QStringLiteral("forces")].toArray()[1].toArray();
    for (int f = 0; f < 6; ++f)
        QCOMPARE(first.Forces[static_cast<size_t>(6 + f)], forces[f + 1].toDouble());

    // A file of the first version, before the arcs' inner points were kept (it lacks their
    // count after the elements) and before layouts (its forces are named, not described), still
    // reads, with no inner points.
    QByteArray older = ProgramRun::ReadFile(run.ResultPath);
    QCOMPARE(contents->Statics.ArcPoints, 0);
    const auto intAt = [&older](qsizetype at) {
        return qFromLittleEndian<qint32>(older.constData() + at);
    };
    qsizetype at = 32; // after the heading and the counts of nodes, elements and arc points
    const int componentCount = intAt(at);
    at += 4;
    for (int n = 0; n < componentCount; ++n)
        at += 4 + intAt(at);
    const int forceCount = intAt(at);
    at += 4;
    for (int n = 0; n < forceCount; ++n) {
        at += 4 + intAt(at);                 // the force's name stays;
        older.remove(at, 4 + intAt(at) + 8); // its title, quantity and place go
    }
    older[8] = 1;
    older.remove(28, 4);
    const std::optional<ResultFile::Contents> first1 = ResultFile::Read(older);
    QVERIFY(first1);
    QCOMPARE(first1->Statics.Cases[0].Displacements, first.Displacements);
    QCOMPARE(first1->Statics.Cases[0].Forces, first.Forces);
    QVERIFY(!ResultFile::Read(older.left(older.size() - 1)));
}

void TestSolverPrograms::restartForHugePagesKeepsTheRun() {
    // The request is added to what the user set, never in place of it, and a choice the user
    // made either way stands.
    QCOMPARE(HugePageMemory::Tunables(nullptr), QByteArray("glibc.malloc.hugetlb=1"));
    QCOMPARE(HugePageMemory::Tunables("glibc.malloc.check=3"),
             QByteArray("glibc.malloc.check=3:glibc.malloc.hugetlb=1"));
    QVERIFY(HugePageMemory::Tunables("glibc.malloc.hugetlb=0").isEmpty());
    QVERIFY(HugePageMemory::OnRequestOnly("always [madvise] never\n"));
    QVERIFY(!HugePageMemory::OnRequestOnly("[always] madvise never\n"));
    QVERIFY(!HugePageMemory::OnRequestOnly("always madvise [never]\n"));

    // A program that starts itself again keeps its arguments, however they are spelt, its
    // working directory and its output, with or without tunables of the user's own. Only a
    // large data file makes it start again: notes after the end mark make this one large.
    for (const QByteArray& tunables : {QByteArray(), QByteArray("glibc.malloc.tcache_count=0")}) {
        QTemporaryDir package;
        QVERIFY(QDir(package.path()).mkdir(QStringLiteral("my data \u00e9")));
        const QString path = package.filePath(QStringLiteral("my data \u00e9/warren.d03"));
        QVERIFY(QFile::copy(Example(QStringLiteral("warren.d03")), path));
        QByteArray name = path.toLocal8Bit();
        char* arguments[] = {name.data(), name.data(), nullptr};
        QVERIFY(!HugePageMemory::NamesLargeFile(arguments));
        QFile data(path);
        QVERIFY(data.open(QIODevice::Append));
        data.write(QByteArray("Notes after the end mark.\r\n").repeated(50000));
        data.close();
        QVERIFY(HugePageMemory::NamesLargeFile(arguments));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("GLIBC_TUNABLES"));
        if (!tunables.isEmpty())
            environment.insert(QStringLiteral("GLIBC_TUNABLES"), QString::fromLatin1(tunables));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(package.path());
        process.start(QStringLiteral(RABENO_PROGRAM), {path, QStringLiteral("S")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QFile::exists(package.filePath(QStringLiteral("my data \u00e9/warren.bin"))));
        QVERIFY(QFile::exists(package.filePath(QStringLiteral("PROT.TXT"))));
    }
}

#include "tst_solverprograms.moc"

#ifdef FENTAR_PROGRAM
namespace {

QJsonObject FentarJson(const QString& directory, const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(directory);
    process.start(QStringLiteral(FENTAR_PROGRAM), arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        qWarning("%s", process.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

} // namespace

void TestSolverPrograms::solidSolverSharesTheIterationWithHelpers() {
    // The pier, solved by the iteration shared with a helper that the program starts itself,
    // against its direct solution; the helper ends with the run.
    QTemporaryDir package;
    const QString path = package.filePath(QStringLiteral("pier.d17"));
    QVERIFY(QFile::copy(QStringLiteral(SOLVERS_MODELS "/pier.d17"), path));
    // A machine of one core starts no helper, and refuses to be asked for one.
    const int processes = std::min(2, Parallel::Cores());
    const QJsonObject shared =
        FentarJson(package.path(), {QStringLiteral("--json"), QStringLiteral("--solver=iterative"),
                                    QStringLiteral("--tolerance=1e-10"),
                                    QStringLiteral("--processes=%1").arg(processes), path});
    const QJsonObject direct = FentarJson(
        package.path(), {QStringLiteral("--json"), QStringLiteral("--solver=direct"), path});
    QVERIFY(!shared.isEmpty() && !direct.isEmpty());
    const QJsonObject solution = shared[QStringLiteral("solution")].toObject();
    QCOMPARE(solution[QStringLiteral("method")].toString(), QStringLiteral("iterative"));
    QCOMPARE(solution[QStringLiteral("processes")].toInt(), processes);
    const QJsonArray cases = shared[QStringLiteral("cases")].toArray();
    QCOMPARE(cases.size(), direct[QStringLiteral("cases")].toArray().size());
    for (qsizetype c = 0; c < cases.size(); ++c) {
        const QJsonArray u = cases[c][QStringLiteral("displacements")].toArray();
        const QJsonArray v =
            direct[QStringLiteral("cases")][c][QStringLiteral("displacements")].toArray();
        QCOMPARE(u.size(), v.size());
        double largest = 0, difference = 0;
        for (qsizetype n = 0; n < u.size(); ++n)
            for (int k = 1; k <= 3; ++k) {
                const double a = u[n][k].toDouble(), b = v[n][k].toDouble();
                largest = std::max(largest, std::abs(b));
                difference = std::max(difference, std::abs(a - b));
            }
        QVERIFY(largest > 0);
        QVERIFY2(difference <= 1e-7 * largest,
                 qPrintable(
                     QStringLiteral("case %1: %2 of %3").arg(c + 1).arg(difference).arg(largest)));
    }
    // A count of processes that is not a number is refused before anything is read.
    QProcess wrong;
    wrong.start(QStringLiteral(FENTAR_PROGRAM), {QStringLiteral("--processes=0"), path});
    QVERIFY(wrong.waitForFinished(60000));
    QCOMPARE(wrong.exitCode(), 2);
    QVERIFY(wrong.readAllStandardError().contains("--processes"));
}
#endif

QTEST_GUILESS_MAIN(TestSolverPrograms)
