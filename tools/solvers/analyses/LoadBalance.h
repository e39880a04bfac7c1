#pragma once

#include <Eigen/Dense>
#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>

// Whether the reactions of a load case balance its loads, as a share of the loads themselves.
// Every family of solvers measures it the same way:
// - each direction of force against the loads along it, so that the rounding of one load far
//   larger than the rest (1e100 beside 150, even in one item) cannot pass off noise as the
//   reactions of the rest;
// - a direction without loads, and the moments, against all the loads of the case, moments
//   included: a moment weighs against a force through the size of the model, so that a case
//   of moments alone is measured as soundly as one of forces;
// - a case whose loads add up to nothing balances only when its reactions do too, and a
//   value that is not a number is out of all measure; nothing is divided by a sum of zero.
class LoadBalance {
public:
    // What must balance: the whole resultant, or only its force along the axis (z) of a body of
    // revolution, whose radial ring loads and ring moments the hoop holds.
    enum class Resultant { Whole, Axial };

    // Moments are taken about `centre`; `size`, the model's size about it, turns moments into
    // forces.
    LoadBalance(const Eigen::Vector3d& centre, double size, Resultant resultant = Resultant::Whole);
    // The centre of the points of `nodes` (each turned into an Eigen::Vector3d by `point`) and
    // their largest distance from it.
    template <typename Nodes, typename Point>
    static LoadBalance About(const Nodes& nodes, Point point,
                             Resultant resultant = Resultant::Whole) {
        Eigen::Vector3d centre = Eigen::Vector3d::Zero();
        double count = 0;
        for (const auto& node : nodes) {
            centre += point(node);
            ++count;
        }
        if (count > 0)
            centre /= count;
        double size = 0;
        for (const auto& node : nodes)
            size = std::max(size, (point(node) - centre).norm());
        return LoadBalance(centre, size, resultant);
    }

    // Whether a load's direction is given by the data, or computed (a pressure along the
    // normal of an element): a computed one has components of the order of its rounding
    // where the data meant none, which must not pass for loads along those axes.
    enum class Direction { Given, Computed };

    void AddLoad(const Eigen::Vector3d& at, const Eigen::Vector3d& force,
                 const Eigen::Vector3d& moment = Eigen::Vector3d::Zero(),
                 Direction direction = Direction::Given);
    void AddReaction(const Eigen::Vector3d& at, const Eigen::Vector3d& force,
                     const Eigen::Vector3d& moment = Eigen::Vector3d::Zero());

    // The largest share of the loads out of balance (0 when it balances exactly; infinite when
    // it cannot be measured).
    double Share() const;
    // The largest and the smallest load of the case that is not zero, moments over the size.
    double LargestLoad() const { return largest_; }
    double SmallestLoad() const { return std::isinf(smallest_) ? 0.0 : smallest_; }

    // The worst of several cases.
    struct Worst {
        double Share = 0, Largest = 0, Smallest = 0;
        void Take(const LoadBalance& balance);
    };

    // Loads beyond this leave too little room above them for the products of the solution.
    static constexpr double HugeLoad = 1e100;
    // Loads that differ by more than this cannot be calculated together: the rounding of the
    // largest is more than the balance allows of the smallest.
    static constexpr double LoadRange = 1e11;
    // The likely cause of a balance out of tolerance when it lies with the loads: loads near
    // the largest number, or of sizes too far apart; empty when the loads are in proportion.
    static QString LoadCause(double largest, double smallest, const QString& forceUnit);

private:
    void Add(const Eigen::Vector3d& at, const Eigen::Vector3d& force,
             const Eigen::Vector3d& moment);

    Eigen::Vector3d centre_;
    double size_;
    Resultant resultant_;
    Eigen::Vector3d force_ = Eigen::Vector3d::Zero(), moment_ = Eigen::Vector3d::Zero();
    // The loads' sizes: per direction of force, all their forces, all their moments.
    Eigen::Vector3d along_ = Eigen::Vector3d::Zero();
    double forces_ = 0, moments_ = 0;
    // The same of the reactions: the scale of a case whose supports alone act (a settlement, a
    // change of temperature), which has no loads to measure against.
    double reacted_ = 0;
    double largest_ = 0, smallest_ = std::numeric_limits<double>::infinity();
};
