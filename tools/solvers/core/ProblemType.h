#pragma once

#include <QString>
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
    // The global axes along which a self-weight table gives its multiples of g, in its order.
    std::vector<int> GravityAxes;
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

    // What the solvers calculate of a type: the statics of bar structures (Statics), their
    // natural modes (Modes) and critical load factors (Buckling); the statics of plane and
    // axisymmetric meshes (Continuum), of profiles in torsion (Torsion), of plates and shells
    // (Surface) and the natural modes of plates (SurfaceModes); the statics of systems of shells
    // of revolution (Shells) and of solids (Solid); the natural frequencies of shaft lines
    // (Shaft); and the mathematics.
    enum class Analysis {
        None,
        Statics,
        Modes,
        Buckling,
        Mathematics,
        Shaft,
        Continuum,
        Torsion,
        Surface,
        SurfaceModes,
        Shells,
        Solid
    };
    Analysis Offers = Analysis::None;   // for its ".d" files
    Analysis Dynamics = Analysis::None; // for its ".p" files, where it has them
    Analysis Of(bool dynamics) const { return dynamics ? Dynamics : Offers; }
    // The extension of the result file an analysis writes beside the data, which the viewer
    // reads: "bin" for statics, "bi0" for modes and critical factors; none for the analyses
    // whose answers are the protocol alone.
    static QString ResultExtension(Analysis analysis);

    bool HasModel = false; // the viewer can draw its mesh or bars
    Mesh Meshes = Mesh::None;
    bool ContourNodes = false; // table 6 lists the nodes of a profile's contours, not supports

    // Loads and reactions per unit length rather than whole forces.
    bool PerUnitLength() const { return Meshes == Mesh::PlaneStrain || Meshes == Mesh::Revolution; }

    bool IsBars() const { return Kind == Family::Bars; }

    static const ProblemType& Of(int number);
};
