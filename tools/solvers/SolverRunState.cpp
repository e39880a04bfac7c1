#include "SolverRunState.h"

#include <QLocale>

QString SolverProgress::Count(qsizetype count) {
    return QLocale(QLocale::English).toString(count);
}

SolverRunState::SolverRunState() : stage(QStringLiteral("Starting")) {
    timer.start();
}

void SolverRunState::Stage(const QString& text) {
    const QMutexLocker lock(&mutex);
    stage = text;
}

bool SolverRunState::BeginWriting() {
    const QMutexLocker lock(&mutex);
    if (phase != Phase::Working)
        return false;
    phase = Phase::Writing;
    stage = QStringLiteral("Writing the results");
    return true;
}

void SolverRunState::Finish() {
    const QMutexLocker lock(&mutex);
    if (phase != Phase::Stopped)
        phase = Phase::Finished;
}

bool SolverRunState::RequestStop() {
    const QMutexLocker lock(&mutex);
    if (phase != Phase::Working)
        return false;
    phase = Phase::Stopped;
    stage = QStringLiteral("Stopped");
    return true;
}

SolverRunState::Phase SolverRunState::CurrentPhase() const {
    const QMutexLocker lock(&mutex);
    return phase;
}

QString SolverRunState::CurrentStage() const {
    const QMutexLocker lock(&mutex);
    return stage;
}

QString SolverRunState::ElapsedText(qint64 milliseconds) {
    const qint64 seconds = std::max<qint64>(0, milliseconds) / 1000;
    const qint64 hours = seconds / 3600, minutes = seconds / 60 % 60, rest = seconds % 60;
    const QString tail = QStringLiteral("%1").arg(rest, 2, 10, QChar(u'0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QChar(u'0')).arg(tail);
    return QStringLiteral("%1:%2").arg(minutes).arg(tail);
}
