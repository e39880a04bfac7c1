#pragma once

#include "BarElement.h"
#include "BarModel.h"
#include "SparseCholesky.h"

#include <Eigen/Sparse>
#include <QString>
#include <memory>
#include <vector>

// The assembled stiffness equations of a bar model: one equation per kept displacement
// component that is neither fixed by a support nor a rotation no bar holds (every bar hinged
// at the node, or a truss), the sparse stiffness matrix and its Cholesky factors. A structure that
// can move without resistance is refused here, with the node and component that move.
class StiffnessSystem {
public:
    using SparseMatrix = Eigen::SparseMatrix<double>;

    explicit StiffnessSystem(const BarModel& model);
    ~StiffnessSystem();

    // Assembles and factorises; false with Error() set when the structure is a mechanism.
    bool Prepare();
    const QString& Error() const { return error_; }

    const BarModel& Model() const { return model_; }
    const std::vector<BarElement>& Elements() const { return elements_; }
    int Equations() const { return equations_; }
    // The equation of node n's global component c (0 to 5), or -1 when it has none.
    int Equation(int node, int component) const {
        return map_[6 * static_cast<size_t>(node) + component];
    }
    // The upper triangle of the stiffness matrix of the free equations.
    const SparseMatrix& Stiffness() const { return stiffness_; }
    Eigen::MatrixXd Solve(const Eigen::MatrixXd& loads) const;
    // How far solutions x are from K x = f: the largest |K x - f| of the columns, each
    // relative to its largest load (maximum norms); infinite when a value is not finite.
    double Residual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const;
    // With the factors written K = G G^T (G = P^T L): G^-1 x and G^-T x, which turn
    // K x = lambda B x into the symmetric problem of G^-1 B G^-T.
    Eigen::VectorXd HalfSolve(const Eigen::VectorXd& x) const;
    Eigen::VectorXd HalfSolveTransposed(const Eigen::VectorXd& x) const;
    // The displacements of a bar's two ends in global axes, from the solution of the equations.
    BarElement::Vector12 EndDisplacements(int bar, const Eigen::VectorXd& solution) const;
    // Adds the global 12 x 12 matrix of a bar to triplets of the free equations (upper triangle).
    void Scatter(int bar, const BarElement::Matrix12& matrix,
                 std::vector<Eigen::Triplet<double>>& triplets) const;

    QString ComponentName(int component) const;

private:
    bool Number(const std::vector<double>& diagonal);
    void Assemble();
    bool CheckPivots(bool failed);

    const BarModel& model_;
    std::vector<BarElement> elements_;
    std::vector<int> map_; // 6 per node
    int equations_ = 0;
    SparseMatrix stiffness_;
    std::unique_ptr<SparseCholesky> factors_;
    QString error_;
};
