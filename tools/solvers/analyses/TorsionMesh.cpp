#include "TorsionMesh.h"

#include "MeshModel.h"
#include "PlaneMesh.h"
#include "ScalarField.h"
#include "SolverError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <numeric>
#include <set>

namespace {

using Point = Eigen::Vector2d;
using PlaneMesh::Side;
using PlaneMesh::SideKey;

double Cross(const Point& a, const Point& b) {
    return a.x() * b.y() - a.y() * b.x();
}

class Pieces {
public:
    explicit Pieces(size_t nodes) : parent_(nodes) { std::iota(parent_.begin(), parent_.end(), 0); }
    int Root(int node) {
        while (parent_[static_cast<size_t>(node)] != node) {
            int& up = parent_[static_cast<size_t>(node)];
            up = parent_[static_cast<size_t>(up)];
            node = up;
        }
        return node;
    }
    void Join(int a, int b) { parent_[static_cast<size_t>(Root(a))] = Root(b); }

private:
    std::vector<int> parent_;
};

// A profile in pieces that do not touch has no common warping; elements joined by a node
// alone are joined (the profile may pinch to a point).
CheckFault OnePiece(const MeshModel& model, const std::vector<TorsionMesh::Cell>& cells,
                    size_t nodes) {
    Pieces pieces(nodes);
    for (const TorsionMesh::Cell& cell : cells) {
        for (int a = 1; a < cell.Count; ++a)
            pieces.Join(cell.Corners[0], cell.Corners[a]);
    }
    const int piece = pieces.Root(cells[0].Corners[0]);
    for (const TorsionMesh::Cell& cell : cells) {
        if (pieces.Root(cell.Corners[0]) != piece)
            return {model.Cells[static_cast<size_t>(cell.Parent)].Line,
                    QStringLiteral("the profile is in pieces that do not touch: element %1 is not "
                                   "joined to element 1; calculate each piece as a profile of its "
                                   "own")
                        .arg(cell.Parent + 1)};
    }
    return {};
}

// The boundary of the mesh as closed loops of sides that belong to one element only: the
// outer contour runs counter-clockwise (positive area), each hole clockwise.
struct Loops {
    std::vector<double> Area;
    std::vector<int> FirstNode;
    std::vector<std::pair<int, int>> NodeLoop; // (node, loop), sorted

    std::vector<int> Of(int node) const {
        std::vector<int> loops;
        auto at = std::lower_bound(NodeLoop.begin(), NodeLoop.end(), std::pair{node, -1});
        for (; at != NodeLoop.end() && at->first == node; ++at)
            loops.push_back(at->second);
        return loops;
    }
};

Loops TraceLoops(const std::vector<Side>& boundary, const std::vector<Point>& nodes) {
    Loops loops;
    // The boundary sides leaving each node.
    std::vector<int> start(nodes.size() + 1, 0);
    for (const Side& side : boundary)
        ++start[static_cast<size_t>(side.From) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<int> leaving(boundary.size()), fill(start.begin(), start.end() - 1);
    for (size_t s = 0; s < boundary.size(); ++s)
        leaving[static_cast<size_t>(fill[static_cast<size_t>(boundary[s].From)]++)] =
            static_cast<int>(s);
    std::vector<bool> used(boundary.size(), false);
    const auto next = [&](int node) {
        for (int k = start[static_cast<size_t>(node)]; k < start[static_cast<size_t>(node) + 1];
             ++k) {
            const int s = leaving[static_cast<size_t>(k)];
            if (!used[static_cast<size_t>(s)])
                return s;
        }
        return -1;
    };
    for (size_t first = 0; first < boundary.size(); ++first) {
        if (used[first])
            continue;
        const int loop = static_cast<int>(loops.Area.size());
        const Point origin = nodes[static_cast<size_t>(boundary[first].From)];
        double area = 0;
        for (int s = static_cast<int>(first); s >= 0;
             s = next(boundary[static_cast<size_t>(s)].To)) {
            const Side& side = boundary[static_cast<size_t>(s)];
            used[static_cast<size_t>(s)] = true;
            area += Cross(nodes[static_cast<size_t>(side.From)] - origin,
                          nodes[static_cast<size_t>(side.To)] - origin) /
                    2;
            loops.NodeLoop.emplace_back(side.From, loop);
        }
        loops.Area.push_back(area);
        loops.FirstNode.push_back(boundary[first].From);
    }
    std::sort(loops.NodeLoop.begin(), loops.NodeLoop.end());
    loops.NodeLoop.erase(std::unique(loops.NodeLoop.begin(), loops.NodeLoop.end()),
                         loops.NodeLoop.end());
    return loops;
}

// Table 6 against the loops: each contour number names one loop, 0 the outer contour and the
// others holes, and every hole has a number.
CheckFault CheckContours(const MeshModel& model, const Loops& loops, int& holes) {
    struct Claim {
        int Loop = -1, Node = 0, Line = 0;
    };
    std::vector<Claim> byNumber; // indexed by contour number
    std::vector<int> numberOf(loops.Area.size(), -1), lineOf(loops.Area.size(), 0);
    for (const MeshModel::ContourNode& item : model.Contours) {
        const int node = item.Node + 1;
        const std::vector<int> on = loops.Of(item.Node);
        if (on.empty())
            return {item.Line, QStringLiteral("node %1 of table 6 lies inside the profile, not "
                                              "on a contour")
                                   .arg(node)};
        std::vector<int> fitting;
        for (int loop : on) {
            if ((loops.Area[static_cast<size_t>(loop)] > 0) == (item.Contour == 0))
                fitting.push_back(loop);
        }
        if (fitting.empty()) {
            if (item.Contour == 0)
                return {item.Line, QStringLiteral("node %1 lies on a hole of the profile, not on "
                                                  "its outer contour 0; number the holes 1, 2, "
                                                  "...")
                                       .arg(node)};
            return {item.Line, QStringLiteral("node %1 lies on the outer contour of the profile, "
                                              "so contour %2 is no hole of it; the outer contour "
                                              "is contour 0")
                                   .arg(node)
                                   .arg(item.Contour)};
        }
        if (item.Contour == 0)
            continue; // a profile whose outer contour touches itself has it as several loops
        if (static_cast<size_t>(item.Contour) >= byNumber.size())
            byNumber.resize(static_cast<size_t>(item.Contour) + 1);
        Claim& claim = byNumber[static_cast<size_t>(item.Contour)];
        if (claim.Loop >= 0) {
            if (std::find(fitting.begin(), fitting.end(), claim.Loop) == fitting.end())
                return {item.Line, QStringLiteral("node %1 lies on another contour than node %2 "
                                                  "(line %3), though both are given as contour "
                                                  "%4")
                                       .arg(node)
                                       .arg(claim.Node)
                                       .arg(claim.Line)
                                       .arg(item.Contour)};
            continue;
        }
        // A node where two holes touch may stand for either: take one not numbered yet.
        int loop = fitting.front();
        for (int candidate : fitting) {
            if (numberOf[static_cast<size_t>(candidate)] < 0) {
                loop = candidate;
                break;
            }
        }
        if (numberOf[static_cast<size_t>(loop)] >= 0)
            return {item.Line, QStringLiteral("node %1 lies on the hole given as contour %2 in "
                                              "line %3, not on a contour %4 of its own")
                                   .arg(node)
                                   .arg(numberOf[static_cast<size_t>(loop)])
                                   .arg(lineOf[static_cast<size_t>(loop)])
                                   .arg(item.Contour)};
        claim = {loop, node, item.Line};
        numberOf[static_cast<size_t>(loop)] = item.Contour;
        lineOf[static_cast<size_t>(loop)] = item.Line;
    }
    holes = 0;
    for (size_t loop = 0; loop < loops.Area.size(); ++loop) {
        if (loops.Area[loop] > 0)
            continue;
        ++holes;
        if (numberOf[loop] < 0) {
            const int node = loops.FirstNode[loop];
            return {model.NodeLines[static_cast<size_t>(node)],
                    QStringLiteral("node %1 lies on a hole of the profile that table 6 does not "
                                   "list; give the nodes of each hole a contour number from 1")
                        .arg(node + 1)};
        }
    }
    return {};
}

// The nodes on a contour where the elements around them span more than a straight angle,
// found from the angles of the elements at their corners (counter-clockwise, convex).
std::vector<TorsionMesh::Corner> ReentrantCorners(const std::vector<TorsionMesh::Cell>& cells,
                                                  const std::vector<Side>& boundary,
                                                  const std::vector<Point>& nodes) {
    std::vector<double> angle(nodes.size(), 0.0);
    std::vector<double> shortest(nodes.size(), std::numeric_limits<double>::infinity());
    for (const TorsionMesh::Cell& cell : cells) {
        for (int a = 0; a < cell.Count; ++a) {
            const auto node = static_cast<size_t>(cell.Corners[a]);
            const Point& at = nodes[node];
            const Point next = nodes[static_cast<size_t>(cell.Corners[(a + 1) % cell.Count])] - at;
            const Point previous =
                nodes[static_cast<size_t>(cell.Corners[(a + cell.Count - 1) % cell.Count])] - at;
            angle[node] += std::atan2(Cross(next, previous), next.dot(previous));
            shortest[node] = std::min({shortest[node], next.norm(), previous.norm()});
        }
    }
    std::vector<bool> onContour(nodes.size(), false);
    for (const Side& side : boundary)
        onContour[static_cast<size_t>(side.From)] = true;
    std::vector<TorsionMesh::Corner> corners;
    for (size_t node = 0; node < nodes.size(); ++node) {
        // A straight contour through a node (180 degrees) is no corner, to its rounding.
        if (onContour[node] && angle[node] > std::numbers::pi * (1 + 1e-6))
            corners.push_back(
                {static_cast<int>(node), angle[node] * 180 / std::numbers::pi, shortest[node] / 2});
    }
    return corners;
}

// The reference shear modulus (that of the first material an element uses) and how many
// different ones the profile has; the fault of a material without one.
CheckFault Moduli(const MeshModel& model, TorsionMesh::Profile& profile) {
    int reference = -1;
    std::set<double> moduli;
    for (const MeshModel::Cell& cell : model.Cells) {
        if (reference < 0 || cell.Material < reference)
            reference = cell.Material;
        moduli.insert(model.Materials[static_cast<size_t>(cell.Material)].G());
    }
    if (reference < 0)
        return {0, QStringLiteral("the profile has no elements")};
    profile.ReferenceMaterial = reference;
    profile.ReferenceG = model.Materials[static_cast<size_t>(reference)].G();
    profile.Materials = static_cast<int>(moduli.size());
    for (double g : moduli) {
        if (!(g > 0) || !std::isfinite(g))
            return {
                0,
                QStringLiteral("a material has no shear modulus: E / (2 (1 + nu)) is %1").arg(g)};
    }
    return {};
}

// Area and centroid, relative to the first node so that far coordinates lose nothing.
void Measure(const std::vector<TorsionMesh::Cell>& cells, const std::vector<Point>& points,
             TorsionMesh::Profile& profile) {
    const Point origin = points[0];
    double area = 0;
    Point moment = Point::Zero();
    for (const TorsionMesh::Cell& cell : cells) {
        for (int a = 0; a < cell.Count; ++a) {
            const Point p = points[static_cast<size_t>(cell.Corners[a])] - origin;
            const Point q =
                points[static_cast<size_t>(cell.Corners[(a + 1) % cell.Count])] - origin;
            const double c = Cross(p, q);
            area += c / 2;
            moment += (p + q) * c / 6;
        }
    }
    profile.Area = area;
    profile.Centroid = origin + moment / area;
}

// A fault found ends the check: the run is refused at its line.
void Require(const CheckFault& fault) {
    if (!fault.Message.isEmpty())
        throw SolverError::AtLine(fault.Line, fault.Message);
}

} // namespace

TorsionMesh TorsionMesh::FromModel(const MeshModel& model, Profile& profile) {
    TorsionMesh mesh;
    profile = {};
    const size_t nodeCount = model.Nodes.size();
    std::vector<Point> points(nodeCount);
    for (size_t n = 0; n < nodeCount; ++n) {
        const std::array<double, 2> at = model.Plan(static_cast<int>(n));
        points[n] = {at[0], at[1]};
    }

    Require(Moduli(model, profile));
    PlaneMesh::Checked checked = PlaneMesh::Check(model);
    profile.Reversed = checked.Reversed;
    mesh.sides_ = checked.Sides;
    mesh.Cells.reserve(model.Cells.size());
    for (size_t e = 0; e < model.Cells.size(); ++e) {
        const MeshModel::Cell& source = model.Cells[e];
        Cell cell;
        cell.Count = source.Count;
        cell.Corners = checked.Corners[e];
        cell.Parent = static_cast<int>(e);
        cell.Weight =
            model.Materials[static_cast<size_t>(source.Material)].G() / profile.ReferenceG;
        (cell.Count == 3 ? profile.Triangles : profile.Quadrilaterals)++;
        mesh.Cells.push_back(cell);
    }
    const std::vector<Side>& boundary = checked.Boundary;
    Require(OnePiece(model, mesh.Cells, nodeCount));

    const Loops loops = TraceLoops(boundary, points);
    Require(CheckContours(model, loops, profile.Holes));
    profile.Reentrant = ReentrantCorners(mesh.Cells, boundary, points);

    Measure(mesh.Cells, points, profile);
    mesh.Nodes.resize(nodeCount);
    for (size_t n = 0; n < nodeCount; ++n)
        mesh.Nodes[n] = points[n] - profile.Centroid;
    return mesh;
}

long long TorsionMesh::DividedNodes(int division) const {
    const long long s = division;
    long long nodes = static_cast<long long>(Nodes.size()) + sides_ * (s - 1);
    for (const Cell& cell : Cells)
        nodes += cell.Count == 4 ? (s - 1) * (s - 1) : (s - 1) * (s - 2) / 2;
    return nodes;
}

namespace {

// Fills a divided mesh element by element: the nodes inside each side come after the nodes of
// the mesh divided, s - 1 per side in the order of the sides' keys, from the side's
// lower-numbered end; the nodes inside an element follow them as it is divided.
class Divider {
public:
    Divider(const TorsionMesh& from, std::vector<std::uint64_t> keys, int s, TorsionMesh& out)
        : from_(from), keys_(std::move(keys)), s_(s), out_(out),
          base_(static_cast<int>(from.Nodes.size())), per_(static_cast<size_t>(s + 1)),
          grid_(per_ * per_, -1) {
        for (const std::uint64_t key : keys_) {
            const Point& a = from_.Nodes[static_cast<size_t>(key >> 32)];
            const Point& b = from_.Nodes[static_cast<size_t>(key & 0xffffffffu)];
            for (int t = 1; t < s_; ++t)
                out_.Nodes.push_back(a + (b - a) * (static_cast<double>(t) / s_));
        }
    }

    void Quadrilateral(const TorsionMesh::Cell& cell) {
        const int s = s_;
        const auto& c = cell.Corners;
        Id(0, 0) = c[0], Id(s, 0) = c[1], Id(s, s) = c[2], Id(0, s) = c[3];
        for (int t = 1; t < s; ++t) {
            Id(t, 0) = SideNode(c[0], c[1], t);
            Id(s, t) = SideNode(c[1], c[2], t);
            Id(s - t, s) = SideNode(c[2], c[3], t);
            Id(0, s - t) = SideNode(c[3], c[0], t);
        }
        for (int j = 1; j < s; ++j)
            for (int i = 1; i < s; ++i) {
                const double xi = static_cast<double>(i) / s, eta = static_cast<double>(j) / s;
                Id(i, j) = static_cast<int>(out_.Nodes.size());
                out_.Nodes.push_back((1 - xi) * (1 - eta) * Corner(cell, 0) +
                                     xi * (1 - eta) * Corner(cell, 1) + xi * eta * Corner(cell, 2) +
                                     (1 - xi) * eta * Corner(cell, 3));
            }
        for (int j = 0; j < s; ++j)
            for (int i = 0; i < s; ++i)
                Add(cell, {Id(i, j), Id(i + 1, j), Id(i + 1, j + 1), Id(i, j + 1)}, 4);
    }

    void Triangle(const TorsionMesh::Cell& cell) {
        const int s = s_;
        const auto& c = cell.Corners;
        Id(0, 0) = c[0], Id(s, 0) = c[1], Id(0, s) = c[2];
        for (int t = 1; t < s; ++t) {
            Id(t, 0) = SideNode(c[0], c[1], t);
            Id(s - t, t) = SideNode(c[1], c[2], t);
            Id(0, s - t) = SideNode(c[2], c[0], t);
        }
        for (int j = 1; j < s; ++j)
            for (int i = 1; i + j < s; ++i) {
                Id(i, j) = static_cast<int>(out_.Nodes.size());
                out_.Nodes.push_back(
                    Corner(cell, 0) +
                    (Corner(cell, 1) - Corner(cell, 0)) * (static_cast<double>(i) / s) +
                    (Corner(cell, 2) - Corner(cell, 0)) * (static_cast<double>(j) / s));
            }
        for (int j = 0; j < s; ++j)
            for (int i = 0; i + j < s; ++i) {
                Add(cell, {Id(i, j), Id(i + 1, j), Id(i, j + 1), -1}, 3);
                if (i + j + 2 <= s)
                    Add(cell, {Id(i + 1, j), Id(i + 1, j + 1), Id(i, j + 1), -1}, 3);
            }
    }

private:
    int SideNode(int from, int to, int t) const {
        const auto k = static_cast<int>(
            std::lower_bound(keys_.begin(), keys_.end(), SideKey(from, to)) - keys_.begin());
        const int first = base_ + k * (s_ - 1);
        return from < to ? first + t - 1 : first + s_ - t - 1;
    }
    int& Id(int i, int j) { return grid_[static_cast<size_t>(j) * per_ + static_cast<size_t>(i)]; }
    const Point& Corner(const TorsionMesh::Cell& cell, int a) const {
        return from_.Nodes[static_cast<size_t>(cell.Corners[static_cast<size_t>(a)])];
    }
    void Add(const TorsionMesh::Cell& cell, std::array<int, 4> corners, int count) {
        out_.Cells.push_back({corners, count, cell.Parent, cell.Weight});
    }

    const TorsionMesh& from_;
    const std::vector<std::uint64_t> keys_;
    const int s_;
    TorsionMesh& out_;
    const int base_;
    const size_t per_;
    std::vector<int> grid_;
};

} // namespace

TorsionMesh TorsionMesh::Divided(int division) const {
    if (division <= 1)
        return *this;
    // The sides in order of their keys.
    std::vector<std::uint64_t> keys;
    keys.reserve(4 * Cells.size());
    for (const Cell& cell : Cells) {
        for (int a = 0; a < cell.Count; ++a)
            keys.push_back(SideKey(cell.Corners[a], cell.Corners[(a + 1) % cell.Count]));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());

    TorsionMesh out;
    out.sides_ = 0; // a divided mesh is not divided again
    out.Nodes = Nodes;
    out.Nodes.reserve(static_cast<size_t>(DividedNodes(division)));
    out.Cells.reserve(Cells.size() * static_cast<size_t>(division + 1) *
                      static_cast<size_t>(division + 1));
    Divider divider(*this, std::move(keys), division, out);
    for (const Cell& cell : Cells) {
        if (cell.Count == 4)
            divider.Quadrilateral(cell);
        else
            divider.Triangle(cell);
    }
    return out;
}
