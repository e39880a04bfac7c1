#pragma once

#include <QString>

// What a solver tells the one who started it while it works: the stage it has reached, and
// the moment before it writes its first file. The analyses report a handful of stages per run
// (never per element or per equation), so reporting costs nothing against the work itself.
class SolverProgress {
public:
    virtual ~SolverProgress() = default;

    // The solver has begun a stage ("Reading the data", "Load case 2").
    virtual void Stage(const QString& text) = 0;
    // Called once before the result file and the protocol are written. False when the run
    // has been stopped: then nothing at all is written, and whoever stopped the run records
    // it. After true the run can no longer be stopped and writes its files to the end.
    virtual bool BeginWriting() = 0;

    // A stage for a progress that may be absent.
    static void Report(SolverProgress* progress, const QString& text) {
        if (progress)
            progress->Stage(text);
    }
    // A count as the stages show it: "3,012".
    static QString Count(qsizetype count);
};
