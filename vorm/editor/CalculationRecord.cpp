#include "CalculationRecord.h"

#include <QFileInfo>

QDateTime CalculationRecord::Stamp(const QString& resultPath) {
    const QFileInfo info(resultPath);
    return info.isFile() ? info.lastModified() : QDateTime();
}

CalculationRecord::Outcome CalculationRecord::After(int exitCode, const QString& resultPath,
                                                    const QDateTime& before) {
    if (exitCode == 0)
        return {DoneText(), {}};
    // Compared for change rather than against the start: file times may be coarser than the
    // clock, and a result file written meanwhile by another window's run is new all the same.
    const QDateTime after = Stamp(resultPath);
    Outcome outcome;
    outcome.Status = exitCode == StoppedExitCode ? StoppedText() : FailedText();
    if (after.isValid() && after == before) {
        outcome.Status += EarlierResultsText();
        outcome.StaleResults = after;
    }
    return outcome;
}

bool CalculationRecord::FromEarlierRun(const QString& resultPath, const QDateTime& staleResults) {
    return staleResults.isValid() && Stamp(resultPath) == staleResults;
}
