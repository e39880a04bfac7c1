#pragma once

#include <QString>
#include <array>
#include <vector>

class ParsedData;

// A mesh of plate or shell elements as the data files give it: plates lie in the x-y plane and
// bend across it (uz, rx, ry per node), shells are flat triangles and quadrilaterals in space
// (ux uy uz rx ry rz). Every index counts from 0 and keeps the line of the file it came from,
// for messages. Components are those of space, numbered 0 to 5.
struct SurfaceModel {
    enum class Kind { Plate, Shell };

    struct Material {
        double E = 0, Nu = 0, Gamma = 0;
    };
    struct Cell {
        std::array<int, 4> Corners{}; // the fourth is -1 for a triangle
        int Count = 4;                // 3 or 4
        int Material = 0;
        double Thickness = 0;
        int Line = 0;
    };
    struct Support {
        int Node = 0;
        std::array<bool, 6> Fixed{}; // by component of space
        int Line = 0;
    };
    struct NodalLoad {
        int Case = 1;
        int Node = 0;
        std::array<double, 6> Load{}; // forces and moments by component of space
        int Line = 0;
    };
    // An even pressure over an element: along z on a plate, along the element's normal on a
    // shell.
    struct Pressure {
        int Case = 1;
        int Cell = 0;
        double P = 0;
        int Line = 0;
    };
    struct Mass {
        int Node = 0;
        double M = 0;
        int Line = 0;
    };

    int Problem = 0;
    Kind Type = Kind::Plate;
    QString Title, ForceUnit, LengthUnit;
    int LoadCases = 1;
    int Modes = 0;                            // natural modes asked for (plates)
    std::vector<int> Components;              // {2, 3, 4} for plates, 0 to 5 for shells
    std::vector<std::array<double, 3>> Nodes; // z is 0 on a plate
    std::vector<int> NodeLines;
    std::vector<Material> Materials;
    std::vector<Cell> Cells;
    std::vector<Support> Supports;
    std::vector<NodalLoad> Loads;
    std::vector<Pressure> Pressures;
    std::vector<Mass> Masses;

    bool IsPlate() const { return Type == Kind::Plate; }

    // The model of a checked data file of types 13 and 14.
    static SurfaceModel FromData(int problem, const ParsedData& data);
};
