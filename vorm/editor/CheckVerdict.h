#pragma once

#include <QString>

// The verdict that the checker, the frame generator and the viewers leave as the first line
// of "Error.txt", and what it does to the edited file: the check state travels in the last two
// digits of the file's name (1–27 accepted, the same + 50 not yet accepted).
class CheckVerdict {
public:
    struct Outcome {
        int ProblemCode = 0; // after the verdict
        QString FileName;    // after the verdict; differs from the old one exactly when moved
        bool Moved = false;
        int FaultyLine = -1; // the input line at fault, counted from 1; -1 for none
    };

    // A line that begins with "OK" accepts the data.
    static bool Accepted(const QString& line);
    // The digits that start at the sixth character ("Line 12: ..." gives 12); -1 when that
    // character is no digit, or the number is too large for a line.
    static int FaultyLine(const QString& line);
    // The name with its last two characters replaced by the code in two digits.
    static QString RenamedFileName(const QString& fileName, int problemCode);

    // Accepted data of a not-yet-accepted file loses 50, rejected data of an accepted file (or
    // of a name that ends in no number) gains 50; every other verdict keeps the name.
    static Outcome Apply(const QString& line, int problemCode, const QString& fileName);
};
