#include "ProblemType.h"

#include <algorithm>
#include <utility>

namespace {

using Family = ProblemType::Family;
using Layout = ProblemType::Layout;

ProblemType Bars(int number, Layout lies, std::vector<int> components, std::vector<int> loadAxes) {
    ProblemType type;
    type.Number = number;
    type.Kind = Family::Bars;
    type.Lies = lies;
    type.Components = std::move(components);
    type.LoadAxes = std::move(loadAxes);
    type.HasModel = true;
    return type;
}

ProblemType Other(int number, Family kind, bool hasModel) {
    ProblemType type;
    type.Number = number;
    type.Kind = kind;
    type.HasModel = hasModel;
    return type;
}

// The components a node of a mesh carries: the plane types' ux (ur) and uz, a plate's uz rx ry,
// a solid's translations, all six of a shell's; a profile in torsion has one unknown of its own.
std::vector<int> MeshComponents(ProblemType::Mesh mesh) {
    using Mesh = ProblemType::Mesh;
    switch (mesh) {
    case Mesh::Plate:
        return {2, 3, 4};
    case Mesh::Shell:
        return {0, 1, 2, 3, 4, 5};
    case Mesh::Solid:
        return {0, 1, 2};
    case Mesh::Profile:
        return {};
    default:
        return {0, 2};
    }
}

// A plane frame's bars: ux, uz and the rotation ry, with a hinge column.
ProblemType PlaneFrame(int number) {
    ProblemType type = Bars(number, Layout::PlaneXZ, {0, 2, 4}, {0, 2});
    type.Hinges = true;
    return type;
}

std::vector<ProblemType> MakeTable() {
    using Mesh = ProblemType::Mesh;
    std::vector<ProblemType> table;
    ProblemType beams = PlaneFrame(1);
    beams.CurvedMembers = true;
    table.push_back(beams);
    ProblemType shells = Other(2, Family::AxisymmetricShells, true);
    shells.Meshes = Mesh::Meridian;
    shells.Components = {0, 2, 4};
    table.push_back(shells);
    ProblemType planeTruss = Bars(3, Layout::PlaneXZ, {0, 2}, {0, 2});
    planeTruss.Truss = true;
    table.push_back(planeTruss);
    ProblemType spaceTruss = Bars(4, Layout::Space, {0, 1, 2}, {0, 2});
    spaceTruss.Truss = true;
    table.push_back(spaceTruss);
    table.push_back(PlaneFrame(5));
    table.push_back(Bars(6, Layout::Grillage, {2, 3, 4}, {2}));
    table.push_back(Bars(7, Layout::Space, {0, 1, 2, 3, 4, 5}, {0, 1, 2}));
    table.push_back(PlaneFrame(8));
    const std::pair<int, Mesh> meshes[] = {
        {9, Mesh::PlaneStress}, {10, Mesh::PlaneStrain}, {11, Mesh::Revolution}, {13, Mesh::Plate},
        {14, Mesh::Shell},      {16, Mesh::Profile},     {17, Mesh::Solid}};
    for (const auto& [number, mesh] : meshes) {
        ProblemType continuum = Other(number, Family::Continuum, true);
        continuum.Meshes = mesh;
        continuum.Components = MeshComponents(mesh);
        continuum.ContourNodes = mesh == Mesh::Profile;
        table.push_back(continuum);
    }
    table.push_back(Other(12, Family::ShaftLine, false));
    table.push_back(PlaneFrame(15));
    for (int number = 21; number <= 27; ++number)
        table.push_back(Other(number, Family::Mathematics, false));
    return table;
}

} // namespace

const ProblemType& ProblemType::Of(int number) {
    static const std::vector<ProblemType> table = MakeTable();
    static const ProblemType unknown;
    const auto found = std::find_if(table.begin(), table.end(),
                                    [number](const ProblemType& t) { return t.Number == number; });
    return found == table.end() ? unknown : *found;
}
