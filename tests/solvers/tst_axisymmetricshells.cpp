#include "ConicalShell.h"
#include "IterativeSolver.h"
#include "ResultFile.h"
#include "SolverFiles.h"

#include <QDir>
#include <QJsonArray>
#include <cmath>
#include <numbers>

// Systems of shells of revolution (Kelmis) against the closed forms of thin-shell theory: the
// membrane state of a cylinder, the bending boundary layer at a clamped base, the circular
// plate; the tank of the manual; and the data the solver must refuse.
class TestAxisymmetricShells : public QObject {
    Q_OBJECT

    // A meridian written item by item; nodes, elements and loads count from 1.
    struct Meridian {
        QStringList Nodes, Elements, Sections, Supports, Loads, Pressures;
        double E = 2e8, Nu = 0.3;
        int Cases = 1;

        int Node(double r, double z) {
            Nodes << QStringLiteral("%1 %2").arg(r, 0, 'g', 17).arg(z, 0, 'g', 17);
            return static_cast<int>(Nodes.size());
        }
        // A chain of `count` equal elements from (r0, z0) to (r1, z1) of thickness `t`; returns
        // the first and last node.
        std::pair<int, int> Line(double r0, double z0, double r1, double z1, int count, double t,
                                 int from = 0) {
            Sections << QString::number(t, 'g', 17);
            const int section = static_cast<int>(Sections.size());
            const int first = from > 0 ? from : Node(r0, z0);
            int previous = first;
            for (int k = 1; k <= count; ++k) {
                const double f = static_cast<double>(k) / count;
                const int next = Node(r0 + f * (r1 - r0), z0 + f * (z1 - z0));
                Elements << QStringLiteral("%1 %2 1 %3").arg(previous).arg(next).arg(section);
                previous = next;
            }
            return {first, previous};
        }
        void Fix(int node, bool r, bool z, bool rot) {
            Supports << QStringLiteral("%1 %2 %3 %4").arg(node).arg(r).arg(z).arg(rot);
        }
        void Press(int element, double p, int loadCase = 1) {
            Pressures << QStringLiteral("%1 %2 %3").arg(loadCase).arg(element).arg(p, 0, 'g', 17);
        }
        void PressAll(double p, int loadCase = 1) {
            for (int e = 1; e <= Elements.size(); ++e)
                Press(e, p, loadCase);
        }
        QByteArray File() const {
            SolverFiles::Tables tables{
                {2, {QStringLiteral("%1 %2 0 0").arg(E, 0, 'g', 17).arg(Nu)}},
                {3, Sections},
                {4, Nodes},
                {5, Elements},
                {6, Supports},
                {7, Loads},
                {8, Pressures}};
            return SolverFiles::Structure(Cases, tables);
        }
    };

    static std::unique_ptr<SolverFiles::Run> Solve(const Meridian& m) {
        return std::make_unique<SolverFiles::Run>(QStringLiteral("Kelmis"),
                                                  QStringLiteral("shell.d02"), m.File());
    }

private slots:
    void cylinderMembraneStateIsExact();
    void clampedCylinderAgreesWithTheEdgeSolution();
    void circularPlatesAgreeWithKirchhoff();
    void tankOfTheManualCarriesItsWater();
    void badDataIsRefusedWithoutResults();
};

void TestAxisymmetricShells::cylinderMembraneStateIsExact() {
    // Free ends, held along the axis at one node: the wall only stretches round. Drawn upwards
    // its normal points outwards; drawn downwards inwards, so the same p presses the other way.
    const double r = 2, t = 0.01, p = 100, e = 2e8, nu = 0.3;
    const double ur = p * r * r / (e * t);
    for (const bool upwards : {true, false}) {
        Meridian m;
        m.Cases = 3;
        m.Line(r, upwards ? 0 : 3, r, upwards ? 3 : 0, 6, t);
        m.Fix(1, false, true, false);
        m.PressAll(p);
        m.PressAll(2 * p, 2); // case 3 has no loads
        const auto run = Solve(m);
        QVERIFY2(run->Ok(), qPrintable(run->Error()));
        const double sign = upwards ? 1 : -1;
        for (int node = 1; node <= 7; ++node) {
            QV_COMPARE_NEAR(run->Displacement(node, 0), sign * ur, 1e-8);
            QV_COMPARE_NEAR(run->Displacement(node, 0, 2), 2 * sign * ur, 1e-8);
            QCOMPARE(run->Displacement(node, 0, 3), 0.0);
            QV_COMPARE_NEAR(run->Displacement(node, 2), 0.0, 1e-8 * ur / r);
            // The wall shortens by nu times its hoop strain.
            const double z = upwards ? 0.5 * (node - 1) : 3 - 0.5 * (node - 1);
            QV_COMPARE_NEAR(run->Displacement(node, 1) - run->Displacement(1, 1),
                            -nu * sign * ur / r * (z - (upwards ? 0 : 3)), 1e-8);
        }
        for (int element = 1; element <= 6; ++element) {
            QV_COMPARE_NEAR(run->Force(element, 1), sign * p * r, 1e-8);    // Nti
            QV_COMPARE_NEAR(run->Force(element, 6), sign * p * r, 1e-8);    // Ntj
            QV_COMPARE_NEAR(run->Force(element, 0), 0.0, 1e-8 * p * r);     // Nsi
            QV_COMPARE_NEAR(run->Force(element, 7), 0.0, 1e-8 * p * r * t); // Msj
            QV_COMPARE_NEAR(run->Force(element, 9), 0.0, 1e-8 * p);         // Qj
        }
        QV_COMPARE_NEAR(run->Reaction(1, 1), 0.0, 1e-8 * p * r);
    }
}

void TestAxisymmetricShells::clampedCylinderAgreesWithTheEdgeSolution() {
    // A tank wall clamped at its base under an even inner pressure, long enough (beta H = 7)
    // that its free top is in the membrane state: w(x) = w0 (1 - e^-bx (cos bx + sin bx)),
    // M0 = p / (2 beta^2) with tension inside. Sixteen equal elements, as an engineer draws it.
    const double r = 5, t = 0.25, p = 40, e = 3e7, nu = 0.2;
    const double beta = std::pow(3 * (1 - nu * nu) / (r * r * t * t), 0.25);
    const double height = 7 / beta, w0 = p * r * r / (e * t);
    Meridian m;
    m.E = e;
    m.Nu = nu;
    const int elements = 16;
    m.Line(r, 0, r, height, elements, t);
    m.Fix(1, true, true, true);
    m.PressAll(p);
    const auto run = Solve(m);
    QVERIFY2(run->Ok(), qPrintable(run->Error()));
    for (int node = 1; node <= elements + 1; ++node) {
        const double x = beta * height * (node - 1) / elements;
        const double w = w0 * (1 - std::exp(-x) * (std::cos(x) + std::sin(x)));
        QV_COMPARE_NEAR(run->Displacement(node, 0) / w0, w / w0, 0.005);
    }
    // At the base M0 = p / (2 beta^2) with tension inside (Ms < 0) and Q0 = dMs/ds = p / beta;
    // the clamp pulls the wall in by Q0 and holds it against M0.
    const double m0 = p / (2 * beta * beta), q0 = p / beta;
    QV_COMPARE_NEAR(run->Force(1, 2), -m0, 0.01); // Msi
    QV_COMPARE_NEAR(run->Force(1, 4), q0, 0.01);  // Qi
    QV_COMPARE_NEAR(run->Reaction(1, 0), -q0, 0.01);
    QV_COMPARE_NEAR(run->Reaction(1, 2), -m0, 0.01);
    QV_COMPARE_NEAR(run->Reaction(1, 1), 0.0, 1e-6 * p * r);

    // A ring moment alone at the free edge of a long cylinder (beta L = 19), the far end
    // clamped: the edge moves in by M0 / (2 beta^2 D) and turns by M0 / (beta D), the wall
    // above it leaning out (Timoshenko). The error falls as h^2: 2.6 % with 15 elements
    // (beta h = 1.3), 0.17 % with 60. A case of moments alone used to be refused, its balance
    // measured against forces it has none of.
    const double r2 = 2, t2 = 0.02, e2 = 2.1e8, nu2 = 0.3, ring0 = 1;
    const double beta2 = std::pow(3 * (1 - nu2 * nu2) / (r2 * r2 * t2 * t2), 0.25);
    const double d = e2 * t2 * t2 * t2 / (12 * (1 - nu2 * nu2));
    for (const auto& [count, tolerance] : {std::pair{15, 0.03}, std::pair{60, 2e-3}}) {
        Meridian ring;
        ring.E = e2;
        ring.Nu = nu2;
        ring.Line(r2, 0, r2, 3, count, t2);
        ring.Fix(count + 1, true, true, true);
        ring.Loads << QStringLiteral("1 1 0 0 %1").arg(ring0);
        const auto moved = Solve(ring);
        QVERIFY2(moved->Ok(), qPrintable(moved->Error()));
        QV_COMPARE_NEAR(moved->Displacement(1, 0), -ring0 / (2 * beta2 * beta2 * d), tolerance);
        QV_COMPARE_NEAR(moved->Displacement(1, 2), ring0 / (beta2 * d), tolerance);
        QV_COMPARE_NEAR(moved->Reaction(count + 1, 1), 0.0, 1e-9);
    }
}

void TestAxisymmetricShells::circularPlatesAgreeWithKirchhoff() {
    // A bottom plate drawn from the axis outwards: its normal points down, so the water's
    // pressure p is positive. Clamped: w0 = p a^4 / (64 D), edge moment p a^2 / 8 with tension
    // on top, centre moment (1 + nu) p a^2 / 16; simply supported: w0 = (5 + nu) p a^4 /
    // (64 (1 + nu) D). The edge carries p a / 2 per unit length.
    const double a = 2, t = 0.1, p = 10, e = 2e8, nu = 0.3;
    const double d = e * t * t * t / (12 * (1 - nu * nu));
    for (const bool clamped : {true, false}) {
        Meridian m;
        m.Nu = nu;
        const int elements = 10;
        m.Line(0, 0, a, 0, elements, t);
        m.Fix(elements + 1, clamped, true, clamped);
        m.PressAll(p);
        const auto run = Solve(m);
        QVERIFY2(run->Ok(), qPrintable(run->Error()));
        const double w0 = clamped ? p * std::pow(a, 4) / (64 * d)
                                  : (5 + nu) * p * std::pow(a, 4) / (64 * (1 + nu) * d);
        QV_COMPARE_NEAR(run->Displacement(1, 1), -w0, 0.01);
        QCOMPARE(run->Displacement(1, 0), 0.0);
        QCOMPARE(run->Displacement(1, 2), 0.0);
        QV_COMPARE_NEAR(run->Reaction(elements + 1, 1), p * a / 2, 1e-8);
        const double centre = clamped ? (1 + nu) * p * a * a / 16 : (3 + nu) * p * a * a / 16;
        QV_COMPARE_NEAR(run->Force(1, 2), centre, 0.02); // Msi on the axis
        QV_COMPARE_NEAR(run->Force(1, 3), centre, 0.02); // Mti = Msi there
        if (clamped) {
            QV_COMPARE_NEAR(run->Force(elements, 7), -p * a * a / 8, 0.01); // Msj at the edge
            QV_COMPARE_NEAR(run->Force(elements, 9), -p * a / 2, 1e-8);     // Qj = dMs/ds
        } else {
            QV_COMPARE_NEAR(run->Force(elements, 7), 0.0, 1e-6 * p * a * a);
        }
    }
}

void TestAxisymmetricShells::tankOfTheManualCarriesItsWater() {
    QFile file(QStringLiteral(SOLVERS_EXAMPLES "/tank.d02"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    SolverFiles::Run run(QStringLiteral("Kelmis"), QStringLiteral("tank.d02"), file.readAll());
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    // 60 kN/m2 on a plate of radius 5 m: p a / 2 = 150 kN per metre of the edge (node 7).
    QV_COMPARE_NEAR(run.Reaction(7, 1), 150.0, 1e-8);
    // Well above its foot the wall bulges out and its hoop is in tension, more where the
    // water presses harder: at 3 m (node 15, the end of element 14) than at the top.
    QVERIFY(run.Displacement(15, 0) > 0);
    QVERIFY(run.Force(14, 6) > run.Force(20, 6));
    QVERIFY(run.Force(20, 6) > 0);
    // The plate sags in the middle.
    QVERIFY(run.Displacement(1, 1) < run.Displacement(2, 1));

    // The model of the package: 5 m of water on a plate of radius 6 m, then the roof's 12 kN
    // per metre on the wall, both carried by the ring under the wall (node 10).
    QFile model(QStringLiteral(SOLVERS_MODELS "/watertank.d02"));
    QVERIFY(model.open(QIODevice::ReadOnly));
    SolverFiles::Run tank(QStringLiteral("Kelmis"), QStringLiteral("watertank.d02"),
                          model.readAll());
    QVERIFY2(tank.Ok(), qPrintable(tank.Error()));
    QV_COMPARE_NEAR(tank.Reaction(10, 1, 1), 50.0 * 6 / 2, 1e-8);
    QV_COMPARE_NEAR(tank.Reaction(10, 1, 2), 12.0, 1e-8);
    // The wall's foot turns with the plate's edge and bends: the moments meet at the corner.
    QV_COMPARE_NEAR(tank.Force(9, 7), tank.Force(10, 2), 1e-8);
    QVERIFY(tank.Force(10, 2) < 0);

    // Asked to, the walls solve iteratively too (a displacement along the axis is their only
    // rigid motion), to the direct answer; the protocol says how.
    if (!IterativeSolver::Available())
        return;
    const SolverEntry kelmis = *SolverEntry::Named(QStringLiteral("Kelmis"));
    const QString path = QStringLiteral(SOLVERS_MODELS "/watertank.d02");
    const SolverOutcome iterated =
        SolverCommand::Solve(kelmis, path, nullptr, true, {QStringLiteral("iterative"), 1e-11, 1});
    QVERIFY(iterated.Protocol.contains(QLatin1String("Solved iteratively")));
    const QJsonArray cases = iterated.Json[QStringLiteral("cases")].toArray();
    double largest = 0, off = 0;
    for (int c = 1; c <= 2; ++c)
        for (const QJsonValue row : cases[c - 1][QStringLiteral("displacements")].toArray())
            for (int k = 0; k < 3; ++k) {
                const double u = tank.Displacement(row[0].toInt(), k, c);
                largest = std::max(largest, std::abs(u));
                off = std::max(off, std::abs(row[k + 1].toDouble() - u));
            }
    QVERIFY2(largest > 0 && off <= 1e-8 * largest, qPrintable(QString::number(off / largest)));
}

void TestAxisymmetricShells::badDataIsRefusedWithoutResults() {
    const auto refusal = [](const Meridian& m) {
        const auto run = Solve(m);
        return run->Ok() ? QString() : run->Error();
    };
    {
        // An element along the axis has no radius; its line is named.
        Meridian m;
        m.Line(0, 0, 0, 1, 1, 0.1);
        m.Line(0, 1, 1, 1, 2, 0.1, 2);
        m.Fix(4, true, true, true);
        m.PressAll(1);
        const QString error = refusal(m);
        QVERIFY2(error.startsWith(QLatin1String("Line ")) && error.contains(u"element 1"),
                 qPrintable(error));
    }
    {
        // An element of no length, refused as the checker refuses it.
        Meridian m;
        m.Line(1, 0, 1, 1, 1, 0.1);
        m.Node(1, 1);
        m.Elements << QStringLiteral("2 3 1 1");
        m.Fix(1, true, true, true);
        const QString error = refusal(m);
        QVERIFY2(error.startsWith(QLatin1String("Line ")) && error.contains(u"no length"),
                 qPrintable(error));
    }
    {
        // A ring load on the axis has no circumference to act on.
        Meridian m;
        m.Line(0, 0, 1, 0, 2, 0.1);
        m.Fix(3, true, true, true);
        m.Loads << QStringLiteral("1 1 0 -5 0");
        const QString error = refusal(m);
        QVERIFY2(error.startsWith(QLatin1String("Line ")) && error.contains(u"node 1"),
                 qPrintable(error));
    }
    {
        // An element given twice, here turned round, would stiffen the wall twice over.
        Meridian m;
        m.Line(1, 0, 1, 2, 2, 0.1);
        m.Elements << QStringLiteral("3 2 1 1");
        m.Fix(1, true, true, true);
        m.PressAll(1);
        const QString error = refusal(m);
        QVERIFY2(error.startsWith(QLatin1String("Line ")) &&
                     error.contains(QLatin1String("element 3 repeats element 2 (line ")),
                 qPrintable(error));
    }
    {
        // A tank (a bottom plate of radius 5 under 60 kN/m2 carried by a ring under its wall)
        // with 1e100 on its wall, which presses only outwards: the wall's rounding (1e84)
        // swamped the bottom's 150 kN/m in the reaction along the axis, while the balance
        // against all the loads passed.
        Meridian m;
        m.E = 3e7;
        m.Nu = 0.2;
        m.Line(0, 0, 5, 0, 2, 0.3);
        m.Line(5, 0, 5, 6, 2, 0.25, 3);
        m.Fix(1, true, false, true);
        m.Fix(3, false, true, false);
        m.PressAll(60);
        m.Pressures[2] = QStringLiteral("1 3 1e100");
        const QString error = refusal(m);
        QVERIFY2(error.contains(QLatin1String("out of balance")) &&
                     error.contains(QLatin1String("too large to calculate with")),
                 qPrintable(error));
    }
    {
        // Nothing holds the cylinder along its axis.
        Meridian m;
        m.Line(1, 0, 1, 2, 2, 0.1);
        m.Fix(1, true, false, false);
        m.PressAll(1);
        const QString error = refusal(m);
        QVERIFY2(error.contains(QLatin1String("in uz without resistance")), qPrintable(error));
    }
    // Run as the editor runs it: exit 1, no result file, the reason in the protocol; a sound
    // file then gives a result file of bar statics with the shell's names.
    QTemporaryDir directory;
    Meridian bad;
    bad.Line(1, 0, 1, 2, 2, 0.1);
    bad.PressAll(1);
    bad.Fix(2, true, false, false);
    const QString path = directory.filePath(QStringLiteral("wall.d02"));
    const auto write = [&path](const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write(bad.File()));
    const SolverEntry kelmis = *SolverEntry::Named(QStringLiteral("Kelmis"));
    const SolverCommand::Outcome refused =
        SolverCommand::Run(kelmis, {path, QStringLiteral("S")}, directory.path());
    QCOMPARE(refused.ExitCode, 1);
    QVERIFY(!QFile::exists(directory.filePath(QStringLiteral("wall.bin"))));
    QVERIFY2(refused.Protocol.contains(QLatin1String("node 1 can move in uz")),
             qPrintable(refused.Protocol));

    Meridian good = bad;
    good.Supports = {QStringLiteral("1 0 1 0")};
    QVERIFY(write(good.File()));
    const SolverCommand::Outcome solved =
        SolverCommand::Run(kelmis, {path, QStringLiteral("S")}, directory.path());
    QCOMPARE(solved.ExitCode, 0);
    QFile result(directory.filePath(QStringLiteral("wall.bin")));
    QVERIFY(result.open(QIODevice::ReadOnly));
    const auto contents = ResultFile::Read(result.readAll());
    QVERIFY(contents && contents->Type == ResultFile::Kind::Statics && contents->Problem == 2);
    QCOMPARE(contents->Statics.Components, QStringList({"ur", "uz", "rot"}));
    // The wall's own columns at both ends, titled and measured per unit length in the file.
    QCOMPARE(contents->Statics.Forces, ResultLayout::AtEnds(ConicalShell::WallLayout()));
    QCOMPARE(contents->Statics.Forces[0].Name, QStringLiteral("Nsi"));
    QCOMPARE(contents->Statics.Forces[7].Title, QStringLiteral("Meridional moment Ms"));
    QCOMPARE(contents->Statics.Forces[7].What, ResultColumn::Quantity::MomentPerLength);
    QVERIFY(solved.Protocol.contains(QLatin1String("Ntj [kN/m]")));
    QVERIFY(solved.Protocol.contains(QLatin1String("Msi [kN*m/m]")));
    QVERIFY(QFile::exists(directory.filePath(QStringLiteral("wall.rpt"))));
}

QTEST_GUILESS_MAIN(TestAxisymmetricShells)
#include "tst_axisymmetricshells.moc"
