#pragma once

#include "DofNumbering.h"
#include "Element.h"
#include "SparseAssembly.h"
#include "SparseCholesky.h"

#include <Eigen/Sparse>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// The stiffness equations of any model of elements: the numbering of its unknowns, the sparse
// stiffness matrix assembled in place and its Cholesky factors. A model that can move without
// resistance is refused, with the node and component that move.
class EquationSystem {
public:
    using SparseMatrix = Eigen::SparseMatrix<double>;

    // Six entries per node: which components supports fix and which carry loads.
    struct Constraints {
        std::vector<bool> Fixed, Loaded;
    };

    EquationSystem(int nodes, std::vector<const Element*> elements, DofNumbering::Wording wording);
    ~EquationSystem();
    EquationSystem(const EquationSystem&) = delete;
    EquationSystem& operator=(const EquationSystem&) = delete;

    // The sum of the elements' diagonal stiffness terms, six per node: what the numbering
    // takes to tell a held component from a free one.
    std::vector<double> StiffnessDiagonal() const;
    // Numbers, assembles and factorises; throws SolverError when the model is a mechanism or
    // the memory is short. Factors larger than the limit are not made: TooLarge() tells.
    // `diagonal` as StiffnessDiagonal() gives it, or any positive value where an element
    // stiffens a component (cheaper for elements known to). `factorise` false numbers and
    // assembles only, for a solution by iteration.
    void Prepare(const std::vector<int>& kept, const std::vector<double>& diagonal,
                 const Constraints& constraints, bool factorise = true);
    // Numbers the unknowns and makes the matrices' pattern, no more: for a caller that
    // assembles its own matrices (the shifted pencil in extended precision). Throws
    // SolverError when the model is a mechanism.
    void Number(const std::vector<int>& kept, const std::vector<double>& diagonal,
                const Constraints& constraints);
    // The most memory the factors may take (bytes, 0 for no limit): larger ones are refused
    // before the factorisation begins, with TooLarge() set and FactorBytes() their size.
    void LimitMemory(double bytes) { memoryLimit_ = bytes; }
    bool TooLarge() const { return tooLarge_; }
    double FactorBytes() const { return factorBytes_; }

    const DofNumbering& Numbering() const { return numbering_; }
    const std::vector<const Element*>& Elements() const { return elements_; }
    int Equations() const { return numbering_.Equations(); }
    int Equation(int node, int component) const { return numbering_.Equation(node, component); }
    // The upper triangle of the stiffness matrix of the free equations.
    const SparseMatrix& Stiffness() const { return stiffness_; }
    // The largest row sum of |K|, found once in the assembly: what a backward error measures
    // |K| |x| by.
    double StiffnessNorm() const { return stiffnessNorm_; }
    // A matrix of the stiffness's pattern (a mass, a geometric stiffness) assembled in place
    // from the matrix `matrixOf` gives each element, by its index; an element whose matrix is
    // empty adds nothing.
    template <typename MatrixOf>
    SparseMatrix Assemble(MatrixOf matrixOf) const {
        SparseMatrix matrix = pattern_->Empty();
        for (size_t e = 0; e < elements_.size(); ++e) {
            const Element::Matrix m = matrixOf(e);
            if (m.size() > 0)
                pattern_->Add(matrix, elements_[e]->Nodes(), elements_[e]->Components(), m);
        }
        return matrix;
    }
    // The same in extended precision: an empty matrix of the pattern, and the elements'
    // matrices added into one in place (after what the caller put there first, a spring).
    using ExtendedMatrix = Eigen::SparseMatrix<long double>;
    ExtendedMatrix EmptyExtended() const { return pattern_->Empty().cast<long double>(); }
    template <typename MatrixOf>
    void AddExtended(ExtendedMatrix& matrix, MatrixOf matrixOf) const {
        for (size_t e = 0; e < elements_.size(); ++e) {
            const auto m = matrixOf(e);
            if (m.size() > 0)
                pattern_->Add(matrix, elements_[e]->Nodes(), elements_[e]->Components(), m);
        }
    }
    // The equations of every element's unknowns, element after element, each in the order of
    // its matrices (-1 where there is none): made once for many products.
    std::vector<int> ElementEquations() const;
    // K u in extended precision, element by element as each element forms its forces: where
    // the stiffness spans more decades than the assembled matrix keeps, the values of a
    // Rayleigh quotient are only this exact. `equations` as ElementEquations() gives them.
    Element::ExtendedVector ExtendedProduct(const Element::ExtendedVector& u,
                                            const std::vector<int>& equations) const;
    // Adds `value` to the diagonal term of an equation of such a matrix (a lumped mass).
    static void AddDiagonal(SparseMatrix& matrix, int equation, double value) {
        // Each column's rows ascend to the diagonal, which comes last.
        matrix.valuePtr()[matrix.outerIndexPtr()[equation + 1] - 1] += value;
    }

    Eigen::MatrixXd Solve(const Eigen::MatrixXd& loads) const;
    // How far solutions x are from K x = f: the largest |K x - f| of the columns, each
    // relative to its largest load (maximum norms); infinite when a value is not finite.
    double Residual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const;
    // The same residual relative to |K| |x| + |f| instead (the normwise backward error): what
    // the rounding of a sound factorisation leaves, near the machine's precision however
    // ill-conditioned K is. The residual relative to the loads alone grows with the condition,
    // as h^-4 for a plate, until a fine mesh's correct answer looks unsolved.
    double BackwardError(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const;
    // With the factors written K = G G^T (G = P^T L): G^-1 x and G^-T x, which turn
    // K x = lambda B x into the symmetric problem of G^-1 B G^-T.
    Eigen::VectorXd HalfSolve(const Eigen::VectorXd& x) const;
    Eigen::VectorXd HalfSolveTransposed(const Eigen::VectorXd& x) const;
    // The displacements of an element's unknowns, ordered as its matrices, from a solution.
    Element::Vector Gather(const Element& element, const Eigen::VectorXd& solution) const;

    // The pieces of the run's time, for the protocol and the benchmarks (seconds).
    double AssemblySeconds() const { return assemblySeconds_; }
    double FactorSeconds() const { return factorSeconds_; }

private:
    void CheckPivots(bool failed) const;
    // The largest |K x - f| of the columns relative to `stiffness` |x| + |f|.
    double WorstResidual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f,
                         double stiffness) const;

    std::vector<const Element*> elements_;
    size_t nodes_ = 0;
    DofNumbering::Wording wording_;
    DofNumbering numbering_;
    std::unique_ptr<SparseAssembly> pattern_;
    SparseMatrix stiffness_;
    std::unique_ptr<SparseCholesky> factors_;
    double stiffnessNorm_ = 0; // the largest row sum of |K|
    double memoryLimit_ = 0, factorBytes_ = 0;
    bool tooLarge_ = false;
    double assemblySeconds_ = 0, factorSeconds_ = 0;
};
