#pragma once

#include "SolverCatalogue.h"
#include "SolverInput.h"
#include "SolverOutcome.h"
#include "SolverProgress.h"

#include <QString>
#include <QStringList>

// The command line every solver program shares: "NAME DATAFILE [S]" solves the file, writes
// the result file beside it (base name + "bin" or "bi0", through a temporary file) and the
// protocol "PROT.TXT" into the working directory, and keeps the same protocol beside the data
// as its report, ReportPath (the launcher deletes PROT.TXT before its next program); "NAME --json
// DATAFILE" prints the answers as one JSON object on standard output and writes no file. Data that
// cannot be solved is reported on standard error and in the protocol, and leaves no result file.
class SolverCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 solved, 1 the data cannot be solved, 2 wrong command line,
                          // 3 a file could not be written, 4 stopped by the user
        QString Message;  // for standard error when ExitCode != 0
        QByteArray StandardOutput;
        QString ResultPath; // the result file written, if any
        QString Protocol;
    };

    static constexpr int StoppedExitCode = 4;

    // `progress` (may be null) hears the stages and may stop the run before it writes.
    static Outcome Run(const SolverEntry& solver, const QStringList& arguments,
                       const QString& workDirectory, SolverProgress* progress = nullptr);
    // Solves a file without touching any file: the core of Run, for tests and benchmarks.
    // Without `json` the structural solvers leave the outcome's JSON empty. Throws SolverError
    // when the data cannot be solved (Run catches it, and running out of memory, once).
    static SolverOutcome Solve(const SolverEntry& solver, const QString& dataPath,
                               SolverProgress* progress = nullptr, bool json = true,
                               const SolverInput::Choices& options = {});
    // The options "--solver=direct|iterative", "--tolerance=X" and "--processes=N" may stand
    // anywhere on the command line; the rest is read as above. Fault is set when an option is not
    // understood.
    struct Split {
        QStringList Rest;
        SolverInput::Choices Options;
        QStringList Given; // the options named, "--solver", ...
        QString Fault;
    };
    static Split SplitOptions(const QStringList& arguments);
    // Why the options cannot be taken by this solver on a machine whose program may use
    // `cores` cores: an option it does not use, more processes than cores (each would wait
    // for the others). Empty when they can.
    static QString OptionFault(const SolverEntry& solver, const Split& split, int cores);
    // The least relative residual an iteration is asked for: below it the rounding of K u in
    // double precision keeps the residual from falling (a small solid stalls at 1e-14).
    static constexpr double LeastTolerance = 1e-12;
    // "usage: NAME DATAFILE [S]   or   NAME --json DATAFILE", with the options the solver takes.
    static QString Usage(const SolverEntry& solver);
    // The run was stopped before it wrote anything: the protocol says so and the result file
    // stays as it was (an older one of the same data, or none).
    static Outcome RecordStop(const SolverEntry& solver, const QString& dataPath,
                              const QString& workDirectory);
    // "NAME DATAFILE [S]", as the editor starts a solver (not "--json", not a wrong line).
    static bool SolvesForEditor(const QStringList& arguments);
    // The data path that such a command line names.
    static QString DataPath(const QStringList& arguments, const QString& workDirectory);
    // The protocol as the package's text files are: Windows-1251 with CR LF line ends.
    static QByteArray ProtocolBytes(const QString& text);
    // Where the result file of a data file lies.
    static QString ResultPath(const SolverEntry& solver, const QString& dataPath);
    // Where the protocol kept beside a data file lies: "frame.d05" -> "frame.rpt", and for the
    // dynamics variant "storey.p07" -> "storey.rp0".
    static QString ReportPath(const QString& dataPath);

private:
    // PROT.TXT in the working directory and the report beside the data; what went wrong, or
    // an empty text.
    static QString WriteProtocol(const QString& dataPath, const QString& workDirectory,
                                 const QString& text);
};
