#include "LoadBalance.h"

namespace {

constexpr double Infinite = std::numeric_limits<double>::infinity();
// A component of a computed load below this share of the load is the rounding of its direction,
// not a load along that axis.
constexpr double Rounding = 1e-12;

// `off` as a share of `scale`: nothing off is no share, something off of nothing is out of all
// measure, and so is anything that is not a number.
double ShareOf(double off, double scale) {
    if (off == 0 && !std::isnan(scale))
        return 0;
    const double share = scale > 0 ? off / scale : Infinite;
    return std::isnan(share) ? Infinite : share;
}

} // namespace

LoadBalance::LoadBalance(const Eigen::Vector3d& centre, double size, Resultant resultant)
    : centre_(centre), size_(size > 0 && std::isfinite(size) ? size : 1.0), resultant_(resultant) {}

void LoadBalance::Add(const Eigen::Vector3d& at, const Eigen::Vector3d& force,
                      const Eigen::Vector3d& moment) {
    force_ += force;
    moment_ += (at - centre_).cross(force) + moment;
}

void LoadBalance::AddLoad(const Eigen::Vector3d& at, const Eigen::Vector3d& force,
                          const Eigen::Vector3d& moment, Direction direction) {
    Add(at, force, moment);
    const Eigen::Vector3d along = force.cwiseAbs();
    if (direction == Direction::Given)
        along_ += along;
    else
        along_ += (along.array() > Rounding * along.maxCoeff()).select(along, 0.0).matrix();
    const double f = force.norm(), m = moment.norm();
    forces_ += f;
    moments_ += m;
    for (const double load : {f, m / size_}) {
        if (load > 0 || std::isnan(load)) {
            largest_ = std::isnan(load) ? load : std::max(largest_, load);
            smallest_ = std::min(smallest_, load);
        }
    }
}

void LoadBalance::AddReaction(const Eigen::Vector3d& at, const Eigen::Vector3d& force,
                              const Eigen::Vector3d& moment) {
    Add(at, force, moment);
    reacted_ += force.norm() + moment.norm() / size_;
}

double LoadBalance::Share() const {
    const double loads = forces_ + moments_ / size_;
    const double all = loads > 0 ? loads : reacted_;
    double worst = 0;
    for (int c = 0; c < 3; ++c) {
        if (resultant_ == Resultant::Axial && c != 2)
            continue;
        worst = std::max(worst, ShareOf(std::abs(force_[c]), along_[c] > 0 ? along_[c] : all));
    }
    if (resultant_ == Resultant::Whole)
        worst = std::max(worst, ShareOf(moment_.lpNorm<Eigen::Infinity>() / size_, all));
    return worst;
}

void LoadBalance::Worst::Take(const LoadBalance& balance) {
    Share = std::max(Share, balance.Share());
    Largest = std::max(Largest, balance.LargestLoad());
    if (const double smallest = balance.SmallestLoad(); smallest > 0)
        Smallest = Smallest > 0 ? std::min(Smallest, smallest) : smallest;
}

QString LoadBalance::LoadCause(double largest, double smallest, const QString& forceUnit) {
    if (!(largest < HugeLoad))
        return QStringLiteral("loads of up to %1 %2 are too large to calculate with; give them "
                              "in a larger unit")
            .arg(largest, 0, 'g', 4)
            .arg(forceUnit);
    if (smallest > 0 && largest > LoadRange * smallest)
        return QStringLiteral("loads of up to %1 %2 are too large to calculate with beside the "
                              "smallest, %3 %2: the rounding of the largest swamps the "
                              "reactions of the rest; give the small loads a load case of "
                              "their own, or leave out those too small to matter")
            .arg(largest, 0, 'g', 4)
            .arg(forceUnit)
            .arg(smallest, 0, 'g', 4);
    return {};
}
