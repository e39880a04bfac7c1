#include "PrincipalStresses.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace {

bool Near(double a, double b, double tolerance = 1e-9) {
    return std::abs(a - b) <= tolerance * std::max(1.0, std::abs(b));
}

} // namespace

class TestPrincipalStresses : public QObject {
    Q_OBJECT

private slots:
    void plane_data();
    void plane();
    void spatialSatisfiesEigenEquation();
    void report();
    void parseNumber_data();
    void parseNumber();
};

void TestPrincipalStresses::plane_data() {
    QTest::addColumn<double>("sx");
    QTest::addColumn<double>("sy");
    QTest::addColumn<double>("txy");
    QTest::addColumn<double>("s1");
    QTest::addColumn<double>("s2");
    QTest::addColumn<double>("angle");
    QTest::newRow("uniaxial x") << 100.0 << 0.0 << 0.0 << 100.0 << 0.0 << 0.0;
    QTest::newRow("uniaxial y") << 0.0 << 100.0 << 0.0 << 100.0 << 0.0 << 90.0;
    QTest::newRow("pure shear") << 0.0 << 0.0 << 50.0 << 50.0 << -50.0 << 45.0;
    const double r = std::sqrt(50.0 * 50.0 + 30.0 * 30.0);
    QTest::newRow("general") << 80.0 << -20.0 << 30.0 << 30.0 + r << 30.0 - r
                             << 0.5 * std::atan2(60.0, 100.0) * 180 / M_PI;
}

void TestPrincipalStresses::plane() {
    QFETCH(double, sx);
    QFETCH(double, sy);
    QFETCH(double, txy);
    QFETCH(double, s1);
    QFETCH(double, s2);
    QFETCH(double, angle);
    const PrincipalResult result = PrincipalStresses::Plane(sx, sy, txy);
    QVERIFY2(Near(result.Stresses[0].Value, s1), "first principal stress");
    QVERIFY2(Near(result.Stresses[1].Value, s2), "second principal stress");
    QVERIFY2(Near(result.AngleDegrees, angle), "angle to the first principal stress");
    QVERIFY2(Near(result.MaxShear, (s1 - s2) / 2), "greatest shear stress");
    // The direction of sigma 1 rotates the state into a normal stress of sigma 1.
    const auto& d = result.Stresses[0].Direction;
    const double normal = sx * d[0] * d[0] + sy * d[1] * d[1] + 2 * txy * d[0] * d[1];
    QVERIFY2(Near(normal, s1), "normal stress in the first principal direction");
}

void TestPrincipalStresses::spatialSatisfiesEigenEquation() {
    QRandomGenerator random(20240611);
    for (int run = 0; run < 200; ++run) {
        const auto value = [&] { return random.bounded(1000.0) - 500.0; };
        const StressState s{value(), value(), value(), value(), value(), value()};
        const double a[3][3] = {{s.Sx, s.Txy, s.Tzx}, {s.Txy, s.Sy, s.Tyz}, {s.Tzx, s.Tyz, s.Sz}};
        const PrincipalResult result = PrincipalStresses::Spatial(s);
        QVERIFY(result.Stresses[0].Value >= result.Stresses[1].Value);
        QVERIFY(result.Stresses[1].Value >= result.Stresses[2].Value);
        double trace = 0;
        for (int i = 0; i < 3; ++i) {
            const PrincipalStress& p = result.Stresses[size_t(i)];
            trace += p.Value;
            for (int row = 0; row < 3; ++row) {
                double product = 0;
                for (int k = 0; k < 3; ++k)
                    product += a[row][k] * p.Direction[size_t(k)];
                QVERIFY2(std::abs(product - p.Value * p.Direction[size_t(row)]) < 1e-9,
                         "A d = sigma d within 1e-9 for stresses up to 500");
            }
            for (int j = 0; j < 3; ++j) {
                double dot = 0;
                for (int k = 0; k < 3; ++k)
                    dot += p.Direction[size_t(k)] * result.Stresses[size_t(j)].Direction[size_t(k)];
                QVERIFY2(std::abs(dot - (i == j ? 1.0 : 0.0)) < 1e-12, "orthonormal directions");
            }
        }
        QVERIFY2(std::abs(trace - (s.Sx + s.Sy + s.Sz)) < 1e-9, "the trace is invariant");
    }
}

void TestPrincipalStresses::report() {
    QCOMPARE(PrincipalStresses::Report(PrincipalStresses::Plane(0, 0, 50)),
             QStringLiteral("σ1 =      50.0000   l =  0.7071  m =  0.7071\n"
                            "σ2 =     -50.0000   l =  0.7071  m = -0.7071\n"
                            "τmax =     50.0000\n"
                            "α1 = 45.0000° (from the x axis to σ1)"));
    QCOMPARE(PrincipalStresses::Report(PrincipalStresses::Spatial({10, 30, 20, 0, 0, 0})),
             QStringLiteral("σ1 =      30.0000   l =  0.0000  m =  1.0000  n =  0.0000\n"
                            "σ2 =      20.0000   l =  0.0000  m =  0.0000  n =  1.0000\n"
                            "σ3 =      10.0000   l =  1.0000  m =  0.0000  n =  0.0000\n"
                            "τmax =     10.0000"));
}

void TestPrincipalStresses::parseNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("point") << "1.5" << true << 1.5;
    QTest::newRow("comma") << "1,5" << true << 1.5;
    QTest::newRow("blanks and sign") << "  -2e3 " << true << -2000.0;
    QTest::newRow("word") << "abc" << false << 0.0;
    QTest::newRow("infinite") << "inf" << false << 0.0;
}

void TestPrincipalStresses::parseNumber() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = PrincipalStresses::ParseNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

QTEST_MAIN(TestPrincipalStresses)
#include "tst_principalstresses.moc"
