#pragma once

#include <QString>
#include <array>
#include <utility>
#include <vector>

class ParsedData;
struct ProblemType;

// What a data file gives of a structure's loads and supports beyond its tables of supports
// and loads, in terms of its nodes and load cases, the same for bars and meshes: the
// self-weight, the displacements imposed on held components, the springs to the ground, the
// load combinations and their envelopes. Node indices count from 0.
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

    std::vector<Weight> Weights;
    std::vector<Displacement> Displacements;
    std::vector<Spring> Springs;
    std::vector<Combination> Combinations;
    std::vector<Envelope> Envelopes;

    // Reads tables 10, 12, 13, 17 and 18 of a checked data file of `type`, whose nodes carry
    // `components` (the columns of its supports).
    void ReadActions(const ProblemType& type, const std::vector<int>& components,
                     const ParsedData& data);
};
