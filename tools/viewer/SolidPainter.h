#pragma once

#include "ContourScale.h"
#include "SolidSection.h"
#include "ViewCamera.h"
#include "ViewerModel.h"

#include <QRect>

class QPainter;

// Draws a solid by its outer surface, the farthest faces first: shaded by how squarely each
// faces the viewer, or one field as filled contour bands; cut open by a section, the cut
// filled the same way and the kept part's surface round it. Where the viewer looks at the cut
// it covers what lies behind it and is drawn last, with the elements' outlines on it;
// otherwise the kept part's surface covers it. The element edges are drawn while the faces
// are large enough on the screen to show them.
class SolidPainter {
public:
    using Point = ViewerModel::Point;

    // The surface with the nodes at `nodes` (the model's, or displaced).
    static void DrawShaded(QPainter& painter, const QRect& area, const ViewerModel& model,
                           const std::vector<Point>& nodes, const SolidSection* section,
                           const ViewCamera& camera, bool edges);
    // A field known at the nodes, over the undeformed surface.
    static void DrawContours(QPainter& painter, const QRect& area, const ViewerModel& model,
                             const SolidSection* section, const std::vector<double>& values,
                             const ContourScale& scale, const ViewCamera& camera, bool edges);

    // Whether the viewer sees the cut's face (the hidden part lies between them).
    static bool CutFacesViewer(const SectionPlane& plane, const ViewCamera& camera);
    // The mean size of the outer faces on the screen, in pixels.
    static double FacePixels(const ViewerModel& model, const ViewCamera& camera);
};
