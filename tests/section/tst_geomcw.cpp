#include "GeomCW.h"
#include "SectionError.h"

#include <QList>
#include <QPointF>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
using Yz = std::vector<double>;        // y1, z1, y2, z2, ...
using Moments = std::array<double, 6>; // F, Yc, Zc, Iy, Iz, Iyz

struct Call {
    int kind = 0;
    std::array<double, 8> corners{};
    int number = 1;
    char mode = 'G';
};
using Calls = QList<Call>;

Call mk(int kind, const Yz& yz, int number = 1, char mode = 'G') {
    Call call{kind, {}, number, mode};
    std::copy(yz.begin(), yz.end(), call.corners.begin());
    return call;
}

SectionResults run(GeomCW& geom, const Calls& calls) {
    for (const Call& c : calls) {
        geom.SectionIntegrals(c.mode, c.kind, c.number, c.corners);
    }
    return geom.results();
}

// Independent reference: a simple polygon's moments by Green's theorem, about its centroid.
Moments polygon(const Yz& p) {
    double A = 0, Qy = 0, Qz = 0, Jyy = 0, Jzz = 0, Jyz = 0;
    for (size_t i = 0; i < p.size(); i += 2) {
        const double y0 = p[i], z0 = p[i + 1], y1 = p[(i + 2) % p.size()],
                     z1 = p[(i + 3) % p.size()];
        const double c = y0 * z1 - y1 * z0;
        A += c / 2;
        Qy += (y0 + y1) * c / 6;
        Qz += (z0 + z1) * c / 6;
        Jyy += (y0 * y0 + y0 * y1 + y1 * y1) * c / 12;
        Jzz += (z0 * z0 + z0 * z1 + z1 * z1) * c / 12;
        Jyz += (y0 * z1 + 2 * y0 * z0 + 2 * y1 * z1 + y1 * z0) * c / 24;
    }
    const double yc = Qy / A, zc = Qz / A;
    return {A, yc, zc, Jzz - A * zc * zc, Jyy - A * yc * yc, Jyz - A * yc * zc};
}

// Wall elements of thickness t along a midline, drawn the way the user must: counter-clockwise,
// the first two corners on the end where the element starts.
Calls wallChain(const QList<QPointF>& midline, double t) {
    Calls calls;
    for (qsizetype i = 0; i + 1 < midline.size(); ++i) {
        const QPointF a = midline[i], b = midline[i + 1], d = b - a;
        const QPointF n = QPointF(-d.y(), d.x()) * (t / 2 / std::hypot(d.x(), d.y())); // left
        const QPointF q[] = {a + n, a - n, b - n, b + n};
        calls.append(
            mk(1, {q[0].x(), q[0].y(), q[1].x(), q[1].y(), q[2].x(), q[2].y(), q[3].x(), q[3].y()},
               int(i) + 1, 'S'));
    }
    return calls;
}

const QList<QPointF> kChannel = {{10, 10}, {0, 10}, {0, -10}, {10, -10}};

} // namespace

Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(Moments)

class TestGeomCW : public QObject {
    Q_OBJECT

private slots:
    void moments_data();
    void moments();
    void principalAxes();
    void sideAngle_data();
    void sideAngle();
    void failures_data();
    void failures();
    void sectorial_data();
    void sectorial();
    void stateBetweenCalls();
    void equalMomentsHaveNoAngle_data();
    void equalMomentsHaveNoAngle();
    void shearCentreMovesWithTheSection_data();
    void shearCentreMovesWithTheSection();
    void symmetricSectionsKeepTheirAxes_data();
    void symmetricSectionsKeepTheirAxes();
};

void TestGeomCW::moments_data() {
    QTest::addColumn<Calls>("calls");
    QTest::addColumn<Moments>("expected");

    const Moments tri{4.5, 1, 1, 2.25, 2.25, -1.125}, mirror{-4.5, 1, 1, -2.25, -2.25, 1.125};
    QTest::newRow("rectangle") << Calls{mk(1, {0, 0, 3, 0, 3, 2, 0, 2})}
                               << Moments{6, 1.5, 1, 2, 4.5, 0};
    QTest::newRow("right triangle") << Calls{mk(2, {0, 0, 3, 0, 0, 3})} << tri;
    QTest::newRow("right triangle, hypotenuse first") << Calls{mk(2, {3, 0, 0, 3, 0, 0})} << tri;
    QTest::newRow("obtuse at P1") << Calls{mk(2, {0, 0, 4, 0, -2, 3})}
                                  << polygon({0, 0, 4, 0, -2, 3});
    // Clockwise input gives the mirror image: every integral negated, the same centroid.
    QTest::newRow("clockwise, right at P1") << Calls{mk(2, {0, 0, 0, 3, 3, 0})} << mirror;
    QTest::newRow("clockwise, acute at P1") << Calls{mk(2, {3, 0, 0, 0, 0, 3})} << mirror;
    QTest::newRow("square with a hole")
        << Calls{mk(1, {0, 0, 4, 0, 4, 4, 0, 4}), mk(-1, {1, 1, 3, 1, 3, 3, 1, 3}, 2)}
        << Moments{12, 2, 2, 20, 20, 0};

    // Darts, with the reflex corner at each place in turn, and as two explicit triangles.
    for (const Yz& dart : {Yz{0, 4, -3, -2, 0, 0, 3, -2}, Yz{0, 0, 5, 1, 2, 2, 1, 5}}) {
        for (int s = 0; s < 4; ++s) {
            Yz turned = dart;
            std::rotate(turned.begin(), turned.begin() + 2 * s, turned.end());
            QTest::addRow("dart (%g, %g), reflex P%d", dart[2], dart[3], (6 - s) % 4 + 1)
                << Calls{mk(1, turned)} << polygon(dart);
        }
        const double* d = dart.data();
        QTest::addRow("dart (%g, %g) as two triangles", dart[2], dart[3])
            << Calls{mk(2, {d[4], d[5], d[6], d[7], d[0], d[1]}),
                     mk(2, {d[4], d[5], d[0], d[1], d[2], d[3]}, 2)}
            << polygon(dart);
    }

    // A base with 0 < |dy| < 0.001 is laid along (0.001, dz): the triangle turns about P1.
    for (double dy : {-0.0005, 0.0004}) {
        const double turn = std::atan2(3, 0.001) - std::atan2(3, dy);
        const double c = std::cos(turn), s = std::sin(turn);
        QTest::addRow("nearly vertical base, dy %g", dy)
            << Calls{mk(2, {0, 0, dy, 3, -3, 0.5})}
            << polygon({0, 0, dy * c - 3 * s, dy * s + 3 * c, -3 * c - 0.5 * s, -3 * s + 0.5 * c});
    }

    const double R4 = 16, c = 8 / (3 * kPi);       // R = 2; c: half and quarter centroid
    const double disc = 4 * kPi, J = kPi * R4 / 4; // J: full disc about its centre
    const double hI = J / 2 - disc / 2 * c * c;    // half disc about its centroid
    QTest::newRow("disc, P3 near P2")
        << Calls{mk(3, {1, -1, 3, -1, 3.005, -0.995})} << Moments{disc, 1, -1, J, J, 0};
    QTest::newRow("disc, P3 on P2's radial")
        << Calls{mk(3, {0, 0, 1.2, 1.6, 3.6, 4.8})} << Moments{disc, 0, 0, J, J, 0};
    QTest::newRow("upper half") << Calls{mk(3, {0, 0, 2, 0, -2, 0})}
                                << Moments{disc / 2, 0, c, hI, J / 2, 0};
    QTest::newRow("lower half") << Calls{mk(3, {0, 0, -2, 0, 2, 0})}
                                << Moments{disc / 2, 0, -c, hI, J / 2, 0};
    QTest::newRow("left half") << Calls{mk(3, {0, 0, 0, 2, 0, -2})}
                               << Moments{disc / 2, -c, 0, J / 2, hI, 0};
    // Only P3's direction counts.
    const double q = disc / 4, qI = J / 4 - q * c * c;
    for (double z3 : {2.0, 5.0, 0.5}) {
        QTest::addRow("quarter, P3 (0, %g)", z3)
            << Calls{mk(3, {0, 0, 2, 0, 0, z3})} << Moments{q, c, c, qI, qI, R4 / 8 - q * c * c};
    }
    // Three quarters: the full disc less the first quadrant.
    const double tq = 3 * q, tc = -q * c / tq, tI = 3 * J / 4 - tq * tc * tc;
    for (double y3 : {2.0, 5.0}) {
        QTest::addRow("three quarters, P3 (%g, 0)", y3)
            << Calls{mk(3, {0, 0, 0, 2, y3, 0})}
            << Moments{tq, tc, tc, tI, tI, -R4 / 8 - tq * tc * tc};
    }
}

void TestGeomCW::moments() {
    QFETCH(Calls, calls);
    QFETCH(Moments, expected);
    GeomCW geom;
    const SectionResults r = run(geom, calls);
    const Moments got{r.F, r.Yc, r.Zc, geom.Iy(), geom.Iz(), geom.Iyz()};
    for (int i = 0; i < 6; ++i) {
        QVERIFY2(std::fabs(got[i] - expected[i]) < 1e-9 * std::max(1.0, std::fabs(expected[i])),
                 qPrintable(
                     QStringLiteral("#%1: %2 instead of %3").arg(i).arg(got[i]).arg(expected[i])));
    }
}

void TestGeomCW::principalAxes() {
    GeomCW geom;
    SectionResults r = run(geom, {mk(1, {0, 0, 3, 0, 3, 2, 0, 2})});
    QVERIFY(qAbs(r.I1 - 4.5) < 1e-9 && qAbs(r.I2 - 2) < 1e-9 && qAbs(r.Alpha + 90) < 1e-7);
    r = run(geom, {mk(2, {0, 0, 3, 0, 0, 3})});
    QVERIFY(qAbs(r.I1 - 3.375) < 1e-9 && qAbs(r.I2 - 1.125) < 1e-9 && qAbs(r.Alpha + 135) < 1e-7);
}

void TestGeomCW::sideAngle_data() {
    QTest::addColumn<double>("dy");
    QTest::addColumn<double>("dz");
    QTest::addColumn<double>("phi");

    for (double dy : {-1.5, 0.0, 1.5}) {
        for (double dz : {-1.5, 0.0, 1.5}) {
            if (dy != 0 || dz != 0) {
                QTest::addRow("(%g, %g)", dy, dz) << dy << dz << -std::atan2(dz, dy);
            }
        }
    }
    // Nearly vertical: turned as if dy were +0.001, whichever side it leans to.
    QTest::newRow("up, a little left") << -0.0005 << 2.0 << -std::atan(2000.0);
    QTest::newRow("down, a little right") << 0.0002 << -2.0 << std::atan(2000.0);
    QTest::newRow("down, a little left") << -0.0009 << -2.0 << std::atan(2000.0);
    QTest::newRow("up, left, past the rule") << -0.0015 << 2.0 << -std::atan2(2.0, -0.0015);
}

void TestGeomCW::sideAngle() {
    QFETCH(double, dy);
    QFETCH(double, dz);
    QFETCH(double, phi);
    const double got = GeomCW::SideAngle(0.5, -4, 0.5 + dy, -4 + dz);
    QVERIFY2(qAbs(got - phi) < 1e-9, qPrintable(QString::number(got, 'g', 15)));
}

void TestGeomCW::failures_data() {
    QTest::addColumn<Calls>("calls"); // only the last one fails
    QTest::addColumn<QString>("message");

    const QString zero = "Floating point division by zero";
    const QString invalid = "Invalid floating point operation";
    const QString cross =
        "The quadrangle's sides cross each other; draw its corners in order around it.";
    const Call tri = mk(2, {0, 0, 3, 0, 0, 3});
    QTest::newRow("triangle, P1 = P2") << Calls{mk(2, {1, 1, 1, 1, 3, 4})} << zero;
    QTest::newRow("quadrangle, P1 = P2") << Calls{mk(1, {0, 0, 0, 0, 2, 2, 0, 2})} << zero;
    QTest::newRow("quadrangle, P1 = P3") << Calls{mk(1, {0, 0, 2, 0, 0, 0, 0, 2})} << zero;
    QTest::newRow("sector of radius 0") << Calls{mk(3, {1, 1, 1, 1, 3, 1})} << zero;
    QTest::newRow("disc of radius 0") << Calls{mk(3, {1, 1, 1, 1, 1.005, 1})} << zero;
    QTest::newRow("flat triangle") << Calls{mk(2, {0, 0, 1, 1, 2, 2})} << zero;
    QTest::newRow("hole takes all") << Calls{tri, mk(-2, {0, 0, 3, 0, 0, 3}, 2)} << zero;
    QTest::newRow("wall of no length")
        << Calls{tri, mk(1, {-1, 0, 1, 0, 2, 0, -2, 0}, 2, 'S')} << zero;
    // Second moments below what a double holds: Iy = Iz = Iyz = 0 while the area is not.
    QTest::newRow("wall without inertia")
        << Calls{mk(1, {0, 0, 1e-100, 0, 1e-100, 1e-100, 0, 1e-100}, 1, 'S')} << zero;
    QTest::newRow("overflowing triangle") << Calls{mk(2, {0, 0, 1e200, 0, 0, 1e200})} << invalid;
    QTest::newRow("overflowing sector") << Calls{mk(3, {0, 0, 1e200, 0, 0, 1e200})} << invalid;
    QTest::newRow("sides 1 and 3 cross") << Calls{mk(1, {0, 0, 2, 2, 2, 0, 0, 2})} << cross;
    QTest::newRow("sides 2 and 4 cross") << Calls{tri, mk(1, {0, 0, 2, 0, 0, 2, 2, 2}, 2)} << cross;
}

void TestGeomCW::failures() {
    QFETCH(Calls, calls);
    QFETCH(QString, message);
    GeomCW geom;
    const SectionResults channel = run(geom, wallChain(kChannel, 0.2));
    run(geom, calls.first(calls.size() - 1));
    try {
        run(geom, {calls.last()});
        QFAIL("no SectionError");
    } catch (const SectionError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    // No half-made sectorial result is left behind.
    const SectionResults& r = geom.results();
    QVERIFY(r.Yo == channel.Yo && r.Zo == channel.Zo && r.Jw == channel.Jw);
}

void TestGeomCW::sectorial_data() {
    QTest::addColumn<QList<QPointF>>("midline");
    QTest::addColumn<double>("t");
    QTest::addColumn<QPointF>("shearCentre");
    QTest::addColumn<double>("Jw");

    // Expected values to the printed digits.
    QTest::newRow("channel opening right") << kChannel << 0.2 << QPointF(-3.7499, 0) << 5833.3;
    QTest::newRow("channel opening left")
        << QList<QPointF>{{-10, 10}, {0, 10}, {0, -10}, {-10, -10}} << 0.2 << QPointF(3.7499, 0)
        << 5833.3;
    QTest::newRow("lipped channel")
        << QList<QPointF>{{8, 7}, {8, 10}, {0, 10}, {0, -10}, {8, -10}, {8, -7}} << 0.1
        << QPointF(-4.0877, 0) << 4001.1;
    // A flat strip does not warp and has its shear centre on itself, at its middle; it takes
    // every element.
    QList<QPointF> strip;
    for (int i = 0; i <= 150; ++i) {
        strip.append({double(i), 5});
    }
    QTest::newRow("150 elements in a row") << strip << 0.1 << QPointF(75, 5) << 0.0;
}

void TestGeomCW::sectorial() {
    QFETCH(QList<QPointF>, midline);
    QFETCH(double, t);
    QFETCH(QPointF, shearCentre);
    QFETCH(double, Jw);
    GeomCW geom;
    const SectionResults r = run(geom, wallChain(midline, t));
    QCOMPARE(geom.wallElements().size(), size_t(midline.size() - 1));
    QVERIFY2(qAbs(r.Yo - shearCentre.x()) < 5e-5 && qAbs(r.Zo - shearCentre.y()) < 5e-5 &&
                 qAbs(r.Jw - Jw) < 0.05,
             qPrintable(QStringLiteral("Yo %1, Zo %2, Jw %3").arg(r.Yo).arg(r.Zo).arg(r.Jw)));
    // Lips carry sectorial coordinates of one sign along their whole length.
    if (midline.first() == QPointF(8, 7)) {
        for (const WallElement& lip : {geom.wallElements().front(), geom.wallElements().back()}) {
            QVERIFY(lip.omegaA0 * lip.omegaB0 > 0);
        }
    }
}

void TestGeomCW::stateBetweenCalls() {
    GeomCW geom;
    const SectionResults ch = run(geom, wallChain(kChannel, 0.2));
    for (int kind : {0, 4, -4, 7}) { // add nothing, hand back what is there
        const SectionResults r = geom.SectionIntegrals('S', kind, 4, {1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(r.F == ch.F && r.Yc == ch.Yc && r.I1 == ch.I1 && r.Alpha == ch.Alpha);
    }
    // Only a quadrangle in mode 'S' touches Yo, Zo and Jw, and a fresh start leaves them.
    for (const Call& c :
         {mk(2, {20, 0, 23, 0, 20, 3}, 4, 'S'), mk(3, {30, 0, 32, 0, 30, 2}, 5, 'S'),
          mk(2, {0, 0, 3, 0, 0, 3}, 1, 'S'), mk(1, {0, 0, 3, 0, 3, 2, 0, 2}, 2)}) {
        const double before = geom.results().F;
        const SectionResults r = run(geom, {c});
        QVERIFY(r.F != before && r.Yo == ch.Yo && r.Zo == ch.Zo && r.Jw == ch.Jw);
    }
    // Number 1 starts afresh even when it adds nothing; the centroid is left as it was.
    const double yc = geom.results().Yc;
    SectionResults r = run(geom, {mk(0, {}, 1)});
    QVERIFY(r.F == 0 && r.I1 == 0 && r.I2 == 0 && r.Alpha == 0 && r.Yc == yc);
    // A failed call keeps what it added: the hole cancels the triangle for good.
    run(geom, {mk(2, {0, 0, 3, 0, 0, 3}, 2)});
    QVERIFY_THROWS_EXCEPTION(SectionError, run(geom, {mk(-2, {0, 0, 3, 0, 0, 3}, 3)}));
    r = run(geom, {mk(1, {10, 0, 12, 0, 12, 1, 10, 1}, 4)});
    QVERIFY(qAbs(r.F - 2) < 1e-12 && qAbs(r.Yc - 11) < 1e-12 && qAbs(geom.Iy() - 1 / 6.) < 1e-12);
}

void TestGeomCW::equalMomentsHaveNoAngle_data() {
    QTest::addColumn<Calls>("calls");
    QTest::addColumn<double>("alpha");
    // Equal principal moments make every axis principal: the angle is 0, not rounding noise.
    QTest::newRow("square with a square hole")
        << Calls{mk(1, {0, 0, 4, 0, 4, 4, 0, 4}), mk(-1, {1, 1, 3, 1, 3, 3, 1, 3}, 2)} << 0.0;
    QTest::newRow("square off the origin")
        << Calls{mk(1, {12.3, 7.1, 16.3, 7.1, 16.3, 11.1, 12.3, 11.1})} << 0.0;
    QTest::newRow("square turned by 30 degrees")
        << Calls{mk(1, {0, 0, 1.7320508075688772, 1, 0.7320508075688772, 2.7320508075688772, -1,
                        1.7320508075688772})}
        << 0.0;
    QTest::newRow("full disc") << Calls{mk(3, {5, 5, 7, 5, 7, 5})} << 0.0;
    QTest::newRow("disc with a disc hole")
        << Calls{mk(3, {5, 5, 7, 5, 7, 5}), mk(-3, {5, 5, 6, 5, 6, 5}, 2)} << 0.0;
    // Moments that differ keep their angle, however close the shape is to a square.
    QTest::newRow("almost a square") << Calls{mk(1, {0, 0, 1.0001, 0, 1.0001, 1, 0, 1})} << -90.0;
}

void TestGeomCW::equalMomentsHaveNoAngle() {
    QFETCH(Calls, calls);
    QFETCH(double, alpha);
    GeomCW geom;
    const SectionResults r = run(geom, calls);
    QVERIFY2(alpha == 0 ? r.Alpha == 0 : qAbs(r.Alpha - alpha) < 1e-6,
             qPrintable(QString::number(r.Alpha, 'g', 17)));
}

void TestGeomCW::shearCentreMovesWithTheSection_data() {
    QTest::addColumn<QList<QPointF>>("midline");
    QTest::addColumn<double>("t");
    QTest::addColumn<QPointF>("offset");
    const QList<QPointF> lipped = {{8, 7}, {8, 10}, {0, 10}, {0, -10}, {8, -10}, {8, -7}};
    for (const QPointF offset : {QPointF(0, 12), QPointF(12, 12), QPointF(-750, 1250),
                                 QPointF(4000, -9000), QPointF(-30000, 20000)}) {
        const QByteArray where =
            QByteArray::number(offset.x()) + ", " + QByteArray::number(offset.y());
        QTest::newRow("channel at " + where) << kChannel << 0.2 << offset;
        QTest::newRow("lipped channel at " + where) << lipped << 0.1 << offset;
    }
}

void TestGeomCW::shearCentreMovesWithTheSection() {
    QFETCH(QList<QPointF>, midline);
    QFETCH(double, t);
    QFETCH(QPointF, offset);
    GeomCW geom;
    const SectionResults home = run(geom, wallChain(midline, t));
    QList<QPointF> moved;
    for (const QPointF& p : midline)
        moved << p + offset;
    const SectionResults r = run(geom, wallChain(moved, t));

    // Moving the section moves its shear centre with it and leaves the warping constant; the
    // section is symmetric about the line z = offset, and so is the shear centre.
    const double size = 20;
    const auto near = [&](double a, double b) {
        return qAbs(a - b) <= 1e-9 * std::max({qAbs(a), qAbs(b), size});
    };
    QVERIFY2(near(r.Yo, home.Yo + offset.x()) && near(r.Zo, offset.y()) && near(r.Jw, home.Jw),
             qPrintable(QStringLiteral("Yo %1 (%2), Zo %3, Jw %4 (%5)")
                            .arg(r.Yo - offset.x(), 0, 'g', 17)
                            .arg(home.Yo, 0, 'g', 17)
                            .arg(r.Zo - offset.y(), 0, 'g', 17)
                            .arg(r.Jw, 0, 'g', 17)
                            .arg(home.Jw, 0, 'g', 17)));
    QVERIFY(near(home.Zo, 0));
}

void TestGeomCW::symmetricSectionsKeepTheirAxes_data() {
    QTest::addColumn<Calls>("calls");
    QTest::addColumn<double>("alpha");
    // A section symmetric about an axis parallel to Y or Z has no product of inertia; what the
    // sums leave of it is noise, whose sign alone used to turn the axes by 180 degrees.
    const QList<QPointF> opensUp = {{-10, 10}, {-10, 0}, {10, 0}, {10, 10}};
    for (const QPointF offset : {QPointF(0, 0), QPointF(0.1, -0.3), QPointF(12, 12),
                                 QPointF(-750, 1250), QPointF(-30000, 20000)}) {
        const QByteArray where =
            QByteArray::number(offset.x()) + ", " + QByteArray::number(offset.y());
        for (const char mode : {'S', 'G'}) {
            const auto chain = [&](const QList<QPointF>& midline) {
                QList<QPointF> moved;
                for (const QPointF& p : midline)
                    moved << p + offset;
                Calls calls = wallChain(moved, 0.2);
                for (Call& c : calls)
                    c.mode = mode;
                return calls;
            };
            const QByteArray name = QByteArray(1, mode) + " at " + where;
            QTest::newRow("channel opening right, " + name) << chain(kChannel) << 0.0;
            QTest::newRow("channel opening up, " + name) << chain(opensUp) << -90.0;
        }
    }
}

void TestGeomCW::symmetricSectionsKeepTheirAxes() {
    QFETCH(Calls, calls);
    QFETCH(double, alpha);
    GeomCW geom;
    const SectionResults r = run(geom, calls);
    QVERIFY2(r.Alpha == alpha, qPrintable(QStringLiteral("Alpha %1, Iyz %2")
                                              .arg(r.Alpha, 0, 'g', 17)
                                              .arg(geom.Iyz(), 0, 'g', 17)));
}

QTEST_APPLESS_MAIN(TestGeomCW)
#include "tst_geomcw.moc"
