#pragma once

#include "DataFileText.h"
#include "DataFormat.h"
#include "Mesh.h"

#include <QString>
#include <QStringList>

// Puts a mesh into a data file: its nodes become the items of table 4 and its elements those
// of table 5 (corners, material and, where the problem type has sections, the section),
// replacing what the tables held; items 5 and 6 of table 1 give the new counts. Every node and
// element is new, so the items of the later tables that name nodes or elements (supports,
// loads, masses, contour nodes) would point at the wrong places: they are removed, and the
// result says which, so that the user gives them again. Headings and every other table stay
// as they are.
namespace MeshTransfer {

struct Result {
    QString Error; // empty when done; on a fault the text is unchanged
    // One line per table that lost items: "Removed from table 6 (they referred to nodes of
    // the old mesh): items 1, 2. Give them again."
    QStringList Removed;
};

Result Apply(DataFileText& text, const DataFormat& format, const Mesh& mesh);

} // namespace MeshTransfer
