#pragma once

#include "ProfileValues.h"

#include <QString>

// The characteristics of a section drawn in the section editor and stored as a ".geo" file:
// its area and principal moments, as the section editor's report gives them, converted from
// the file's unit into the data file's. The principal moments serve as Iy (the larger) and
// Iz; the torsion constant is not known and is left 0.
class SectionFileCharacteristics {
public:
    // Throws std::runtime_error with the section editor's message for an unreadable or bad
    // file, or one whose shapes give no section.
    static SectionValues Read(const QString& path, const UnitScale& units);
};
