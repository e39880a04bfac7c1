#pragma once

#include "DataFormat.h"

// The optional tables 20 to 30 of the dynamics files (space trusses, space frames and plates
// of the ".p" files, complex plane frames of type 8): damping, time functions, dynamic loads,
// ground motions, the harmonic, history and spectrum excitations, and the spectra. They follow
// table 9 in ascending order, each at most once; a file without them asks for the natural
// modes alone.
namespace DynamicTables {

// Adds tables 20 to 30 to `format`, a structural type's with its own tables, when it is the
// format of a dynamics file; other formats stay as they are.
void Add(DataFormat& format, bool dynamics);

} // namespace DynamicTables
