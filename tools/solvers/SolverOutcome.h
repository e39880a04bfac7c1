#pragma once

#include "SolverError.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What one solver run produced: the answers as JSON, the readable protocol and the bytes of
// the result file (empty for the mathematics types, which have no viewer). A run that cannot
// solve its data throws SolverError instead.
struct SolverOutcome {
    QJsonObject Json;
    QString Protocol;
    QByteArray ResultFile;
};
