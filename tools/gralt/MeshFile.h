#pragma once

#include "Mesh.h"

#include <QByteArray>
#include <QString>

// The mesh the mesher hands to its follow-up ("unnamed1.d13" in the toolset's data folder):
// tables 4 and 5 as a data file holds them, then optionally the tables after 5 that name its
// nodes (supports or contour nodes, nodal loads, ...) in ascending order, each at most once.
//
//   Mesh of 2 regions: 15 nodes, 8 elements
//   *4 Nodes
//   #  1           0          0
//   *5 Elements
//   #  1      1     2     5     4     1     1      (n1 n2 n3 n4 material section)
//   *6 Supports
//   #  1      1     1     1                       (node and codes, as the type's table 6)
//   *7 Nodal loads
//   #  1      1     3    2.5     0                (case node and components)
//   &
//
// The file does not know the problem type: the values of the later tables are checked against
// the data file's format when they are put into it.
class MeshFile {
public:
    struct Result {
        bool Ok = false;
        QString Error; // "line N: ..."
        Mesh Mesh_;
        std::vector<int> NodeLines;    // the line, from 1, of each node's item
        std::vector<int> ElementLines; // and of each element's
    };

    static QByteArray Write(const Mesh& mesh, const QString& title);
    static Result Read(const QByteArray& bytes);
};
