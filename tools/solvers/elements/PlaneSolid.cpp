#include "PlaneSolid.h"

#include "PlaneKinematics.h"

PlaneSolid::Point PlaneSolid::Stress(const Point& strain) const {
    Point stress(Stresses());
    stress.head(Strains()) = D * strain;
    if (OutOfPlaneStress)
        stress(Strains()) = Nu * (stress(0) + stress(1));
    return stress;
}

PlaneSolid::Point PlaneSolid::FreeStrain(double alphaT) const {
    Point strain = Point::Zero(Strains());
    const double inPlane = PlaneStrain ? (1 + Nu) * alphaT : alphaT;
    strain(0) = inPlane;
    strain(1) = inPlane;
    if (Kind == Form::Axisymmetric)
        strain(3) = alphaT;
    return strain;
}

PlaneSolid::Point PlaneSolid::HeatStress(const Point& strain0, double alphaT) const {
    Point stress = Stress(strain0);
    if (OutOfPlaneStress)
        stress(Strains()) += E * alphaT;
    return stress;
}

void PlaneSolid::AddVolumeLoads(Element::Vector& f, double weight,
                                const Eigen::Ref<const Eigen::VectorXd>& n,
                                const std::array<double, 3>& perVolume) {
    for (Eigen::Index a = 0; a < n.size(); ++a) {
        f(2 * a) += weight * n(a) * perVolume[0];
        f(2 * a + 1) += weight * n(a) * perVolume[2];
    }
}

ResultLayout PlaneSolid::StressLayout() const {
    constexpr auto stress = ResultColumn::Quantity::Stress;
    if (Kind == Form::Axisymmetric)
        return {{{"sr", "Stress sr", stress},
                 {"sz", "Stress sz", stress},
                 {"trz", "Shear stress trz", stress},
                 {"st", "Stress st", stress}}};
    ResultLayout layout{{{"sx", "Stress sx", stress},
                         {"sz", "Stress sz", stress},
                         {"txz", "Shear stress txz", stress}}};
    if (OutOfPlaneStress)
        layout.Columns.push_back({"sy", "Stress sy", stress});
    return layout;
}

PlaneKinematics::Operator PlaneKinematics::Strain(PlaneSolid::Form form, const Shape& n,
                                                  const Gradient& dndx, double r) {
    const Eigen::Index nodes = n.size();
    const bool axisymmetric = form == PlaneSolid::Form::Axisymmetric;
    Operator b = Operator::Zero(axisymmetric ? 4 : 3, 2 * nodes);
    for (Eigen::Index a = 0; a < nodes; ++a) {
        b(0, 2 * a) = dndx(0, a);
        b(1, 2 * a + 1) = dndx(1, a);
        b(2, 2 * a) = dndx(1, a);
        b(2, 2 * a + 1) = dndx(0, a);
        if (axisymmetric)
            b(3, 2 * a) = n(a) / r;
    }
    return b;
}

void PlaneKinematics::AddMass(Element::Matrix& m, double weight, const Shape& n) {
    for (Eigen::Index a = 0; a < n.size(); ++a)
        for (Eigen::Index b = 0; b < n.size(); ++b)
            for (Eigen::Index c = 0; c < 2; ++c)
                m(2 * a + c, 2 * b + c) += weight * n(a) * n(b);
}
