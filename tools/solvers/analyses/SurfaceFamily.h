#pragma once

#include "ElementKinds.h"
#include "LinearSolver.h"
#include "MeshFamily.h"

#include <Eigen/Dense>
#include <memory>
#include <utility>
#include <vector>

struct ShellMaterial;
class ShellNodeAxes;

// Plates and shells. A plate lies in the x-y plane and bends across it (uz rx ry); its moments
// and shear forces per unit width are fitted at the nodes by quadratic patches, the shear
// forces from the slopes of the smooth moments, with the principal moments m1, m2 and the angle
// of m1 from x. A shell's flat elements keep their corners' order, which gives the normal the
// pressure follows; its results are in each element's own axes, and at a node the mean of its
// elements' corner values turned into the node's axes (see ShellNodeAxes). Even pressures on
// the elements are element loads.
class SurfaceFamily final : public MeshFamily {
public:
    // `kinds`: the elements it makes, by the corner count of a cell.
    explicit SurfaceFamily(bool plate, SurfaceKinds kinds = StandardElements::Surface());
    ~SurfaceFamily() override;

    void Build(const MeshModel& model, QStringList& warnings) override;
    std::vector<const Element*> Elements() const override;
    QStringList ComponentNames() const override;
    bool WeighsDiagonal() const override { return true; }
    Element::Vector ElementLoad(const MeshModel::ElementLoad& load) const override;
    Nodal NodalResults() const override { return plate_ ? Nodal::QuadraticPatch : Nodal::Mean; }
    ResultLayout Derived() const override;
    void Derive(const double* own, double* derived) const override;
    void AddCorner(size_t e, size_t a, const double* row, int own, double* into) const override;
    void FromSlopes(const double* slope, double* at) const override;
    // A plate's element rests on its foundation through the consistent matrix of its corners'
    // linear (bilinear) deflection (see PlateFoundation); a shell has none.
    std::unique_ptr<Element> Foundation(size_t e, double k) const override;
    // The multigrid is no match for the factorisation here: on a plate of 20,301 nodes it had
    // not converged after 1,347 iterations (42 s, against 1.7 s directly), on one of 80,601 it
    // broke down; a cylindrical shell panel of 10,011 nodes took 673 iterations (48 s, against
    // 3.9 s). The iteration stays to be asked for.
    int IterativeFrom() const override { return LinearSolver::Never; }

    // Rows: element e's local x, y and z (its normal) in global components.
    const Eigen::Matrix3d& Axes(size_t e) const { return axes_[e]; }

private:
    const ShellMaterial* MaterialFor(const MeshModel& model, const MeshModel::Cell& cell,
                                     double gravity);
    void Make(const MeshModel& model, const std::vector<std::array<int, 4>>& corners);

    bool plate_;
    SurfaceKinds kinds_;
    std::vector<std::unique_ptr<ShellMaterial>> materials_;
    std::vector<std::pair<int, double>> keys_; // material and thickness of each entry above
    std::vector<std::unique_ptr<Element>> elements_;
    std::vector<Eigen::Matrix3d> axes_;
    std::unique_ptr<ShellNodeAxes> nodeAxes_;
    std::vector<std::array<double, 2>> plan_; // a plate's nodes in its plane, for foundations
};
