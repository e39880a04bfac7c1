#include "Units.h"

double Units::Gravity(const QString& lengthUnit) {
    const QString unit = lengthUnit.toLower();
    if (unit == QLatin1String("cm"))
        return 980.665;
    if (unit == QLatin1String("mm"))
        return 9806.65;
    if (unit == QLatin1String("dm"))
        return 98.0665;
    return 9.80665;
}
