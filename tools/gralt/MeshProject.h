#pragma once

#include "MeshRegion.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The mesher's project file ("unnamed1.spj" while the mesher runs, "<data file base>.spj"
// beside it afterwards): the regions the user listed, read back on the next start.
//
//   Gralt project 1
//   ; x1 y1 x2 y2 x3 y3 x4 y4 divisions12 divisions23 material section
//   region 0 0 4 0 4 2 0 2 8 4 1 1
//
// The first line names the format; then one "region" line per region. Lines that start with
// ";" and blank lines are comments. Numbers use "." as decimal point. Lines end in CR LF.
class MeshProject {
public:
    struct Result {
        bool Ok = false;
        QString Error; // "line N: ..."
        std::vector<MeshRegion> Regions;
    };

    static QByteArray Write(const std::vector<MeshRegion>& regions);
    static Result Read(const QByteArray& bytes);
};
