#pragma once

#include "FieldResults.h"

#include <QJsonObject>
#include <QString>

// The answers of a continuum model for people and programs: the JSON of `SOLVER --json` and
// the tables of the protocol, with the units of the data file.
namespace FieldReport {

// "components", "stressNames" and "cases" with displacements, reactions, stresses and
// nodeStresses.
QJsonObject Json(const FieldResults& results);
// The tables of every load case: displacements, reactions, stresses at the element centres and
// at the nodes. `reactionNote` says what the reactions are per (a ring load's unit); `what`
// names the element results ("Stresses", "Moments and shear forces").
QString Tables(const FieldResults& results, const QString& forceUnit, const QString& lengthUnit,
               const QString& reactionNote, const QString& what = QStringLiteral("Stresses"));
// Empty when every number of the results is finite; otherwise what is not.
QString NonFinite(const FieldResults& results);

} // namespace FieldReport
