#pragma once

#include "CheckFault.h"
#include "ParsedData.h"

#include <QString>

// A data file as a solver reads it: the problem number of its name and the values of its
// tables, held to the same format the checker holds it to. A solver never calculates a file the
// checker would refuse, so the fault it reports is the one the checker reports.
struct SolverInput {
    bool Ok = false;
    CheckFault Fault; // Line 0: the file as a whole
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

    static SolverInput Read(const QString& path);
    // The reason why the data cannot be calculated, as the protocol and standard error show it.
    QString FaultText() const;
};
