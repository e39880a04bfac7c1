#pragma once

#include "TorsionAnalysis.h"

#include <QJsonObject>
#include <QString>

struct MeshModel;

// The answers of a torsion analysis for people and programs: the JSON of `Brasko --json` and
// the protocol, in the units of the data file.
namespace TorsionReport {

QJsonObject Json(const TorsionAnalysis::Answer& answer);
QString Protocol(const MeshModel& model, const TorsionAnalysis::Answer& answer);

} // namespace TorsionReport
