#pragma once

#include <array>
#include <vector>

// Characteristics of everything added since the last reset. Yc, Zc: centroid; I1 >= I2: principal
// moments; Alpha: degrees from the Y axis to the axis of I1; F: area; Yo, Zo: shear centre and
// Jw: warping constant, as left by the last sectorial pass.
struct SectionResults {
    double Yc = 0, Zc = 0, I1 = 0, I2 = 0, Alpha = 0, F = 0, Yo = 0, Zo = 0, Jw = 0;
};

// One straight plate strip of a thin-walled open section, read from a quadrangle in mode 'S'.
struct WallElement {
    double ya = 0, za = 0;           // start of the midline (middle of the first side)
    double yb = 0, zb = 0;           // end of the midline (middle of the third side)
    double omegaA = 0, omegaB = 0;   // sectorial coordinate at start and end, pole halfway
                                     // along the chain (set by the last full pass)
    double t = 0;                    // mean thickness
    double L = 0;                    // midline length
    double endsLength = 0;           // the same, recomputed in double from the stored ends
    double omegaA0 = 0, omegaB0 = 0; // the same, pole at the shear centre, normalised
};

// How much of the sectorial work a quadrangle in mode 'S' does. The shear centre and the
// warping constant are recomputed over the whole chain after every wall element, which costs
// time proportional to the chain; a caller that knows a later element will recompute them may
// ask for the chain to be extended only. Everything else (the element's row, the area sums) is
// the same either way.
enum class SectorialWork { Full, ChainOnly };

// Running section integrals: fed one shape at a time in list order, it keeps the sums of all
// shapes since the last reset and hands back the characteristics of the whole lot after each.
// Axes: Y to the right, Z upwards; Iy = integral of z^2 dA, Iz = of y^2 dA, Iyz = of yz dA.
class GeomCW {
public:
    // mode 'S' also reads every quadrangle as a wall element (any other mode is geometric only);
    // kind 1 quadrangle, 2 triangle, 3 sector, negative for a hole, anything else adds nothing;
    // number is the shape's 1-based position: 0 or 1 starts afresh.
    // corners y1, z1, ..., y4, z4: quadrangle and triangle counter-clockwise; a sector's centre,
    // the point fixing its radius and start radial, and a point on its end radial.
    // Throws SectionError; whatever was added or stored before the failure stays.
    SectionResults SectionIntegrals(char mode, int kind, int number,
                                    const std::array<double, 8>& corners,
                                    SectorialWork work = SectorialWork::Full);

    const SectionResults& results() const { return results_; }

    // Second moments about the centroidal axes parallel to Y and Z, from the last totals.
    double Iy() const { return Iy_; }
    double Iz() const { return Iz_; }
    double Iyz() const { return Iyz_; }

    // The chain of wall elements read since the last reset, in order.
    const std::vector<WallElement>& wallElements() const { return walls_; }

    // The angle that turns the global frame onto a local one whose first axis runs from
    // (ya, za) to (yb, zb): -atan2(dz, dy), except that a side that is nearly but not exactly
    // vertical (|dy| < 0.001) is turned as if dy were +0.001.
    static double SideAngle(double ya, double za, double yb, double zb);

private:
    struct Point {
        double y = 0, z = 0;
    };

    // A piece's area and moments in its local frame (xi along the base or bisector, eta a
    // quarter turn counter-clockwise from it).
    struct LocalMoments {
        double A = 0, Seta = 0, Sxi = 0, Ietaeta = 0, Ixixi = 0, Ixieta = 0;
    };

    // A piece's area and moments about its reference point, along the global axes.
    struct TurnedMoments {
        double A = 0, Qz = 0, Qy = 0, Jzz = 0, Jyy = 0, Jyz = 0;
    };

    void reset();
    double AddQuadrangle(const std::array<Point, 4>& p, double sigma);
    double AddTriangle(Point p1, Point p2, Point p3, double sigma);
    static LocalMoments TriangleIntegrals(Point p1, Point p2, Point p3);
    static TurnedMoments RotateMoments(const LocalMoments& local, double phi);
    void AccumulatePiece(const TurnedMoments& piece, Point ref, double sigma);
    void SectorIntegrals(Point centre, Point p2, Point p3, double sigma);
    void SectionTotals();
    void SectorialPass(const std::array<Point, 4>& q, double area, SectorialWork work);
    // The point halfway along the midlines of the chain, the pole of the sectorial coordinate.
    Point ChainMiddle() const;

    // Running sums about the world origin.
    double sumA_ = 0, sumQz_ = 0, sumQy_ = 0, sumJzz_ = 0, sumJyy_ = 0, sumJyz_ = 0;
    double Iy_ = 0, Iz_ = 0, Iyz_ = 0;
    SectionResults results_;
    std::vector<WallElement> walls_;
};
