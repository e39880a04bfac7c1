#pragma once

#include <Eigen/Core>
#include <Eigen/SparseCore>
#include <memory>
#include <vector>

// The supernodal Cholesky factors K = P^T L L^T P of a sparse symmetric matrix, by CHOLMOD with
// a nested-dissection ordering (far less fill than minimum degree on grids and 3-D frames) and
// the BLAS for its dense blocks. The factorisation also reports where it lost its positive
// definiteness, so that a caller can name what that equation stands for.
class SparseCholesky {
public:
    using SparseMatrix = Eigen::SparseMatrix<double>;

    SparseCholesky();
    ~SparseCholesky();
    SparseCholesky(const SparseCholesky&) = delete;
    SparseCholesky& operator=(const SparseCholesky&) = delete;

    // TooLarge: the analysis showed factors larger than the limit set by Limit(), and nothing
    // was factorised; PredictedBytes() says how large they would have been.
    enum class Result { Factored, NotPositive, NoMemory, TooLarge };
    // The most memory the factors may take (bytes); 0 for no limit. A factorisation that would
    // need more is not begun, so that it is refused with its size instead of being ended by the
    // system when the memory runs out.
    void Limit(double bytes) { limit_ = bytes; }
    // The memory of the factors as the analysis foresees it (bytes).
    double PredictedBytes() const { return predicted_; }
    // `upper` holds the upper triangle of K, compressed. Equations may come in blocks of
    // consecutive equations that belong together (the components of a node): `blockStarts`
    // holds the first equation of each block and then the number of equations. The blocks are
    // then ordered as a graph of their own, several times smaller, and each block is
    // eliminated as a whole, which also gives the dense kernels larger pieces to work on.
    // Empty: every equation is a block.
    Result Factor(const SparseMatrix& upper, const std::vector<int>& blockStarts = {});

    // The pivots L(k,k)^2 in elimination order, and the equation eliminated at each position.
    // After NotPositive only the first FailedPosition() pivots are sound.
    Eigen::VectorXd Pivots() const;
    std::vector<int> Order() const;
    int FailedPosition() const;

    // K^-1 B for any number of columns.
    Eigen::MatrixXd Solve(const Eigen::MatrixXd& b) const;
    // With G = P^T L: G^-1 x = L^-1 P x and G^-T x = P^T L^-T x.
    Eigen::VectorXd HalfSolve(const Eigen::VectorXd& x) const;
    Eigen::VectorXd HalfSolveTransposed(const Eigen::VectorXd& x) const;

    // The number of nonzeros of L, for the benchmarks' record.
    double FactorNonzeros() const;

private:
    struct Cholmod;
    std::unique_ptr<Cholmod> cholmod_;
    double limit_ = 0, predicted_ = 0;
};
