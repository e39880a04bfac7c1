#include "BarFamily.h"
#include "BarModelBuilder.h"
#include "FormatCatalogue.h"
#include "LoadCombinations.h"
#include "MeshStatics.h"
#include "ProblemType.h"
#include "ResultFile.h"
#include "SolverFiles.h"
#include "SolverInput.h"
#include "StaticReport.h"

#include <Eigen/Dense>
#include <cmath>
#include <numbers>

using SolverFiles::Run;
using SolverFiles::Structure;

// Bar structures against closed-form answers. Beam elements with consistent loads are exact at
// the nodes, so most answers hold to 1e-9 relative; where axial shortening or the division of
// an arc into straight pieces differs from the textbook model the tolerance says so.
class TestBarStatics : public QObject {
    Q_OBJECT

private:
    static constexpr double E = 2.1e8, I = 1.0e-4, A = 0.01, L = 4.0;

    static QStringList Steel() { return {QStringLiteral("2.1E8 0.3 78.5 1.2E-5")}; }

private slots:
    void problemTypesAgreeWithTheFormats();
    void cantilever();
    void simpleAndProppedBeams();
    void hingedBeamEnds();
    void planeTrussByStatics();
    void spaceTrussByStatics();
    void portalFrames();
    void grillageInTorsion();
    void spaceFrameSectionAngle();
    void curvedCantilever();
    void combinationsOfBars();
    void mechanismsRefused();
    void faultyFilesRefused();
    void answersThatDoNotCheckRefused();
};

void TestBarStatics::cantilever() {
    // Tip load P and tip moment in a second case: w = -P L^3 / 3EI, ry = P L^2 / 2EI, support
    // moment P L (hogging, so M = -P L at the root in the beam convention).
    const double P = 10, M0 = 5;
    const Run run(
        QStringLiteral("Pelgon"), QStringLiteral("cantilever.d05"),
        Structure(2, {{2, Steel()},
                      {3, {QStringLiteral("0.01 1.0E-4")}},
                      {4, {QStringLiteral("0 0"), QStringLiteral("2 0"), QStringLiteral("4 0")}},
                      {5, {QStringLiteral("1 2 1 1 0"), QStringLiteral("2 3 1 1 0")}},
                      {6, {QStringLiteral("1 1 1 1")}},
                      {7, {QStringLiteral("1 3 0 -10 0"), QStringLiteral("2 3 0 0 5")}},
                      {8, {}}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Displacement(3, 1), -P * L * L * L / (3 * E * I), 1e-9);
    QV_COMPARE_NEAR(run.Displacement(3, 2), P * L * L / (2 * E * I), 1e-9);
    QV_COMPARE_NEAR(run.Reaction(1, 1), P, 1e-9);
    QV_COMPARE_NEAR(run.Reaction(1, 2), -P * L, 1e-9);
    QV_COMPARE_NEAR(run.Force(1, 2), -P * L, 1e-9);     // Mi of the root element
    QV_COMPARE_NEAR(run.Force(1, 5), -P * L / 2, 1e-9); // Mj at midspan
    QV_COMPARE_NEAR(run.Force(1, 1), P, 1e-9);          // V = dM/dx
    // A moment about y (pointing away from the viewer) bends the tip upwards by M L^2 / 2EI.
    QV_COMPARE_NEAR(run.Displacement(3, 1, 2), -M0 * L * L / (2 * E * I), 1e-9);
    QV_COMPARE_NEAR(run.Displacement(3, 2, 2), M0 * L / (E * I), 1e-9);
}

void TestBarStatics::simpleAndProppedBeams() {
    // Even load q over two elements. Simple beam: midspan w = 5 q L^4 / 384 EI, reactions
    // q L / 2, midspan moment q L^2 / 8. Propped beam (fixed at 1, roller at 3): prop
    // reaction 3 q L / 8, fixed-end moment q L^2 / 8.
    const double q = 12;
    const auto beam = [](const QString& leftSupport) {
        return Structure(
            1, {{2, Steel()},
                {3, {QStringLiteral("0.01 1.0E-4")}},
                {4, {QStringLiteral("0 0"), QStringLiteral("2 0"), QStringLiteral("4 0")}},
                {5, {QStringLiteral("1 2 1 1 0"), QStringLiteral("2 3 1 1 0")}},
                {6, {leftSupport, QStringLiteral("3 0 1 0")}},
                {7, {}},
                {8, {QStringLiteral("1 1 0 -12"), QStringLiteral("1 2 0 -12")}}});
    };
    const Run simple(QStringLiteral("Pelgon"), QStringLiteral("simple.d05"),
                     beam(QStringLiteral("1 1 1 0")));
    QVERIFY2(simple.Ok(), qPrintable(simple.Error()));
    QV_COMPARE_NEAR(simple.Displacement(2, 1), -5 * q * std::pow(L, 4) / (384 * E * I), 1e-9);
    QV_COMPARE_NEAR(simple.Reaction(1, 1), q * L / 2, 1e-9);
    QV_COMPARE_NEAR(simple.Reaction(3, 1), q * L / 2, 1e-9);
    QV_COMPARE_NEAR(simple.Force(1, 5), q * L * L / 8, 1e-9);
    QV_COMPARE_NEAR(simple.Force(1, 1), q * L / 2, 1e-9);
    QV_COMPARE_NEAR(simple.Force(2, 4), -q * L / 2, 1e-9);

    const Run propped(QStringLiteral("Pelgon"), QStringLiteral("propped.d05"),
                      beam(QStringLiteral("1 1 1 1")));
    QVERIFY2(propped.Ok(), qPrintable(propped.Error()));
    QV_COMPARE_NEAR(propped.Reaction(3, 1), 3 * q * L / 8, 1e-9);
    QV_COMPARE_NEAR(propped.Reaction(1, 1), 5 * q * L / 8, 1e-9);
    QV_COMPARE_NEAR(propped.Force(1, 2), -q * L * L / 8, 1e-9);
    QV_COMPARE_NEAR(propped.Displacement(3, 2), -q * L * L * L / (48 * E * I), 1e-9);
}

void TestBarStatics::hingedBeamEnds() {
    // A beam fixed at both ends but hinged at its left end is the propped beam mirrored: the
    // hinge must release the moment there, also for the fixed-end moments of the load.
    const double q = 12;
    const Run run(QStringLiteral("Dorvan"), QStringLiteral("hinged.d01"),
                  Structure(1, {{2, Steel()},
                                {3, {QStringLiteral("0.01 1.0E-4")}},
                                {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                                {5, {QStringLiteral("1 2 1 1 1 0")}},
                                {6, {QStringLiteral("1 1 1 1"), QStringLiteral("2 1 1 1")}},
                                {7, {}},
                                {8, {QStringLiteral("1 1 0 -12")}}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Reaction(1, 1), 3 * q * L / 8, 1e-9);
    QV_COMPARE_NEAR(run.Reaction(1, 2), 0, 1e-9);
    QV_COMPARE_NEAR(run.Force(1, 2), 0, 1e-9);
    QV_COMPARE_NEAR(run.Force(1, 5), -q * L * L / 8, 1e-9);
}

void TestBarStatics::planeTrussByStatics() {
    // The Warren truss of the manual: by the method of joints the chords carry 15 kN, the end
    // diagonals -25 kN, the top chord -15 kN and the inner diagonals nothing.
    const Run run(
        QStringLiteral("Rabeno"), QStringLiteral("warren.d03"),
        Structure(
            1, {{2, Steel()},
                {3, {QStringLiteral("0.0012")}},
                {4,
                 {QStringLiteral("0 0"), QStringLiteral("3 0"), QStringLiteral("6 0"),
                  QStringLiteral("1.5 2"), QStringLiteral("4.5 2")}},
                {5,
                 {QStringLiteral("1 2 1 1"), QStringLiteral("2 3 1 1"), QStringLiteral("1 4 1 1"),
                  QStringLiteral("4 2 1 1"), QStringLiteral("2 5 1 1"), QStringLiteral("5 3 1 1"),
                  QStringLiteral("4 5 1 1")}},
                {6, {QStringLiteral("1 1 1"), QStringLiteral("3 0 1")}},
                {7, {QStringLiteral("1 4 0 -20"), QStringLiteral("1 5 0 -20")}}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const double expected[7] = {15, 15, -25, 0, 0, -25, -15};
    for (int bar = 1; bar <= 7; ++bar)
        QV_COMPARE_NEAR(run.Force(bar, 0), expected[bar - 1], 1e-9);
    QV_COMPARE_NEAR(run.Reaction(1, 1), 20, 1e-9);
    QV_COMPARE_NEAR(run.Reaction(1, 0), 0, 1e-9);
    // The bottom chord stretches by N L / EA per bar.
    QV_COMPARE_NEAR(run.Displacement(3, 0), 2 * 15 * 3 / (2.1e8 * 0.0012), 1e-9);
}

void TestBarStatics::spaceTrussByStatics() {
    // A tripod: the legs' forces follow from the equilibrium of the apex alone.
    const Eigen::Vector3d apex(2, 1.155, 3);
    const Eigen::Vector3d feet[3] = {{0, 0, 0}, {4, 0, 0}, {2, 3.464, 0}};
    const Eigen::Vector3d load(10, 0, -50);
    Eigen::Matrix3d directions;
    for (int leg = 0; leg < 3; ++leg)
        directions.col(leg) = (feet[leg] - apex).normalized();
    const Eigen::Vector3d legs = directions.colPivHouseholderQr().solve(-load);

    const Run run(
        QStringLiteral("Sutalo"), QStringLiteral("tripod.d04"),
        Structure(
            1,
            {{2, Steel()},
             {3, {QStringLiteral("0.0015")}},
             {4,
              {QStringLiteral("0 0 0"), QStringLiteral("4 0 0"), QStringLiteral("2 3.464 0"),
               QStringLiteral("2 1.155 3")}},
             {5,
              {QStringLiteral("1 4 1 1"), QStringLiteral("2 4 1 1"), QStringLiteral("3 4 1 1"),
               QStringLiteral("1 2 1 1"), QStringLiteral("2 3 1 1"), QStringLiteral("3 1 1 1")}},
             {6, {QStringLiteral("1 1 1 1"), QStringLiteral("2 0 1 1"), QStringLiteral("3 0 0 1")}},
             {7, {QStringLiteral("1 4 10 0 -50")}},
             {9, {}}},
            QStringLiteral("0")));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    for (int leg = 0; leg < 3; ++leg)
        QV_COMPARE_NEAR(run.Force(leg + 1, 0), legs[leg], 1e-9);
    // The reactions balance the load.
    double sumX = 0, sumZ = 0;
    for (int node = 1; node <= 3; ++node) {
        sumX += run.Reaction(node, 0);
        sumZ += run.Reaction(node, 2);
    }
    QV_COMPARE_NEAR(sumX, -10, 1e-9);
    QV_COMPARE_NEAR(sumZ, 50, 1e-9);
}

void TestBarStatics::portalFrames() {
    // Two-hinged portal, h = 4, span l = 6, columns I1, beam I2. Horizontal load H at a knee:
    // each column takes H / 2 and the knees' moments are H h / 2. Even load q on the beam:
    // the horizontal thrust is q l^2 / (4 h (2k + 3)), k = I2 h / (I1 l). The columns'
    // shortening is left out of these formulas, so the areas are made large and the tolerance
    // is 1e-6.
    const double h = 4, l = 6, H = 10, q = 8, I1 = 1e-4, I2 = 2e-4;
    const Run run(QStringLiteral("Pelgon"), QStringLiteral("portal.d05"),
                  Structure(2, {{2, Steel()},
                                {3, {QStringLiteral("1000 1.0E-4"), QStringLiteral("1000 2.0E-4")}},
                                {4,
                                 {QStringLiteral("0 0"), QStringLiteral("0 4"),
                                  QStringLiteral("6 4"), QStringLiteral("6 0")}},
                                {5,
                                 {QStringLiteral("1 2 1 1 0"), QStringLiteral("2 3 1 2 0"),
                                  QStringLiteral("3 4 1 1 0")}},
                                {6, {QStringLiteral("1 1 1 0"), QStringLiteral("4 1 1 0")}},
                                {7, {QStringLiteral("1 2 10 0 0")}},
                                {8, {QStringLiteral("2 2 0 -8")}}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Reaction(1, 0), -H / 2, 1e-6);
    QV_COMPARE_NEAR(run.Reaction(4, 0), -H / 2, 1e-6);
    QV_COMPARE_NEAR(std::abs(run.Force(1, 5)), H * h / 2, 1e-6);
    QV_COMPARE_NEAR(run.Reaction(1, 1), -H * h / l, 1e-6);

    const double k = I2 * h / (I1 * l);
    const double thrust = q * l * l / (4 * h * (2 * k + 3));
    QV_COMPARE_NEAR(run.Reaction(1, 0, 2), thrust, 1e-6);
    QV_COMPARE_NEAR(run.Reaction(4, 0, 2), -thrust, 1e-6);
    QV_COMPARE_NEAR(run.Force(2, 2, 2), -thrust * h, 1e-6); // knee: hogging
    QV_COMPARE_NEAR(run.Reaction(1, 1, 2), q * l / 2, 1e-6);
}

void TestBarStatics::grillageInTorsion() {
    // An L-shaped grillage: bar 1 along x (a = 3) fixed at node 1, bar 2 along y (b = 2) with
    // load P at its free end. Bar 1 is twisted by P b, so
    // w = P a^3 / 3EI + P b^3 / 3EI + P b^2 a / G It.
    const double a = 3, b = 2, P = 5, It = 2e-5, G = E / (2 * 1.3);
    const Run run(
        QStringLiteral("Tavrin"), QStringLiteral("corner.d06"),
        Structure(1, {{2, Steel()},
                      {3, {QStringLiteral("1.0E-4 2.0E-5")}},
                      {4, {QStringLiteral("0 0"), QStringLiteral("3 0"), QStringLiteral("3 2")}},
                      {5, {QStringLiteral("1 2 1 1"), QStringLiteral("2 3 1 1")}},
                      {6, {QStringLiteral("1 1 1 1")}},
                      {7, {QStringLiteral("1 3 -5 0 0")}},
                      {8, {}}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const double w =
        P * a * a * a / (3 * E * I) + P * b * b * b / (3 * E * I) + P * b * b * a / (G * It);
    QV_COMPARE_NEAR(run.Displacement(3, 0), -w, 1e-9);
    QV_COMPARE_NEAR(std::abs(run.Force(1, 1)), P * b, 1e-9); // torsion of bar 1
    QV_COMPARE_NEAR(std::abs(run.Reaction(1, 1)), P * b, 1e-9);
    QV_COMPARE_NEAR(std::abs(run.Reaction(1, 2)), P * a, 1e-9);
}

void TestBarStatics::spaceFrameSectionAngle() {
    // A cantilever along x with Iy = 4e-4 and Iz = 1e-4 under a tip load in z. Turned by
    // beta = 90 degrees the weak axis carries it: four times the deflection.
    const auto frame = [](const QString& beta) {
        return Structure(1,
                         {{2, Steel()},
                          {3, {QStringLiteral("0.01 1.0E-5 4.0E-4 1.0E-4")}},
                          {4, {QStringLiteral("0 0 0"), QStringLiteral("4 0 0")}},
                          {5, {QStringLiteral("1 2 1 1 ") + beta}},
                          {6, {QStringLiteral("1 1 1 1 1 1 1")}},
                          {7, {QStringLiteral("1 2 0 3 -10 0 0 0")}},
                          {8, {}},
                          {9, {}}},
                         QStringLiteral("0"));
    };
    const Run upright(QStringLiteral("Hosken"), QStringLiteral("upright.d07"), frame("0"));
    QVERIFY2(upright.Ok(), qPrintable(upright.Error()));
    QV_COMPARE_NEAR(upright.Displacement(2, 2), -10 * L * L * L / (3 * E * 4e-4), 1e-9);
    QV_COMPARE_NEAR(upright.Displacement(2, 1), 3 * L * L * L / (3 * E * 1e-4), 1e-9);
    const Run turned(QStringLiteral("Hosken"), QStringLiteral("turned.d07"), frame("90"));
    QVERIFY2(turned.Ok(), qPrintable(turned.Error()));
    QV_COMPARE_NEAR(turned.Displacement(2, 2), -10 * L * L * L / (3 * E * 1e-4), 1e-9);
    QV_COMPARE_NEAR(turned.Displacement(2, 1), 3 * L * L * L / (3 * E * 4e-4), 1e-9);
    // Support moments about y and z.
    QV_COMPARE_NEAR(upright.Reaction(1, 4), -10 * L, 1e-9);
    QV_COMPARE_NEAR(upright.Reaction(1, 5), -3 * L, 1e-9);
    // A column counts as plumb (local y is the global y axis) though its top is off by what
    // rounding leaves, 1e-8 m on 4 m; the strong axis Iy then carries a load in x. A column
    // that leans by a millimetre is a leaning bar: local y is horizontal and square to it.
    const auto column = [](const QString& top) {
        return Structure(1,
                         {{2, Steel()},
                          {3, {QStringLiteral("0.01 1.0E-5 4.0E-4 1.0E-4")}},
                          {4, {QStringLiteral("0 0 0"), top}},
                          {5, {QStringLiteral("1 2 1 1 0")}},
                          {6, {QStringLiteral("1 1 1 1 1 1 1")}},
                          {7, {QStringLiteral("1 2 10 0 0 0 0 0")}},
                          {8, {}},
                          {9, {}}},
                         QStringLiteral("0"));
    };
    const double strong = 10 * L * L * L / (3 * E * 4e-4);
    for (const char* top : {"0 0 4", "0 1E-8 4", "1E-8 0 4", "0 -1E-8 4"}) {
        const Run plumb(QStringLiteral("Hosken"), QStringLiteral("column.d07"),
                        column(QString::fromLatin1(top)));
        QVERIFY2(plumb.Ok(), qPrintable(plumb.Error()));
        QV_COMPARE_NEAR(plumb.Displacement(2, 0), strong, 1e-6);
    }
    const Run leaning(QStringLiteral("Hosken"), QStringLiteral("column.d07"),
                      column(QStringLiteral("0 0.001 4")));
    QVERIFY2(leaning.Ok(), qPrintable(leaning.Error()));
    QV_COMPARE_NEAR(leaning.Displacement(2, 0), 4 * strong, 1e-3);
}

void TestBarStatics::combinationsOfBars() {
    // The cantilever's tip load (case 1) and tip moment (case 2) combined: the combination's
    // forces are the factors times the cases', and the envelope names the combination that
    // gives each extreme; the protocol and the JSON list both.
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("cantilever.d05"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        Structure(2, {{2, Steel()},
                      {3, {QStringLiteral("0.01 1.0E-4")}},
                      {4, {QStringLiteral("0 0"), QStringLiteral("2 0"), QStringLiteral("4 0")}},
                      {5, {QStringLiteral("1 2 1 1 0"), QStringLiteral("2 3 1 1 0")}},
                      {6, {QStringLiteral("1 1 1 1")}},
                      {7, {QStringLiteral("1 3 0 -10 0"), QStringLiteral("2 3 0 0 5")}},
                      {8, {}}}));
    file.close();
    const BarModel bars = BarModelBuilder::Build(5, SolverInput::Read(path).Data);
    MeshModel mesh = MeshModel::FromBars(bars);
    mesh.Combinations = {{1, {{1, 1.35}, {2, 1.5}}, 0}, {2, {{1, 1.0}, {2, -3.0}}, 0}};
    mesh.Envelopes = {{1, {1, 2}, 0}};
    MeshStatics::Outcome solved = MeshStatics::Run(mesh, std::make_unique<BarFamily>(bars));
    const int forces = solved.Results.StressCount();
    LoadCombinations::Apply(mesh, {forces, forces, {}}, solved.Results);
    const StaticResults results = BarFamily::Results(bars, solved.Results);
    QCOMPARE(results.Combinations.size(), size_t{2});
    const StaticResults::Case &one = results.Cases[0], &two = results.Cases[1];
    const StaticResults::Case &first = results.Combinations[0], &second = results.Combinations[1];
    for (size_t k = 0; k < one.Forces.size(); ++k) {
        QV_COMPARE_NEAR(first.Forces[k], 1.35 * one.Forces[k] + 1.5 * two.Forces[k], 1e-12);
        QV_COMPARE_NEAR(second.Forces[k], one.Forces[k] - 3 * two.Forces[k], 1e-12);
    }
    QV_COMPARE_NEAR(first.Displacements[7],
                    1.35 * one.Displacements[7] + 1.5 * two.Displacements[7], 1e-12);
    QV_COMPARE_NEAR(first.Reactions[0].Values[2],
                    1.35 * one.Reactions[0].Values[2] + 1.5 * two.Reactions[0].Values[2], 1e-12);
    // The root moment: -1.35 P L + 1.5 M0 by combination 1, -P L - 3 M0 by combination 2.
    const StaticResults::Envelope& envelope = results.Envelopes.at(0);
    const double root1 = first.Forces[2], root2 = second.Forces[2];
    QCOMPARE(envelope.Max.Forces[2], std::max(root1, root2));
    QCOMPARE(envelope.MaxBy.Forces[2], root2 > root1 ? 2.0 : 1.0);
    QCOMPARE(envelope.Min.Forces[2], std::min(root1, root2));
    QCOMPARE(envelope.MinBy.Forces[2], root2 < root1 ? 2.0 : 1.0);
    QVERIFY(root1 != root2);

    const QString protocol = StaticReport::Protocol(QStringLiteral("test"),
                                                    QStringLiteral("plane frames"), bars, results);
    QVERIFY(protocol.contains(QStringLiteral("\nCombination 1 = 1.35 x case 1 + 1.5 x case 2\n")));
    QVERIFY(protocol.contains(QStringLiteral("\nCombination 2 = 1 x case 1 - 3 x case 2\n")));
    const qsizetype at = protocol.indexOf(QStringLiteral("\nEnvelope 1 of combinations 1, 2"));
    QVERIFY(at > 0);
    // Element 1's line of largest forces: Mi with its combination.
    const QString line =
        protocol
            .mid(protocol.indexOf(QStringLiteral("       1 max"),
                                  protocol.indexOf(QStringLiteral("Element "), at)))
            .section(u'\n', 0, 0);
    QVERIFY2(line.contains(StaticReport::Number(envelope.Max.Forces[2]) +
                           QStringLiteral(" (%1)").arg(envelope.MaxBy.Forces[2])),
             qPrintable(line));
    const QJsonObject json = StaticReport::Json(results);
    QCOMPARE(json[QStringLiteral("combinations")][0][QStringLiteral("number")].toInt(), 1);
    QCOMPARE(json[QStringLiteral("envelopes")][0][QStringLiteral("minBy")][QStringLiteral("forces")]
                 [0][3]
                     .toDouble(),
             envelope.MinBy.Forces[2]);
}

void TestBarStatics::curvedCantilever() {
    // A quarter circle of radius R fixed at its top, loaded at its free end by P downwards:
    // by Castigliano (bending only) w = P R^3 (3 pi / 4 - 2) / EI. The area is made large so
    // that axial strain does not count; 64 straight pieces agree to 1e-4.
    const double R = 3, P = 10;
    const Run run(QStringLiteral("Dorvan"), QStringLiteral("hook.d01"),
                  Structure(1, {{2, Steel()},
                                {3, {QStringLiteral("1000 1.0E-4")}},
                                {4, {QStringLiteral("0 3"), QStringLiteral("3 0")}},
                                {5, {QStringLiteral("1 2 1 1 0 3")}},
                                {6, {QStringLiteral("1 1 1 1")}},
                                {7, {QStringLiteral("1 2 0 -10 0")}},
                                {8, {}}}));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    QV_COMPARE_NEAR(run.Displacement(2, 1),
                    -P * R * R * R * (3 * std::numbers::pi / 4 - 2) / (E * I), 1e-4);
    // Equilibrium holds to the rounding of the badly scaled equations (EA >> EI / R^2).
    QV_COMPARE_NEAR(std::abs(run.Force(1, 2)), P * R, 1e-5); // root moment
    QV_COMPARE_NEAR(run.Reaction(1, 1), P, 1e-5);

    // The result file keeps the arc's inner points, which the data does not list, from i to j.
    // At the angle phi from the top, by a unit load there: w = P R^3 / EI times the integral
    // from 0 to phi of (1 - sin t)(sin phi - sin t) dt. The point halfway is at phi = pi / 4.
    const std::optional<ResultFile::Contents> file = ResultFile::Read(run.Outcome().ResultFile);
    QVERIFY(file);
    const StaticResults& statics = file->Statics;
    QCOMPARE(statics.ArcPoints, BarModelBuilder::ArcPieces - 1);
    QCOMPARE(statics.Cases[0].ArcDisplacements.size(), size_t(3 * statics.ArcPoints));
    const double phi = std::numbers::pi / 4, s = std::sin(phi), c = std::cos(phi);
    const double integral = phi * s - (1 - c) - s * (1 - c) + phi / 2 - std::sin(2 * phi) / 4;
    const size_t half = BarModelBuilder::ArcPieces / 2 - 1; // the inner points start at piece 1
    QV_COMPARE_NEAR(statics.Cases[0].ArcDisplacements[3 * half + 1],
                    -P * R * R * R * integral / (E * I), 1e-4);
}

void TestBarStatics::mechanismsRefused() {
    // A beam on two rollers can slide; a truss panel without its diagonal folds; a bar without
    // supports floats. Each is refused naming a node and a component, never solved.
    const Run sliding(QStringLiteral("Pelgon"), QStringLiteral("sliding.d05"),
                      Structure(1, {{2, Steel()},
                                    {3, {QStringLiteral("0.01 1.0E-4")}},
                                    {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                                    {5, {QStringLiteral("1 2 1 1 0")}},
                                    {6, {QStringLiteral("1 0 1 0"), QStringLiteral("2 0 1 0")}},
                                    {7, {QStringLiteral("1 2 0 -10 0")}},
                                    {8, {}}}));
    QVERIFY(!sliding.Ok());
    QVERIFY2(sliding.Error().contains(QStringLiteral("ux")), qPrintable(sliding.Error()));
    QVERIFY(sliding.Outcome().ResultFile.isEmpty());

    const Run panel(QStringLiteral("Rabeno"), QStringLiteral("panel.d03"),
                    Structure(1, {{2, Steel()},
                                  {3, {QStringLiteral("0.001")}},
                                  {4,
                                   {QStringLiteral("0 0"), QStringLiteral("2 0"),
                                    QStringLiteral("2 2"), QStringLiteral("0 2")}},
                                  {5,
                                   {QStringLiteral("1 2 1 1"), QStringLiteral("2 3 1 1"),
                                    QStringLiteral("3 4 1 1"), QStringLiteral("4 1 1 1")}},
                                  {6, {QStringLiteral("1 1 1"), QStringLiteral("2 0 1")}},
                                  {7, {QStringLiteral("1 3 5 0")}}}));
    QVERIFY(!panel.Ok());
    QVERIFY2(panel.Error().contains(QStringLiteral("mechanism")), qPrintable(panel.Error()));

    // Every bar hinged at a node leaves its rotation free; that alone is no mechanism.
    const Run hinged(
        QStringLiteral("Pelgon"), QStringLiteral("hinged.d05"),
        Structure(1, {{2, Steel()},
                      {3, {QStringLiteral("0.01 1.0E-4")}},
                      {4, {QStringLiteral("0 0"), QStringLiteral("0 3"), QStringLiteral("4 3")}},
                      {5, {QStringLiteral("1 2 1 1 2"), QStringLiteral("2 3 1 1 1")}},
                      {6, {QStringLiteral("1 1 1 1"), QStringLiteral("3 1 1 0")}},
                      {7, {QStringLiteral("1 2 0 -10 0")}},
                      {8, {}}}));
    QVERIFY2(hinged.Ok(), qPrintable(hinged.Error()));
    QV_COMPARE_NEAR(hinged.Reaction(1, 1), 10, 1e-6);
}

void TestBarStatics::faultyFilesRefused() {
    // A file without its element loads table is refused with the checker's line, and a
    // solver refuses a file of another type.
    const QByteArray noLoads = Structure(1, {{2, Steel()},
                                             {3, {QStringLiteral("0.01 1.0E-4")}},
                                             {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                                             {5, {QStringLiteral("1 2 1 1 0")}},
                                             {6, {QStringLiteral("1 1 1 1")}},
                                             {7, {}}});
    const Run missing(QStringLiteral("Pelgon"), QStringLiteral("missing.d05"), noLoads);
    QVERIFY(!missing.Ok());
    QVERIFY2(missing.Error().startsWith(QStringLiteral("Line ")), qPrintable(missing.Error()));
    const Run other(QStringLiteral("Rabeno"), QStringLiteral("frame.d05"), noLoads);
    QVERIFY(!other.Ok());
    QVERIFY2(other.Error().contains(QStringLiteral(".d03")), qPrintable(other.Error()));

    // A cantilever given twice, alike in every column, is refused: it would be twice as stiff.
    // Beside it a member of another section is a second member in parallel: P L^3 / 3E(2I).
    const auto cantilever = [](const QString& second) {
        return Structure(1, {{2, Steel()},
                             {3, {QStringLiteral("0.01 1.0E-4"), QStringLiteral("0.01 1.0E-4")}},
                             {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                             {5, {QStringLiteral("1 2 1 1 0"), second}},
                             {6, {QStringLiteral("1 1 1 1")}},
                             {7, {QStringLiteral("1 2 0 -10 0")}},
                             {8, {}}});
    };
    const Run twice(QStringLiteral("Pelgon"), QStringLiteral("twice.d05"),
                    cantilever(QStringLiteral("1 2 1 1 0")));
    QVERIFY(!twice.Ok());
    QVERIFY2(twice.Error().startsWith(QStringLiteral("Line ")) &&
                 twice.Error().contains(QStringLiteral("element 2 repeats element 1")),
             qPrintable(twice.Error()));
    const Run parallel(QStringLiteral("Pelgon"), QStringLiteral("parallel.d05"),
                       cantilever(QStringLiteral("1 2 1 2 0")));
    QVERIFY2(parallel.Ok(), qPrintable(parallel.Error()));
    QV_COMPARE_NEAR(parallel.Displacement(2, 1), -10 * L * L * L / (3 * E * 2 * I), 1e-9);
}

void TestBarStatics::answersThatDoNotCheckRefused() {
    // Each of these solved into nonsense that left with a result file: reactions for loads
    // that are not there, infinite values. The check refuses them naming the likely cause.
    const std::pair<const char*, QString> cases[] = {
        {"pelgon_bar_1e-15_long.d05", QStringLiteral("element 4, is 1e-15 m long")},
        {"tavrin_bar_1e-7_long.d06", QStringLiteral("element 6, is 1e-07 m long")},
        {"sutalo_flat_truss.d04", QStringLiteral("node 4: its bars all lie in one plane")},
        {"hosken_qy_9.999e307.d07", QStringLiteral("too large")},
    };
    for (const auto& [file, cause] : cases) {
        const QString name = QString::fromLatin1(file);
        const SolverEntry solver =
            *SolverEntry::Named(QString::fromLatin1(name.startsWith(u'p')   ? "Pelgon"
                                                    : name.startsWith(u't') ? "Tavrin"
                                                    : name.startsWith(u's') ? "Sutalo"
                                                                            : "Hosken"));
        const QString refusal = SolverFiles::Refusal(
            [&] { SolverCommand::Solve(solver, QStringLiteral(QV_TEST_DATA "/") + name); });
        QVERIFY2(!refusal.isEmpty(), file);
        QVERIFY2(refusal.contains(cause), qPrintable(refusal));
    }

    // A sound answer states how well it checks.
    const Run sound(QStringLiteral("Pelgon"), QStringLiteral("sound.d05"),
                    Structure(1, {{2, Steel()},
                                  {3, {QStringLiteral("0.01 1.0E-4")}},
                                  {4, {QStringLiteral("0 0"), QStringLiteral("4 0")}},
                                  {5, {QStringLiteral("1 2 1 1 0")}},
                                  {6, {QStringLiteral("1 1 1 1")}},
                                  {7, {QStringLiteral("1 2 3 -10 5")}},
                                  {8, {QStringLiteral("1 1 1 -2")}}}));
    QVERIFY2(sound.Ok(), qPrintable(sound.Error()));
    QVERIFY(sound.Outcome().Protocol.contains(QStringLiteral("Check: |K u - f| is ")));
}

QTEST_GUILESS_MAIN(TestBarStatics)
void TestBarStatics::problemTypesAgreeWithTheFormats() {
    // The table of problem types and the checker's formats describe the same files: bar types
    // draw bars (as do the meridians of shells), their supports give a node and one code per kept
    // component, and every type with a model to draw has one in the format.
    for (int number = 1; number <= 27; ++number) {
        const ProblemType& type = ProblemType::Of(number);
        const std::optional<DataFormat> format = FormatCatalogue::For(number);
        QVERIFY2(format, qPrintable(QString::number(number)));
        // 18 to 20 have no problem type.
        QCOMPARE(type.Kind == ProblemType::Family::None, number >= 18 && number <= 20);
        if (type.Kind == ProblemType::Family::None)
            continue;
        QCOMPARE(type.Number, number);
        if (type.IsBars())
            QCOMPARE(format->Model.Kind, ModelShape::Elements::Bars);
        QCOMPARE(type.IsBars(), BarModelBuilder::Handles(number));
        if (type.HasModel)
            QVERIFY(format->Model.Kind != ModelShape::Elements::None);
        if (type.IsBars()) {
            QVERIFY(format->Table(6));
            QCOMPARE(format->Table(6)->Columns.size(), type.Components.size() + 1);
            QVERIFY(!type.LoadAxes.empty());
        }
    }
    QCOMPARE(ProblemType::Of(18).Kind, ProblemType::Family::None);
    QVERIFY(!ProblemType::Of(0).HasModel);
    // The meshes: a profile's table 6 names its contours, and a slice of a long body and a
    // body of revolution give loads and reactions per unit length; a panel whole forces.
    QVERIFY(ProblemType::Of(16).ContourNodes && !ProblemType::Of(9).ContourNodes);
    QVERIFY(ProblemType::Of(10).PerUnitLength() && ProblemType::Of(11).PerUnitLength());
    QVERIFY(!ProblemType::Of(9).PerUnitLength() && !ProblemType::Of(16).PerUnitLength());
    QCOMPARE(ProblemType::Of(11).Meshes, ProblemType::Mesh::Revolution);
}

#include "tst_barstatics.moc"
