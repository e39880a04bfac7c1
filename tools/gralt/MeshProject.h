#pragma once

#include "EdgeCondition.h"
#include "MeshRegion.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The mesher's project file ("unnamed1.spj" while the mesher runs, "<data file base>.spj"
// beside it afterwards): the regions and edge conditions the user listed, read back on the next
// start.
//
//   Gralt project 2
//   ; x1 y1 x2 y2 x3 y3 x4 y4 divisions12 divisions23 material section
//   region 0 0 4 0 4 2 0 2 8 4 1 1
//   ; support region side-or-corner codes / pressure|global region side case values
//   support 1 1-2 1 1
//   pressure 1 2-3 1 10 0
//
// The first line names the format; then one "region" line per region and one line per edge
// condition (see EdgeTexts), which name the regions by their number. Version 1 projects,
// which hold regions only, read as well. Lines that start with ";" and blank lines are
// comments. Numbers use "." as decimal point. Lines end in CR LF.
class MeshProject {
public:
    struct Result {
        bool Ok = false;
        QString Error; // "line N: ..."
        std::vector<MeshRegion> Regions;
        std::vector<EdgeCondition> Conditions;
    };

    static QByteArray Write(const std::vector<MeshRegion>& regions,
                            const std::vector<EdgeCondition>& conditions = {});
    static Result Read(const QByteArray& bytes);
};
