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
    type.GravityAxes = lies == Layout::Space      ? std::vector<int>{0, 1, 2}
                       : lies == Layout::Grillage ? std::vector<int>{2}
                                                  : std::vector<int>{0, 2};
    type.HasModel = true;
    type.Offers = ProblemType::Analysis::Statics;
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

// The analysis of a mesh type's ".d" files.
ProblemType::Analysis MeshAnalysis(ProblemType::Mesh mesh) {
    using Mesh = ProblemType::Mesh;
    using Analysis = ProblemType::Analysis;
    switch (mesh) {
    case Mesh::Plate:
    case Mesh::Shell:
        return Analysis::Surface;
    case Mesh::Profile:
        return Analysis::Torsion;
    case Mesh::Solid:
        return Analysis::Solid;
    default:
        return Analysis::Continuum;
    }
}

std::vector<ProblemType> MakeTable() {
    using Mesh = ProblemType::Mesh;
    using Analysis = ProblemType::Analysis;
    std::vector<ProblemType> table;
    ProblemType beams = PlaneFrame(1);
    beams.CurvedMembers = true;
    table.push_back(beams);
    ProblemType shells = Other(2, Family::AxisymmetricShells, true);
    shells.Meshes = Mesh::Meridian;
    shells.Components = {0, 2, 4};
    shells.GravityAxes = {2};
    shells.Offers = Analysis::Shells;
    table.push_back(shells);
    ProblemType planeTruss = Bars(3, Layout::PlaneXZ, {0, 2}, {0, 2});
    planeTruss.Truss = true;
    table.push_back(planeTruss);
    ProblemType spaceTruss = Bars(4, Layout::Space, {0, 1, 2}, {0, 2});
    spaceTruss.Truss = true;
    spaceTruss.Dynamics = Analysis::Modes;
    table.push_back(spaceTruss);
    table.push_back(PlaneFrame(5));
    table.push_back(Bars(6, Layout::Grillage, {2, 3, 4}, {2}));
    ProblemType spaceFrame = Bars(7, Layout::Space, {0, 1, 2, 3, 4, 5}, {0, 1, 2});
    spaceFrame.Dynamics = Analysis::Modes;
    table.push_back(spaceFrame);
    ProblemType vibrating = PlaneFrame(8);
    vibrating.Offers = Analysis::Modes;
    table.push_back(vibrating);
    const std::pair<int, Mesh> meshes[] = {
        {9, Mesh::PlaneStress}, {10, Mesh::PlaneStrain}, {11, Mesh::Revolution}, {13, Mesh::Plate},
        {14, Mesh::Shell},      {16, Mesh::Profile},     {17, Mesh::Solid}};
    for (const auto& [number, mesh] : meshes) {
        ProblemType continuum = Other(number, Family::Continuum, true);
        continuum.Meshes = mesh;
        continuum.Components = MeshComponents(mesh);
        // A body of revolution and a plate can only weigh along their axis.
        continuum.GravityAxes =
            mesh == Mesh::Shell || mesh == Mesh::Solid               ? std::vector<int>{0, 1, 2}
            : mesh == Mesh::PlaneStress || mesh == Mesh::PlaneStrain ? std::vector<int>{0, 2}
                                                                     : std::vector<int>{2};
        continuum.ContourNodes = mesh == Mesh::Profile;
        continuum.Offers = MeshAnalysis(mesh);
        if (mesh == Mesh::Plate)
            continuum.Dynamics = Analysis::SurfaceModes;
        table.push_back(continuum);
    }
    ProblemType shaft = Other(12, Family::ShaftLine, false);
    shaft.Offers = Analysis::Shaft;
    table.push_back(shaft);
    ProblemType buckling = PlaneFrame(15);
    buckling.Offers = Analysis::Buckling;
    table.push_back(buckling);
    for (int number = 21; number <= 27; ++number) {
        ProblemType mathematics = Other(number, Family::Mathematics, false);
        mathematics.Offers = Analysis::Mathematics;
        table.push_back(mathematics);
    }
    return table;
}

} // namespace

QString ProblemType::ResultExtension(Analysis analysis) {
    switch (analysis) {
    case Analysis::None:
    case Analysis::Mathematics:
    case Analysis::Shaft:
        return {};
    case Analysis::Modes:
    case Analysis::Buckling:
    case Analysis::SurfaceModes:
        return QStringLiteral("bi0");
    default:
        return QStringLiteral("bin");
    }
}

const ProblemType& ProblemType::Of(int number) {
    static const std::vector<ProblemType> table = MakeTable();
    static const ProblemType unknown;
    const auto found = std::find_if(table.begin(), table.end(),
                                    [number](const ProblemType& t) { return t.Number == number; });
    return found == table.end() ? unknown : *found;
}
