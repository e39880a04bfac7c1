#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What one solver run produced: the answers as JSON, the readable protocol and the bytes of
// the result file (empty for the mathematics types, which have no viewer); or why the data
// cannot be solved.
struct SolverOutcome {
    bool Ok = false;
    QString Error;
    QJsonObject Json;
    QString Protocol;
    QByteArray ResultFile;

    static SolverOutcome Failure(const QString& error) {
        SolverOutcome outcome;
        outcome.Error = error;
        return outcome;
    }
};
