#include "FlatShell.h"

#include "ShellKinematics.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Where the membrane's and the plate's unknowns (u v theta; w rx ry) sit among a corner's six
// local components.
constexpr std::array<int, 3> MembraneAt = {0, 1, 5};
constexpr std::array<int, 3> PlateAt = {2, 3, 4};

} // namespace

template <int N>
typename ShellElement<N>::Frame
ShellElement<N>::FrameOf(const std::array<Eigen::Vector3d, N>& points,
                         const Eigen::Vector3d& normal) {
    const Eigen::Vector3d side = points[1] - points[0];
    const Eigen::Vector3d x = side - side.dot(normal) * normal;
    if (normal.norm() < 0.5 || x.norm() <= 1e-12 * side.norm() || side.norm() == 0)
        throw std::invalid_argument("a shell element has no area");
    Frame frame;
    frame.Axes.row(0) = x.normalized();
    frame.Axes.row(2) = normal;
    frame.Axes.row(1) = normal.cross(frame.Axes.row(0).transpose());
    Eigen::Vector3d centre = Eigen::Vector3d::Zero();
    for (const Eigen::Vector3d& p : points)
        centre += p / N;
    for (size_t a = 0; a < N; ++a) {
        const Eigen::Vector3d local = frame.Axes * (points[a] - points[0]);
        frame.Local[a] = {local.x(), local.y()};
        frame.Offset[a] = (points[a] - centre).dot(normal);
    }
    return frame;
}

template <int N>
ShellElement<N>::ShellElement(const ShellMaterial& m, std::array<int, N> nodes, const Frame& frame)
    : material_(m), nodes_(nodes), axes_(frame.Axes), local_(frame.Local), offset_(frame.Offset),
      membrane_(m, frame.Local), plate_(m, nodes, frame.Local) {}

template <int N>
ShellElement<N>::ShellElement(const ShellMaterial& m, std::array<int, N> nodes,
                              std::array<Eigen::Vector3d, N> points)
    : ShellElement(
          m, nodes,
          FrameOf(points,
                  N == 3 ? (points[1] - points[0]).cross(points[2] - points[0]).normalized()
                         : (points[2] - points[0]).cross(points[N - 1] - points[1]).normalized())) {
}

template <int N>
double ShellElement<N>::Area() const {
    return ShellKinematics::Area(local_);
}

template <int N>
Element::Matrix ShellElement<N>::Turn() const {
    // Each corner's translations and rotations turned into the local axes; a corner off the
    // mean plane (a warped quadrilateral) is joined rigidly to its projection, which moves by
    // u + r x (-offset n): ux - offset ry, uy + offset rx.
    Matrix turn = Matrix::Zero(6 * N, 6 * N);
    for (int a = 0; a < N; ++a) {
        turn.template block<3, 3>(6 * a, 6 * a) = axes_;
        turn.template block<3, 3>(6 * a + 3, 6 * a + 3) = axes_;
        turn.row(6 * a) -= offset_[a] * turn.row(6 * a + 4);
        turn.row(6 * a + 1) += offset_[a] * turn.row(6 * a + 3);
    }
    return turn;
}

template <int N>
Element::Vector ShellElement<N>::ToLocal(const Vector& u) const {
    return Turn() * u;
}

template <int N>
Element::Matrix ShellElement<N>::Stiffness() const {
    const Matrix membrane = membrane_.Stiffness();
    const Matrix plate = plate_.Stiffness();
    Matrix local = Matrix::Zero(6 * N, 6 * N);
    for (int a = 0; a < N; ++a)
        for (int b = 0; b < N; ++b)
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    local(6 * a + MembraneAt[i], 6 * b + MembraneAt[j]) =
                        membrane(3 * a + i, 3 * b + j);
                    local(6 * a + PlateAt[i], 6 * b + PlateAt[j]) = plate(3 * a + i, 3 * b + j);
                }
    const Matrix turn = Turn();
    return turn.transpose() * local * turn;
}

template <int N>
Element::Matrix ShellElement<N>::Mass() const {
    const auto shares = ShellKinematics::Shares(local_);
    Matrix m = Matrix::Zero(6 * N, 6 * N);
    for (int a = 0; a < N; ++a)
        for (int c = 0; c < 3; ++c)
            m(6 * a + c, 6 * a + c) = material_.Density * material_.Thickness * shares(a);
    return m;
}

template <int N>
double ShellElement<N>::TotalMass() const {
    return material_.Density * material_.Thickness * Area();
}

template <int N>
Element::Vector ShellElement<N>::Loads(const std::array<double, 3>& perUnit) const {
    const auto shares = ShellKinematics::Shares(local_);
    Vector f = Vector::Zero(6 * N);
    for (int a = 0; a < N; ++a)
        for (int c = 0; c < 3; ++c)
            f(6 * a + c) = perUnit[static_cast<size_t>(c)] * shares(a);
    return f;
}

template <int N>
ResultLayout ShellElement<N>::Layout() const {
    constexpr auto force = ResultColumn::Quantity::ForcePerLength;
    constexpr auto moment = ResultColumn::Quantity::MomentPerLength;
    constexpr auto stress = ResultColumn::Quantity::Stress;
    return {{{"nx", "Membrane force nx", force},
             {"ny", "Membrane force ny", force},
             {"nxy", "Membrane shear nxy", force},
             {"mx", "Moment mx", moment},
             {"my", "Moment my", moment},
             {"mxy", "Twisting moment mxy", moment},
             {"sxTop", "Stress sx, top face", stress},
             {"syTop", "Stress sy, top face", stress},
             {"txyTop", "Shear stress txy, top face", stress},
             {"sxBottom", "Stress sx, bottom face", stress},
             {"syBottom", "Stress sy, bottom face", stress},
             {"txyBottom", "Shear stress txy, bottom face", stress}}};
}

template <int N>
Element::Results ShellElement<N>::Combine(const Results& forces, const Results& moments) const {
    const double t = material_.Thickness;
    Results block(forces.rows(), 12);
    for (Eigen::Index r = 0; r < forces.rows(); ++r)
        for (int c = 0; c < 3; ++c) {
            const double n = forces(r, c), m = moments(r, c);
            block(r, c) = n;
            block(r, 3 + c) = m;
            block(r, 6 + c) = n / t - 6 * m / (t * t);
            block(r, 9 + c) = n / t + 6 * m / (t * t);
        }
    return block;
}

namespace {

template <int N>
Element::Vector Pick(const Element::Vector& local, const std::array<int, 3>& at) {
    Element::Vector part(3 * N);
    for (int a = 0; a < N; ++a)
        for (int i = 0; i < 3; ++i)
            part(3 * a + i) = local(6 * a + at[static_cast<size_t>(i)]);
    return part;
}

} // namespace

template <int N>
Element::Results ShellElement<N>::Recover(const Vector& u) const {
    const Vector local = ToLocal(u);
    return Combine(membrane_.Forces(Pick<N>(local, MembraneAt)),
                   plate_.Recover(Pick<N>(local, PlateAt)));
}

template <int N>
Element::Sampled ShellElement<N>::Sample(const Vector& u) const {
    const Vector local = ToLocal(u);
    Sampled sampled = membrane_.Sample(Pick<N>(local, MembraneAt));
    sampled.Values = Combine(sampled.Values, plate_.Sample(Pick<N>(local, PlateAt)).Values);
    return sampled;
}

template <int N>
Element::Vector ShellElement<N>::VolumeLoads(const std::array<double, 3>& perVolume) const {
    const double t = material_.Thickness;
    return Loads({perVolume[0] * t, perVolume[1] * t, perVolume[2] * t});
}

template <int N>
Element::Vector ShellElement<N>::Assemble(const Vector& membrane, const Vector& plate) const {
    Vector local = Vector::Zero(6 * N);
    for (int a = 0; a < N; ++a)
        for (int i = 0; i < 3; ++i) {
            local(6 * a + MembraneAt[static_cast<size_t>(i)]) = membrane(3 * a + i);
            local(6 * a + PlateAt[static_cast<size_t>(i)]) = plate(3 * a + i);
        }
    return Turn().transpose() * local;
}

template <int N>
Element::Vector ShellElement<N>::HeatLoads(const Heat& heat) const {
    return Assemble(membrane_.HeatLoads(heat), plate_.HeatLoads(heat));
}

template <int N>
Element::Results ShellElement<N>::HeatResults(const Heat& heat) const {
    return Combine(membrane_.HeatForces(heat), plate_.HeatResults(heat));
}

template <int N>
Element::Results ShellElement<N>::HeatSamples(const Heat& heat) const {
    return Combine(membrane_.HeatSamples(heat), plate_.HeatSamples(heat));
}

template class ShellElement<3>;
template class ShellElement<4>;

ShellTriangle::ShellTriangle(const ShellMaterial& m, std::array<int, 3> nodes,
                             std::array<Eigen::Vector3d, 3> points)
    : ShellElement(m, nodes, points) {}

ShellQuad::ShellQuad(const ShellMaterial& m, std::array<int, 4> nodes,
                     std::array<Eigen::Vector3d, 4> points)
    : ShellElement(m, nodes, points) {}

double ShellQuad::Warping(const std::array<Eigen::Vector3d, 4>& points) {
    const Eigen::Vector3d cross = (points[2] - points[0]).cross(points[3] - points[1]);
    const double area = cross.norm() / 2;
    if (area == 0)
        return 0;
    const Eigen::Vector3d normal = cross.normalized();
    const Eigen::Vector3d centre = (points[0] + points[1] + points[2] + points[3]) / 4;
    double largest = 0;
    for (const Eigen::Vector3d& p : points)
        largest = std::max(largest, std::abs((p - centre).dot(normal)));
    return largest / std::sqrt(area);
}
