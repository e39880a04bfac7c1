#include "BarElement.h"

#include "Units.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A space frame's bar counts as vertical when its horizontal run is at most this share of its
// length. Far above what rounding leaves of a plumb column's coordinates (1e-8 m on a 4 m
// column), far below any lean a file's coordinates of a few decimals could mean.
constexpr double PlumbTolerance = 1e-6;

// Local components u v w rx ry rz at end i (0 to 5) and at end j (6 to 11).
constexpr int RyI = 4;
constexpr int RyJ = 10;

Eigen::Vector3d Vec(const BarModel::Vector& v) {
    return {v[0], v[1], v[2]};
}

} // namespace

BarElement::BarElement(const BarModel& model, const BarModel::Bar& bar)
    : bar_(&bar), frame_(model.Axes), trussModel_(model.IsTruss()), ends_{bar.I, bar.J},
      massPerLength_(bar.Density * bar.A / Units::Gravity(model.LengthUnit)) {
    const Eigen::Vector3d i = Vec(model.Nodes[bar.I]);
    const Eigen::Vector3d j = Vec(model.Nodes[bar.J]);
    length_ = (j - i).norm();
    axes_ = LocalAxes(model.Axes, i, j, bar.Beta);
}

Eigen::Matrix3d BarElement::LocalAxes(ProblemType::Layout frame, const Eigen::Vector3d& i,
                                      const Eigen::Vector3d& j, double betaDegrees) {
    const Eigen::Vector3d x = (j - i).normalized();
    Eigen::Vector3d y = Eigen::Vector3d::UnitY();
    Eigen::Vector3d z = Eigen::Vector3d::UnitZ();
    switch (frame) {
    case ProblemType::Layout::PlaneXZ:
        y = Eigen::Vector3d::UnitY();
        z = x.cross(y);
        break;
    case ProblemType::Layout::Grillage:
        z = Eigen::Vector3d::UnitZ();
        y = z.cross(x);
        break;
    case ProblemType::Layout::Space: {
        // Local z lies in the vertical plane through the bar; a vertical bar takes the global
        // y axis as its local y. Beta then turns the section about the bar.
        const Eigen::Vector3d up = Eigen::Vector3d::UnitZ();
        const Eigen::Vector3d side = up.cross(x);
        y = side.norm() > PlumbTolerance ? Eigen::Vector3d(side.normalized())
                                         : Eigen::Vector3d::UnitY();
        z = x.cross(y);
        const double beta = betaDegrees * std::numbers::pi / 180;
        const Eigen::Vector3d turnedY = std::cos(beta) * y + std::sin(beta) * z;
        z = -std::sin(beta) * y + std::cos(beta) * z;
        y = turnedY;
        break;
    }
    }
    Eigen::Matrix3d axes;
    axes.row(0) = x;
    axes.row(1) = y;
    axes.row(2) = z;
    return axes;
}

BarElement::Matrix12 BarElement::RigidStiffness() const {
    const BarModel::Bar& bar = *bar_;
    Matrix12 k;
    const double L = length_, L2 = L * L, L3 = L2 * L;
    k.setZero();
    const double ea = bar.E * bar.A / L;
    k(0, 0) = k(6, 6) = ea;
    k(0, 6) = k(6, 0) = -ea;
    if (!bar.Truss) {
        const double gj = bar.G * bar.It / L;
        k(3, 3) = k(9, 9) = gj;
        k(3, 9) = k(9, 3) = -gj;
        // Bending in the local x-y plane (v, rz).
        const double ez = bar.E * bar.Iz;
        const int v[4] = {1, 5, 7, 11};
        const double kz[4][4] = {{12 * ez / L3, 6 * ez / L2, -12 * ez / L3, 6 * ez / L2},
                                 {6 * ez / L2, 4 * ez / L, -6 * ez / L2, 2 * ez / L},
                                 {-12 * ez / L3, -6 * ez / L2, 12 * ez / L3, -6 * ez / L2},
                                 {6 * ez / L2, 2 * ez / L, -6 * ez / L2, 4 * ez / L}};
        // Bending in the local x-z plane (w, ry); ry = -dw/dx turns the coupling signs.
        const double ey = bar.E * bar.Iy;
        const int w[4] = {2, 4, 8, 10};
        const double ky[4][4] = {{12 * ey / L3, -6 * ey / L2, -12 * ey / L3, -6 * ey / L2},
                                 {-6 * ey / L2, 4 * ey / L, 6 * ey / L2, 2 * ey / L},
                                 {-12 * ey / L3, 6 * ey / L2, 12 * ey / L3, 6 * ey / L2},
                                 {-6 * ey / L2, 2 * ey / L, 6 * ey / L2, 4 * ey / L}};
        for (int a = 0; a < 4; ++a) {
            for (int b = 0; b < 4; ++b) {
                k(v[a], v[b]) = kz[a][b];
                k(w[a], w[b]) = ky[a][b];
            }
        }
    }
    return k;
}

BarElement::Matrix12 BarElement::LocalStiffness() const {
    Matrix12 k = RigidStiffness();
    Condense(k, nullptr);
    return k;
}

BarElement::Matrix12 BarElement::Condense(Matrix12& k, Vector12* f) const {
    Matrix12 shape = Matrix12::Identity();
    for (int released : {RyI, RyJ}) {
        if ((released == RyI && !bar_->HingeI) || (released == RyJ && !bar_->HingeJ))
            continue;
        const double pivot = k(released, released);
        if (pivot == 0)
            continue;
        const Vector12 column = k.col(released);
        // The released rotation in terms of the other components.
        Matrix12 step = Matrix12::Identity();
        step.row(released) = -column.transpose() / pivot;
        step(released, released) = 0;
        shape = shape * step;
        if (f)
            *f -= column * ((*f)(released) / pivot);
        k -= column * column.transpose() / pivot;
        k.row(released).setZero();
        k.col(released).setZero();
        if (f)
            (*f)(released) = 0;
    }
    return shape;
}

BarElement::Matrix12 BarElement::ToGlobal(const Matrix12& local) const {
    // Block by block: R^T k_ab R for the 16 blocks of 3 x 3, most of them zero.
    Matrix12 global = Matrix12::Zero();
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            const Eigen::Matrix3d block = local.block<3, 3>(3 * a, 3 * b);
            if (!block.isZero(0))
                global.block<3, 3>(3 * a, 3 * b) = axes_.transpose() * block * axes_;
        }
    }
    return global;
}

BarElement::Matrix12 BarElement::GlobalStiffness() const {
    return ToGlobal(LocalStiffness());
}

BarElement::Matrix12 BarElement::GlobalGeometricStiffness(double normalForce) const {
    const double L = length_;
    Matrix12 kg = Matrix12::Zero();
    if (bar_->Truss) {
        // A bar that carries no end moments: the string stiffness of its transverse translations.
        const double n = normalForce / L;
        for (int t : {1, 2}) {
            kg(t, t) = kg(t + 6, t + 6) = n;
            kg(t, t + 6) = kg(t + 6, t) = -n;
        }
        return ToGlobal(kg);
    }
    const double c = normalForce / (30 * L);
    const double sv[4][4] = {{36, 3 * L, -36, 3 * L},
                             {3 * L, 4 * L * L, -3 * L, -L * L},
                             {-36, -3 * L, 36, -3 * L},
                             {3 * L, -L * L, -3 * L, 4 * L * L}};
    SetBending(kg, sv, c);
    // A string's stiffness at a released end made a column of two bars hinged at its supports
    // a fifth too strong.
    return ToGlobal(Released(kg));
}

BarElement::Matrix12 BarElement::GlobalMass(double perLength) const {
    const double L = length_;
    Matrix12 m = Matrix12::Zero();
    const double axial = perLength * L / 6;
    m(0, 0) = m(6, 6) = 2 * axial;
    m(0, 6) = m(6, 0) = axial;
    const double c = perLength * L / 420;
    const double sv[4][4] = {{156, 22 * L, 54, -13 * L},
                             {22 * L, 4 * L * L, 13 * L, -3 * L * L},
                             {54, 13 * L, 156, -22 * L},
                             {-13 * L, -3 * L * L, -22 * L, 4 * L * L}};
    SetBending(m, sv, c);
    return ToGlobal(Released(m));
}

void BarElement::SetBending(Matrix12& matrix, const double block[4][4], double factor) {
    // Bending across the bar in both planes: v with rz, and w with ry, where ry = -dw/dx turns
    // the signs of the rotations.
    const int v[4] = {1, 5, 7, 11};
    const int w[4] = {2, 4, 8, 10};
    const double sign[4] = {1, -1, 1, -1};
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            matrix(v[a], v[b]) = factor * block[a][b];
            matrix(w[a], w[b]) = factor * block[a][b] * sign[a] * sign[b];
        }
    }
}

BarElement::Matrix12 BarElement::Released(const Matrix12& matrix) const {
    if (!bar_->HingeI && !bar_->HingeJ)
        return matrix;
    // A released end rotates as the elastic bar lets it when no moment acts there; the matrix
    // follows that same shape (T^T m T), which keeps the accuracy of the consistent matrix.
    Matrix12 k = RigidStiffness();
    const Matrix12 shape = Condense(k, nullptr);
    return shape.transpose() * matrix * shape;
}

BarElement::Vector12 BarElement::FixedEndForces(const BarModel::Vector& load) const {
    const Eigen::Vector3d q = axes_ * Vec(load);
    const double L = length_;
    // The equivalent nodal loads of an even load, then their opposite: the forces that hold
    // the ends of the loaded bar in place.
    Vector12 equivalent = Vector12::Zero();
    equivalent(0) = equivalent(6) = q(0) * L / 2;
    if (bar_->Truss) {
        equivalent(1) = equivalent(7) = q(1) * L / 2;
        equivalent(2) = equivalent(8) = q(2) * L / 2;
        return -equivalent;
    }
    equivalent(1) = equivalent(7) = q(1) * L / 2;
    equivalent(5) = q(1) * L * L / 12;
    equivalent(11) = -q(1) * L * L / 12;
    equivalent(2) = equivalent(8) = q(2) * L / 2;
    equivalent(4) = -q(2) * L * L / 12;
    equivalent(10) = q(2) * L * L / 12;
    Vector12 fixed = -equivalent;
    if (bar_->HingeI || bar_->HingeJ) {
        // A released end carries no moment: condense the fixed-end moment there as well.
        Matrix12 k = RigidStiffness();
        Condense(k, &fixed);
    }
    return fixed;
}

BarElement::Vector12 BarElement::ToLocal(const Vector12& global) const {
    Vector12 local;
    for (int block = 0; block < 4; ++block)
        local.segment<3>(3 * block) = axes_ * global.segment<3>(3 * block);
    return local;
}

BarElement::Vector12 BarElement::ToGlobal(const Vector12& local) const {
    Vector12 global;
    for (int block = 0; block < 4; ++block)
        global.segment<3>(3 * block) = axes_.transpose() * local.segment<3>(3 * block);
    return global;
}

BarElement::Vector12 BarElement::EndForces(const Vector12& globalDisplacements,
                                           const Vector12& loads) const {
    return LocalStiffness() * ToLocal(globalDisplacements) - ToLocal(loads);
}

ResultLayout BarElement::EndLayout(ProblemType::Layout frame, bool truss) {
    constexpr auto force = ResultColumn::Quantity::Force;
    constexpr auto moment = ResultColumn::Quantity::Moment;
    const ResultColumn n{"N", "Normal force N", force};
    // A truss bar's normal force is the same all along it.
    if (truss)
        return {{n}};
    ResultLayout section;
    if (frame == ProblemType::Layout::Grillage)
        section = {{{"V", "Shear force V", force},
                    {"T", "Twisting moment T", moment},
                    {"M", "Bending moment M", moment}}};
    else if (frame == ProblemType::Layout::Space)
        section = {{n,
                    {"Vy", "Shear force Vy", force},
                    {"Vz", "Shear force Vz", force},
                    {"T", "Twisting moment T", moment},
                    {"My", "Bending moment My", moment},
                    {"Mz", "Bending moment Mz", moment}}};
    else
        section = {{n, {"V", "Shear force V", force}, {"M", "Bending moment M", moment}}};
    return ResultLayout::AtEnds(section);
}

BarElement::Forces BarElement::SectionForces(const Vector& u, const Vector& loads) const {
    const Vector12 local = EndForces(u, loads);
    // The section forces at end i are the opposite of what node i exerts on the bar; at end j
    // they are what node j exerts.
    Vector12 s;
    s.head<6>() = -local.head<6>();
    s.tail<6>() = local.tail<6>();
    Forces forces{};
    if (trussModel_) {
        forces[0] = s(6);
        return forces;
    }
    for (int end = 0; end < 2; ++end) {
        const int o = 6 * end;
        double* out = forces.data() + (frame_ == ProblemType::Layout::Space ? 6 : 3) * end;
        if (frame_ == ProblemType::Layout::Grillage) {
            out[0] = -s(o + 2);
            out[1] = s(o + 3);
            out[2] = -s(o + 4);
        } else if (frame_ == ProblemType::Layout::Space) {
            for (int c = 0; c < 6; ++c)
                out[c] = s(o + c);
        } else {
            out[0] = s(o);
            out[1] = -s(o + 2);
            out[2] = -s(o + 4);
        }
    }
    return forces;
}

Element::Matrix BarElement::Mass() const {
    if (!bar_->Truss)
        return GlobalMass(massPerLength_);
    Matrix m = Matrix::Zero(12, 12);
    const double half = massPerLength_ * length_ / 2;
    for (int c = 0; c < 3; ++c)
        m(c, c) = m(c + 6, c + 6) = half;
    return m;
}

double BarElement::NormalForce(const Vector12& globalDisplacements) const {
    const Vector12 local = EndForces(globalDisplacements, Vector12::Zero());
    return (local(6) - local(0)) / 2;
}

Element::Matrix BarElement::GeometricStiffness(const Vector& u) const {
    return GlobalGeometricStiffness(NormalForce(u));
}

Element::Vector BarElement::Loads(const std::array<double, 3>& perLength) const {
    return -ToGlobal(FixedEndForces(perLength));
}

Element::Vector BarElement::VolumeLoads(const std::array<double, 3>& perVolume) const {
    const double a = bar_->A;
    return Loads({perVolume[0] * a, perVolume[1] * a, perVolume[2] * a});
}

Element::Vector BarElement::Consistent(const Vector12& equivalent) const {
    Vector12 fixed = -equivalent;
    if (bar_->HingeI || bar_->HingeJ) {
        Matrix12 k = RigidStiffness();
        Condense(k, &fixed);
    }
    return -ToGlobal(fixed);
}

Eigen::Vector3d BarElement::Local(const std::array<double, 3>& v, bool member) const {
    const Eigen::Vector3d given(v[0], v[1], v[2]);
    return member ? given : Eigen::Vector3d(axes_ * given);
}

Element::Vector BarElement::HeatLoads(const Heat& heat) const {
    const BarModel::Bar& bar = *bar_;
    Vector12 equivalent = Vector12::Zero();
    // The free bar grows by alpha dT L: the ends are pulled apart by E A alpha dT.
    const double n = bar.E * bar.A * heat.Alpha * (heat.Change[0] + heat.Change[1]) / 2;
    equivalent(0) = -n;
    equivalent(6) = n;
    if (!bar.Truss && heat.Depth > 0 && heat.Across != 0) {
        // The free bar takes the curvature d(ry)/dx = alpha dTd / h (ry = -dw/dx): the end
        // moments E Iy alpha dTd / h turn it so.
        const double m = bar.E * bar.Iy * heat.Alpha * heat.Across / heat.Depth;
        equivalent(4) = -m;
        equivalent(10) = m;
    }
    return Consistent(equivalent);
}

BarElement::Vector12 BarElement::PointEquivalent(const Eigen::Vector3d& f, const Eigen::Vector3d& m,
                                                 double at) const {
    const double L = length_;
    const double xi = std::clamp(at / L, 0.0, 1.0);
    Vector12 e = Vector12::Zero();
    // Along the bar and about it the shapes are linear.
    e(0) = f(0) * (1 - xi);
    e(6) = f(0) * xi;
    e(3) = m(0) * (1 - xi);
    e(9) = m(0) * xi;
    if (bar_->Truss) {
        // No shape across: a force shared by the lever rule, a moment by a couple of forces.
        e(1) = f(1) * (1 - xi) - m(2) / L;
        e(7) = f(1) * xi + m(2) / L;
        e(2) = f(2) * (1 - xi) + m(1) / L;
        e(8) = f(2) * xi - m(1) / L;
        return e;
    }
    // The cubic deflection (Hermite) and its slope at xi.
    const double x2 = xi * xi, x3 = x2 * xi;
    const double n[4] = {1 - 3 * x2 + 2 * x3, L * (xi - 2 * x2 + x3), 3 * x2 - 2 * x3,
                         L * (x3 - x2)};
    const double d[4] = {6 * (x2 - xi) / L, 1 - 4 * xi + 3 * x2, 6 * (xi - x2) / L,
                         3 * x2 - 2 * xi};
    // v with rz = dv/dx; w with ry = -dw/dx, which turns the signs of the rotations.
    const int v[4] = {1, 5, 7, 11};
    const int w[4] = {2, 4, 8, 10};
    const double sign[4] = {1, -1, 1, -1};
    for (int k = 0; k < 4; ++k) {
        e(v[k]) += f(1) * n[k] + m(2) * d[k];
        e(w[k]) += sign[k] * (f(2) * n[k] - m(1) * d[k]);
    }
    return e;
}

Element::Vector BarElement::PointLoads(const std::array<double, 3>& force,
                                       const std::array<double, 3>& moment, double at,
                                       bool member) const {
    return Consistent(PointEquivalent(Local(force, member), Local(moment, member), at));
}

Element::Vector BarElement::PartialLoads(const std::array<double, 3>& from,
                                         const std::array<double, 3>& to, double a, double b,
                                         bool member) const {
    // The shapes are cubic and the load linear: three Gauss points integrate them exactly.
    const double gauss[3] = {-std::sqrt(0.6), 0, std::sqrt(0.6)};
    const double weight[3] = {5.0 / 9, 8.0 / 9, 5.0 / 9};
    const Eigen::Vector3d qa = Local(from, member), qb = Local(to, member);
    const double half = (b - a) / 2;
    Vector12 equivalent = Vector12::Zero();
    for (int g = 0; g < 3; ++g) {
        const double t = (1 + gauss[g]) / 2;
        const Eigen::Vector3d q = (1 - t) * qa + t * qb;
        equivalent +=
            PointEquivalent(q * (weight[g] * half), Eigen::Vector3d::Zero(), a + t * (b - a));
    }
    return Consistent(equivalent);
}

BarElement::Matrix12 BarElement::FoundationStiffness(double k) const {
    const double L = length_;
    Matrix12 m = Matrix12::Zero();
    if (bar_->Truss) {
        m(2, 2) = m(8, 8) = k * L / 3;
        m(2, 8) = m(8, 2) = k * L / 6;
        return ToGlobal(m);
    }
    const double c = k * L / 420;
    const double block[4][4] = {{156, 22 * L, 54, -13 * L},
                                {22 * L, 4 * L * L, 13 * L, -3 * L * L},
                                {54, 13 * L, 156, -22 * L},
                                {-13 * L, -3 * L * L, -22 * L, 4 * L * L}};
    // Across along local z only: w with ry = -dw/dx.
    const int w[4] = {2, 4, 8, 10};
    const double sign[4] = {1, -1, 1, -1};
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            m(w[a], w[b]) = c * block[a][b] * sign[a] * sign[b];
    return ToGlobal(Released(m));
}
