#pragma once

#include "SolverProgress.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>

// The state of one solver run as its window shows it, shared between the thread that solves
// and the window's thread: the stage reached, the time since the start and whether the run
// may still be stopped. A run is stopped only while it calculates: once it writes its files
// it finishes them, so that a stop never leaves a half-written or a fresh result file.
class SolverRunState : public SolverProgress {
public:
    enum class Phase { Working, Writing, Finished, Stopped };

    SolverRunState();

    void Stage(const QString& text) override;
    bool BeginWriting() override;

    // The run has ended on its own (solved or refused).
    void Finish();
    // True when the run was still calculating: it is stopped from now on and the caller ends
    // it (writes no result file, says so in the protocol). False while writing or after the
    // end: then nothing changes.
    bool RequestStop();

    Phase CurrentPhase() const;
    QString CurrentStage() const;
    bool CanStop() const { return CurrentPhase() == Phase::Working; }
    qint64 ElapsedMilliseconds() const { return timer.elapsed(); }

    // "0:07", "12:30", "1:02:03": minutes and seconds, with hours once there are any.
    static QString ElapsedText(qint64 milliseconds);

private:
    mutable QMutex mutex;
    Phase phase = Phase::Working;
    QString stage;
    QElapsedTimer timer;
};
