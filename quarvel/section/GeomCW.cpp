#include "GeomCW.h"

#include "SectionError.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {

using Real = long double; // intermediate precision inside one formula

constexpr double kPi = std::numbers::pi;

const char* const kDivisionByZero = "Floating point division by zero";
const char* const kInvalidOperation = "Invalid floating point operation";
const char* const kSidesCross =
    "The quadrangle's sides cross each other; draw its corners in order around it.";

// Sweeps closer than this (radians) to nothing or to a whole turn are a sector whose end radial
// falls on its start radial: the user went all the way round.
constexpr double kSameDirection = 1e-10;

// Principal moments closer than this, relative to the larger, are equal.
constexpr double kEqualMoments = 1e-9;
// A product of inertia this small against the moments, or against the terms it was left over
// from, is rounding noise.
constexpr double kProductNoise = 1e-12;
constexpr double kCancellationNoise = 1e-13;

bool allFinite(std::initializer_list<double> values) {
    for (double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// Twice the signed area of the triangle (a, b, c): positive when it runs counter-clockwise.
template <typename P>
double orientation(P a, P b, P c) {
    return static_cast<double>(Real(b.y - a.y) * (c.z - a.z) - Real(b.z - a.z) * (c.y - a.y));
}

bool oppositeSigns(double u, double v) {
    return (u > 0 && v < 0) || (u < 0 && v > 0);
}

// True when the segments ab and cd meet at one point inside both; touching ends or overlapping
// collinear sides do not count.
template <typename P>
bool segmentsCross(P a, P b, P c, P d) {
    return oppositeSigns(orientation(a, b, c), orientation(a, b, d)) &&
           oppositeSigns(orientation(c, d, a), orientation(c, d, b));
}

} // namespace

SectionResults GeomCW::SectionIntegrals(char mode, int kind, int number,
                                        const std::array<double, 8>& corners, SectorialWork work) {
    if (number == 0 || number == 1) {
        reset();
    }
    const std::array<Point, 4> p{{{corners[0], corners[1]},
                                  {corners[2], corners[3]},
                                  {corners[4], corners[5]},
                                  {corners[6], corners[7]}}};
    const double sigma = kind > 0 ? 1.0 : -1.0;

    switch (kind) {
    case 1:
    case -1: {
        const double area = AddQuadrangle(p, sigma);
        SectionTotals();
        if (mode == 'S') {
            SectorialPass(p, area, work);
        }
        break;
    }
    case 2:
    case -2:
        AddTriangle(p[0], p[1], p[2], sigma);
        SectionTotals();
        break;
    case 3:
    case -3:
        SectorIntegrals(p[0], p[1], p[2], sigma);
        SectionTotals();
        break;
    default:
        break;
    }
    return results_;
}

void GeomCW::reset() {
    sumA_ = sumQz_ = sumQy_ = sumJzz_ = sumJyy_ = sumJyz_ = 0;
    walls_.clear();
    // The centroid and the sectorial results deliberately survive a reset.
    results_.I1 = results_.I2 = results_.Alpha = 0;
    results_.F = 0;
}

double GeomCW::AddQuadrangle(const std::array<Point, 4>& p, double sigma) {
    // A bow-tie has no inside to integrate; whatever its triangles gave would not be the figure.
    if (segmentsCross(p[0], p[1], p[2], p[3]) || segmentsCross(p[1], p[2], p[3], p[0])) {
        throw SectionError(kSidesCross);
    }
    // The diagonal P1P3 lies outside a dart whose reflex corner is P2 or P4; the triangles on it
    // then run in opposite senses. The diagonal from the reflex corner always lies inside.
    // (P2 = P4 folds the outline back on itself: nothing inside, and P2P4 has no length.)
    const bool p2OnP4 = p[1].y == p[3].y && p[1].z == p[3].z;
    if (!p2OnP4 && oppositeSigns(orientation(p[0], p[1], p[2]), orientation(p[0], p[2], p[3]))) {
        const double first = AddTriangle(p[1], p[2], p[3], sigma);
        return first + AddTriangle(p[1], p[3], p[0], sigma);
    }
    const double first = AddTriangle(p[0], p[1], p[2], sigma);
    return first + AddTriangle(p[0], p[2], p[3], sigma);
}

double GeomCW::AddTriangle(Point p1, Point p2, Point p3, double sigma) {
    const LocalMoments local = TriangleIntegrals(p1, p2, p3);
    AccumulatePiece(RotateMoments(local, SideAngle(p1.y, p1.z, p2.y, p2.z)), p1, sigma);
    return local.A;
}

GeomCW::LocalMoments GeomCW::TriangleIntegrals(Point p1, Point p2, Point p3) {
    const double y1 = p1.y, z1 = p1.z, y2 = p2.y, z2 = p2.z, y3 = p3.y, z3 = p3.z;

    const double a = static_cast<double>(
        std::sqrt(Real(y2 - y1) * Real(y2 - y1) + Real(z2 - z1) * Real(z2 - z1)));
    const double e = static_cast<double>(
        std::sqrt(Real(y3 - y1) * Real(y3 - y1) + Real(z3 - z1) * Real(z3 - z1)));

    // Signed distance of P3 from the base line, positive to the left of P1 -> P2.
    const Real divisor = std::sqrt(Real(z1 - z2) * (z1 - z2) + Real(y2 - y1) * (y2 - y1));
    if (divisor == 0) {
        throw SectionError(kDivisionByZero);
    }
    const double h = static_cast<double>(
        (Real(z1 - z2) * y3 + Real(y2 - y1) * z3 + Real(z2 - z1) * y1 - Real(y2 - y1) * z1) /
        divisor);

    // Position of the foot of the height along the base. It lies behind P1 exactly when the
    // projection of P1P3 on P1P2 is negative; taking the sign from the projection alone keeps a
    // clockwise triangle the exact mirror of its counter-clockwise twin.
    double m = static_cast<double>(std::sqrt(std::fabs(Real(e) * e - Real(h) * h)));
    const Real projection = Real(y2 - y1) * (y3 - y1) + Real(z2 - z1) * (z3 - z1);
    if (projection < 0) {
        m = -m;
    }

    const double b = a - m;
    LocalMoments local;
    local.A = static_cast<double>(Real(a) * h / 2);
    local.Seta = static_cast<double>(Real(h) * (Real(a) * h) / 6);
    local.Sxi = static_cast<double>(Real(h) * (Real(b) * b - Real(m) * m) / 6 +
                                    Real(m) * (Real(a) * h) / 2);
    local.Ietaeta = static_cast<double>(Real(a) * h * h * h / 12);
    local.Ixixi = static_cast<double>(Real(h) * (Real(m) * m * m + Real(b) * b * b) / 12 +
                                      Real(m) * h * (Real(b) * b - Real(m) * m) / 3 +
                                      Real(a) * h * m * m / 2);
    local.Ixieta = static_cast<double>(Real(h) * h * (Real(b) * b - Real(m) * m) / 24 +
                                       Real(m) * a * h * h / 6);
    return local;
}

double GeomCW::SideAngle(double ya, double za, double yb, double zb) {
    double dy = yb - ya;
    const double dz = zb - za;
    if (dz == 0 && dy > 0) {
        return 0;
    }
    if (dy == 0 && dz > 0) {
        return -kPi / 2;
    }
    if (dz == 0 && dy < 0) {
        return -kPi;
    }
    if (dy == 0 && dz < 0) {
        return kPi / 2;
    }
    if (dy == 0 && dz == 0) {
        return 0; // no direction; every caller has refused such a side before
    }
    if (std::fabs(dy) < 0.001) {
        dy = 0.001;
    }
    const double phi0 = std::fabs(std::atan(dz / dy));
    if (dy > 0 && dz > 0) {
        return -phi0;
    }
    if (dy < 0 && dz > 0) {
        return -(kPi - phi0);
    }
    if (dy < 0 && dz < 0) {
        return kPi - phi0;
    }
    return phi0;
}

GeomCW::TurnedMoments GeomCW::RotateMoments(const LocalMoments& local, double phi) {
    const Real s = std::sin(phi);
    const Real c = std::cos(phi);
    TurnedMoments turned;
    turned.A = local.A;
    turned.Qz = static_cast<double>(local.Seta * c - local.Sxi * s);
    turned.Qy = static_cast<double>(local.Seta * s + local.Sxi * c);
    turned.Jzz = static_cast<double>(local.Ietaeta * c * c + local.Ixixi * s * s -
                                     local.Ixieta * (2 * s * c));
    turned.Jyy = static_cast<double>(local.Ietaeta * s * s + local.Ixixi * c * c +
                                     local.Ixieta * (2 * s * c));
    turned.Jyz = static_cast<double>(local.Ixieta * (c * c - s * s) +
                                     (Real(local.Ietaeta) - local.Ixixi) * (2 * s * c) / 2);
    return turned;
}

void GeomCW::AccumulatePiece(const TurnedMoments& piece, Point ref, double sigma) {
    if (!allFinite({piece.A, piece.Qz, piece.Qy, piece.Jzz, piece.Jyy, piece.Jyz})) {
        throw SectionError(kInvalidOperation);
    }
    const Real yr = ref.y;
    const Real zr = ref.z;
    const Real A = piece.A;
    sumA_ += static_cast<double>(sigma * A);
    sumQz_ += static_cast<double>(sigma * (zr * A + piece.Qz));
    sumQy_ += static_cast<double>(sigma * (yr * A + piece.Qy));
    sumJzz_ += static_cast<double>(sigma * (2 * zr * piece.Qz + piece.Jzz + zr * zr * A));
    sumJyy_ += static_cast<double>(sigma * (2 * yr * piece.Qy + piece.Jyy + yr * yr * A));
    sumJyz_ +=
        static_cast<double>(sigma * (yr * piece.Qz + piece.Jyz + zr * piece.Qy + yr * zr * A));
    if (!allFinite({sumA_, sumQz_, sumQy_, sumJzz_, sumJyy_, sumJyz_})) {
        throw SectionError(kInvalidOperation);
    }
}

void GeomCW::SectorIntegrals(Point centre, Point p2, Point p3, double sigma) {
    const double R = static_cast<double>(std::sqrt(Real(p2.y - centre.y) * (p2.y - centre.y) +
                                                   Real(p2.z - centre.z) * (p2.z - centre.z)));
    const Real R4 = Real(R) * R * R * R;

    // The sector runs counter-clockwise from P2's radial to P3's; only P3's direction counts.
    const bool backAtStart = std::fabs(p2.y - p3.y) < 0.01 && std::fabs(p2.z - p3.z) < 0.01;
    if (!backAtStart && R == 0) {
        throw SectionError(kDivisionByZero);
    }
    double start = 0;
    double sweep = 2 * kPi;
    if (!backAtStart) {
        start = std::atan2(p2.z - centre.z, p2.y - centre.y);
        sweep = std::atan2(p3.z - centre.z, p3.y - centre.y) - start;
        if (sweep <= 0) {
            sweep += 2 * kPi;
        }
        if (sweep < kSameDirection || sweep > 2 * kPi - kSameDirection) {
            sweep = 2 * kPi;
        }
    }

    if (sweep == 2 * kPi) {
        TurnedMoments disc;
        disc.A = static_cast<double>(kPi * Real(R) * R);
        disc.Jzz = disc.Jyy = static_cast<double>(kPi * R4 / 4);
        AccumulatePiece(disc, centre, sigma);
        return;
    }

    // Local frame: xi along the bisector towards the arc, eta across it.
    const double beta = sweep / 2;
    const double d = static_cast<double>(2 * Real(R) * std::sin(beta) / (3 * Real(beta)));
    const Real k = std::sin(2 * beta) / (2 * Real(beta));
    LocalMoments local;
    local.A = static_cast<double>(Real(beta) * R * R);
    local.Sxi = static_cast<double>(Real(local.A) * d);
    local.Ixixi = static_cast<double>(beta * R4 * (1 + k) / 4);
    local.Ietaeta = static_cast<double>(beta * R4 * (1 - k) / 4);
    AccumulatePiece(RotateMoments(local, -(start + beta)), centre, sigma);
}

void GeomCW::SectionTotals() {
    if (sumA_ == 0) {
        throw SectionError(kDivisionByZero);
    }
    const double yc = sumQy_ / sumA_;
    const double zc = sumQz_ / sumA_;
    const double iy = static_cast<double>(sumJzz_ - Real(sumA_) * zc * zc);
    const double iz = static_cast<double>(sumJyy_ - Real(sumA_) * yc * yc);
    // A product of inertia that is only what is left of cancelling the parallel-axis term (a
    // symmetric channel gives -6.5e-13 against moments of thousands) is zero: kept, its sign
    // alone would turn the principal axes by 180 degrees.
    const Real parallel = Real(sumA_) * yc * zc;
    double iyz = static_cast<double>(sumJyz_ - parallel);
    const double noise = std::max(
        kProductNoise * std::max(std::fabs(iy), std::fabs(iz)),
        kCancellationNoise * static_cast<double>(std::fabs(Real(sumJyz_)) + std::fabs(parallel)));
    if (std::fabs(iyz) <= noise) {
        iyz = 0;
    }
    const Real halfDiff = (Real(iy) - iz) / 2;
    const double r = static_cast<double>(std::sqrt(halfDiff * halfDiff + Real(iyz) * iyz));
    const double i1 = static_cast<double>((Real(iy) + iz) / 2 + r);
    const double i2 = static_cast<double>((Real(iy) + iz) / 2 - r);
    // When the principal moments agree, every axis through the centroid is principal and the
    // angle the formula gives is rounding noise (a square with a square hole, a full disc):
    // such a section reports the Y axis.
    double alpha = std::atan2(iy - i1, iyz);
    if (!std::isfinite(alpha)) {
        alpha = kPi / 2;
    }
    if (std::fabs(i1 - i2) <= kEqualMoments * std::max(std::fabs(i1), std::fabs(i2))) {
        alpha = 0;
    }
    const double alphaDegrees = alpha * 180 / kPi;
    if (!allFinite({yc, zc, iy, iz, iyz, i1, i2, alphaDegrees})) {
        throw SectionError(kInvalidOperation);
    }
    results_.Yc = yc;
    results_.Zc = zc;
    Iy_ = iy;
    Iz_ = iz;
    Iyz_ = iyz;
    results_.I1 = i1;
    results_.I2 = i2;
    results_.Alpha = alphaDegrees;
    results_.F = sumA_;
}

void GeomCW::SectorialPass(const std::array<Point, 4>& q, double area, SectorialWork work) {
    // The element's midline joins the middles of its first and third sides.
    WallElement element;
    element.ya = (q[0].y + q[1].y) / 2;
    element.za = (q[0].z + q[1].z) / 2;
    element.yb = (q[2].y + q[3].y) / 2;
    element.zb = (q[2].z + q[3].z) / 2;
    element.L =
        static_cast<double>(std::sqrt(Real(element.yb - element.ya) * (element.yb - element.ya) +
                                      Real(element.zb - element.za) * (element.zb - element.za)));
    if (element.L == 0) {
        throw SectionError(kDivisionByZero);
    }
    element.t = area / element.L;
    if (!allFinite({element.L, element.t})) {
        throw SectionError(kInvalidOperation);
    }
    // The products below take the length from the stored ends in plain double arithmetic;
    // it never changes, so it is worked out once instead of on every later pass.
    element.endsLength = std::sqrt((element.yb - element.ya) * (element.yb - element.ya) +
                                   (element.zb - element.za) * (element.zb - element.za));
    walls_.push_back(element);
    if (work == SectorialWork::ChainOnly)
        return;

    // The wall elements are thin strips along their midlines while the moments of inertia are
    // those of the drawn quadrangles, so the shear centre found depends slightly on the pole
    // of the sectorial coordinate. A pole fixed in the world (the origin) would let the result
    // drift as the whole section is moved; a pole that moves with the section does not.
    // Halfway along the chain is such a point, lies on the axis of a symmetric chain, and is
    // the origin for a section drawn symmetric about it.
    const Point pole = ChainMiddle();
    double run = 0;
    for (WallElement& w : walls_) {
        const Real ya = w.ya - pole.y, yb = w.yb - pole.y, za = w.za - pole.z, zb = w.zb - pole.z;
        w.omegaA = run;
        w.omegaB = static_cast<double>(run + (yb * za - ya * zb));
        run = w.omegaB;
    }
    if (!std::isfinite(run)) {
        throw SectionError(kInvalidOperation);
    }

    // Sectorial products about the current centroid.
    const double yc = results_.Yc;
    const double zc = results_.Zc;
    double sOmegaY = 0;
    double sOmegaZ = 0;
    for (const WallElement& w : walls_) {
        const double len = w.endsLength;
        const Real ya = w.ya - yc, yb = w.yb - yc, za = w.za - zc, zb = w.zb - zc;
        sOmegaY += static_cast<double>(
            Real(w.t) * len *
            (w.omegaA * yb + w.omegaB * ya + 2 * (w.omegaA * ya + w.omegaB * yb)) / 6);
        sOmegaZ += static_cast<double>(
            Real(w.t) * len *
            (w.omegaA * zb + w.omegaB * za + 2 * (w.omegaA * za + w.omegaB * zb)) / 6);
    }

    // The shear centre relative to the pole, then in world coordinates.
    const double D = static_cast<double>(Real(Iy_) * Iz_ - Real(Iyz_) * Iyz_);
    if (D == 0) {
        throw SectionError(kDivisionByZero);
    }
    const double yo =
        static_cast<double>(pole.y + (Real(sOmegaY) * Iyz_ - Real(sOmegaZ) * Iz_) / D);
    const double zo =
        static_cast<double>(pole.z + (Real(sOmegaY) * Iy_ - Real(sOmegaZ) * Iyz_) / D);
    if (!allFinite({sOmegaY, sOmegaZ, yo, zo})) {
        throw SectionError(kInvalidOperation);
    }
    results_.Yo = yo;
    results_.Zo = zo;

    // Sectorial coordinate about the shear centre along the whole chain, then shifted so that
    // its integral over the section vanishes.
    run = 0;
    double sumOmega = 0;
    for (WallElement& w : walls_) {
        const Real ya = w.ya - yo, yb = w.yb - yo, za = w.za - zo, zb = w.zb - zo;
        w.omegaA0 = run;
        w.omegaB0 = static_cast<double>(run + (yb * za - ya * zb));
        run = w.omegaB0;
        sumOmega += static_cast<double>((Real(w.omegaA0) + w.omegaB0) * w.L * w.t / 2);
    }
    const double omega0 = -sumOmega / sumA_;
    double jw = 0;
    for (WallElement& w : walls_) {
        w.omegaA0 += omega0;
        w.omegaB0 += omega0;
        const Real a = w.omegaA0, b = w.omegaB0;
        jw += static_cast<double>((a * a + a * b + b * b) * w.L * w.t / 3);
    }
    if (!std::isfinite(jw)) {
        throw SectionError(kInvalidOperation);
    }
    results_.Jw = jw;
}

GeomCW::Point GeomCW::ChainMiddle() const {
    double total = 0;
    for (const WallElement& w : walls_) {
        total += w.endsLength;
    }
    double left = total / 2;
    for (const WallElement& w : walls_) {
        if (left <= w.endsLength) {
            const double f = left / w.endsLength;
            return {w.ya + (w.yb - w.ya) * f, w.za + (w.zb - w.za) * f};
        }
        left -= w.endsLength;
    }
    return {walls_.back().yb, walls_.back().zb}; // rounding ran past the last end
}
