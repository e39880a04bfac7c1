#include "MeshConditions.h"

#include "EdgeLoads.h"
#include "ProfileContours.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace MeshConditions {

namespace {

Result Contours(const Mesh& mesh) {
    Result result;
    const ProfileContours::Result found = ProfileContours::Find(mesh);
    if (!found.Ok) {
        result.Error = found.Error;
        return result;
    }
    Mesh::Table table{6, QStringLiteral("Contour nodes"), {}};
    std::vector<char> listed(mesh.Nodes.size() + 1, 0);
    for (size_t contour = 0; contour < found.Contours.size(); ++contour) {
        for (int node : found.Contours[contour]) {
            // A node where a hole touches another contour is listed once, on the first.
            if (listed[size_t(node)])
                continue;
            listed[size_t(node)] = 1;
            table.Items.push_back({double(node), double(contour)});
        }
    }
    result.Tables.push_back(std::move(table));
    result.Ok = true;
    return result;
}

// Twice the signed area of a region: positive when its corners run counter-clockwise.
double Orientation(const MeshRegion& region) {
    const auto& c = region.Corners;
    double area = 0;
    for (int i = 1; i < 3; ++i) {
        const QPointF a = c[size_t(i)] - c[0], b = c[size_t(i + 1)] - c[0];
        area += a.x() * b.y() - a.y() * b.x();
    }
    return area;
}

// The load per unit length at the side's first and second corner as a vector.
std::pair<QPointF, QPointF> EndLoads(const EdgeCondition& condition, const MeshRegion& region) {
    const auto& v = condition.Values;
    if (condition.Type == EdgeCondition::Kind::Global)
        return {QPointF(v[0], v[1]), QPointF(v[2], v[3])};
    const QPointF from = region.Corners[size_t(condition.Side)];
    const QPointF to = region.Corners[size_t((condition.Side + 1) % 4)];
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    // The region lies to the left of a side of counter-clockwise corners, to the right
    // otherwise; a positive pressure pushes into it.
    QPointF inward = QPointF(-d.y(), d.x()) / length;
    if (Orientation(region) < 0)
        inward = -inward;
    return {inward * v[0], inward * v[1]};
}

} // namespace

Result Build(int problem, const std::vector<MeshRegion>& regions,
             const RegionMesher::Result& meshed, const std::vector<EdgeCondition>& conditions) {
    Result result;
    result.Error = EdgeConditions::CheckAll(conditions, static_cast<int>(regions.size()), problem);
    if (!result.Error.isEmpty())
        return result;
    const Mesh& mesh = meshed.Mesh_;
    if (problem == 16)
        return Contours(mesh);

    const bool plate = problem == 13;
    std::map<int, std::vector<double>> supports; // node -> codes
    double extent = 0;
    for (const QPointF& node : mesh.Nodes)
        extent = std::max({extent, std::abs(node.x()), std::abs(node.y())});
    EdgeLoads loads(problem == 11, extent * 1e-12);
    std::vector<std::vector<const EdgeCondition*>> areaRows(regions.size());
    for (const EdgeCondition& condition : conditions) {
        const size_t r = size_t(condition.Region - 1);
        if (condition.At == EdgeCondition::Place::Area) {
            areaRows[r].push_back(&condition);
            continue;
        }
        const std::vector<int> side = meshed.SideNodes(r, condition.Side);
        if (condition.Type == EdgeCondition::Kind::Support) {
            const std::vector<int> nodes = condition.At == EdgeCondition::Place::Corner
                                               ? std::vector<int>{side.front()}
                                               : side;
            for (int node : nodes) {
                std::vector<double>& codes = supports[node];
                codes.resize(condition.Values.size(), 0);
                for (size_t c = 0; c < codes.size(); ++c)
                    codes[c] = std::max(codes[c], condition.Values[c]);
            }
            continue;
        }
        // On a plate the load acts along z; its shares are taken as those of a first
        // component.
        const auto [first, second] =
            plate ? std::pair{QPointF(condition.Values[0], 0), QPointF(condition.Values[1], 0)}
                  : EndLoads(condition, regions[r]);
        const double parts = double(side.size() - 1);
        for (size_t k = 0; k + 1 < side.size(); ++k) {
            const double t0 = double(k) / parts, t1 = double(k + 1) / parts;
            const int a = side[k], b = side[k + 1];
            loads.AddEdge(condition.Case, a, mesh.Nodes[size_t(a - 1)], b,
                          mesh.Nodes[size_t(b - 1)], first * (1 - t0) + second * t0,
                          first * (1 - t1) + second * t1);
        }
    }
    // A plate's pressure goes onto each element of its region, which the solver turns into
    // its consistent nodal forces; rows of one case on one region add up.
    std::map<std::pair<int, int>, double> pressures; // (case, element) -> p
    for (size_t e = 0; e < meshed.ElementRegion.size(); ++e) {
        for (const EdgeCondition* row : areaRows[size_t(meshed.ElementRegion[e])])
            pressures[{row->Case, int(e + 1)}] += row->Values[0];
    }
    if (!supports.empty()) {
        Mesh::Table table{6, QStringLiteral("Supports"), {}};
        for (const auto& [node, codes] : supports) {
            std::vector<double> item{double(node)};
            item.insert(item.end(), codes.begin(), codes.end());
            table.Items.push_back(std::move(item));
        }
        result.Tables.push_back(std::move(table));
    }
    const std::vector<EdgeLoads::NodalLoad> nodal = loads.Loads();
    if (!nodal.empty()) {
        Mesh::Table table{7, QStringLiteral("Nodal loads"), {}};
        for (const EdgeLoads::NodalLoad& load : nodal) {
            // A plate's nodal load is Fz Mx My; an edge load gives no moments.
            table.Items.push_back(plate ? std::vector<double>{double(load.Case), double(load.Node),
                                                              load.Force.x(), 0, 0}
                                        : std::vector<double>{double(load.Case), double(load.Node),
                                                              load.Force.x(), load.Force.y()});
        }
        result.Tables.push_back(std::move(table));
    }
    if (!pressures.empty()) {
        Mesh::Table table{8, QStringLiteral("Element loads"), {}};
        for (const auto& [key, p] : pressures)
            table.Items.push_back({double(key.first), double(key.second), p});
        result.Tables.push_back(std::move(table));
    }
    result.Ok = true;
    return result;
}

} // namespace MeshConditions
