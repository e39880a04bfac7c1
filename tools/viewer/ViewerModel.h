#pragma once

#include "DataFormat.h"
#include "ModelMarks.h"
#include "ParsedData.h"
#include "SolidSurface.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// What the model viewer draws of a checked data file, in world coordinates (z upwards; plane
// models lie in the x-z plane, grillages and plates in the x-y plane): the nodes, the element
// edges (each edge once), the element centres for their numbers, the supports and the loads of
// every load case as vectors.
struct ViewerModel {
    using Point = std::array<float, 3>;
    // Loads keep the data's numbers: a load of 1e300 is no float.
    using Vector = std::array<double, 3>;

    struct Support {
        int Node = 0;       // counted from 0
        bool Fixed = false; // every displacement fixed
        QString Codes;      // "110": the codes as the table gives them
    };
    struct Load {
        int Case = 1;
        Point At{};     // where it acts: the node or the element's centre
        Vector Force{}; // force, line load or pressure as a vector
        Vector Moment{};
        bool Distributed = false; // a load per length or area of an element
        bool AlongBar = false;    // a line load on a bar, from Start to End
        Point Start{}, End{};
        int Element = -1; // the loaded element counted from 0 (table 8), else -1
    };
    // A point or partial load on a member (tables 15 and 16), for the result mode: where it
    // acts and what it is, in world axes; a partial load per unit length from At to To.
    struct MemberLoad {
        int Case = 1;
        int Element = 0; // counted from 0
        bool Partial = false;
        Vector At{}, To{};
        Vector Force{}, ForceTo{}, Moment{};
    };
    // A bar of a bar structure, in element order, for the result mode.
    struct Bar {
        int I = 0, J = 0;  // node indices counted from 0
        int Hinges = 0;    // 1 at i, 2 at j, 3 both (plane frames)
        double Beta = 0;   // degrees (space frames)
        double Radius = 0; // an arc of this radius (type 1), 0 when straight
        // E·I for bending in the local x-z and x-y planes; 0 where the type has none.
        double BendingY = 0, BendingZ = 0;
    };

    QString Name;                  // "plane frames"
    QString ForceUnit, LengthUnit; // items 2 and 3 of table 1
    QStringList Components;        // the displacements of a node, as the supports name them
    bool Space = false;            // rotation makes sense: a model that is not in the x-z plane
    int LoadCases = 0;
    std::vector<Point> Nodes;
    std::vector<std::array<int, 2>> Edges; // node indices counted from 0
    std::vector<Point> ElementCentres;
    std::vector<Support> Supports;
    std::vector<Load> Loads;
    std::vector<Bar> Bars; // empty unless every element is a bar
    // The corners of each element of a plane or shell mesh, in element order (node indices
    // counted from 0, the fourth -1 for a triangle); empty for bars and solids.
    std::vector<std::array<int, 4>> Polygons;
    // The corners of each element of a solid, in element order (node indices counted from 0,
    // -1 past the last corner), and the outer surface they draw as; empty for other types.
    std::vector<SolidSurface::Corners> Solids;
    SolidSurface Surface;
    // Curved members (type 1), drawn as these polylines instead of an edge between their ends.
    std::vector<std::vector<Point>> Curves;
    std::vector<MemberLoad> MemberLoads;
    // Springs, imposed displacements, self-weight, temperatures and foundations of the
    // optional tables; their point and partial loads on members are among Loads.
    std::vector<ModelMark> Marks;

    static ViewerModel FromData(const DataFormat& format, const ParsedData& data);

    // The smallest box around the points, corner by corner (nodes not empty).
    struct Box {
        std::array<double, 3> Low{}, High{};
        std::array<double, 3> Centre() const {
            return {(Low[0] + High[0]) / 2, (Low[1] + High[1]) / 2, (Low[2] + High[2]) / 2};
        }
        double Diagonal() const;
    };
    static Box BoxAround(const std::vector<Point>& points);
};
