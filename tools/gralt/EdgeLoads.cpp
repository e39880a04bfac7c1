#include "EdgeLoads.h"

#include <cmath>

std::pair<QPointF, QPointF> EdgeLoads::PlaneShares(QPointF pa, QPointF pb, QPointF qa, QPointF qb) {
    const double length = std::hypot(pb.x() - pa.x(), pb.y() - pa.y());
    return {(2 * qa + qb) * (length / 6), (qa + 2 * qb) * (length / 6)};
}

std::pair<QPointF, QPointF> EdgeLoads::RadianShares(QPointF pa, QPointF pb, QPointF qa,
                                                    QPointF qb) {
    // q and r are both linear along the edge; the integrals of the cubic products of the
    // shape functions are 1/4 and 1/12.
    const double length = std::hypot(pb.x() - pa.x(), pb.y() - pa.y());
    const double ra = pa.x(), rb = pb.x();
    const QPointF mixed = (qa * rb + qb * ra) / 12;
    return {(qa * (ra / 4) + mixed + qb * (rb / 12)) * length,
            (qb * (rb / 4) + mixed + qa * (ra / 12)) * length};
}

void EdgeLoads::AddEdge(int loadCase, int a, QPointF pa, int b, QPointF pb, QPointF qa,
                        QPointF qb) {
    auto [shareA, shareB] =
        axisymmetric_ ? RadianShares(pa, pb, qa, qb) : PlaneShares(pa, pb, qa, qb);
    if (axisymmetric_) {
        const bool onAxisA = std::abs(pa.x()) <= axisTolerance_;
        const bool onAxisB = std::abs(pb.x()) <= axisTolerance_;
        if (onAxisA && !onAxisB) {
            shareB += shareA;
            shareA = {};
        } else if (onAxisB && !onAxisA) {
            shareA += shareB;
            shareB = {};
        }
    }
    auto& atA = shares_[{loadCase, a}];
    atA.first += shareA;
    atA.second = pa.x();
    auto& atB = shares_[{loadCase, b}];
    atB.first += shareB;
    atB.second = pb.x();
}

std::vector<EdgeLoads::NodalLoad> EdgeLoads::Loads() const {
    std::vector<NodalLoad> loads;
    for (const auto& [key, share] : shares_) {
        QPointF force = share.first;
        if (force.x() == 0 && force.y() == 0)
            continue;
        if (axisymmetric_) {
            // Only a node off the axis is left with a share (an edge along the axis has none).
            if (std::abs(share.second) <= axisTolerance_)
                continue;
            force /= share.second;
        }
        loads.push_back({key.first, key.second, force});
    }
    return loads;
}
