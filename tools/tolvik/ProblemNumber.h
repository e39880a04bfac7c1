#pragma once

#include <QString>

// The problem number a data file's name gives: its extension is "d" or "p" and two digits,
// 01 to 27 once the checker has accepted the file and the same plus 50 before. The checker
// holds both forms to the same format.
struct ProblemNumber {
    bool Valid = false;
    int Problem = 0;       // 1 to 27
    bool Accepted = false; // the lower form, 01 to 27
    bool Dynamics = false; // ".p": the dynamic analyses of problems 4, 7 and 13
    QString Error;         // why the name gives no problem number

    static ProblemNumber FromFileName(const QString& path);
};
