#pragma once

#include "BarAxes.h"
#include "ProblemType.h"
#include "ResultLayout.h"

#include <QString>
#include <vector>

// A section force the viewer draws along the bars: where its end values lie among the
// element forces of the result file, how an even load bends its diagram, and to which side of
// the bar its positive values are drawn. Moments go to the side of the fibres they put in
// tension; forces to the left of the bar (above a bar drawn from left to right), upwards in a
// grillage.
struct ResultQuantity {
    QString Name;                 // "M"
    QString Title;                // "Bending moment M", as the file gives it
    int ColumnI = 0, ColumnJ = 0; // in the forces of an element; equal for a truss's N
    ResultColumn::Quantity What = ResultColumn::Quantity::Force; // and so its unit
    // Which of the bar's six local section forces this is (forces along x, y, z, then moments
    // about x, y, z, as the part beyond a section exerts them on the part from end i) and with
    // which sign, so that the loads between the ends shape the diagram; -1: straight between
    // the ends.
    int Component = -1;
    double Sign = 0;
    // The world side of positive values, in local axes (x, y, z), or along global z.
    BarAxes::Vec3 Side{0, 0, 1};
    bool GlobalSide = false;

    bool Moment() const {
        return What == ResultColumn::Quantity::Moment ||
               What == ResultColumn::Quantity::MomentPerLength;
    }

    // The quantities of the element forces of a result file of a bar structure or a shell of
    // revolution of `type`: a column of the whole element (a truss's N), or the two of a force
    // at end i and end j, which share its title and quantity. A force of a name the viewer
    // does not know is drawn as the file names it, its positive values on the side of local z.
    static std::vector<ResultQuantity> For(const ResultLayout& forces, const ProblemType& type);
};
