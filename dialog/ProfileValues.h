#pragma once

#include "StandardTable.h"
#include "UnitScale.h"

#include <QList>
#include <QStringList>
#include <optional>

// The characteristics of one cross-section in the data file's units.
struct SectionValues {
    QString Name;
    double A = 0, Iy = 0, Iz = 0, It = 0;
    // Tubes only: outer diameter and wall thickness.
    std::optional<double> D, T;
};

// Which values an item of table 3 holds for each problem type, and those values for a
// section: A I for beams and plane frames (I about the strong axis), A for trusses, I It for
// grillages, A It Iy Iz for space frames, D d for shaft lines (tubes only). Types whose
// sections are thicknesses take no profiles.
class ProfileValues {
public:
    static QStringList Columns(int problem);
    // Nothing when the section cannot serve the problem (a shaft needs a tube).
    static std::optional<QList<double>> ItemValues(int problem, const SectionValues& section);
    // A standard profile's characteristics converted into the file's units.
    static SectionValues FromRow(const StandardTable::Group& group, const StandardTable::Row& row,
                                 const UnitScale& units);
};
