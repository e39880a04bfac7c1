#pragma once

#include <QString>

// What the units of a data file's table 1 mean to the solvers.
namespace Units {

// The acceleration of gravity in the length unit per s^2, to turn unit weights into masses;
// lengths in metres unless the unit says otherwise.
double Gravity(const QString& lengthUnit);

} // namespace Units
