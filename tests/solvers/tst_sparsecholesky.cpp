#include "SparseCholesky.h"

#include <Eigen/Dense>
#include <QtTest>

// The factorisation the stiffness equations rest on: solutions and the half solves against
// dense algebra, a matrix that is not positive definite named at its equation, and systems
// large enough that their factors live in memory mapped for huge pages, in 2-D and 3-D.
class TestSparseCholesky : public QObject {
    Q_OBJECT

private:
    using SparseMatrix = SparseCholesky::SparseMatrix;

    // The upper triangle of a grid of `side` x `side` nodes with two equations each, coupled
    // like springs to the neighbours and held by a weaker spring to the ground.
    static SparseMatrix Grid(int side) {
        std::vector<Eigen::Triplet<double>> triplets;
        const auto equation = [side](int x, int y, int c) { return 2 * (y * side + x) + c; };
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                for (int c = 0; c < 2; ++c) {
                    const int e = equation(x, y, c);
                    triplets.emplace_back(e, e, 4.5 + c);
                    if (c == 0)
                        triplets.emplace_back(e, e + 1, 0.5);
                    if (x + 1 < side)
                        triplets.emplace_back(e, equation(x + 1, y, c), -1);
                    if (y + 1 < side)
                        triplets.emplace_back(e, equation(x, y + 1, c), -1);
                }
            }
        }
        SparseMatrix k(2 * side * side, 2 * side * side);
        k.setFromTriplets(triplets.begin(), triplets.end());
        k.makeCompressed();
        return k;
    }

    // The upper triangle of a cube of `side`^3 nodes with `width` equations each, coupled to
    // the six neighbours: a 3-D problem, where nested dissection beats minimum degree.
    static SparseMatrix Cube(int side, int width) {
        std::vector<Eigen::Triplet<double>> triplets;
        const auto node = [side](int x, int y, int z) { return (z * side + y) * side + x; };
        for (int z = 0; z < side; ++z) {
            for (int y = 0; y < side; ++y) {
                for (int x = 0; x < side; ++x) {
                    const int n = node(x, y, z);
                    for (int c = 0; c < width; ++c) {
                        const int e = width * n + c;
                        triplets.emplace_back(e, e, 6.5);
                        if (c + 1 < width)
                            triplets.emplace_back(e, e + 1, 0.25);
                        for (const int next : {x + 1 < side ? node(x + 1, y, z) : -1,
                                               y + 1 < side ? node(x, y + 1, z) : -1,
                                               z + 1 < side ? node(x, y, z + 1) : -1}) {
                            if (next >= 0)
                                triplets.emplace_back(e, width * next + c, -1);
                        }
                    }
                }
            }
        }
        const int equations = width * side * side * side;
        SparseMatrix k(equations, equations);
        k.setFromTriplets(triplets.begin(), triplets.end());
        k.makeCompressed();
        return k;
    }

    static std::vector<int> Blocks(int equations, int width) {
        std::vector<int> starts;
        for (int e = 0; e <= equations; e += width)
            starts.push_back(e);
        return starts;
    }

    static std::vector<int> Pairs(int equations) {
        std::vector<int> starts;
        for (int e = 0; e <= equations; e += 2)
            starts.push_back(e);
        return starts;
    }

private slots:
    void solvesAsDenseAlgebra();
    void namesTheEquationThatIsNotPositive();
    void solvesLargeSystems();
};

void TestSparseCholesky::solvesAsDenseAlgebra() {
    // Both orderings (of the equations and of the node pairs) give the dense solution, and
    // G^-1 K G^-T is the unit matrix. Tolerance 1e-12 relative: the matrix is well conditioned.
    const SparseMatrix k = Grid(12);
    const Eigen::MatrixXd dense = Eigen::MatrixXd(k).selfadjointView<Eigen::Upper>();
    const Eigen::MatrixXd loads = Eigen::MatrixXd::Random(k.rows(), 3);
    const Eigen::MatrixXd expected = dense.llt().solve(loads);
    for (const std::vector<int>& blocks : {std::vector<int>{}, Pairs(static_cast<int>(k.rows()))}) {
        SparseCholesky factors;
        QCOMPARE(factors.Factor(k, blocks), SparseCholesky::Result::Factored);
        QVERIFY((factors.Solve(loads) - expected).norm() < 1e-12 * expected.norm());
        const Eigen::VectorXd x = Eigen::VectorXd::Random(k.rows());
        const Eigen::VectorXd back = factors.HalfSolve(dense * factors.HalfSolveTransposed(x));
        QVERIFY((back - x).norm() < 1e-12 * x.norm());
        QVERIFY(factors.FactorNonzeros() > k.nonZeros());
        // The pivots are those of the dense factors in the same order.
        const std::vector<int> order = factors.Order();
        Eigen::MatrixXd permuted(k.rows(), k.rows());
        for (Eigen::Index i = 0; i < k.rows(); ++i) {
            for (Eigen::Index j = 0; j < k.rows(); ++j)
                permuted(i, j) =
                    dense(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
        }
        const Eigen::VectorXd l = Eigen::MatrixXd(permuted.llt().matrixL()).diagonal();
        QVERIFY((factors.Pivots() - l.cwiseProduct(l)).norm() < 1e-12 * l.squaredNorm());
    }
}

void TestSparseCholesky::namesTheEquationThatIsNotPositive() {
    // Equation 5 of 8 has a negative diagonal and no coupling: wherever the ordering puts it,
    // the factorisation stops there and says where.
    SparseMatrix k(8, 8);
    std::vector<Eigen::Triplet<double>> triplets;
    for (int e = 0; e < 8; ++e)
        triplets.emplace_back(e, e, e == 5 ? -1.0 : 2.0);
    for (int e = 0; e + 1 < 8; ++e) {
        if (e != 4 && e != 5)
            triplets.emplace_back(e, e + 1, -0.5);
    }
    k.setFromTriplets(triplets.begin(), triplets.end());
    k.makeCompressed();
    SparseCholesky factors;
    QCOMPARE(factors.Factor(k), SparseCholesky::Result::NotPositive);
    const int failed = factors.FailedPosition();
    QVERIFY(failed >= 0 && failed < 8);
    QCOMPARE(factors.Order()[static_cast<size_t>(failed)], 5);
    for (int position = 0; position < failed; ++position)
        QVERIFY(factors.Pivots()[position] > 0);
}

void TestSparseCholesky::solvesLargeSystems() {
    // 180,000 equations: the factors take tens of megabytes, in blocks that are mapped apart.
    // The residual is checked to 1e-10 relative, and solving again after a second
    // factorisation (the first factors freed) gives the same answer.
    const SparseMatrix k = Grid(300);
    const Eigen::VectorXd load = Eigen::VectorXd::Ones(k.rows());
    SparseCholesky factors;
    QCOMPARE(factors.Factor(k, Pairs(static_cast<int>(k.rows()))),
             SparseCholesky::Result::Factored);
    QVERIFY(factors.FactorNonzeros() * sizeof(double) > 8e6);
    const Eigen::VectorXd x = factors.Solve(load);
    const Eigen::VectorXd residual = k.selfadjointView<Eigen::Upper>() * x - load;
    QVERIFY(residual.norm() < 1e-10 * load.norm());
    QCOMPARE(factors.Factor(k), SparseCholesky::Result::Factored);
    QVERIFY((factors.Solve(load) - x).norm() < 1e-12 * x.norm());

    // A cube of 14^3 nodes with 6 equations each: the ordering of the nodes tries nested
    // dissection and keeps it only when it is the cheaper; either way no worse than minimum
    // degree on the single equations.
    const SparseMatrix cube = Cube(14, 6);
    const Eigen::VectorXd cubeLoad = Eigen::VectorXd::Ones(cube.rows());
    QCOMPARE(factors.Factor(cube), SparseCholesky::Result::Factored);
    const double single = factors.FactorNonzeros();
    QCOMPARE(factors.Factor(cube, Blocks(static_cast<int>(cube.rows()), 6)),
             SparseCholesky::Result::Factored);
    QVERIFY(factors.FactorNonzeros() <= single);
    const Eigen::VectorXd y = factors.Solve(cubeLoad);
    QVERIFY((cube.selfadjointView<Eigen::Upper>() * y - cubeLoad).norm() < 1e-10 * cubeLoad.norm());
}

QTEST_GUILESS_MAIN(TestSparseCholesky)
#include "tst_sparsecholesky.moc"
