#include "Quadrature.h"

#include <cmath>
#include <stdexcept>

namespace {

// Gauss-Legendre points and weights on [-1, 1].
std::vector<std::pair<double, double>> Line(int n) {
    switch (n) {
    case 1:
        return {{0.0, 2.0}};
    case 2: {
        const double a = 1 / std::sqrt(3.0);
        return {{-a, 1.0}, {a, 1.0}};
    }
    case 3: {
        const double a = std::sqrt(0.6);
        return {{-a, 5.0 / 9}, {0.0, 8.0 / 9}, {a, 5.0 / 9}};
    }
    default:
        throw std::invalid_argument("Gauss rules have 1 to 3 points in each direction");
    }
}

} // namespace

std::vector<Quadrature::Point> Quadrature::Square(int n) {
    const auto line = Line(n);
    std::vector<Point> points;
    points.reserve(line.size() * line.size());
    for (const auto& [eta, we] : line)
        for (const auto& [xi, wx] : line)
            points.push_back({{xi, eta}, wx * we});
    return points;
}

std::vector<Quadrature::Point> Quadrature::Triangle(int degree) {
    switch (degree) {
    case 1:
        return {{{1.0 / 3, 1.0 / 3}, 0.5}};
    case 2:
        return {{{1.0 / 6, 1.0 / 6}, 1.0 / 6},
                {{2.0 / 3, 1.0 / 6}, 1.0 / 6},
                {{1.0 / 6, 2.0 / 3}, 1.0 / 6}};
    default:
        throw std::invalid_argument("triangle rules are of degree 1 or 2");
    }
}
