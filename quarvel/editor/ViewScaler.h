#pragma once

#include <QChar>
#include <QString>

// The view figures that follow from the Max Width: the world width the drawing area spans.
struct ViewFigures {
    double Decade = 1.0;   // power of ten that keeps the tick count manageable
    int TickStep = 1;      // pixels between ruler ticks, at least 1
    double Scale = 1.0;    // world units per pixel, positive
    double MaxWidth = 1.0; // the Max Width these figures were worked out for
};

// Works out the scale and the ruler spacing so that ticks fall on round world values: one
// tick is worth Decade / v world units, v a power of ten (or five times one).
class ViewScaler {
public:
    // Throws SectionError with the message for the user when the Max Width cannot give a
    // view: not a number, zero or negative (one message for both), or one that leaves no room
    // between ticks.
    static ViewFigures Compute(int drawWidth, const QString& maxWidthText, QChar decimalPoint);
    // The Max Width as a number; throws as above when it is not one.
    static double MaxWidth(const QString& maxWidthText, QChar decimalPoint);
};
