#include "BarPieces.h"

#include "BarAxes.h"

#include <algorithm>
#include <cmath>

BarPieces::BarPieces(const std::vector<int>& pieces, const std::vector<double>& inner,
                     const QStringList& components)
    : inner_(&inner), places_(ViewerResults::PlacesOf(components)),
      width_(static_cast<int>(components.size())) {
    size_t points = 0;
    for (int p : pieces) {
        first_.push_back(points);
        points += static_cast<size_t>(std::max(1, p) - 1);
    }
    // A file whose points do not add up draws its members straight between their nodes.
    if (width_ > 0 && points * static_cast<size_t>(width_) == inner.size())
        pieces_ = pieces;
}

int BarPieces::Of(size_t e) const {
    return e < pieces_.size() ? std::max(1, pieces_[e]) : 1;
}

ViewerResults::Motion BarPieces::Inner(size_t e, int k) const {
    if (e >= pieces_.size() || k < 1 || k >= Of(e))
        return {};
    return ViewerResults::NodeMotion(*inner_, places_, width_, static_cast<int>(first_[e]) + k - 1);
}

double BarPieces::LargestMove() const {
    double largest = 0;
    for (size_t e = 0; e < pieces_.size(); ++e) {
        for (int k = 1; k < Of(e); ++k) {
            const BarAxes::Vec3 move = Inner(e, k).Move;
            largest = std::max(largest, std::sqrt(BarAxes::Dot(move, move)));
        }
    }
    return largest;
}
