#pragma once

#include "SparseCholesky.h"

#include <Eigen/Dense>
#include <Eigen/SparseCore>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

// A block of nx x ny x nz cubic eight-node bricks (edge h, Young's modulus E, Poisson's ratio
// nu), its nodes numbered x fastest, three unknowns each: the upper triangle of its stiffness
// assembled straight into its final pattern (a million unknowns would need a billion bytes of
// triplets otherwise). For the iterative solver's tests and benchmarks.
class ElasticBlock {
public:
    ElasticBlock(int nx, int ny, int nz, double h = 1, double E = 1000, double nu = 0.3)
        : nx_(nx), ny_(ny), nz_(nz) {
        for (int k = 0; k <= nz; ++k)
            for (int j = 0; j <= ny; ++j)
                for (int i = 0; i <= nx; ++i)
                    coordinates_.push_back({i * h, j * h, k * h});
        Pattern();
        const Eigen::Matrix<double, 24, 24> brick = BrickStiffness(h, E, nu);
        for (int k = 0; k < nz; ++k)
            for (int j = 0; j < ny; ++j)
                for (int i = 0; i < nx; ++i)
                    Add(i, j, k, brick);
    }

    int Nodes() const { return static_cast<int>(coordinates_.size()); }
    int Node(int i, int j, int k) const { return i + (nx_ + 1) * (j + (ny_ + 1) * k); }
    const std::vector<std::array<double, 3>>& Coordinates() const { return coordinates_; }
    const Eigen::SparseMatrix<double>& Upper() const { return upper_; }
    int Nx() const { return nx_; }

    // Three flags per node: every component of the nodes at x = 0 held (a cantilever).
    std::vector<char> ClampedAtStart() const {
        std::vector<char> fixed(3 * coordinates_.size(), 0);
        for (size_t n = 0; n < coordinates_.size(); ++n)
            if (coordinates_[n][0] == 0)
                std::fill_n(fixed.begin() + static_cast<std::ptrdiff_t>(3 * n), 3, 1);
        return fixed;
    }

    // The stiffness of one brick, its corners ordered by x, then y, then z (bit 0, 1, 2 of the
    // corner's number), from 2 x 2 x 2 Gauss points.
    static Eigen::Matrix<double, 24, 24> BrickStiffness(double h, double E, double nu) {
        Eigen::Matrix<double, 6, 6> D = Eigen::Matrix<double, 6, 6>::Zero();
        const double lambda = E * nu / ((1 + nu) * (1 - 2 * nu)), mu = E / (2 * (1 + nu));
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b)
                D(a, b) = lambda;
            D(a, a) += 2 * mu;
            D(a + 3, a + 3) = mu;
        }
        Eigen::Matrix<double, 24, 24> k = Eigen::Matrix<double, 24, 24>::Zero();
        const double g = 1 / std::sqrt(3.0);
        for (int p = 0; p < 8; ++p) {
            const double xi[3] = {(p & 1) ? g : -g, (p & 2) ? g : -g, (p & 4) ? g : -g};
            Eigen::Matrix<double, 6, 24> B = Eigen::Matrix<double, 6, 24>::Zero();
            for (int c = 0; c < 8; ++c) {
                const double s[3] = {(c & 1) ? 1.0 : -1.0, (c & 2) ? 1.0 : -1.0,
                                     (c & 4) ? 1.0 : -1.0};
                double d[3];
                for (int a = 0; a < 3; ++a) {
                    // dN/dx = dN/dxi * 2 / h for a cube.
                    d[a] = s[a] / 8 * (1 + s[(a + 1) % 3] * xi[(a + 1) % 3]) *
                           (1 + s[(a + 2) % 3] * xi[(a + 2) % 3]) * 2 / h;
                    B(a, 3 * c + a) = d[a];
                }
                B(3, 3 * c + 1) = d[2]; // gamma yz
                B(3, 3 * c + 2) = d[1];
                B(4, 3 * c + 0) = d[2]; // gamma zx
                B(4, 3 * c + 2) = d[0];
                B(5, 3 * c + 0) = d[1]; // gamma xy
                B(5, 3 * c + 1) = d[0];
            }
            k += B.transpose() * D * B * (h * h * h / 8);
        }
        return k;
    }

private:
    // Each node's column holds its lower-or-equal neighbours' rows (the 27 nodes around it,
    // those numbered up to itself), their three components each, its own up to the diagonal.
    void Pattern() {
        const int nodes = Nodes();
        lower_.resize(static_cast<size_t>(nodes));
        for (int k = 0; k <= nz_; ++k)
            for (int j = 0; j <= ny_; ++j)
                for (int i = 0; i <= nx_; ++i) {
                    std::vector<int>& list = lower_[static_cast<size_t>(Node(i, j, k))];
                    for (int dk = -1; dk <= 1; ++dk)
                        for (int dj = -1; dj <= 1; ++dj)
                            for (int di = -1; di <= 1; ++di) {
                                const int a = i + di, b = j + dj, c = k + dk;
                                if (a < 0 || b < 0 || c < 0 || a > nx_ || b > ny_ || c > nz_)
                                    continue;
                                if (Node(a, b, c) <= Node(i, j, k))
                                    list.push_back(Node(a, b, c));
                            }
                    std::sort(list.begin(), list.end());
                }
        const Eigen::Index size = 3 * static_cast<Eigen::Index>(nodes);
        std::vector<int> outer(static_cast<size_t>(size) + 1, 0);
        for (int n = 0; n < nodes; ++n) {
            const int others = 3 * static_cast<int>(lower_[static_cast<size_t>(n)].size() - 1);
            for (int c = 0; c < 3; ++c)
                outer[static_cast<size_t>(3 * n + c) + 1] = others + c + 1;
        }
        for (size_t e = 0; e < static_cast<size_t>(size); ++e)
            outer[e + 1] += outer[e];
        upper_.resize(size, size);
        upper_.resizeNonZeros(outer.back());
        std::copy(outer.begin(), outer.end(), upper_.outerIndexPtr());
        int* inner = upper_.innerIndexPtr();
        for (int n = 0; n < nodes; ++n)
            for (int c = 0; c < 3; ++c) {
                int at = outer[static_cast<size_t>(3 * n + c)];
                for (int m : lower_[static_cast<size_t>(n)])
                    for (int a = 0; a < (m == n ? c + 1 : 3); ++a)
                        inner[at++] = 3 * m + a;
            }
        std::fill_n(upper_.valuePtr(), outer.back(), 0.0);
    }

    void Add(int i, int j, int k, const Eigen::Matrix<double, 24, 24>& brick) {
        int corner[8];
        for (int c = 0; c < 8; ++c)
            corner[c] = Node(i + (c & 1), j + ((c >> 1) & 1), k + ((c >> 2) & 1));
        const int* outer = upper_.outerIndexPtr();
        double* value = upper_.valuePtr();
        for (int a = 0; a < 8; ++a)
            for (int b = 0; b < 8; ++b) {
                const int row = corner[a], column = corner[b];
                if (row > column)
                    continue;
                const std::vector<int>& list = lower_[static_cast<size_t>(column)];
                const int slot =
                    3 * static_cast<int>(std::lower_bound(list.begin(), list.end(), row) -
                                         list.begin());
                for (int cb = 0; cb < 3; ++cb)
                    for (int ca = 0; ca < 3; ++ca) {
                        if (row == column && ca > cb)
                            continue;
                        value[outer[3 * column + cb] + slot + ca] += brick(3 * a + ca, 3 * b + cb);
                    }
            }
    }

    int nx_, ny_, nz_;
    std::vector<std::array<double, 3>> coordinates_;
    std::vector<std::vector<int>> lower_; // per node, its neighbours numbered up to it
    Eigen::SparseMatrix<double> upper_;
};

// The reference: the free equations of K u = f solved by the direct factorisation, with zeros
// at the fixed components.
inline Eigen::MatrixXd DirectSolution(const Eigen::SparseMatrix<double>& upper,
                                      const std::vector<char>& fixed, const Eigen::MatrixXd& f) {
    std::vector<int> equation(fixed.size(), -1);
    int free = 0;
    for (size_t i = 0; i < fixed.size(); ++i)
        if (!fixed[i])
            equation[i] = free++;
    std::vector<Eigen::Triplet<double>> terms;
    for (int j = 0; j < upper.outerSize(); ++j)
        for (Eigen::SparseMatrix<double>::InnerIterator it(upper, j); it; ++it)
            if (equation[static_cast<size_t>(it.row())] >= 0 &&
                equation[static_cast<size_t>(j)] >= 0)
                terms.emplace_back(equation[static_cast<size_t>(it.row())],
                                   equation[static_cast<size_t>(j)], it.value());
    Eigen::SparseMatrix<double> reduced(free, free);
    reduced.setFromTriplets(terms.begin(), terms.end());
    Eigen::MatrixXd loads(free, f.cols());
    for (size_t i = 0; i < fixed.size(); ++i)
        if (equation[i] >= 0)
            loads.row(equation[i]) = f.row(static_cast<Eigen::Index>(i));
    SparseCholesky factors;
    if (factors.Factor(reduced) != SparseCholesky::Result::Factored)
        return {};
    const Eigen::MatrixXd reducedSolution = factors.Solve(loads);
    Eigen::MatrixXd solution = Eigen::MatrixXd::Zero(f.rows(), f.cols());
    for (size_t i = 0; i < fixed.size(); ++i)
        if (equation[i] >= 0)
            solution.row(static_cast<Eigen::Index>(i)) = reducedSolution.row(equation[i]);
    return solution;
}
