#pragma once

#include <QString>
#include <array>
#include <vector>

class ParsedData;

// A plane mesh of triangles and quadrilaterals as the continuum types give it: plane stress
// and plane strain in the x-z plane, axisymmetric bodies in the r-z plane and profiles in
// torsion in the y-z plane. Coordinates are kept as the file's two columns (first, second);
// every index counts from 0 and keeps the line of the file it came from, for messages.
struct ContinuumModel {
    enum class Body { PlaneStress, PlaneStrain, Axisymmetric, Torsion };

    struct Material {
        double E = 0, Nu = 0, Gamma = 0;
        double G() const { return E / (2 * (1 + Nu)); }
    };
    struct Cell {
        std::array<int, 4> Corners{}; // the fourth is -1 for a triangle
        int Count = 4;                // 3 or 4
        int Material = 0;
        double Thickness = 1; // plane stress: t of table 3; otherwise 1
        int Line = 0;
    };
    struct Support {
        int Node = 0;
        std::array<bool, 2> Fixed{};
        int Line = 0;
    };
    struct NodalLoad {
        int Case = 1;
        int Node = 0;
        std::array<double, 2> Force{};
        int Line = 0;
    };
    struct ContourNode {
        int Node = 0;
        int Contour = 0; // 0 the outer contour, 1, 2, ... the holes
        int Line = 0;
    };

    int Problem = 0;
    Body Kind = Body::PlaneStress;
    QString Title, ForceUnit, LengthUnit;
    int LoadCases = 1;
    double Moment = 0; // torsion: the twisting moment
    std::vector<std::array<double, 2>> Nodes;
    std::vector<int> NodeLines;
    std::vector<Material> Materials;
    std::vector<Cell> Cells;
    std::vector<Support> Supports;
    std::vector<NodalLoad> Loads;
    std::vector<ContourNode> Contours;

    // The model of a checked data file of types 9, 10, 11 and 16.
    static ContinuumModel FromData(int problem, const ParsedData& data);
};
