#pragma once

#include "ViewerResults.h"

#include <vector>

// The members that the modes and buckling solvers divided into equal straight pieces, and the
// displacements of their inner points in one shape: element by element, each from i to j, as
// the result file lists them. A member of one piece, or a file without pieces, has none.
class BarPieces {
public:
    BarPieces() = default;
    BarPieces(const std::vector<int>& pieces, const std::vector<double>& inner,
              const QStringList& components);

    // The pieces of element `e`, 1 when it was not divided.
    int Of(size_t e) const;
    // The motion of inner point k (1 to pieces - 1) of element e.
    ViewerResults::Motion Inner(size_t e, int k) const;
    // The largest translation of an inner point.
    double LargestMove() const;

private:
    std::vector<int> pieces_;
    const std::vector<double>* inner_ = nullptr;
    ViewerResults::Places places_{};
    int width_ = 0;
    std::vector<size_t> first_; // each element's first inner point
};
