#pragma once

#include <QPointF>
#include <map>
#include <utility>
#include <vector>

// Consistent nodal loads of line loads along the edges of linear elements: each end node of
// an edge gets the integral of its shape function times the load, which is exact for a load
// that varies linearly along the edge.
//
// Plane problems: an edge of length L from node a to node b with the loads qa and qb (force
// per unit length) at its ends gives a (2 qa + qb) L / 6 and b (qa + 2 qb) L / 6.
//
// Axisymmetric bodies: the loads act on the ring surface the edge sweeps, so the nodes' share
// per radian is P = integral of N q r ds, r being the first coordinate. A nodal load of the
// data file is a ring load per unit length of the circumference, which the solver multiplies
// by the node's radius; so a node gets P / r. A node on the axis has no circumference to
// carry a ring load: its share of an edge goes to the edge's other end, which keeps the total
// force (the error shrinks as the mesh is refined).
class EdgeLoads {
public:
    explicit EdgeLoads(bool axisymmetric, double axisTolerance = 0)
        : axisymmetric_(axisymmetric), axisTolerance_(axisTolerance) {}

    // Adds the load of load case `loadCase` along the edge from node `a` at `pa` to node `b`
    // at `pb`, with the force per unit length `qa` at a and `qb` at b.
    void AddEdge(int loadCase, int a, QPointF pa, int b, QPointF pb, QPointF qa, QPointF qb);

    struct NodalLoad {
        int Case = 0;
        int Node = 0;
        QPointF Force;
    };
    // The loads by case and node; a node whose load is exactly nothing is left out.
    std::vector<NodalLoad> Loads() const;

    // The shares of the two ends of one edge in a plane problem.
    static std::pair<QPointF, QPointF> PlaneShares(QPointF pa, QPointF pb, QPointF qa, QPointF qb);
    // The shares per radian of the two ends of one edge of an axisymmetric body.
    static std::pair<QPointF, QPointF> RadianShares(QPointF pa, QPointF pb, QPointF qa, QPointF qb);

private:
    bool axisymmetric_;
    double axisTolerance_;
    // Per case and node the summed share and the node's radius.
    std::map<std::pair<int, int>, std::pair<QPointF, double>> shares_;
};
