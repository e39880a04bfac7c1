#include "Elasticity.h"

Eigen::Matrix3d Elasticity::PlaneStress(double E, double nu) {
    const double c = E / (1 - nu * nu);
    Eigen::Matrix3d d;
    d << c, c * nu, 0, //
        c * nu, c, 0,  //
        0, 0, c * (1 - nu) / 2;
    return d;
}

Eigen::Matrix3d Elasticity::PlaneStrain(double E, double nu) {
    const double c = E / ((1 + nu) * (1 - 2 * nu));
    Eigen::Matrix3d d;
    d << c * (1 - nu), c * nu, 0, //
        c * nu, c * (1 - nu), 0,  //
        0, 0, c * (1 - 2 * nu) / 2;
    return d;
}

Eigen::Matrix4d Elasticity::Axisymmetric(double E, double nu) {
    const double c = E / ((1 + nu) * (1 - 2 * nu));
    const double a = c * (1 - nu), b = c * nu;
    Eigen::Matrix4d d;
    d << a, b, 0, b,                   //
        b, a, 0, b,                    //
        0, 0, c * (1 - 2 * nu) / 2, 0, //
        b, b, 0, a;
    return d;
}

Eigen::Matrix<double, 6, 6> Elasticity::Solid(double E, double nu) {
    const double c = E / ((1 + nu) * (1 - 2 * nu));
    Eigen::Matrix<double, 6, 6> d = Eigen::Matrix<double, 6, 6>::Zero();
    d.topLeftCorner<3, 3>().setConstant(c * nu);
    d.topLeftCorner<3, 3>().diagonal().setConstant(c * (1 - nu));
    d.bottomRightCorner<3, 3>().diagonal().setConstant(E / (2 * (1 + nu)));
    return d;
}
