#pragma once

#include "BarModel.h"
#include "NodeActions.h"
#include "ProblemType.h"

#include <QString>
#include <array>
#include <span>
#include <vector>

class ParsedData;

// A mesh of any continuum family as its data file gives it: nodes in space, cells of 2 to 8
// corners, the components each node carries, and the supports, nodal loads, element loads and
// masses over those components. A plane model lies in the x-z plane of space (a body of
// revolution's r as x), a plate in the x-y plane. Every index counts from 0 and keeps the line
// of the file it came from, for messages.
struct MeshModel : NodeActions {
    struct Material {
        double E = 0, Nu = 0, Gamma = 0, Alpha = 0;
        double G() const { return E / (2 * (1 + Nu)); }
    };
    struct Cell {
        std::array<int, 8> Corners{}; // the unused ones -1
        int Count = 0;
        int Material = 0;
        double Thickness = 1; // plane stress, plates and shells: of table 3; otherwise 1
        int Line = 0;
        std::span<const int> Nodes() const { return {Corners.data(), static_cast<size_t>(Count)}; }
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
    // An even pressure over a cell: along z on a plate, along the cell's normal on a shell and
    // on the wall of a shell of revolution (n = (dz, -dr) / L); on a bar, an even load per unit
    // length given along the axes of space (Q), or a load along part of a bar (Along).
    struct ElementLoad {
        int Case = 1;
        int Cell = 0;
        double P = 0;
        int Line = 0;
        std::array<double, 3> Q{};
        // Where along a bar a load acts: evenly over it all (Q), at one point (a force and a
        // moment at A from end i), or from A to B varying linearly from Q to QB. Distances are
        // along the bar (a member divided into pieces: along its piece); the values are in the
        // axes of space or, with Member, the bar's own axes.
        enum class Spread { Even, Point, Partial };
        Spread Along = Spread::Even;
        bool Member = false;
        double A = 0, B = 0;
        std::array<double, 3> QB{};
        std::array<double, 3> Moment{}; // a point load's
    };
    struct Mass {
        int Node = 0;
        double M = 0;
        int Line = 0;
    };
    // A node of a profile's contour: 0 the outer contour, 1, 2, ... the holes.
    struct ContourNode {
        int Node = 0;
        int Contour = 0;
        int Line = 0;
    };

    int Problem = 0;
    ProblemType::Mesh Kind = ProblemType::Mesh::None;
    QString Title, ForceUnit, LengthUnit;
    int LoadCases = 1;
    int Modes = 0;     // natural modes asked for
    double Moment = 0; // the twisting moment of a profile in torsion
    // The components of space each node carries, in the order of the supports and loads of the
    // file: {0, 2} plane, {2, 3, 4} plates, {0, 1, 2} solids, 0 to 5 shells, {0, 2, 4} shells
    // of revolution.
    std::vector<int> Components;
    std::vector<std::array<double, 3>> Nodes;
    std::vector<int> NodeLines;
    std::vector<Material> Materials;
    std::vector<Cell> Cells;
    std::vector<Support> Supports;
    std::vector<NodalLoad> Loads;
    std::vector<ElementLoad> ElementLoads;
    std::vector<Mass> Masses;
    std::vector<ContourNode> Contours; // a profile's table 6, in place of supports

    // The two coordinates of a node in the plane a plane model or a plate lies in: (x, z) or
    // (r, z) for the plane types, (y, z) for a profile, (x, y) for plates.
    std::array<double, 2> Plan(int node) const;
    std::vector<std::array<double, 2>> Plan() const;
    bool IsPlane() const;
    // Per load case from 0 to LoadCases, the indices of its nodal and of its element loads.
    std::vector<std::vector<size_t>> LoadsByCase() const;
    std::vector<std::vector<size_t>> ElementLoadsByCase() const;

    // The model of a checked data file of types 2, 9, 10, 11, 13, 14, 16 and 17.
    static MeshModel FromData(int problem, const ParsedData& data);
    // A bar structure as the statics pipeline reads it: its nodes (the inner points of curved
    // members and divided members after the data's), its bars as cells of two corners in the
    // order of its bars, its supports and its nodal and element loads. Every case up to the
    // count given, and at least one.
    static MeshModel FromBars(const BarModel& bars);
};
