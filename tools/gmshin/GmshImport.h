#pragma once

#include "DataFileText.h"
#include "DataFormat.h"
#include "GmshMesh.h"
#include "GroupMap.h"

#include <QString>
#include <QStringList>

// Puts a Gmsh mesh into the data file of a problem type. The elements the type computes with
// come in (triangles and quadrangles for the plane, axisymmetric, plate, shell and torsion
// types, tetrahedra, hexahedra and prisms for solids, lines for bars), their nodes numbered in
// the file's order; plane elements run counter-clockwise and solids have a positive volume.
// The group map gives the physical groups their roles: supports (table 6), loads (element
// loads of table 8 on a group of the elements themselves where the type has them, else nodal
// loads of table 7, a load per unit length or area shared consistently among the nodes),
// springs (table 13) and materials. The tables the import writes replace their items; the
// items of other tables that named the old nodes or elements are removed, and the result
// says which. Item 4 of table 1 rises to the highest load case the map uses.
class GmshImport {
public:
    struct Result {
        QString Error;       // empty when done; then the text holds the new data
        QStringList Written; // "table 6: 12 supports"
        QStringList Removed; // "Removed from table 9: 3 items that named the old mesh"
        int Nodes = 0;
        int Elements = 0;
    };
    // The dimension of the elements a problem type takes, or -1 when it takes no mesh.
    static int ElementDimension(int problem);

    static Result Apply(DataFileText& text, const DataFormat& format, const GmshMesh& mesh,
                        const GroupMap& map);
};
