#pragma once

// Which elements of a Gmsh mesh a problem type takes, by their dimension: the one place that
// says which types can be imported, for the importer and for the editor that offers it.
namespace GmshElementKinds {

// 2 for the plane, axisymmetric, plate, shell and torsion types (triangles and quadrilaterals),
// 3 for solids, 1 for the bar types (lines); -1 for a type that takes no mesh. `problem` is the
// accepted number (1 to 27).
constexpr int Dimension(int problem) {
    switch (problem) {
    case 9:
    case 10:
    case 11:
    case 13:
    case 14:
    case 16:
        return 2;
    case 17:
        return 3;
    case 1:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 15:
        return 1;
    default:
        return -1;
    }
}

} // namespace GmshElementKinds
