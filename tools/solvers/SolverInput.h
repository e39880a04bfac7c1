#pragma once

#include "ParsedData.h"

#include <QString>

// A data file as a solver reads it: the problem number of its name and the values of its
// tables, held to the same format the checker holds it to. A solver never calculates a file the
// checker would refuse, so the fault it reports is the one the checker reports.
struct SolverInput {
    int Problem = 0;
    bool Dynamics = false; // a ".p" file
    QString FormatName;    // "plane frames"
    ParsedData Data;
    // Whether the caller wants the answers as JSON as well: a run that writes the result file
    // and the protocol has no use for them, and on a large frame they cost as much as the
    // solution.
    bool WantJson = true;
    // How the solids' equations are solved, when the command line says ("--solver=direct",
    // "--solver=iterative", "--tolerance=1e-10", "--processes=2"): empty and 0 leave the
    // choice to the solver.
    struct Choices {
        QString Method;
        double Tolerance = 0;
        int Processes = 0;
    };
    Choices Options;

    // Throws SolverError, at the line the checker names, when the data cannot be calculated.
    static SolverInput Read(const QString& path);
};
