#pragma once

#include "GmshMesh.h"

#include <QByteArray>
#include <QString>

// Reads a Gmsh mesh file of format 4.1 or 2.2, ASCII or binary. A file that is cut short, whose
// counts do not fit its size, that holds an element type other than points, lines, triangles,
// quadrangles, tetrahedra, hexahedra and prisms of the first order, or a physical group that
// names nothing, is refused with the line (for binary data the section and byte offset) at
// fault. Every count is checked against the bytes left before anything is reserved, so a
// hostile file never makes the reader allocate more than its size can hold.
class GmshReader {
public:
    struct Result {
        bool Ok = false;
        QString Error; // "line 12: ..." or "$Nodes, byte 345: ..."
        GmshMesh Mesh;
    };
    // Larger files are refused before they are read.
    static constexpr qint64 MaxBytes = qint64(1) << 31;

    static Result Read(const QByteArray& bytes);
    // The name of an element type for messages: "a 6-node triangle (type 9)".
    static QString TypeName(int type);
};
