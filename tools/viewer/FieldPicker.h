#pragma once

#include "FieldLayout.h"
#include "SolidSection.h"
#include "ViewCamera.h"
#include "ViewerModel.h"

#include <QPointF>
#include <QString>

// What a click on a continuum's drawing hits: the nearest node within a few pixels, else the
// element under the pointer (the nearest to the viewer where a shell's overlap); and its values
// in words for the status line.
class FieldPicker {
public:
    struct Pick {
        int Node = -1;    // counted from 0
        int Element = -1; // counted from 0
        bool Hit() const { return Node >= 0 || Element >= 0; }
    };
    static constexpr double Reach = 6; // pixels round a node

    static Pick At(const ViewerModel& model, const ViewCamera& camera, const QPointF& point);
    // A solid: the node nearest the pointer of the face under it, nearest the viewer, of its
    // surface or of its cut (the node nearer the point of the cut), with the nodes at `nodes`
    // (the model's, or displaced as drawn); the face's element too.
    static Pick AtSolid(const ViewerModel& model, const ViewCamera& camera, const QPointF& point,
                        const SolidSection* section, const std::vector<ViewerModel::Point>& nodes);
    // "Node 5: ux = 0.0001 m, uz = ...; sx = 12.5 kN/m², ..." or "Element 3 (centre): ...";
    // the values of load case `entry`.
    static QString Describe(const Pick& pick, const ViewerModel& model, const FieldResults& results,
                            const FieldLayout& layout, int entry);
    // The same for natural mode `entry` of a mesh: "Node 5: uz = 0.83, rx = ..."; a motion
    // of forced vibrations in the shapes' place is in the model's units, not `scaled`.
    static QString Describe(const Pick& pick, const ViewerModel& model,
                            const ResultFile::Shapes& shapes, int entry, bool scaled = true);
};
