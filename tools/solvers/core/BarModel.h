#pragma once

#include "NodeActions.h"
#include "ProblemType.h"

#include <QString>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

// A bar structure ready for the stiffness method, whatever its problem type: nodes in space,
// straight bars with their section properties, and the displacement components the type keeps
// of the six a node has in space (ux uy uz rx ry rz, numbered 0 to 5). Plane types lie in the
// x-z plane and grillages in the x-y plane, so every type is one 3D model with fewer components.
struct BarModel : NodeActions {
    using Vector = std::array<double, 3>;

    struct Bar {
        int I = 0, J = 0; // node indices counted from 0
        double E = 0, G = 0;
        double A = 0, It = 0, Iy = 0, Iz = 0;
        double Beta = 0;    // degrees
        double Density = 0; // unit weight gamma, for masses and self-weight
        double Alpha = 0;   // coefficient of thermal expansion
        int Material = 0;   // the item of table 2, counted from 0
        bool Truss = false;
        bool HingeI = false, HingeJ = false; // bending in the local x-z plane released
        int Element = 0; // the element of the data file it belongs to (arcs give several bars)
    };

    // A load along a bar: even over it all (Q per unit length), a force Q and a moment Moment
    // at A from end i, or a load from A to B varying linearly from Q to QB per unit length.
    // Distances are along the bar (a piece of a divided member: along the piece); the values
    // are in the axes of space or, with Member, the bar's own axes.
    struct ElementLoad {
        enum class Spread { Even, Point, Partial };
        int Case = 1; // counted from 1
        int Bar = 0;  // index into Bars
        Vector Q{};
        Spread Along = Spread::Even;
        bool Member = false;
        double A = 0, B = 0;
        Vector QB{}, Moment{};
        int Line = 0;
    };

    struct NodalLoad {
        int Case = 1;
        int Node = 0;
        std::array<double, 6> Load{};
    };

    struct Support {
        int Node = 0;
        std::array<bool, 6> Fixed{};
    };

    struct Mass {
        int Node = 0;
        double M = 0, J = 0; // J: rotational inertia about y (plane frames)
    };

    struct Material {
        double E = 0, Nu = 0, Gamma = 0, Alpha = 0;
    };
    int Problem = 0;
    // Where the bars lie, which decides their local axes (PlaneXZ: local y is the global y axis;
    // Grillage: local z is the global z axis; Space: local z lies in the vertical plane through
    // the bar, turned by beta).
    ProblemType::Layout Axes = ProblemType::Layout::PlaneXZ;
    bool Truss = false;          // every bar carries normal force only
    std::vector<int> Components; // the kept components, in the order of the type's tables
    QString ForceUnit, LengthUnit;
    int LoadCases = 0;
    int Modes = 0;     // natural or buckling modes asked for
    int DataNodes = 0; // nodes of the data file; arcs add nodes behind them
    int DataElements = 0;
    // Per element of the data file, the straight bars it was cut into: 1, the pieces of an
    // arc, or those of a member divided for modes and buckling. The inner nodes follow the
    // data's nodes element by element, each element's from i to j.
    std::vector<int> Pieces;
    std::vector<Vector> Nodes;
    std::vector<Bar> Bars;
    std::vector<Support> Supports;
    std::vector<NodalLoad> NodalLoads;
    std::vector<ElementLoad> ElementLoads;
    std::vector<Mass> Masses;
    std::vector<Material> Materials; // table 2

    // The names of the kept components ("ux", "uz", "ry") and of the matching loads.
    QStringList ComponentNames() const;
    QStringList LoadNames() const;
    bool IsTruss() const { return Truss; }
    bool IsPlane() const { return Axes == ProblemType::Layout::PlaneXZ; }
};
