#pragma once

#include "BarAxes.h"

#include <QString>
#include <QStringList>
#include <vector>

// A section force the viewer draws along the bars: where its end values lie among the
// element forces of the result file, how an even load bends its diagram, and to which side of
// the bar its positive values are drawn. Moments go to the side of the fibres they put in
// tension; forces to the left of the bar (above a bar drawn from left to right), upwards in a
// grillage.
struct ResultQuantity {
    QString Name;                 // "M"
    QString Title;                // "Bending moment M"
    int ColumnI = 0, ColumnJ = 0; // in the forces of an element; equal for a truss's N
    bool Moment = false;          // force · length
    bool PerLength = false;       // per unit length (of a shell's circumference)
    // The diagram's parabola: bulge = BulgeSign · (the load's local component BulgeAxis).
    int BulgeAxis = -1; // 0 x, 1 y, 2 z; -1: linear
    double BulgeSign = 0;
    // The world side of positive values, in local axes (x, y, z), or along global z.
    BarAxes::Vec3 Side{0, 0, 1};
    bool GlobalSide = false;

    // The quantities of the force names of a result file ("Ni", "Vi", "Mi", "Nj", ...).
    static std::vector<ResultQuantity> For(const QStringList& forceNames,
                                           ProblemType::Layout frame);
};
