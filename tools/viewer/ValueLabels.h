#pragma once

#include "LabelPlacer.h"

#include <QColor>
#include <QLineF>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QVector>
#include <vector>

class QPainter;

// The values written over a drawing, each on a white box, never over another; the largest
// first, so that where not all fit the extremes are the ones shown. A value may bring a mark of
// its own (a reaction's arrow), drawn only together with it and never under another value: a
// block on a thousand supports shows the reactions that find room, not a heap of them. Marks
// may cross each other (the arrows of one support meet at its node).
class ValueLabels {
public:
    struct Mark {
        QVector<QLineF> Lines;
        std::vector<QPolygonF> Heads; // filled
        bool Empty() const { return Lines.isEmpty() && Heads.empty(); }
    };
    struct Text {
        double Value = 0;
        QPointF At, Away; // where it goes, and which way it moves when that spot is taken
        QString Prefix;   // "Rz = " before the number
        QColor Colour;
        Mark With; // drawn in the same colour, and only with the value
        // Beside a mark: the way the box reaches from At (it starts there, so that it stays
        // off the mark); none: centred at At. And the spots tried along Away.
        QPointF Along = {};
        int Tries = LabelPlacer::Attempts;
    };

    // Values tried for a spot on screen, the largest first: a window holds a few thousand, so
    // more than this never find room.
    static constexpr int Tries = 8000;

    ValueLabels(QPainter& painter, const QRect& area);

    void Reserve(const QRectF& box);
    int Count() const { return placer_.Count(); }
    // The boxes of the values written and of the marks drawn (within the area): no value's box
    // meets another's or a mark's.
    const std::vector<QRectF>& Written() const { return written_; }
    const std::vector<QRectF>& Marked() const { return marked_; }

    // Writes as many of `texts` as find room, the largest first, with their marks.
    void Place(std::vector<Text>& texts);

    // A support force: an arrow that points the way the support pushes (`direction`, a unit
    // vector on screen) and ends a little off the node at `node`, clear of the support's
    // symbol; its value beyond the tail.
    static Text Force(double value, const QPointF& node, const QPointF& direction,
                      const QString& prefix, const QColor& colour);
    // An arrow head at `tip` pointing along the unit vector `unit`.
    static QPolygonF Head(const QPointF& tip, const QPointF& unit);
    static void Draw(QPainter& painter, const Mark& mark, const QColor& colour);

private:
    // The boxes a mark covers: short pieces of its lines, so that a slanting arrow claims its
    // own strip and not the square around it.
    static std::vector<QRectF> Boxes(const Mark& mark);

    QPainter& painter_;
    LabelPlacer placer_; // values, marks and what is reserved: where a value may go
    LabelPlacer values_; // values and what is reserved: where a mark may go
    QFontMetricsF metrics_;
    std::vector<QRectF> written_, marked_;
};
