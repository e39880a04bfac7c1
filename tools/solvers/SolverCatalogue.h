#pragma once

#include "ProblemType.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The solver programs of the package: each name solves one problem type, and for space
// trusses and space frames the dynamic variant (".p" files) has a name of its own.
struct SolverEntry {
    // What it calculates, as the problem table says of its type and file kind.
    using Analysis = ProblemType::Analysis;

    QString Name; // "Pelgon"
    int Problem = 0;
    bool Dynamics = false; // solves the ".p" files of its problem
    Analysis Kind = Analysis::Statics;
    QString ResultExtension; // "bin" or "bi0"; empty for the mathematics and shaft lines

    // The options of the command line this solver uses ("--solver", "--tolerance",
    // "--processes"); it refuses the others, which would change nothing.
    QStringList Options() const;

    static const std::vector<SolverEntry>& All();
    static std::optional<SolverEntry> Named(const QString& name);
    // The solver of a data file by its extension (".d13" statics, ".p13" modes); none for a
    // type without one.
    static std::optional<SolverEntry> ForFile(const QString& fileName);
};
