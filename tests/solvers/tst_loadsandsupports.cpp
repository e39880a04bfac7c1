#include "SolverFiles.h"

#include <QtTest>
#include <cmath>

using SolverFiles::Run;
using SolverFiles::Structure;

// The loads and supports of everyday design against their closed forms, each on the coarse
// model an engineer would draw: heat, imposed displacements, springs, elastic foundations,
// self-weight and combinations, through the data files and the programs that solve them.
class TestLoadsAndSupports : public QObject {
    Q_OBJECT

    static constexpr double E = 2.1E8, A = 0.01, I = 1.0E-4, Alpha = 1.2E-5, Gamma = 78.5;
    static QStringList Steel() { return {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}; }
    static QStringList Section() { return {QStringLiteral("0.01 1.0E-4")}; }
    // A plane frame member from (0, 0) to (4, 0), held as `supports` say, with the tables of
    // loads and supports `more` after the element loads.
    static QByteArray Member(int cases, const QStringList& supports, SolverFiles::Tables more,
                             const QStringList& loads = {}) {
        SolverFiles::Tables tables{{2, Steel()},
                                   {3, Section()},
                                   {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                                   {5, {QStringLiteral("1 2 1 1 0")}},
                                   {6, supports},
                                   {7, loads},
                                   {8, {}}};
        tables.insert(tables.end(), more.begin(), more.end());
        return Structure(cases, tables);
    }

private slots:
    void heatedBars();
    void imposedDisplacementsAndSprings();
    void beamOnElasticFoundation();
    void selfWeightOfBars();
    void heatedSolids();
    void plateOnElasticFoundation();
};

void TestLoadsAndSupports::heatedBars() {
    // Held at both ends, a uniform change dT gives N = -E A alpha dT and moves nothing; a
    // difference dTd across a depth h gives M = E I alpha dTd / h all along (the top warmer:
    // the held beam sags). Free at one end, it lengthens by alpha dT L and carries nothing.
    const double L = 4, dT = 20, dTd = 10, h = 0.4;
    const Run held(QStringLiteral("Pelgon"), QStringLiteral("held.d05"),
                   Member(2, {QStringLiteral("1 1 1 1"), QStringLiteral("2 1 1 1")},
                          {{11, {QStringLiteral("1 1 20 0 0"), QStringLiteral("2 1 0 10 0.4")}}}));
    QVERIFY2(held.Ok(), qPrintable(held.Error()));
    QV_COMPARE_NEAR(held.Force(1, 0), -E * A * Alpha * dT, 1e-9);
    QV_COMPARE_NEAR(held.Force(1, 3), -E * A * Alpha * dT, 1e-9);
    QV_COMPARE_NEAR(held.Force(1, 2, 2), E * I * Alpha * dTd / h, 1e-9);
    QV_COMPARE_NEAR(held.Force(1, 5, 2), E * I * Alpha * dTd / h, 1e-9);
    QV_COMPARE_NEAR(held.Reaction(1, 0), E * A * Alpha * dT, 1e-9);
    QV_COMPARE_NEAR(held.Reaction(2, 0), -E * A * Alpha * dT, 1e-9);

    const Run free(QStringLiteral("Pelgon"), QStringLiteral("free.d05"),
                   Member(1, {QStringLiteral("1 1 1 1")}, {{11, {QStringLiteral("1 1 20 0 0")}}}));
    QVERIFY2(free.Ok(), qPrintable(free.Error()));
    QV_COMPARE_NEAR(free.Displacement(2, 0), Alpha * dT * L, 1e-9);
    QV_COMPARE_NEAR(free.Force(1, 0), 0, 1e-9);
    QV_COMPARE_NEAR(free.Reaction(1, 0), 0, 1e-9);
}

void TestLoadsAndSupports::imposedDisplacementsAndSprings() {
    // A propped cantilever whose prop settles by D: the prop pulls with R = 3 E I D / L^3,
    // the root holds R L.
    const double L = 4, D = 0.01, P = 10, k = 5000;
    const Run settled(QStringLiteral("Pelgon"), QStringLiteral("settled.d05"),
                      Member(1, {QStringLiteral("1 1 1 1"), QStringLiteral("2 0 1 0")},
                             {{12, {QStringLiteral("1 2 0 -0.01 0")}}}));
    QVERIFY2(settled.Ok(), qPrintable(settled.Error()));
    QV_COMPARE_NEAR(settled.Displacement(2, 1), -D, 1e-12);
    QV_COMPARE_NEAR(settled.Reaction(2, 1), -3 * E * I * D / (L * L * L), 1e-9);
    QV_COMPARE_NEAR(settled.Reaction(1, 2), -3 * E * I * D / (L * L), 1e-9);

    // A spring under the tip of a cantilever shares the load with the beam: w = -P / (k +
    // 3 E I / L^3), and the spring's reaction is -k w.
    const Run sprung(QStringLiteral("Pelgon"), QStringLiteral("sprung.d05"),
                     Member(1, {QStringLiteral("1 1 1 1")}, {{13, {QStringLiteral("2 0 5000 0")}}},
                            {QStringLiteral("1 2 0 -10 0")}));
    QVERIFY2(sprung.Ok(), qPrintable(sprung.Error()));
    const double w = -P / (k + 3 * E * I / (L * L * L));
    QV_COMPARE_NEAR(sprung.Displacement(2, 1), w, 1e-9);
    QV_COMPARE_NEAR(sprung.Reaction(2, 1), -k * w, 1e-9);
    QV_COMPARE_NEAR(sprung.Reaction(1, 1), P + k * w, 1e-9);

    // Springs across the beam alone leave it free to slide along itself: a mechanism, named.
    const Run sliding(QStringLiteral("Pelgon"), QStringLiteral("sliding.d05"),
                      Member(1, {},
                             {{13, {QStringLiteral("1 0 5000 0"), QStringLiteral("2 0 5000 0")}}},
                             {QStringLiteral("1 2 0 -10 0")}));
    QVERIFY(!sliding.Ok());
    QVERIFY2(sliding.Error().contains(QStringLiteral("ux")), qPrintable(sliding.Error()));
}

void TestLoadsAndSupports::beamOnElasticFoundation() {
    // Hetényi's infinite beam on a Winkler foundation under a point load P: w = P beta / (2 k),
    // beta = (k / 4 E I)^(1/4). A beam 20 m long (beta L = 11.7) in elements of 0.5 m.
    const double k = 1.0E4, P = 100;
    const double beta = std::pow(k / (4 * E * I), 0.25);
    const int elements = 40;
    QStringList nodes, bars, soil;
    for (int n = 0; n <= elements; ++n)
        nodes << QStringLiteral("%1 0").arg(0.5 * n);
    for (int e = 1; e <= elements; ++e) {
        bars << QStringLiteral("%1 %2 1 1 0").arg(e).arg(e + 1);
        soil << QStringLiteral("%1 1.0E4").arg(e);
    }
    const Run run(QStringLiteral("Pelgon"), QStringLiteral("winkler.d05"),
                  Structure(1, {{2, Steel()},
                                {3, Section()},
                                {4, nodes},
                                {5, bars},
                                {6, {QStringLiteral("1 1 0 0")}},
                                {7, {QStringLiteral("1 21 0 -100 0")}},
                                {8, {}},
                                {14, soil}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Displacement(21, 1), -P * beta / (2 * k), 1e-3);
    // The foundation carries the load: the support holds nothing across the beam.
    QV_COMPARE_NEAR(run.Reaction(1, 1), 0, 1e-9);
}

void TestLoadsAndSupports::selfWeightOfBars() {
    // A column 4 m high under its weight: N at the base = -gamma A L. A cantilever under its
    // weight q = gamma A: the tip sinks by q L^4 / 8 E I, which one cubic element gives exactly.
    const double L = 4, q = Gamma * A;
    const Run column(QStringLiteral("Pelgon"), QStringLiteral("column.d05"),
                     Structure(1, {{2, Steel()},
                                   {3, Section()},
                                   {4, {QStringLiteral("0 0"), QStringLiteral("0 4")}},
                                   {5, {QStringLiteral("1 2 1 1 0")}},
                                   {6, {QStringLiteral("1 1 1 1")}},
                                   {7, {}},
                                   {8, {}},
                                   {10, {QStringLiteral("1 0 -1")}}}));
    QVERIFY2(column.Ok(), qPrintable(column.Error()));
    QV_COMPARE_NEAR(column.Force(1, 0), -Gamma * A * L, 1e-9);
    QV_COMPARE_NEAR(column.Reaction(1, 1), Gamma * A * L, 1e-9);

    const Run cantilever(
        QStringLiteral("Pelgon"), QStringLiteral("weighed.d05"),
        Member(1, {QStringLiteral("1 1 1 1")}, {{10, {QStringLiteral("1 0 -1")}}}));
    QVERIFY2(cantilever.Ok(), qPrintable(cantilever.Error()));
    QV_COMPARE_NEAR(cantilever.Displacement(2, 1), -q * std::pow(L, 4) / (8 * E * I), 1e-9);
}

void TestLoadsAndSupports::heatedSolids() {
    // A block of 2 x 2 x 2 bricks heated evenly by dT. Held only against moving as a whole it
    // expands freely, u = alpha dT x, unstressed. Held on all six faces (each face node fixed
    // across its face) it cannot expand: sigma = -E alpha dT / (1 - 2 nu) in every direction.
    const double dT = 10, nu = 0.3;
    QStringList nodes, bricks, heats, held;
    const auto node = [](int i, int j, int k) { return 1 + i + 3 * j + 9 * k; };
    for (int k = 0; k <= 2; ++k)
        for (int j = 0; j <= 2; ++j)
            for (int i = 0; i <= 2; ++i) {
                nodes << QStringLiteral("%1 %2 %3").arg(i).arg(j).arg(k);
                heats << QStringLiteral("1 %1 10").arg(node(i, j, k));
                const auto face = [](int at) { return at == 0 || at == 2 ? 1 : 0; };
                if (face(i) + face(j) + face(k) > 0)
                    held << QStringLiteral("%1 %2 %3 %4")
                                .arg(node(i, j, k))
                                .arg(face(i))
                                .arg(face(j))
                                .arg(face(k));
            }
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                bricks << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 1")
                              .arg(node(i, j, k))
                              .arg(node(i + 1, j, k))
                              .arg(node(i + 1, j + 1, k))
                              .arg(node(i, j + 1, k))
                              .arg(node(i, j, k + 1))
                              .arg(node(i + 1, j, k + 1))
                              .arg(node(i + 1, j + 1, k + 1))
                              .arg(node(i, j + 1, k + 1));
    const auto block = [&](const QStringList& supports) {
        return Structure(
            1, {{2, Steel()}, {4, nodes}, {5, bricks}, {6, supports}, {7, {}}, {11, heats}});
    };
    const Run free(
        QStringLiteral("Fentar"), QStringLiteral("free.d17"),
        block({QStringLiteral("1 1 1 1"), QStringLiteral("3 0 1 1"), QStringLiteral("7 0 0 1")}));
    QVERIFY2(free.Ok(), qPrintable(free.Error()));
    const double stressed = E * Alpha * dT / (1 - 2 * nu);
    for (int c = 0; c < 3; ++c)
        QV_COMPARE_NEAR(free.Displacement(27, c), 2 * Alpha * dT, 1e-9);
    for (int e = 1; e <= 8; ++e)
        for (int c = 0; c < 6; ++c)
            QV_COMPARE_NEAR(free.Case(1, QStringLiteral("stresses"), e, c), 0, 1e-9 * stressed);

    const Run confined(QStringLiteral("Fentar"), QStringLiteral("confined.d17"), block(held));
    QVERIFY2(confined.Ok(), qPrintable(confined.Error()));
    for (int c = 0; c < 3; ++c) {
        QV_COMPARE_NEAR(confined.Displacement(14, c), 0, 1e-15);
        QV_COMPARE_NEAR(confined.Case(1, QStringLiteral("stresses"), 1, c), -stressed, 1e-9);
        QV_COMPARE_NEAR(confined.Case(1, QStringLiteral("nodeStresses"), 14, c), -stressed, 1e-9);
    }
}

void TestLoadsAndSupports::plateOnElasticFoundation() {
    // Westergaard's interior load: a point load P on a large slab on a Winkler foundation sinks
    // by w = P / (8 sqrt(k D)). A slab 8 m square (ten radii of relative stiffness) in 24 x 24
    // elements, the load at its centre, nothing but the foundation holding it. The plate
    // elements converge to it from above: +4.6 % in 16 x 16, +2.5 % in 24 x 24, +1.0 % in 48 x 48.
    const double Ec = 3.0E7, t = 0.2, nuc = 0.2, k = 5.0E4, P = 100;
    const double D = Ec * t * t * t / (12 * (1 - nuc * nuc));
    const int n = 24;
    const double size = 8.0, h = size / n;
    QStringList nodes, plates, soil;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            nodes << QStringLiteral("%1 %2").arg(i * h).arg(j * h);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int p = j * (n + 1) + i + 1;
            plates << QStringLiteral("%1 %2 %3 %4 1 1")
                          .arg(p)
                          .arg(p + 1)
                          .arg(p + n + 2)
                          .arg(p + n + 1);
            soil << QStringLiteral("%1 5.0E4").arg(j * n + i + 1);
        }
    const int centre = (n / 2) * (n + 1) + n / 2 + 1;
    const Run run(QStringLiteral("Nuvast"), QStringLiteral("slab.d13"),
                  Structure(1,
                            {{2, {QStringLiteral("3.0E7 0.2 25 1.0E-5")}},
                             {3, {QStringLiteral("0.2")}},
                             {4, nodes},
                             {5, plates},
                             {6, {}},
                             {7, {QStringLiteral("1 %1 -100 0 0").arg(centre)}},
                             {8, {}},
                             {9, {}},
                             {14, soil}},
                            QStringLiteral("0")));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Displacement(centre, 0), -P / (8 * std::sqrt(k * D)), 0.03);
}

QTEST_GUILESS_MAIN(TestLoadsAndSupports)
#include "tst_loadsandsupports.moc"
