#include "PlaneSolid.h"

#include "PlaneKinematics.h"

PlaneSolid::Point PlaneSolid::Stress(const Point& strain) const {
    Point stress(Stresses());
    stress.head(Strains()) = D * strain;
    if (OutOfPlaneStress)
        stress(Strains()) = Nu * (stress(0) + stress(1));
    return stress;
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
