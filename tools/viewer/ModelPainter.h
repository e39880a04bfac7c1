#pragma once

#include "SolidSection.h"
#include "ViewCamera.h"
#include "ViewerModel.h"

#include <QRect>

class QPainter;

// Draws a model as the camera sees it: elements as lines, nodes as dots, supports as
// triangles under their nodes (filled when every displacement is fixed), the loads of one
// load case as arrows (forces; moments as arcs) with their values, the springs,
// foundations, imposed displacements, temperatures and self-weight of the optional tables (see
// MarkPainter), and node and element numbers on request. A large model is drawn without
// antialiasing, and numbers are left out when more than `MaxLabels` of them would be on screen.
class ModelPainter {
public:
    struct Options {
        int LoadCase = 1; // 0: no loads
        bool Supports = true;
        bool NodeNumbers = false;
        bool ElementNumbers = false;
        bool Faint = false; // light grey, under results drawn on top
        bool Mesh = true;   // the elements and nodes; not under contours that cover them
        const SolidSection* Section = nullptr; // a solid cut open, or null
    };
    struct Report {
        bool LabelsLeftOut = false; // too many numbers on screen: zoom in to see them
        int LoadsDrawn = 0;
    };

    static constexpr int MaxLabels = 4000;
    static constexpr int SmoothEdges = 20000; // antialiased up to this many edges

    static Report Paint(QPainter& painter, const QRect& area, const ViewerModel& model,
                        const ViewCamera& camera, const Options& options);
    // The node and element numbers alone (Paint draws them too), over results drawn on the
    // model; returns whether there were too many to draw.
    static bool PaintNumbers(QPainter& painter, const QRect& area, const ViewerModel& model,
                             const ViewCamera& camera, const Options& options);
};
