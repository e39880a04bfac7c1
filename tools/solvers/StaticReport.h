#pragma once

#include "BarModel.h"
#include "StaticResults.h"

#include <QJsonObject>
#include <QString>

// The answers of a static analysis for people and programs: the JSON of `SOLVER --json` and
// the text of the protocol, with the units of the data file.
namespace StaticReport {

QJsonObject Json(const StaticResults& results);
QString Protocol(const QString& title, const QString& typeName, const BarModel& model,
                 const StaticResults& results);

// A number as the protocol prints it: 12 characters, 5 significant digits.
QString Number(double value);

} // namespace StaticReport
