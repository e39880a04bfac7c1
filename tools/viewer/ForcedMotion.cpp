#include "ForcedMotion.h"

#include "ViewerResults.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

namespace {

double Dot(const double* a, const double* b, size_t count) {
    double sum = 0;
    for (size_t k = 0; k < count; ++k)
        sum += a[k] * b[k];
    return sum;
}

// The largest length of a + i b turned through every phase: of a cos p - b sin p, whose square
// is (|a|² + |b|²)/2 + ((|a|² - |b|²)/2) cos 2p - (a.b) sin 2p at its largest.
double LargestTurned(double aa, double bb, double ab) {
    const double half = (aa - bb) / 2;
    return std::sqrt(std::max(0.0, (aa + bb) / 2 + std::sqrt(half * half + ab * ab)));
}

} // namespace

ForcedMotion::ForcedMotion(const ResultFile::Contents& contents, size_t excitation)
    : contents_(&contents) {
    const ResultFile::Forced& f = contents.Vibrations;
    if (excitation >= f.List.size())
        return;
    x_ = &f.List[excitation];
    const ResultFile::Shapes& s = contents.Modes;
    shapes_ = static_cast<int>(s.List.size());
    width_ = static_cast<int>(s.Components.size());
    columns_ = f.Columns.Count();
    nodes_ = s.Nodes;
    inner_ = s.InnerPoints();
    elements_ = s.Elements;
    FindLargest();
}

int ForcedMotion::Points() const {
    return x_ && x_->Type != Kind::Spectrum ? static_cast<int>(x_->Abscissae.size()) : 0;
}

double ForcedMotion::Abscissa(int point) const {
    return point >= 0 && point < Points() ? x_->Abscissae[static_cast<size_t>(point)] : 0.0;
}

std::vector<double> ForcedMotion::Weights(int point, double phase) const {
    std::vector<double> w(static_cast<size_t>(shapes_), 0.0);
    if (point < 0 || point >= Points() || x_->Direct())
        return w;
    const size_t s = static_cast<size_t>(shapes_), k = static_cast<size_t>(point);
    if (x_->Type == Kind::History) {
        std::copy_n(x_->Coordinates.begin() + static_cast<std::ptrdiff_t>(k * s), s, w.begin());
        return w;
    }
    const double c = std::cos(phase), sn = std::sin(phase);
    for (size_t i = 0; i < s; ++i)
        w[i] = x_->Coordinates[(k * s + i) * 2] * c - x_->Coordinates[(k * s + i) * 2 + 1] * sn;
    return w;
}

ForcedMotion::Frame ForcedMotion::At(int point, double phase, bool elements) const {
    Frame frame;
    if (point < 0 || point >= Points())
        return frame;
    const size_t width = static_cast<size_t>(width_);
    const size_t nodeValues = static_cast<size_t>(nodes_) * width;
    const size_t innerValues = static_cast<size_t>(inner_) * width;
    const size_t elementValues = static_cast<size_t>(elements_) * static_cast<size_t>(columns_);
    if (x_->Direct()) {
        const size_t size = nodeValues + innerValues + elementValues;
        const auto first = x_->Frames.begin() + static_cast<std::ptrdiff_t>(point * size);
        frame.Nodes.assign(first, first + static_cast<std::ptrdiff_t>(nodeValues));
        frame.Inner.assign(first + static_cast<std::ptrdiff_t>(nodeValues),
                           first + static_cast<std::ptrdiff_t>(nodeValues + innerValues));
        if (elements)
            frame.Elements.assign(first + static_cast<std::ptrdiff_t>(nodeValues + innerValues),
                                  first + static_cast<std::ptrdiff_t>(size));
        return frame;
    }
    const std::vector<double> w = Weights(point, phase);
    const auto& shapes = contents_->Modes.List;
    const auto& shapeElements = contents_->Vibrations.ShapeElements;
    frame.Nodes.assign(nodeValues, 0.0);
    frame.Inner.assign(innerValues, 0.0);
    frame.Elements.assign(elements && shapeElements.size() == shapes.size() ? elementValues : 0,
                          0.0);
    const auto add = [](std::vector<double>& to, const std::vector<double>& from, double weight) {
        const size_t count = std::min(to.size(), from.size());
        double* out = to.data();
        const double* in = from.data();
        for (size_t k = 0; k < count; ++k)
            out[k] += weight * in[k];
    };
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (w[i] == 0)
            continue;
        add(frame.Nodes, shapes[i].Displacements, w[i]);
        add(frame.Inner, shapes[i].Inner, w[i]);
        if (!frame.Elements.empty())
            add(frame.Elements, shapeElements[i], w[i]);
    }
    return frame;
}

bool ForcedMotion::Holds(const Quantity& q) const {
    if (!x_ || q.Index < 0 || q.Column < 0)
        return false;
    return q.Element ? q.Index < elements_ && q.Column < columns_
                     : q.Index < nodes_ && q.Column < width_;
}

std::vector<double> ForcedMotion::AcrossShapes(const Quantity& q) const {
    std::vector<double> across;
    const auto& shapes = contents_->Modes.List;
    const auto& elements = contents_->Vibrations.ShapeElements;
    const size_t at =
        static_cast<size_t>(q.Index) * static_cast<size_t>(q.Element ? columns_ : width_) +
        static_cast<size_t>(q.Column);
    for (size_t i = 0; i < shapes.size(); ++i) {
        static const std::vector<double> none;
        const std::vector<double>& values = !q.Element            ? shapes[i].Displacements
                                            : i < elements.size() ? elements[i]
                                                                  : none;
        across.push_back(at < values.size() ? values[at] : 0.0);
    }
    return across;
}

ForcedMotion::Curve ForcedMotion::CurveOf(const Quantity& q) const {
    Curve curve;
    if (!Holds(q) || Points() == 0)
        return curve;
    const size_t points = static_cast<size_t>(Points());
    curve.Values.resize(points);
    if (x_->Direct()) {
        const size_t width = static_cast<size_t>(width_);
        const size_t size = static_cast<size_t>(nodes_ + inner_) * width +
                            static_cast<size_t>(elements_) * static_cast<size_t>(columns_);
        const size_t offset =
            q.Element ? static_cast<size_t>(nodes_ + inner_) * width +
                            static_cast<size_t>(q.Index) * static_cast<size_t>(columns_) +
                            static_cast<size_t>(q.Column)
                      : static_cast<size_t>(q.Index) * width + static_cast<size_t>(q.Column);
        for (size_t k = 0; k < points; ++k)
            curve.Values[k] = x_->Frames[k * size + offset];
        return curve;
    }
    const std::vector<double> across = AcrossShapes(q);
    const size_t s = across.size();
    if (x_->Type == Kind::History) {
        for (size_t k = 0; k < points; ++k)
            curve.Values[k] = Dot(across.data(), x_->Coordinates.data() + k * s, s);
        return curve;
    }
    curve.Phases.resize(points);
    for (size_t k = 0; k < points; ++k) {
        double re = 0, im = 0;
        const double* c = x_->Coordinates.data() + k * s * 2;
        for (size_t i = 0; i < s; ++i) {
            re += across[i] * c[2 * i];
            im += across[i] * c[2 * i + 1];
        }
        curve.Values[k] = std::hypot(re, im);
        curve.Phases[k] = std::atan2(im, re);
    }
    return curve;
}

void ForcedMotion::FindLargest() {
    const int points = Points();
    if (points == 0)
        return;
    const ViewerResults::Places places = ViewerResults::PlacesOf(contents_->Modes.Components);
    std::vector<size_t> moves; // the translations among the components
    for (size_t a = 0; a < 3; ++a)
        if (places[a] >= 0)
            moves.push_back(static_cast<size_t>(places[a]));
    if (moves.empty())
        return;
    const size_t t = moves.size(), width = static_cast<size_t>(width_);
    const size_t all = static_cast<size_t>(nodes_ + inner_);
    const size_t s = static_cast<size_t>(shapes_);
    std::vector<double> perPoint(static_cast<size_t>(points), 0.0);
    if (x_->Direct()) {
        const size_t size = all * width + static_cast<size_t>(elements_ * columns_);
        for (size_t k = 0; k < perPoint.size(); ++k) {
            const double* frame = x_->Frames.data() + k * size;
            for (size_t p = 0; p < all; ++p) {
                double square = 0;
                for (size_t m : moves)
                    square += frame[p * width + m] * frame[p * width + m];
                perPoint[k] = std::max(perPoint[k], square);
            }
            perPoint[k] = std::sqrt(perPoint[k]);
        }
    } else {
        // Each translation of every node and inner point across the shapes, row by row, so
        // that a point of the excitation costs one dot product per translation.
        std::vector<double> rows(all * t * s, 0.0);
        const auto& shapes = contents_->Modes.List;
        for (size_t i = 0; i < s; ++i) {
            const auto& d = shapes[i].Displacements;
            const auto& in = shapes[i].Inner;
            for (size_t p = 0; p < all; ++p) {
                const bool node = p < static_cast<size_t>(nodes_);
                const size_t at = (node ? p : p - static_cast<size_t>(nodes_)) * width;
                const std::vector<double>& from = node ? d : in;
                for (size_t m = 0; m < t; ++m)
                    rows[(p * t + m) * s + i] =
                        at + moves[m] < from.size() ? from[at + moves[m]] : 0.0;
            }
        }
        // The translations at a block of points at once, as one product of matrices: the
        // rows times the coordinates (a harmonic's real and imaginary parts apart).
        const bool harmonic = x_->Type == Kind::Harmonic;
        const Eigen::Map<const Eigen::MatrixXd> shapeRows(rows.data(), static_cast<Eigen::Index>(s),
                                                          static_cast<Eigen::Index>(all * t));
        constexpr size_t Block = 16;
        Eigen::MatrixXd re, im, a, b;
        for (size_t first = 0; first < perPoint.size(); first += Block) {
            const size_t count = std::min(Block, perPoint.size() - first);
            re.resize(static_cast<Eigen::Index>(s), static_cast<Eigen::Index>(count));
            im.setZero(static_cast<Eigen::Index>(s), static_cast<Eigen::Index>(count));
            for (size_t k = 0; k < count; ++k) {
                for (size_t i = 0; i < s; ++i) {
                    const size_t at = (first + k) * s + i;
                    re(Eigen::Index(i), Eigen::Index(k)) =
                        harmonic ? x_->Coordinates[2 * at] : x_->Coordinates[at];
                    if (harmonic)
                        im(Eigen::Index(i), Eigen::Index(k)) = x_->Coordinates[2 * at + 1];
                }
            }
            a.noalias() = shapeRows.transpose() * re;
            if (harmonic)
                b.noalias() = shapeRows.transpose() * im;
            for (size_t k = 0; k < count; ++k) {
                double largest = 0;
                for (size_t p = 0; p < all; ++p) {
                    double aa = 0, bb = 0, ab = 0;
                    for (size_t m = 0; m < t; ++m) {
                        const Eigen::Index row = Eigen::Index(p * t + m), column = Eigen::Index(k);
                        const double u = a(row, column), v = harmonic ? b(row, column) : 0.0;
                        aa += u * u;
                        bb += v * v;
                        ab += u * v;
                    }
                    largest =
                        std::max(largest, harmonic ? LargestTurned(aa, bb, ab) : std::sqrt(aa));
                }
                perPoint[first + k] = largest;
            }
        }
    }
    peak_ = static_cast<int>(std::max_element(perPoint.begin(), perPoint.end()) - perPoint.begin());
    largest_ = perPoint[static_cast<size_t>(peak_)];
    // The node and translation that move most at the peak: a curve worth seeing first.
    const bool harmonic = x_->Type == Kind::Harmonic;
    const Frame frame = At(peak_, 0, false);
    // A quarter period on, a harmonic's motion is the imaginary part of U.
    const Frame quarter = harmonic ? At(peak_, -3.14159265358979323846 / 2, false) : Frame{};
    double strongest = -1;
    for (int n = 0; n < nodes_; ++n) {
        for (size_t m : moves) {
            const Quantity q{false, n, static_cast<int>(m)};
            const size_t at = static_cast<size_t>(n) * width + m;
            const double size = harmonic ? std::hypot(frame.Nodes[at], quarter.Nodes[at])
                                         : std::abs(frame.Nodes[at]);
            if (size > strongest) {
                strongest = size;
                strongest_ = q;
            }
        }
    }
}

std::pair<double, double> ForcedMotion::Range(int component) const {
    double low = 0, high = 0;
    if (!x_ || component < 0 || component >= width_)
        return {low, high};
    for (int n = 0; n < nodes_; ++n) {
        const Curve curve = CurveOf({false, n, component});
        for (double v : curve.Values) {
            low = std::min(low, x_->Type == Kind::Harmonic ? -v : v);
            high = std::max(high, v);
        }
    }
    return {low, high};
}
