#include "CheckVerdict.h"

bool CheckVerdict::Accepted(const QString& line) {
    return line.startsWith(QStringLiteral("OK"));
}

int CheckVerdict::FaultyLine(const QString& line) {
    constexpr qsizetype First = 5;
    constexpr int Limit = 100'000'000; // far beyond any input file
    int number = 0;
    qsizetype at = First;
    for (; at < line.size() && line[at] >= u'0' && line[at] <= u'9'; ++at) {
        number = number * 10 + (line[at].unicode() - u'0');
        if (number >= Limit)
            return -1;
    }
    return at == First ? -1 : number;
}

QString CheckVerdict::RenamedFileName(const QString& fileName, int problemCode) {
    return fileName.left(qMax<qsizetype>(0, fileName.size() - 2)) +
           QString::asprintf("%02d", problemCode);
}

CheckVerdict::Outcome CheckVerdict::Apply(const QString& line, int problemCode,
                                          const QString& fileName) {
    Outcome outcome;
    outcome.ProblemCode = problemCode;
    outcome.FileName = fileName;
    if (Accepted(line)) {
        if (problemCode >= 50) {
            outcome.ProblemCode = problemCode - 50;
            outcome.Moved = true;
        }
    } else {
        outcome.FaultyLine = FaultyLine(line);
        if (problemCode < 50) {
            outcome.ProblemCode = problemCode + 50;
            outcome.Moved = true;
        }
    }
    if (outcome.Moved)
        outcome.FileName = RenamedFileName(fileName, outcome.ProblemCode);
    return outcome;
}
