#pragma once

#include "DataFileText.h"
#include "DataFormat.h"
#include "Mesh.h"

#include <QString>

// Puts a mesh into a data file: its nodes become the items of table 4 and its elements those
// of table 5 (corners, material and, where the problem type has sections, the section),
// replacing what the tables held; items 5 and 6 of table 1 give the new counts. Headings and
// every other table stay as they are.
namespace MeshTransfer {

// Returns what went wrong, or an empty text; on a fault the text is unchanged.
QString Apply(DataFileText& text, const DataFormat& format, const Mesh& mesh);

} // namespace MeshTransfer
