#pragma once

#include "ContourScale.h"
#include "ResultChoice.h"
#include "SolidSection.h"
#include "ViewCamera.h"
#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QRect>
#include <QRectF>
#include <QStringList>
#include <utility>
#include <vector>

class QPainter;

// Draws the results over the model (which ModelPainter has drawn faintly): the deformed or
// mode shape over the undeformed bars, or the diagram of one section force along every bar
// (filled, blue positive, red negative, with its values at the ends and at an extreme within
// the bar), the reactions as arrows with their values, and the caption in the top left corner.
class ResultPainter {
public:
    struct Options {
        int Entry = 0; // load case, mode or buckling shape (index into ResultChoice::Entries)
        int Show = 0;  // 0 the deformed shape, k the diagram of quantity k - 1
        bool Reactions = true;
        bool Values = true;
        bool Arrows = false; // a continuum's principal stresses, a profile's shear stresses
        const SolidSection* Section = nullptr; // a solid cut open, or null
        // An entry of forced vibrations: the motion drawn at its instant or phase, drawn as a
        // mode shape is, but to one scale for its whole excitation.
        struct Motion {
            ForcedMotion::Frame Frame;
            double LargestMove = 0;
            std::pair<double, double> Range; // of the component a plate's contours show
            QStringList Caption;
        };
        const Motion* Forced = nullptr;
        // The share of a shape's displacements drawn: a frame of its animation; 1 at rest.
        // The caption keeps the full shape's magnification.
        double Amplitude = 1;
    };
    struct Report {
        double Deformation = 0;     // the magnification of the displacements drawn
        double LargestOrdinate = 0; // of the diagram drawn, in its unit
        int LabelsDrawn = 0;
        // The boxes of the values written and of the reactions' arrows drawn with them.
        std::vector<QRectF> LabelBoxes, MarkBoxes;
        QStringList Caption;
        ContourScale Contours; // the bands of a continuum's field drawn, if any
        int ArrowsDrawn = 0;
    };

    static constexpr int Segments = 16; // pieces of a curved bar or diagram
    // More supports than this draw their reactions on request only; for plates and shells,
    // whose supports line whole edges and whose arrows would lie over the surface, fewer.
    static constexpr int ManySupports = 100;
    static constexpr int ManyEdgeSupports = 16;
    // Whether the reactions are drawn as the results open: a solid's crowd round its base and
    // cover it, so they come on request only.
    static bool ReactionsAtFirst(const ViewerModel& model, const FieldLayout* field);
    static constexpr int LargeModel = 20000; // bars: thin lines, no antialiasing, no dots
    static constexpr int OnePath = 1000;     // bars whose diagram is filled as one shape

    // The caption's framed box in the top left corner, the first line bold.
    static QRectF CaptionBox(const QPainter& painter, const QRect& area, const QStringList& lines);
    static void DrawCaption(QPainter& painter, const QRect& area, const QStringList& lines);

    static Report Paint(QPainter& painter, const QRect& area, const ViewerModel& model,
                        const ProblemType& type, const ViewerResults& results,
                        const ResultChoice& choice, const ViewCamera& camera,
                        const Options& options);
};
