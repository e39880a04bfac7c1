#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <vector>

// A design response spectrum: the acceleration Sa(T) that a structure of one degree of freedom
// with the period T (s) reaches under the design ground motion, in the model's acceleration
// unit; each mode's peak follows from it. Either a table of the user's, linear between its
// points, or the horizontal elastic response spectrum of EN 1998-1:2004, 3.2.2.2.
class DesignAcceleration {
public:
    // Points (T, Sa) with T increasing; empty and `fault` set ("the periods do not increase
    // at point 3") when they cannot be a spectrum.
    static DesignAcceleration Table(std::vector<std::pair<double, double>> points, QString& fault);

    // EN 1998-1:2004: spectrum type 1 (the larger earthquakes) or 2, ground type A to E
    // (table 3.2 or 3.3 gives S, TB, TC, TD), the design ground acceleration on ground A
    // (ag = gamma_I agR, in the acceleration unit wanted), the viscous damping ratio (0.05:
    // eta = 1; eta = sqrt(10 / (5 + 100 ratio)), at least 0.55). The standard gives the
    // spectrum to 4 s; beyond, its branch in 1 / T^2 goes on.
    struct Code {
        int Type = 1;
        char Ground = 'A';
        double Ag = 0;
        double Damping = 0.05;
    };
    static DesignAcceleration Eurocode(const Code& code, QString& fault);

    bool Empty() const { return points_.empty() && !code_; }
    // Sa at T; a table gives its first value before its first period and its last beyond its
    // last (Covers says whether T is within).
    double At(double period) const;
    bool Covers(double period) const;

private:
    std::vector<std::pair<double, double>> points_;
    struct Parameters {
        double Ag = 0, S = 1, Eta = 1, TB = 0, TC = 0, TD = 0;
    };
    std::optional<Parameters> code_;
};
