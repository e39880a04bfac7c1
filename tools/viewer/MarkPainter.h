#pragma once

#include "ModelMarks.h"
#include "SolidSection.h"
#include "ViewCamera.h"

#include <QRect>
#include <vector>

class QPainter;

// Draws the supports and loads of the optional tables beside the model: springs as zigzags
// (turning springs as spirals) to a hatched ground, imposed displacements as hollow-headed
// arrows from their node (imposed turns as arcs), temperatures as red dots with their values,
// elastic foundations as a hatched line under the bar or a ground mark under the plate
// element, and self-weight as an arrow "g" in the corner of the window. Springs and
// foundations hold in every case; the others are those of `loadCase` (0: none).
class MarkPainter {
public:
    struct Options {
        int LoadCase = 1;
        bool Supports = true;
        bool Labels = true;
        const SolidSection* Section = nullptr;
    };
    // Returns how many marks it drew.
    static int Paint(QPainter& painter, const QRect& area, const std::vector<ModelMark>& marks,
                     const ViewCamera& camera, const Options& options);
};
