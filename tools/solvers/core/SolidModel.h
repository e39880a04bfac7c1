#pragma once

#include <QString>
#include <array>
#include <vector>

class ParsedData;

// A mesh of three-dimensional solid elements as the data files give it: bricks of eight
// corners, wedges of six and tetrahedra of four, in any mix, with ux uy uz per node. Every
// index counts from 0 and keeps the line of the file it came from, for messages.
struct SolidModel {
    struct Material {
        double E = 0, Nu = 0, Gamma = 0;
    };
    struct Cell {
        std::array<int, 8> Corners{}; // the unused ones -1
        int Count = 8;                // 4, 6 or 8
        int Material = 0;
        int Line = 0;
    };
    struct Support {
        int Node = 0;
        std::array<bool, 3> Fixed{};
        int Line = 0;
    };
    struct NodalLoad {
        int Case = 1;
        int Node = 0;
        std::array<double, 3> Force{};
        int Line = 0;
    };

    int Problem = 17;
    QString Title, ForceUnit, LengthUnit;
    int LoadCases = 1;
    std::vector<std::array<double, 3>> Nodes;
    std::vector<int> NodeLines;
    std::vector<Material> Materials;
    std::vector<Cell> Cells;
    std::vector<Support> Supports;
    std::vector<NodalLoad> Loads;

    // The model of a checked data file of type 17.
    static SolidModel FromData(int problem, const ParsedData& data);
};
