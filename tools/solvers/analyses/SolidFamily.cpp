#include "SolidFamily.h"

#include "Elasticity.h"
#include "SolidMesh.h"
#include "SolidTensor.h"
#include "SolverError.h"
#include "Units.h"

namespace {

// The six rigid motions of a solid can be held only by supports that fix enough components:
// without that the equations are singular, which a factorisation notices and an iteration may
// not. The motions restricted to the fixed components must have full rank.
bool HeldRigidly(const MeshModel& model) {
    std::vector<Eigen::Matrix<double, 1, 6>> rows;
    for (const MeshModel::Support& support : model.Supports) {
        const auto& p = model.Nodes[static_cast<size_t>(support.Node)];
        for (int c = 0; c < 3; ++c) {
            if (!support.Fixed[static_cast<size_t>(c)])
                continue;
            Eigen::Matrix<double, 1, 6> row = Eigen::Matrix<double, 1, 6>::Zero();
            row[c] = 1;
            // Rotations about x, y, z: u = w x p.
            const int a = (c + 1) % 3, b = (c + 2) % 3;
            row[3 + a] = -p[static_cast<size_t>(b)];
            row[3 + b] = p[static_cast<size_t>(a)];
            rows.push_back(row);
        }
    }
    if (rows.size() < 6)
        return false;
    Eigen::MatrixXd motions(static_cast<Eigen::Index>(rows.size()), 6);
    for (size_t k = 0; k < rows.size(); ++k)
        motions.row(static_cast<Eigen::Index>(k)) = rows[k];
    // Scale the rotations to the model's size so the rank test is fair.
    const double size = std::max(1e-300, motions.rightCols<3>().cwiseAbs().maxCoeff());
    motions.rightCols<3>() /= size;
    Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(motions);
    qr.setThreshold(1e-10);
    return qr.rank() == 6;
}

} // namespace

void SolidFamily::Build(const MeshModel& model, QStringList& /*warnings*/) {
    SolidMesh::Check(model);
    if (!HeldRigidly(model))
        throw SolverError(QStringLiteral("the supports do not hold the solid against every rigid "
                                         "motion: fix at least three nodes that do not lie in "
                                         "one line, in enough components to stop it sliding "
                                         "and turning"));
    const double gravity = Units::Gravity(model.LengthUnit);
    materials_.reserve(model.Materials.size());
    for (const MeshModel::Material& m : model.Materials)
        materials_.push_back({Elasticity::Solid(m.E, m.Nu), gravity > 0 ? m.Gamma / gravity : 0});
    const SolidKinds::ByCorners makers = kinds_.Of(ProblemType::Mesh::Solid);
    elements_.reserve(model.Cells.size());
    for (const MeshModel::Cell& cell : model.Cells) {
        const SolidKinds::Maker make = makers.For(cell.Count);
        if (!make)
            throw SolverError::AtLine(
                cell.Line,
                QStringLiteral("this mesh has no element of %1 corners").arg(cell.Count));
        elements_.push_back(
            make(materials_[static_cast<size_t>(cell.Material)], model, cell.Nodes()));
    }
}

std::vector<const Element*> SolidFamily::Elements() const {
    std::vector<const Element*> pointers;
    pointers.reserve(elements_.size());
    for (const auto& element : elements_)
        pointers.push_back(element.get());
    return pointers;
}

void SolidFamily::Derive(const double* own, double* derived) const {
    SolidTensor::Principal(own, derived);
}
