#include "elements/Elasticity.h"
#include "elements/Quadrature.h"
#include "elements/ShapeFunctions.h"

#include <QTest>
#include <cmath>

// The pieces the continuum elements are made of: integration rules, shape functions and
// elasticity matrices, each against what it must reproduce.
class TestElementBasics : public QObject {
    Q_OBJECT

    static double Power(double x, int n) { return n == 0 ? 1 : std::pow(x, n); }
    static double Factorial(int n) { return n <= 1 ? 1 : n * Factorial(n - 1); }

private slots:
    void rulesIntegratePolynomialsExactly();
    void shapeFunctionsInterpolate();
    void elasticityAgreesWithLame();
};

void TestElementBasics::rulesIntegratePolynomialsExactly() {
    // Over the square: the integral of xi^a eta^b is the product of 2 / (k + 1) for even k and
    // 0 for odd k; n points are exact up to degree 2n - 1 in each direction.
    const auto line = [](int k) { return k % 2 ? 0.0 : 2.0 / (k + 1); };
    for (int n = 1; n <= 3; ++n) {
        for (int a = 0; a <= 2 * n - 1; ++a) {
            for (int b = 0; b <= 2 * n - 1; ++b) {
                double sum = 0;
                for (const Quadrature::Point& p : Quadrature::Square(n))
                    sum += p.Weight * Power(p.Xi[0], a) * Power(p.Xi[1], b);
                QVERIFY2(std::abs(sum - line(a) * line(b)) < 1e-14,
                         qPrintable(QStringLiteral("n %1, xi^%2 eta^%3").arg(n).arg(a).arg(b)));
            }
        }
    }
    // Over the triangle: a! b! / (a + b + 2)!, exact up to the rule's degree.
    for (int degree = 1; degree <= 2; ++degree) {
        for (int a = 0; a <= degree; ++a) {
            for (int b = 0; a + b <= degree; ++b) {
                double sum = 0;
                for (const Quadrature::Point& p : Quadrature::Triangle(degree))
                    sum += p.Weight * Power(p.Xi[0], a) * Power(p.Xi[1], b);
                const double exact = Factorial(a) * Factorial(b) / Factorial(a + b + 2);
                QVERIFY2(std::abs(sum - exact) < 1e-15,
                         qPrintable(
                             QStringLiteral("degree %1, xi^%2 eta^%3").arg(degree).arg(a).arg(b)));
            }
        }
    }
}

void TestElementBasics::shapeFunctionsInterpolate() {
    // Each function is 1 at its node and 0 at the others, they add up to 1 everywhere, and
    // their derivatives are those of the functions (by central differences).
    const std::vector<std::array<double, 2>> triangle{{0, 0}, {1, 0}, {0, 1}};
    const std::vector<std::array<double, 2>> square{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    const auto check = [](auto shape, const std::vector<std::array<double, 2>>& nodes) {
        for (size_t a = 0; a < nodes.size(); ++a) {
            const ShapeFunctions::Values at = shape(nodes[a][0], nodes[a][1]);
            for (size_t b = 0; b < nodes.size(); ++b)
                QCOMPARE(at.N[Eigen::Index(b)], a == b ? 1.0 : 0.0);
        }
        const double h = 1e-6;
        for (const auto& [xi, eta] : {std::pair{0.2, 0.3}, {-0.7, 0.45}, {0.05, -0.9}}) {
            const ShapeFunctions::Values v = shape(xi, eta);
            QVERIFY(std::abs(v.N.sum() - 1) < 1e-15);
            QVERIFY(v.Derived.rowwise().sum().norm() < 1e-15);
            const Eigen::VectorXd dXi = (shape(xi + h, eta).N - shape(xi - h, eta).N) / (2 * h);
            const Eigen::VectorXd dEta = (shape(xi, eta + h).N - shape(xi, eta - h).N) / (2 * h);
            QVERIFY((dXi - v.Derived.row(0).transpose()).norm() < 1e-9);
            QVERIFY((dEta - v.Derived.row(1).transpose()).norm() < 1e-9);
        }
    };
    check(ShapeFunctions::Triangle3, triangle);
    check(ShapeFunctions::Quad4, square);
}

void TestElementBasics::elasticityAgreesWithLame() {
    // The three-dimensional law with Lame's constants, lambda and mu; plane strain and the
    // axisymmetric body are its rows and columns, plane stress what is left once the stress
    // across the plane is zero.
    const double E = 2.1e8, nu = 0.3;
    const double lambda = E * nu / ((1 + nu) * (1 - 2 * nu)), mu = E / (2 * (1 + nu));
    Eigen::Matrix3d strain;
    strain << lambda + 2 * mu, lambda, 0, lambda, lambda + 2 * mu, 0, 0, 0, mu;
    QVERIFY((Elasticity::PlaneStrain(E, nu) - strain).norm() < 1e-9 * E);

    Eigen::Matrix4d axisymmetric;
    axisymmetric << lambda + 2 * mu, lambda, 0, lambda, //
        lambda, lambda + 2 * mu, 0, lambda,             //
        0, 0, mu, 0,                                    //
        lambda, lambda, 0, lambda + 2 * mu;
    QVERIFY((Elasticity::Axisymmetric(E, nu) - axisymmetric).norm() < 1e-9 * E);

    // Plane stress: the normal stress across the plane condensed out of the 3D law.
    const Eigen::Vector3d across(lambda, lambda, 0);
    const Eigen::Matrix3d stress = strain - across * across.transpose() / (lambda + 2 * mu);
    QVERIFY((Elasticity::PlaneStress(E, nu) - stress).norm() < 1e-9 * E);
    // A bar pulled along x: strain (1, -nu, 0) carries E along x and nothing across.
    const Eigen::Vector3d pulled = Elasticity::PlaneStress(E, nu) * Eigen::Vector3d(1, -nu, 0);
    QVERIFY((pulled - Eigen::Vector3d(E, 0, 0)).norm() < 1e-9 * E);
}

QTEST_APPLESS_MAIN(TestElementBasics)
#include "tst_elementbasics.moc"
