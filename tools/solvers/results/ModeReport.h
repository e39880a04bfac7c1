#pragma once

#include "PencilModes.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <vector>

// The shapes of natural modes and of buckling for people and programs, whatever the model:
// one row per node of the components the type keeps.
namespace ModeReport {

// [[node, c1, c2, ...], ...] for a shape of `width` components per node.
QJsonArray ShapeJson(const std::vector<double>& shape, int width);
// The protocol's table of a shape, headed by the component names.
QString ShapeText(const std::vector<double>& shape, const QStringList& components);
// The protocol's table of the frequencies of the modes found (lambda = omega^2), lowest
// first, appended to `text`, after a note when fewer than the `wanted` exist. Returns the
// index of the first whose frequency is not a finite positive number (nothing of it or after
// it is written), or -1.
int FrequencyTable(const std::vector<PencilModes::Mode>& modes, int wanted, QString& text);

} // namespace ModeReport
