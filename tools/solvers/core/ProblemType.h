#pragma once

#include <vector>

// What the solvers and the viewer know of each problem type of the data files: the one place
// that knows the problem numbers. A number the package does not know gives a type of no
// family, without a model.
struct ProblemType {
    enum class Family { None, Bars, AxisymmetricShells, Continuum, ShaftLine, Mathematics };
    // Where the bars of a type lie, which decides their local axes.
    enum class Layout {
        PlaneXZ,  // beams, plane trusses and plane frames in the x-z plane
        Grillage, // bars in the x-y plane, loaded across it
        Space,
    };

    int Number = 0;
    Family Kind = Family::None;
    Layout Lies = Layout::PlaneXZ;
    bool Truss = false;         // bars carry normal force only
    bool Hinges = false;        // the elements table has a hinge column
    bool CurvedMembers = false; // the elements table gives a radius
    // Of the six components a node has in space (ux uy uz rx ry rz, numbered 0 to 5), those the
    // type keeps, in the order of its supports and nodal loads; and the global axes of the
    // columns of its element loads.
    std::vector<int> Components;
    std::vector<int> LoadAxes;
    // What a mesh of the continuum types models: a panel (plane stress), a slice of a long
    // body (plane strain: loads and reactions per unit of its length), the section of a body
    // of revolution (r, z; ring values per unit length of the circumference), a profile in
    // torsion (y, z), or a plate, a shell or a solid.
    enum class Mesh {
        None,
        PlaneStress,
        PlaneStrain,
        Revolution,
        Profile,
        Plate,
        Shell,
        Solid,
        Meridian // the walls of shells of revolution, lines in (r, z)
    };

    bool HasModel = false; // the viewer can draw its mesh or bars
    Mesh Meshes = Mesh::None;
    bool ContourNodes = false; // table 6 lists the nodes of a profile's contours, not supports

    // Loads and reactions per unit length rather than whole forces.
    bool PerUnitLength() const { return Meshes == Mesh::PlaneStrain || Meshes == Mesh::Revolution; }

    bool IsBars() const { return Kind == Family::Bars; }

    static const ProblemType& Of(int number);
};
