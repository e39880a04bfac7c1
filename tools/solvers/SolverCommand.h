#pragma once

#include "SolverCatalogue.h"
#include "SolverOutcome.h"

#include <QString>
#include <QStringList>

// The command line every solver program shares: "NAME DATAFILE [S]" solves the file, writes
// the result file beside it (base name + "bin" or "bi0", through a temporary file) and the
// protocol "PROT.TXT" into the working directory; "NAME --json DATAFILE" prints the answers
// as one JSON object on standard output and writes no file. Data that cannot be solved is
// reported on standard error and in the protocol, and leaves no result file.
class SolverCommand {
public:
    struct Outcome {
        int ExitCode = 0; // 0 solved, 1 the data cannot be solved, 2 wrong command line,
                          // 3 a file could not be written
        QString Message;  // for standard error when ExitCode != 0
        QByteArray StandardOutput;
        QString ResultPath; // the result file written, if any
        QString Protocol;
    };

    static Outcome Run(const SolverEntry& solver, const QStringList& arguments,
                       const QString& workDirectory);
    // Solves a file without touching any file: the core of Run, for tests and benchmarks.
    // Without `json` the structural solvers leave the outcome's JSON empty.
    static SolverOutcome Solve(const SolverEntry& solver, const QString& dataPath,
                               bool json = true);
    // Where the result file of a data file lies.
    static QString ResultPath(const SolverEntry& solver, const QString& dataPath);
};
