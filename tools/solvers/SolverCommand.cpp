#include "SolverCommand.h"

#include "BarFamily.h"
#include "BarModelBuilder.h"
#include "ContinuumAnalysis.h"
#include "ExchangeFile.h"
#include "MathSolvers.h"
#include "MeshStatics.h"
#include "Parallel.h"
#include "ProblemNumber.h"
#include "ResultFile.h"
#include "ShaftAnalysis.h"
#include "ShellAnalysis.h"
#include "SolidAnalysis.h"
#include "SolverInput.h"
#include "SolverReport.h"
#include "StaticCheck.h"
#include "StaticReport.h"
#include "StructuralDynamics.h"
#include "SurfaceAnalysis.h"
#include "TorsionAnalysis.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <exception>
#include <new>

namespace {

QString ExtensionOf(int problem, bool dynamics) {
    return QStringLiteral(".%1%2")
        .arg(QChar(dynamics ? u'p' : u'd'))
        .arg(problem, 2, 10, QChar(u'0'));
}

QString StopMessage() {
    return QStringLiteral("Stopped by the user: no results were written");
}

SolverOutcome SolveStatics(const SolverInput& input, SolverProgress* progress) {
    const BarModel model = BarModelBuilder::Build(input.Problem, input.Data);
    const LinearSolver::Options options = MeshStatics::OptionsOf(input.Options);
    const MeshStatics::Outcome solved = MeshStatics::Run(
        MeshModel::FromBars(model), std::make_unique<BarFamily>(model), options, progress);
    const StaticResults results = BarFamily::Results(model, solved.Results);
    // An answer that does not check is no answer: nothing of it is written.
    const QString fault = StaticCheck::Verdict(model, results);
    if (!fault.isEmpty())
        throw SolverError(fault);
    SolverOutcome outcome;
    const bool worded = SolverReport::Worded(solved.Solver, options);
    if (input.WantJson) {
        outcome.Json = StaticReport::Json(results);
        if (worded)
            outcome.Json[QStringLiteral("solution")] = SolverReport::Json(solved.Solver, options);
    }
    outcome.Protocol =
        StaticReport::Protocol(input.Data.General[0].Text, input.FormatName, model, results,
                               worded ? SolverReport::Protocol(solved.Solver, options) : QString());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Statics;
    contents.Problem = input.Problem;
    contents.Statics = results;
    outcome.ResultFile = ResultFile::Write(contents);
    return outcome;
}

SolverError Failure(const QString& dataPath) {
    // Every way a run can fail ends here, once: the data's own faults, out of memory, and a
    // library that gives up (an eigen-solver on values that are not finite), never an abort.
    try {
        throw;
    } catch (const SolverError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return SolverError(
            QStringLiteral("not enough memory to solve %1").arg(QFileInfo(dataPath).fileName()));
    } catch (const std::exception& fault) {
        return SolverError(
            QStringLiteral("the calculation of %1 failed (%2); the data's values may be too large "
                           "or too small to compute with")
                .arg(QFileInfo(dataPath).fileName(), QString::fromLocal8Bit(fault.what())));
    } catch (...) {
        return SolverError(
            QStringLiteral("the calculation of %1 failed").arg(QFileInfo(dataPath).fileName()));
    }
}

// What each analysis of the catalogue runs: adding an analysis is one row.
struct AnalysisRow {
    SolverEntry::Analysis Kind;
    SolverOutcome (*Solve)(const SolverInput& input, SolverProgress* progress);
};

using Analysis = SolverEntry::Analysis;
constexpr std::array<AnalysisRow, 11> Analyses{{
    {Analysis::Statics, &SolveStatics},
    {Analysis::Modes, &StructuralDynamics::Modes},
    {Analysis::Buckling, &StructuralDynamics::Buckling},
    {Analysis::Mathematics, &MathSolvers::Solve},
    {Analysis::Continuum, &ContinuumAnalysis::Solve},
    {Analysis::Surface, &SurfaceAnalysis::Statics},
    {Analysis::SurfaceModes, &SurfaceAnalysis::Modes},
    {Analysis::Torsion, &TorsionAnalysis::Solve},
    {Analysis::Shaft, &ShaftAnalysis::Solve},
    {Analysis::Shells, &ShellAnalysis::Solve},
    {Analysis::Solid, &SolidAnalysis::Solve},
}};

} // namespace

// A protocol of a large frame has tens of megabytes of digits, so plain ASCII is copied as it
// is and only the rest (titles, names) goes through the encoder.
QByteArray SolverCommand::ProtocolBytes(const QString& text) {
    QStringEncoder encoder("windows-1251");
    // At most two bytes per character: CR LF for LF, one byte for any other.
    QByteArray bytes(2 * text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const QChar* const data = text.constData();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const char16_t c = data[i].unicode();
        if (c < 0x80) {
            if (c == u'\n')
                *out++ = '\r';
            *out++ = static_cast<char>(c);
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < size && data[end].unicode() >= 0x80)
            ++end;
        const QStringView run(data + i, end - i);
        const QByteArray encoded =
            encoder.isValid() ? QByteArray(encoder.encode(run)) : run.toString().toLatin1();
        out = std::copy(encoded.begin(), encoded.begin() + std::min(encoded.size(), end - i), out);
        i = end;
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

namespace {

// The data file's name up to and including its last ".".
QString BasePath(const QString& dataPath) {
    const qsizetype dot = dataPath.lastIndexOf(u'.');
    const qsizetype slash = std::max(dataPath.lastIndexOf(u'/'), dataPath.lastIndexOf(u'\\'));
    return dot > slash ? dataPath.left(dot + 1) : dataPath + u'.';
}

} // namespace

QString SolverCommand::ResultPath(const SolverEntry& solver, const QString& dataPath) {
    return BasePath(dataPath) + solver.ResultExtension;
}

QString SolverCommand::ReportPath(const QString& dataPath) {
    // NAME.dNN and NAME.pNN share their base name: the dynamics variant keeps its own report,
    // as it keeps its own result file, so that neither run overwrites the other's.
    const QString base = BasePath(dataPath);
    const bool dynamics =
        base.size() < dataPath.size() && dataPath.at(base.size()).toLower() == u'p';
    return base + (dynamics ? QStringLiteral("rp0") : QStringLiteral("rpt"));
}

QString SolverCommand::WriteProtocol(const QString& dataPath, const QString& workDirectory,
                                     const QString& text) {
    const QByteArray bytes = ProtocolBytes(text);
    QString error =
        ExchangeFile::Write(QDir(workDirectory).filePath(QStringLiteral("PROT.TXT")), bytes);
    // A data file that is itself named ".rpt" (refused by its name) is never overwritten.
    const QString report = ReportPath(dataPath);
    if (dataPath.isEmpty() || QFileInfo(report) == QFileInfo(dataPath))
        return error;
    const QString reportError = ExchangeFile::Write(report, bytes);
    if (error.isEmpty())
        error = reportError;
    return error;
}

SolverCommand::Split SolverCommand::SplitOptions(const QStringList& arguments) {
    Split split;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("--")) && argument.contains(u'='))
            split.Given << argument.section(u'=', 0, 0);
        if (argument.startsWith(QLatin1String("--solver="))) {
            split.Options.Method = argument.mid(9).toLower();
            if (split.Options.Method != QLatin1String("direct") &&
                split.Options.Method != QLatin1String("iterative"))
                split.Fault = QStringLiteral("--solver takes direct or iterative, not \"%1\"")
                                  .arg(argument.mid(9));
        } else if (argument.startsWith(QLatin1String("--tolerance="))) {
            bool ok = false;
            split.Options.Tolerance = argument.mid(12).toDouble(&ok);
            if (!ok || !(split.Options.Tolerance >= LeastTolerance) || split.Options.Tolerance >= 1)
                split.Fault = QStringLiteral("--tolerance takes a relative residual from %1 "
                                             "(double precision reaches no smaller one) to "
                                             "below 1, not \"%2\"")
                                  .arg(LeastTolerance)
                                  .arg(argument.mid(12));
        } else if (argument.startsWith(QLatin1String("--processes="))) {
            bool ok = false;
            split.Options.Processes = argument.mid(12).toInt(&ok);
            if (!ok || split.Options.Processes < 1)
                split.Fault = QStringLiteral("--processes takes a whole number of 1 or more, "
                                             "not \"%1\"")
                                  .arg(argument.mid(12));
        } else {
            split.Rest << argument;
        }
    }
    return split;
}

QString SolverCommand::OptionFault(const SolverEntry& solver, const Split& split, int cores) {
    const QStringList taken = solver.Options();
    for (const QString& option : split.Given)
        if (!taken.contains(option))
            return QStringLiteral("this solver does not take %1; %2").arg(option, Usage(solver));
    if (split.Options.Processes > cores)
        return QStringLiteral("--processes=%1 asks for more processes than the %2 cores this "
                              "program may use; give at most %2")
            .arg(split.Options.Processes)
            .arg(cores);
    return {};
}

QString SolverCommand::Usage(const SolverEntry& solver) {
    QString usage =
        QStringLiteral("usage: %1 DATAFILE [S]   or   %1 --json DATAFILE").arg(solver.Name);
    if (solver.Options().contains(QLatin1String("--solver")))
        usage += QStringLiteral("; options: --solver=direct|iterative, --tolerance=X (relative "
                                "residual), --processes=N (to share an iterative solution)");
    return usage;
}

SolverOutcome SolverCommand::Solve(const SolverEntry& solver, const QString& dataPath,
                                   SolverProgress* progress, bool json,
                                   const SolverInput::Choices& options) {
    const ProblemNumber number = ProblemNumber::FromFileName(dataPath);
    if (number.Valid && (number.Problem != solver.Problem || number.Dynamics != solver.Dynamics))
        throw SolverError(QStringLiteral("%1 solves the files %2, not %3")
                              .arg(solver.Name, ExtensionOf(solver.Problem, solver.Dynamics),
                                   QFileInfo(dataPath).fileName()));
    SolverProgress::Report(progress, QStringLiteral("Reading the data"));
    SolverInput input = SolverInput::Read(dataPath);
    input.WantJson = json;
    input.Options = options;
    const auto row = std::ranges::find(Analyses, solver.Kind, &AnalysisRow::Kind);
    if (row == Analyses.end())
        throw SolverError(QStringLiteral("no analysis"));
    return row->Solve(input, progress);
}

bool SolverCommand::SolvesForEditor(const QStringList& all) {
    const QStringList arguments = SplitOptions(all).Rest;
    return (arguments.size() == 1 || arguments.size() == 2) &&
           !arguments[0].startsWith(QLatin1String("--")) &&
           (arguments.size() == 1 ||
            arguments[1].compare(QLatin1String("S"), Qt::CaseInsensitive) == 0);
}

QString SolverCommand::DataPath(const QStringList& all, const QString& workDirectory) {
    const QStringList arguments = SplitOptions(all).Rest;
    return arguments.isEmpty() ? QString() : QDir(workDirectory).filePath(arguments.first());
}

SolverCommand::Outcome SolverCommand::RecordStop(const SolverEntry& solver, const QString& dataPath,
                                                 const QString& workDirectory) {
    Outcome outcome;
    outcome.ExitCode = StoppedExitCode;
    outcome.Message = StopMessage();
    outcome.Protocol =
        QStringLiteral("%1: %2\n\n%3.\n").arg(solver.Name, dataPath, outcome.Message);
    const QString error = WriteProtocol(dataPath, workDirectory, outcome.Protocol);
    if (!error.isEmpty())
        outcome.Message += QStringLiteral("; ") + error;
    return outcome;
}

SolverCommand::Outcome SolverCommand::Run(const SolverEntry& solver, const QStringList& all,
                                          const QString& workDirectory, SolverProgress* progress) {
    Outcome outcome;
    const Split split = SplitOptions(all);
    const QStringList& arguments = split.Rest;
    const QString fault =
        split.Fault.isEmpty() ? OptionFault(solver, split, Parallel::Cores()) : split.Fault;
    if (!fault.isEmpty()) {
        outcome.ExitCode = 2;
        outcome.Message = fault;
        return outcome;
    }
    const bool json = arguments.size() == 2 && arguments[0] == QLatin1String("--json");
    const bool plain = !json && SolvesForEditor(arguments);
    if (!json && !plain) {
        outcome.ExitCode = 2;
        outcome.Message = Usage(solver);
        return outcome;
    }
    const QDir directory(workDirectory);
    const QString dataPath = directory.filePath(json ? arguments[1] : arguments[0]);
    SolverOutcome solved;
    bool ok = true;
    try {
        solved = Solve(solver, dataPath, progress, json, split.Options);
    } catch (...) {
        ok = false;
        outcome.ExitCode = 1;
        outcome.Message = Failure(dataPath).Text();
    }
    if (json) {
        if (ok)
            outcome.StandardOutput = QJsonDocument(solved.Json).toJson(QJsonDocument::Compact);
        return outcome;
    }

    // A run stopped meanwhile writes nothing: neither a result file nor a protocol of its own.
    if (progress && !progress->BeginWriting()) {
        outcome.ExitCode = StoppedExitCode;
        outcome.Message = StopMessage();
        return outcome;
    }
    outcome.Protocol = QStringLiteral("%1: %2\n\n").arg(solver.Name, dataPath) +
                       (ok ? solved.Protocol : outcome.Message + u'\n');
    if (ok && !solver.ResultExtension.isEmpty()) {
        const QString path = ResultPath(solver, dataPath);
        const QString error = ExchangeFile::Write(path, solved.ResultFile);
        if (error.isEmpty()) {
            outcome.ResultPath = path;
        } else {
            outcome.ExitCode = 3;
            outcome.Message = QStringLiteral("Error: ") + error;
            outcome.Protocol += u'\n' + outcome.Message + u'\n';
        }
    }
    const QString error = WriteProtocol(dataPath, workDirectory, outcome.Protocol);
    if (!error.isEmpty() && outcome.ExitCode == 0) {
        outcome.ExitCode = 3;
        outcome.Message = QStringLiteral("Error: ") + error;
    }
    return outcome;
}
