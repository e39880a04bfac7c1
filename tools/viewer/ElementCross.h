#pragma once

#include <QPointF>
#include <QPolygonF>

// The room for a mark at an element's centre on screen (the cross of its principal stresses, a
// profile's shear arrow): the arms are as long as their values' share of the largest allows,
// which on a coarse or graded mesh is more than a small or slender element holds, so the mark
// shrinks as a whole until it stays inside its element's outline, keeping the ratio of its arms.
class ElementCross {
public:
    // The factor (0 to 1) for arms of half-lengths `along` in the direction `unit` and `across`
    // square to it, both symmetric about `centre`, to stay inside `outline` with a margin for
    // the pen.
    static double Fit(const QPolygonF& outline, const QPointF& centre, const QPointF& unit,
                      double along, double across);
    // How far the outline is from `from` in the direction `unit` (a unit vector): 0 when `from`
    // lies outside it.
    static double Reach(const QPolygonF& outline, const QPointF& from, const QPointF& unit);

    static constexpr double Margin = 2; // pixels kept clear of the outline
};
