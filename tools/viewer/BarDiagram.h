#pragma once

#include <QPointF>
#include <QPolygonF>
#include <optional>
#include <vector>

// The ordinates of a section force along a bar: linear between the end values, and for a
// bending moment under an even load the parabola on top of that line whose ordinate at
// midspan is bulge · L² / 8 (bulge: the load across the bar per unit length, signed as the
// quantity's convention asks). A simply supported beam under q: ends 0 and 0, bulge q, so
// q L² / 8 at midspan.
class BarDiagram {
public:
    // The value at xi (0 at end i, 1 at end j).
    static double At(double valueI, double valueJ, double bulge, double length, double xi);
    // Where within the bar (0 < xi < 1) the parabola has its extreme, if it has one there.
    static std::optional<double> ExtremeAt(double valueI, double valueJ, double bulge,
                                           double length);
    struct Station {
        double Xi = 0;
        double Value = 0;
    };
    // `count` + 1 evenly spaced stations from end i to end j, with a station of value 0 added
    // where the diagram changes sign between two of them.
    static std::vector<Station> Stations(double valueI, double valueJ, double bulge, double length,
                                         int count);
    // The same stations with one of value 0 added where the diagram changes sign between two
    // of them (linearly between them); two stations at one place are a jump.
    static std::vector<Station> WithZeros(const std::vector<Station>& stations);

    // The outline on screen of the part of one sign (positive: values above 0, else below):
    // from `start` along the bar to `end`, each value drawn `side` × value away from the bar
    // (values of the other sign lie on the bar), and back along the bar. Empty when no value
    // has that sign.
    static QPolygonF Outline(const QPointF& start, const QPointF& end, const QPointF& side,
                             const std::vector<Station>& stations, bool positive);
};
