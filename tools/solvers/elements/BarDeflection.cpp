#include "BarDeflection.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The deflection at x of a simply supported bar, times 6 EI L, and its end slopes.
struct Simple {
    double W = 0, SlopeI = 0, SlopeJ = 0;
    Simple& operator+=(const Simple& other) {
        W += other.W;
        SlopeI += other.SlopeI;
        SlopeJ += other.SlopeJ;
        return *this;
    }
};

// Of a unit force at s.
Simple Force(double s, double x, double L) {
    const double a = s, b = L - s;
    Simple line;
    line.W = x <= s ? b * x * (L * L - b * b - x * x)
                    : a * (L - x) * (L * L - a * a - (L - x) * (L - x));
    line.SlopeI = a * b * (L + b);
    line.SlopeJ = -a * b * (L + a);
    return line;
}

// Of a unit moment at s: the change of the force's line as its point moves.
Simple Couple(double s, double x, double L) {
    const double b = L - s;
    Simple line;
    line.W = x <= s ? -x * (L * L - 3 * b * b - x * x)
                    : (L - x) * (L * L - 3 * s * s - (L - x) * (L - x));
    line.SlopeI = -(L * L - 3 * b * b);
    line.SlopeJ = -(L * L - 3 * s * s);
    return line;
}

// A simply supported bar's line made to hold the ends that are not hinged: the cubic that
// turns them back (a moment at each, varying linearly along the bar).
double Held(const Simple& line, double bending, double length, int hinges, double xi) {
    const double scale = 1 / (6 * bending * length);
    return scale *
           (line.W + BarDeflection::Across(0, -line.SlopeI, 0, -line.SlopeJ, length, hinges, xi));
}

} // namespace

double BarDeflection::Across(double wI, double slopeI, double wJ, double slopeJ, double length,
                             int hinges, double xi) {
    const double rise = wJ - wI;
    const bool hingeI = hinges == 1 || hinges == 3, hingeJ = hinges == 2 || hinges == 3;
    if (hingeI && hingeJ)
        return wI + rise * xi;
    if (hingeI) {
        // w = wI + b xi + d xi^3: no curvature at i, the slope of end j.
        const double d = (slopeJ * length - rise) / 2;
        return wI + (rise - d) * xi + d * xi * xi * xi;
    }
    if (hingeJ) {
        const double eta = 1 - xi;
        const double d = (rise - slopeI * length) / 2;
        return wJ + (-rise - d) * eta + d * eta * eta * eta;
    }
    const double x2 = xi * xi, x3 = x2 * xi;
    return (1 - 3 * x2 + 2 * x3) * wI + (xi - 2 * x2 + x3) * length * slopeI +
           (3 * x2 - 2 * x3) * wJ + (x3 - x2) * length * slopeJ;
}

double BarDeflection::Loaded(double load, double bending, double length, int hinges, double xi) {
    if (load == 0 || !(bending > 0))
        return 0;
    const bool hingeI = hinges == 1 || hinges == 3, hingeJ = hinges == 2 || hinges == 3;
    const double factor = load * length * length * length * length / (24 * bending);
    if (hingeI && hingeJ)
        return factor * (xi - 2 * xi * xi * xi + xi * xi * xi * xi);
    if (hingeI || hingeJ) {
        const double x = hingeI ? xi : 1 - xi;
        return factor * (2 * x * x * x * x - 3 * x * x * x + x) / 2;
    }
    return factor * xi * xi * (1 - xi) * (1 - xi);
}

double BarDeflection::Point(double force, double moment, double at, double bending, double length,
                            int hinges, double xi) {
    if ((force == 0 && moment == 0) || !(bending > 0) || !(length > 0))
        return 0;
    const double x = xi * length;
    Simple line;
    const Simple f = Force(at, x, length), m = Couple(at, x, length);
    line.W = force * f.W + moment * m.W;
    line.SlopeI = force * f.SlopeI + moment * m.SlopeI;
    line.SlopeJ = force * f.SlopeJ + moment * m.SlopeJ;
    return Held(line, bending, length, hinges, xi);
}

double BarDeflection::Partial(double from, double to, double a, double b, double bending,
                              double length, int hinges, double xi) {
    if ((from == 0 && to == 0) || !(bending > 0) || !(b > a))
        return 0;
    const double x = xi * length;
    // The force's line is a polynomial of its point on either side of x: three Gauss points
    // integrate each side exactly.
    const double gauss[3] = {-std::sqrt(0.6), 0, std::sqrt(0.6)};
    const double weight[3] = {5.0 / 9, 8.0 / 9, 5.0 / 9};
    Simple line;
    for (const auto& [lo, hi] : {std::pair{a, std::min(x, b)}, std::pair{std::max(x, a), b}}) {
        if (!(hi > lo))
            continue;
        for (int g = 0; g < 3; ++g) {
            const double s = (lo + hi) / 2 + gauss[g] * (hi - lo) / 2;
            const double q = from + (to - from) * (s - a) / (b - a);
            Simple f = Force(s, x, length);
            const double w = q * weight[g] * (hi - lo) / 2;
            f.W *= w;
            f.SlopeI *= w;
            f.SlopeJ *= w;
            line += f;
        }
    }
    return Held(line, bending, length, hinges, xi);
}
