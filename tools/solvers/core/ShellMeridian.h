#pragma once

#include <QString>
#include <array>
#include <vector>

class ParsedData;

// A system of shells of revolution about the z axis as its data file gives it: the nodes of the
// meridian (r, z), the conical elements between them with their material and thickness, the
// supports and ring loads (per unit length of the circumference) and the pressures on the
// elements. Indices count from 0; each item keeps its line of the file, for messages.
struct ShellMeridian {
    struct Material {
        double E = 0, Nu = 0, Gamma = 0;
    };
    struct Element {
        int I = 0, J = 0, Material = 0;
        double Thickness = 0;
        int Line = 0;
    };
    struct Support {
        int Node = 0;
        std::array<bool, 3> Fixed{}; // ur uz rot
        int Line = 0;
    };
    struct NodalLoad {
        int Case = 1, Node = 0;
        std::array<double, 3> Load{}; // Fr Fz M
        int Line = 0;
    };
    struct Pressure {
        int Case = 1, Element = 0;
        double P = 0; // normal to the wall, positive along its normal n = (dz, -dr) / L
        int Line = 0;
    };

    QString Title, ForceUnit, LengthUnit;
    int LoadCases = 1;
    std::vector<std::array<double, 2>> Nodes;
    std::vector<Material> Materials;
    std::vector<Element> Elements;
    std::vector<Support> Supports;
    std::vector<NodalLoad> Loads;
    std::vector<Pressure> Pressures;

    // The model of a data file of type 2 the checker has passed.
    static ShellMeridian FromData(const ParsedData& data);

    // Whether a node lies on the axis, where a ring has no circumference.
    bool OnAxis(int node) const { return Nodes[static_cast<size_t>(node)][0] <= 0; }

    // What the checker does not know of shells: an element along the axis (a ring of no
    // radius), an element given twice and a load on a node of the axis. Empty when the model
    // can be solved; otherwise "Line N: ...".
    QString Fault() const;
};
