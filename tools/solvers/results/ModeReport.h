#pragma once

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
// The heading of the protocol's list of frequencies, and one line of it.
QString FrequencyHeading();
QString FrequencyLine(int mode, double frequency, double omega);

} // namespace ModeReport
