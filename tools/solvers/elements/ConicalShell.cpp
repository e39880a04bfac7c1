#include "ConicalShell.h"

#include <algorithm>
#include <cmath>

namespace {

using Local = Eigen::Matrix<double, 6, 1>;

// Gauss-Legendre on [0, 1]: the integrands hold 1 / r, so no rule is exact; four points keep
// the moment at a clamped base within 1e-3 with ten elements over the wall, integrate the mass
// exactly, and never sample the axis, where 1 / r has no value.
struct GaussPoint {
    double Xi, Weight;
};
constexpr std::array<GaussPoint, 4> Gauss{{{0.0694318442029737, 0.1739274225687269},
                                           {0.3300094782075719, 0.3260725774312731},
                                           {0.6699905217924281, 0.3260725774312731},
                                           {0.9305681557970263, 0.1739274225687269}}};

} // namespace

ConicalShell::ConicalShell(const Section& section, std::array<int, 2> nodes,
                           std::array<std::array<double, 2>, 2> at)
    : section_(section), nodes_(nodes), at_(at) {
    const double dr = at[1][0] - at[0][0], dz = at[1][1] - at[0][1];
    length_ = std::hypot(dr, dz);
    cos_ = dr / length_;
    sin_ = dz / length_;
}

double ConicalShell::RadiusAt(double xi) const {
    // The ends give their radius exactly: a node on the axis has r = 0, not a rounding of it.
    if (xi == 0 || xi == 1)
        return std::max(0.0, at_[static_cast<size_t>(xi)][0]);
    return at_[0][0] + xi * (at_[1][0] - at_[0][0]);
}

double ConicalShell::AreaPerRadian() const {
    return length_ * (at_[0][0] + at_[1][0]) / 2;
}

Eigen::Matrix<double, 6, 6> ConicalShell::Turn() const {
    // u = c ur + s uz, w = s ur - c uz, b = rot: a reflection, its own inverse and transpose.
    Eigen::Matrix3d t;
    t << cos_, sin_, 0, sin_, -cos_, 0, 0, 0, 1;
    Eigen::Matrix<double, 6, 6> turn = Eigen::Matrix<double, 6, 6>::Zero();
    turn.topLeftCorner<3, 3>() = t;
    turn.bottomRightCorner<3, 3>() = t;
    return turn;
}

Eigen::Matrix<double, 2, 6> ConicalShell::FieldsAt(double xi) const {
    const double l = length_;
    Eigen::Matrix<double, 2, 6> n = Eigen::Matrix<double, 2, 6>::Zero();
    n(0, 0) = 1 - xi;
    n(0, 3) = xi;
    n(1, 1) = 1 - 3 * xi * xi + 2 * xi * xi * xi;
    n(1, 2) = l * xi * (1 - xi) * (1 - xi);
    n(1, 4) = xi * xi * (3 - 2 * xi);
    n(1, 5) = l * xi * xi * (xi - 1);
    return n;
}

Eigen::Matrix<double, 3, 6> ConicalShell::SlopesAt(double xi) const {
    const double l = length_;
    Eigen::Matrix<double, 3, 6> d = Eigen::Matrix<double, 3, 6>::Zero();
    d(0, 1) = 6 * xi * (xi - 1) / l;
    d(0, 2) = 1 - 4 * xi + 3 * xi * xi;
    d(0, 4) = -d(0, 1);
    d(0, 5) = xi * (3 * xi - 2);
    d(1, 1) = (12 * xi - 6) / (l * l);
    d(1, 2) = (6 * xi - 4) / l;
    d(1, 4) = -d(1, 1);
    d(1, 5) = (6 * xi - 2) / l;
    d(2, 1) = 12 / (l * l * l);
    d(2, 2) = 6 / (l * l);
    d(2, 4) = -d(2, 1);
    d(2, 5) = d(2, 2);
    return d;
}

ConicalShell::Strains ConicalShell::StrainsAt(double xi) const {
    const double l = length_, r = RadiusAt(xi);
    Eigen::Matrix<double, 1, 6> du = Eigen::Matrix<double, 1, 6>::Zero();
    du(0) = -1 / l;
    du(3) = 1 / l;
    const Eigen::Matrix<double, 3, 6> w = SlopesAt(xi);
    const Eigen::Matrix<double, 2, 6> n = FieldsAt(xi);
    Strains b;
    b.row(0) = du;
    b.row(2) = -w.row(1);
    if (r > 0) {
        b.row(1) = (cos_ * n.row(0) + sin_ * n.row(1)) / r;
        b.row(3) = -cos_ * w.row(0) / r;
    } else {
        // On the axis ur and the rotation vanish by symmetry, and the hoop terms take their
        // limits: ur / r becomes dur / dr, the hoop curvature the meridional one.
        b.row(1) = (cos_ * du + sin_ * w.row(0)) / cos_;
        b.row(3) = -w.row(1);
    }
    return b;
}

Eigen::Matrix4d ConicalShell::Elastic() const {
    const double e = section_.E, nu = section_.Nu, t = section_.Thickness;
    const double membrane = e * t / (1 - nu * nu), bending = membrane * t * t / 12;
    Eigen::Matrix4d d = Eigen::Matrix4d::Zero();
    d.topLeftCorner<2, 2>() << 1, nu, nu, 1;
    d.bottomRightCorner<2, 2>() << 1, nu, nu, 1;
    d.topLeftCorner<2, 2>() *= membrane;
    d.bottomRightCorner<2, 2>() *= bending;
    return d;
}

Eigen::Vector4d ConicalShell::ForcesAt(double xi, const Local& local) const {
    const double e = section_.E, nu = section_.Nu, t = section_.Thickness;
    const double membrane = e * t / (1 - nu * nu), bending = membrane * t * t / 12;
    const Eigen::Vector4d strain = StrainsAt(xi) * local;
    return {membrane * (strain(0) + nu * strain(1)), membrane * (strain(1) + nu * strain(0)),
            bending * (strain(2) + nu * strain(3)), bending * (strain(3) + nu * strain(2))};
}

Element::Matrix ConicalShell::Stiffness() const {
    const Eigen::Matrix4d d = Elastic();
    Eigen::Matrix<double, 6, 6> k = Eigen::Matrix<double, 6, 6>::Zero();
    for (const GaussPoint& g : Gauss) {
        const Strains b = StrainsAt(g.Xi);
        k += b.transpose() * d * b * (RadiusAt(g.Xi) * length_ * g.Weight);
    }
    const Eigen::Matrix<double, 6, 6> turn = Turn();
    const Eigen::Matrix<double, 6, 6> global = turn.transpose() * k * turn;
    // Rounding must not leave the two triangles apart: the assembly takes one of them.
    return (global + global.transpose()) / 2;
}

Element::Matrix ConicalShell::Mass() const {
    Eigen::Matrix<double, 6, 6> m = Eigen::Matrix<double, 6, 6>::Zero();
    // Up to degree 7 in xi: the cubic w squared times the linear radius, exact with four points.
    for (const GaussPoint& g : Gauss) {
        const Eigen::Matrix<double, 2, 6> n = FieldsAt(g.Xi);
        m += n.transpose() * n * (RadiusAt(g.Xi) * length_ * g.Weight);
    }
    const Eigen::Matrix<double, 6, 6> turn = Turn();
    const Eigen::Matrix<double, 6, 6> global =
        turn.transpose() * m * turn * (section_.Density * section_.Thickness);
    return (global + global.transpose()) / 2;
}

double ConicalShell::TotalMass() const {
    return section_.Density * section_.Thickness * AreaPerRadian();
}

Element::Vector ConicalShell::Loads(const std::array<double, 3>& perUnit) const {
    const Eigen::Vector2d traction(cos_ * perUnit[0] + sin_ * perUnit[2],
                                   sin_ * perUnit[0] - cos_ * perUnit[2]);
    Local f = Local::Zero();
    for (const GaussPoint& g : Gauss)
        f += FieldsAt(g.Xi).transpose() * traction * (RadiusAt(g.Xi) * length_ * g.Weight);
    return Turn().transpose() * f;
}

Element::Vector ConicalShell::PressureLoads(double p) const {
    return Loads({p * sin_, 0, -p * cos_});
}

Element::Vector ConicalShell::VolumeLoads(const std::array<double, 3>& perVolume) const {
    const double t = section_.Thickness;
    return Loads({perVolume[0] * t, perVolume[1] * t, perVolume[2] * t});
}

Eigen::Vector4d ConicalShell::FreeStrains(const Heat& heat, double xi) const {
    const double change = (1 - xi) * heat.Change[0] + xi * heat.Change[1];
    const double curvature = heat.Alpha * heat.Across / section_.Thickness;
    return {heat.Alpha * change, heat.Alpha * change, curvature, curvature};
}

Element::Vector ConicalShell::HeatLoads(const Heat& heat) const {
    const Eigen::Matrix4d d = Elastic();
    Local f = Local::Zero();
    for (const GaussPoint& g : Gauss)
        f += StrainsAt(g.Xi).transpose() * (d * FreeStrains(heat, g.Xi)) *
             (RadiusAt(g.Xi) * length_ * g.Weight);
    return Turn().transpose() * f;
}

Element::Results ConicalShell::HeatResults(const Heat& heat) const {
    const Eigen::Matrix4d d = Elastic();
    Results results(3, 5);
    const std::array<double, 3> points{0.5, 0.0, 1.0};
    for (size_t p = 0; p < points.size(); ++p)
        results.row(static_cast<Eigen::Index>(p)) << (d * FreeStrains(heat, points[p])).transpose(),
            0.0;
    return results;
}

ResultLayout ConicalShell::WallLayout() {
    constexpr auto force = ResultColumn::Quantity::ForcePerLength;
    constexpr auto moment = ResultColumn::Quantity::MomentPerLength;
    return {{{"Ns", "Meridional force Ns", force},
             {"Nt", "Hoop force Nt", force},
             {"Ms", "Meridional moment Ms", moment},
             {"Mt", "Hoop moment Mt", moment},
             {"Q", "Shear force Q", force}}};
}

Element::Results ConicalShell::Recover(const Vector& u) const {
    const Local local = Turn() * u;
    const double e = section_.E, nu = section_.Nu, t = section_.Thickness;
    const double bending = e * t * t * t / (12 * (1 - nu * nu));
    Results results(3, 5);
    const std::array<double, 3> points{0.5, 0.0, 1.0};
    for (size_t p = 0; p < points.size(); ++p) {
        const double xi = points[p], r = RadiusAt(xi);
        const Eigen::Vector4d f = ForcesAt(xi, local);
        double q = 0;
        if (r > 0) {
            // Q = dMs/ds + c (Ms - Mt) / r, the balance of moments of a ring of the wall, with
            // ks = -w'' and kt = -c w' / r.
            const Eigen::Vector3d w = SlopesAt(xi) * local;
            const double dkt = -cos_ * (w(1) * r - w(0) * cos_) / (r * r);
            q = bending * (-w(2) + nu * dkt) + cos_ * (f(2) - f(3)) / r;
        }
        results.row(static_cast<Eigen::Index>(p)) << f(0), f(1), f(2), f(3), q;
    }
    return results;
}

std::array<double, 10> ConicalShell::EndForces(const Vector& u, const Vector& loads,
                                               const Heat* heat) const {
    const Eigen::Matrix<double, 6, 6> turn = Turn();
    const Local local = turn * u;
    // What the nodes exert on the element, in its own directions, per radian.
    const Local f = turn * (Stiffness() * u - loads);
    const Results strained = heat ? Results(Recover(u) - HeatResults(*heat)) : Recover(u);
    const double e = section_.E, nu = section_.Nu, t = section_.Thickness;
    std::array<double, 10> out{};
    for (int end = 0; end < 2; ++end) {
        const double r = RadiusAt(end);
        double* at = out.data() + 5 * end;
        if (r == 0) {
            const auto row = strained.row(1 + end);
            at[0] = row(0);
            at[1] = row(0);
            at[2] = row(2);
            at[3] = row(2);
            at[4] = 0;
            continue;
        }
        // On the face of end j the node pulls along +s and turns the face against Ms (tension
        // on the side of n); end i is the opposite face.
        const double sign = end == 0 ? -1.0 : 1.0;
        const double ns = sign * f(3 * end) / r;
        const double q = sign * f(3 * end + 1) / r;
        const double ms = -sign * f(3 * end + 2) / r;
        // The hoop values from the node's own displacement and turn: Nt = nu Ns + E t et and
        // Mt = nu Ms + E t^3 / 12 kt, with et = ur / r and kt = -c rot / r, less the heat's
        // free strains there.
        const double ur = cos_ * local(3 * end) + sin_ * local(3 * end + 1);
        const double kt = -cos_ * local(3 * end + 2) / r;
        const Eigen::Vector4d free = heat ? FreeStrains(*heat, end) : Eigen::Vector4d::Zero();
        at[0] = ns;
        at[1] = nu * ns + e * t * (ur / r - free(1));
        at[2] = ms;
        at[3] = nu * ms + e * t * t * t / 12 * (kt - free(3));
        at[4] = q;
    }
    return out;
}
