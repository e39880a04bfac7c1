#pragma once

#include <QString>

// Which program serves a problem number: its solver, its model and result viewer and its mesh
// generator. Problems 4, 7 and 13 have a second menu entry whose files ("*.p..") go to another
// solver.
class ProgramTable {
public:
    enum class Generator { None, Frame, Plate };

    // Empty for a number without a solver. Problem 12's solver is "Gimbro  ", with two
    // trailing blanks, as its command line has always been built with them.
    static QString Solver(int problemCode, bool dynamicsVariant);
    // Empty for a number without a viewer (12, mathematics, not yet accepted data).
    static QString Viewer(int problemCode);
    static Generator GeneratorOf(int problemCode);
};
