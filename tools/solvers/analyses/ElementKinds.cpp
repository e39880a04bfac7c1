#include "ElementKinds.h"

#include "FlatShell.h"
#include "PlaneSolid.h"
#include "PlateBending.h"
#include "ShellMaterial.h"
#include "SolidElements.h"

#include <algorithm>

namespace {

using Mesh = ProblemType::Mesh;

template <size_t N>
std::array<int, N> NodesOf(std::span<const int> corners) {
    std::array<int, N> nodes;
    std::copy_n(corners.begin(), N, nodes.begin());
    return nodes;
}

template <size_t N>
std::array<std::array<double, 2>, N> PlanOf(const MeshModel& model, std::span<const int> corners) {
    std::array<std::array<double, 2>, N> points;
    for (size_t a = 0; a < N; ++a)
        points[a] = model.Plan(corners[a]);
    return points;
}

template <size_t N>
std::array<Eigen::Vector3d, N> PointsOf(const MeshModel& model, std::span<const int> corners) {
    std::array<Eigen::Vector3d, N> points;
    for (size_t a = 0; a < N; ++a) {
        const auto& at = model.Nodes[static_cast<size_t>(corners[a])];
        points[a] = Eigen::Vector3d(at[0], at[1], at[2]);
    }
    return points;
}

template <class Made, size_t N>
std::unique_ptr<Element> MakePlane(const PlaneSolid& solid, const MeshModel& model,
                                   std::span<const int> corners) {
    return std::make_unique<Made>(solid, NodesOf<N>(corners), PlanOf<N>(model, corners));
}

template <class Made, size_t N>
SurfaceElement MakePlate(const ShellMaterial& material, const MeshModel& model,
                         std::span<const int> corners) {
    return {std::make_unique<Made>(material, NodesOf<N>(corners), PlanOf<N>(model, corners))};
}

template <class Made, size_t N>
SurfaceElement MakeShell(const ShellMaterial& material, const MeshModel& model,
                         std::span<const int> corners) {
    auto shell = std::make_unique<Made>(material, NodesOf<N>(corners), PointsOf<N>(model, corners));
    const Eigen::Matrix3d axes = shell->Axes();
    return {std::move(shell), axes};
}

// The solid's own check turns a brick, wedge or tetrahedron numbered the other way round.
template <size_t N>
std::unique_ptr<Element> MakeSolid(const SolidMaterial& material, const MeshModel& model,
                                   std::span<const int> corners) {
    const std::array<Eigen::Vector3d, N> points = PointsOf<N>(model, corners);
    return SolidElement::Make(material, corners, points);
}

} // namespace

PlaneKinds StandardElements::Plane() {
    return {
        {Mesh::PlaneStress, 3, &MakePlane<PlaneTriangle, 3>},
        {Mesh::PlaneStress, 4, &MakePlane<PlaneQuad, 4>},
        {Mesh::PlaneStrain, 3, &MakePlane<PlaneTriangle, 3>},
        {Mesh::PlaneStrain, 4, &MakePlane<PlaneQuad, 4>},
        {Mesh::Revolution, 3, &MakePlane<PlaneTriangle, 3>},
        {Mesh::Revolution, 4, &MakePlane<PlaneQuad, 4>},
    };
}

SurfaceKinds StandardElements::Surface() {
    return {
        {Mesh::Plate, 3, &MakePlate<PlateTriangle, 3>},
        {Mesh::Plate, 4, &MakePlate<PlateQuad, 4>},
        {Mesh::Shell, 3, &MakeShell<ShellTriangle, 3>},
        {Mesh::Shell, 4, &MakeShell<ShellQuad, 4>},
    };
}

SolidKinds StandardElements::Solid() {
    return {
        {Mesh::Solid, 8, &MakeSolid<8>},
        {Mesh::Solid, 6, &MakeSolid<6>},
        {Mesh::Solid, 4, &MakeSolid<4>},
    };
}
