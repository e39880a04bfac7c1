#pragma once

#include "DataFileText.h"
#include "DataFormat.h"
#include "Mesh.h"

#include <QString>
#include <QStringList>

// Puts a mesh into a data file: its nodes become the items of table 4 and its elements those
// of table 5 (corners, material and, where the problem type has sections, the section),
// replacing what the tables held; items 5 and 6 of table 1 give the new counts. The later
// tables the mesh brings (supports, nodal loads, contour nodes made for its nodes) replace the
// items of those tables. Every node and element is new, so the items of the other later
// tables that name nodes or elements would point at the wrong places: they are removed, and
// the result says which, so that the user gives them again. Headings and every other table
// stay as they are.
//
// The nodes are checked against table 4 of the type before anything changes, by the rules the
// checker reads them with (the range a coordinate may have, a radius not below 0), and so are
// the sizes of the elements (too small or too large to compute with), so that a mesh the
// checker would refuse for its geometry never reaches the file.
//
// The mesh's tables are checked against the problem type before anything changes: the table
// must be one of the type's, its items as wide as the type's, nodes in the mesh, codes and
// whole numbers as the type wants them, and load cases within item 4 of table 1 (a load case
// beyond it is refused rather than item 4 raised, since other loads of the file may depend on
// the number of cases).
namespace MeshTransfer {

struct Result {
    QString Error; // empty when done; on a fault the text is unchanged
    // One line per table that lost items: "Removed from table 6 (they referred to nodes of
    // the old mesh): items 1, 2. Give them again."
    QStringList Removed;
    // One text per table the mesh brought: "table 6: 12 supports".
    QStringList Written;
    // One line per table whose items the mesh's replaced: "Replaced in table 7 by the mesh's
    // (they referred to nodes of the old mesh): item 1. Give them again." Whether they were
    // the mesher's own from an earlier run or given by hand, the file cannot tell; the mesher
    // asks about them when it starts from a hand-made mesh.
    QStringList Replaced;
    // The node, counted from 0, whose coordinates table 4 does not take; -1 when none.
    int FaultyNode = -1;
    // The element, counted from 0, too small or too large to compute with; -1 when none.
    int FaultyElement = -1;
};

Result Apply(DataFileText& text, const DataFormat& format, const Mesh& mesh);

} // namespace MeshTransfer
