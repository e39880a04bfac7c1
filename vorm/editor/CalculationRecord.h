#pragma once

#include <QDateTime>
#include <QString>

// What a calculation left beside the data file. A solver that is stopped, or that cannot solve
// the data, writes no result file and leaves an older one as it was: the window then says so,
// and remembers that file's time, so that the viewer is not started on it as if it were new.
class CalculationRecord {
public:
    // The result file's time of modification; invalid when there is none.
    static QDateTime Stamp(const QString& resultPath);

    struct Outcome {
        QString Status;         // for the status line
        QDateTime StaleResults; // the time of a result file that the run left unchanged
    };
    // The run ended with `exitCode` (ProgramRunner::NotFinished when it did not end by
    // itself); the result file had the time `before` when it started.
    static Outcome After(int exitCode, const QString& resultPath, const QDateTime& before);

    // Whether the result file is still the one that a calculation without results left.
    static bool FromEarlierRun(const QString& resultPath, const QDateTime& staleResults);

    static constexpr int StoppedExitCode = 4; // the solvers' exit code for Stop
    static QString DoneText() { return QStringLiteral("Calculation done"); }
    static QString StoppedText() {
        return QStringLiteral("Calculation stopped: no results were written");
    }
    static QString FailedText() {
        return QStringLiteral("Calculation failed: no results were written");
    }
    static QString EarlierResultsText() {
        return QStringLiteral("; the results beside the data come from an earlier run");
    }
};
