#pragma once

#include <Eigen/Dense>

// Isotropic elasticity matrices D (stress = D strain) of the continuum types, with engineering
// shear strains. Strain orders: plane stress and plane strain (ex, ez, gxz); axisymmetric
// bodies (er, ez, grz, et), the hoop strain last; solids (ex, ey, ez, gxy, gyz, gzx).
namespace Elasticity {

Eigen::Matrix3d PlaneStress(double E, double nu);
Eigen::Matrix3d PlaneStrain(double E, double nu);
Eigen::Matrix4d Axisymmetric(double E, double nu);
Eigen::Matrix<double, 6, 6> Solid(double E, double nu);

} // namespace Elasticity
