#pragma once

#include "ConicalShell.h"
#include "MeshFamily.h"

// Systems of shells of revolution about the z axis (ur uz rot): conical walls along the
// meridian, worked per radian of the circumference. A ring load per unit length at radius r is
// r per radian; a node on the axis is held in ur and rot by symmetry, and there the support
// reacts only along the axis. Each wall gives its section forces Ns Nt Ms Mt Q at both ends
// from what its nodes exert on it.
class MeridianFamily final : public MeshFamily {
public:
    void Build(const MeshModel& model, QStringList& warnings) override;
    std::vector<const Element*> Elements() const override;
    QStringList ComponentNames() const override { return {"ur", "uz", "rot"}; }
    DofNumbering::Wording Wording() const override;
    bool WeighsDiagonal() const override { return true; }
    void Constrain(const MeshModel& model, std::vector<bool>& fixed) const override;
    double PerRadian(const std::array<double, 3>& at) const override { return at[0]; }
    // Along the axis the loads and the reactions balance; radially the hoop holds.
    LoadBalance::Resultant Balance() const override { return LoadBalance::Resultant::Axial; }
    bool Reacts(const std::array<double, 3>& at, int c) const override;
    Element::Vector ElementLoad(const MeshModel::ElementLoad& load) const override;
    Nodal NodalResults() const override { return Nodal::Mean; }
    ResultLayout EndLayout() const override;
    void EndForces(size_t e, const Element::Vector& u, const Element::Vector& loads,
                   const Element::Heat* heat, double* into) const override;
    // A shell of revolution moves freely only along its axis.
    std::vector<int> RigidMotions() const override { return {2}; }

    static bool OnAxis(const std::array<double, 3>& at) { return at[0] <= 0; }

private:
    std::vector<std::unique_ptr<ConicalShell>> elements_;
};
