#pragma once

#include "GeomCW.h"
#include "ShapeGeometry.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Keeps the characteristics of the drawn section and the report text that the results panel
// shows. The window passes every shape in list order after drawing it; each call rewrites the
// whole report, so after the last shape it describes the whole section.
class SectionReport {
public:
    using AxesPainter = std::function<void(int index)>;

    // Adds the shape at `index` (0-based) and rewrites the report. Any failure clears the
    // report and returns false; the values keep what they had. `drawAxes` runs inside the same
    // guard, between the geometric and the sectorial lines, as the view's principal axes do.
    bool Recalc(const ShapeGeometry& shape, int index, char mode, const QString& unit,
                QChar decimalPoint, const AxesPainter& drawAxes = {},
                SectorialWork work = SectorialWork::Full);

    // Corners in the order the integrals expect: counter-clockwise for polygons.
    static std::array<double, 8> OrderedCorners(const ShapeGeometry& shape);

    // The report text. A repaint recalculates every shape but shows only the last report, so
    // the text is formatted when it is read, not on every call.
    const QStringList& Lines() const;
    const SectionResults& Values() const { return values_; }
    const GeomCW& Integrals() const { return integrals_; }
    void ClearLines();
    // Why the last failed call failed; empty after a successful one.
    const QString& LastError() const { return lastError_; }

private:
    // What the last successful call reported; the lines are made from it on demand.
    struct Snapshot {
        SectionResults values;
        QString unit;
        QChar decimalPoint;
        bool sectorial = false;
    };

    GeomCW integrals_;
    SectionResults values_;
    std::optional<Snapshot> snapshot_;
    mutable QStringList lines_;
    mutable bool linesCurrent_ = true;
    QString lastError_;
};
