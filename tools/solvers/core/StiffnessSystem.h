#pragma once

#include "BarElement.h"
#include "BarModel.h"
#include "EquationSystem.h"

#include <Eigen/Sparse>
#include <QString>
#include <memory>
#include <vector>

// The stiffness equations of a bar model: its bars as elements of the general equation system,
// one equation per kept displacement component that is neither fixed by a support nor a
// rotation no bar holds (every bar hinged at the node, or a truss). A structure that can move
// without resistance is refused here, with the node and component that move.
class StiffnessSystem {
public:
    using SparseMatrix = Eigen::SparseMatrix<double>;

    explicit StiffnessSystem(const BarModel& model);
    ~StiffnessSystem();

    // Assembles and factorises; false with Error() set when the model has a fault of its own
    // (BarModel::Fault) or the structure is a mechanism.
    bool Prepare();
    const QString& Error() const { return error_; }

    const BarModel& Model() const { return model_; }
    const std::vector<BarElement>& Elements() const { return elements_; }
    const EquationSystem& System() const { return *equations_; }
    int Equations() const { return equations_->Equations(); }
    // The equation of node n's global component c (0 to 5), or -1 when it has none.
    int Equation(int node, int component) const { return equations_->Equation(node, component); }
    // The upper triangle of the stiffness matrix of the free equations.
    const SparseMatrix& Stiffness() const { return equations_->Stiffness(); }
    Eigen::MatrixXd Solve(const Eigen::MatrixXd& loads) const { return equations_->Solve(loads); }
    double Residual(const Eigen::MatrixXd& x, const Eigen::MatrixXd& f) const {
        return equations_->Residual(x, f);
    }
    Eigen::VectorXd HalfSolve(const Eigen::VectorXd& x) const { return equations_->HalfSolve(x); }
    Eigen::VectorXd HalfSolveTransposed(const Eigen::VectorXd& x) const {
        return equations_->HalfSolveTransposed(x);
    }
    // The displacements of a bar's two ends in global axes, from the solution of the equations.
    BarElement::Vector12 EndDisplacements(int bar, const Eigen::VectorXd& solution) const;

    QString ComponentName(int component) const;

private:
    const BarModel& model_;
    std::vector<BarElement> elements_;
    std::unique_ptr<EquationSystem> equations_;
    QString error_;
};
