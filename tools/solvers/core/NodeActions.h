#pragma once

#include <QString>
#include <array>
#include <utility>
#include <vector>

class ParsedData;
struct ProblemType;

// What a data file gives of a structure's loads and supports beyond its tables of supports
// and loads, the same for bars and meshes: the self-weight, the displacements imposed on held
// components, the springs to the ground, the load combinations and their envelopes, and the
// temperatures and elastic foundations of its nodes and cells (a bar model's cells are its
// bars). Node and cell indices count from 0.
struct NodeActions {
    // The weight of every element in a load case: the multiples of g along x, y and z, times
    // each element's unit weight.
    struct Weight {
        int Case = 1;
        std::array<double, 3> G{};
        int Line = 0;
    };
    // A displacement imposed on held components of a node in a load case (a settlement).
    struct Displacement {
        int Case = 1;
        int Node = 0;
        std::array<double, 6> Value{}; // by component of space
        int Line = 0;
    };
    // Springs from a node to the ground, a stiffness per component of space (0 none).
    struct Spring {
        int Node = 0;
        std::array<double, 6> K{};
        int Line = 0;
    };
    // A combination of load cases: the sum of factor times case.
    struct Combination {
        int Number = 1;
        std::vector<std::pair<int, double>> Terms; // case, factor
        int Line = 0;                              // its first item
    };
    // An envelope: the extremes of each result over the combinations it names.
    struct Envelope {
        int Number = 1;
        std::vector<int> Combinations;
        int Line = 0;
    };

    // A change of temperature in a load case: of one node (plane bodies and solids: Cell -1),
    // or of one cell, evenly (Change) with a difference across its depth (Across: a bar's face
    // on the side of its local z axis less the opposite face, over the section's Depth; plates
    // and shells over their thickness: Depth 0).
    struct Heat {
        int Case = 1;
        int Node = -1, Cell = -1;
        double Change = 0, Across = 0, Depth = 0;
        int Line = 0;
    };
    // An elastic (Winkler) foundation under a cell: its modulus per length of a bar, per area
    // of a plate.
    struct Foundation {
        int Cell = 0;
        double K = 0;
        int Line = 0;
    };

    std::vector<Weight> Weights;
    std::vector<Displacement> Displacements;
    std::vector<Spring> Springs;
    std::vector<Combination> Combinations;
    std::vector<Envelope> Envelopes;
    // Every piece of a curved or divided bar has its element's temperature and foundation.
    std::vector<Heat> Heats;
    std::vector<Foundation> Foundations;

    // Reads tables 10, 12, 13, 17 and 18 of a checked data file of `type`, whose nodes carry
    // `components` (the columns of its supports). Temperatures and foundations (tables 11 and
    // 14) each model reads itself: bars give them per element, meshes per node or cell.
    void ReadActions(const ProblemType& type, const std::vector<int>& components,
                     const ParsedData& data);
};
