#include "BarDeflection.h"
#include "BarElement.h"
#include "BarFamily.h"
#include "BarModelBuilder.h"
#include "FormatCatalogue.h"
#include "MeshModel.h"
#include "MeshStatics.h"
#include "ParsedData.h"
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
    void memberLoadsHoldTheEnds();
    void heatWeightAndFoundationOfABar();
    void memberLoadsOnPieces();
    void deflectionLinesOfMemberLoads();
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
    const MeshStatics::Outcome solved = MeshStatics::Run(mesh, std::make_unique<BarFamily>(bars));
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

namespace {

// One bar of the section the closed forms take: of a plane frame along x (its local z axis
// upwards) or, with `skew`, of a space frame slanting through space, turned about itself.
BarModel OneBar(bool skew, bool hingeJ = false) {
    BarModel model;
    model.Axes = skew ? ProblemType::Layout::Space : ProblemType::Layout::PlaneXZ;
    model.Nodes = skew ? std::vector<BarModel::Vector>{{0.3, -0.2, 0.5}, {2.9, 1.4, 2.2}}
                       : std::vector<BarModel::Vector>{{0, 0, 0}, {4, 0, 0}};
    BarModel::Bar bar;
    bar.J = 1;
    bar.E = 2.1e8;
    bar.G = 8e7;
    bar.A = 0.01;
    bar.It = 2e-6;
    bar.Iy = 1e-4;
    bar.Iz = 3e-5;
    bar.Beta = skew ? 25 : 0;
    bar.HingeJ = hingeJ;
    model.Bars = {bar};
    return model;
}

Eigen::Vector3d Vec(const std::array<double, 3>& v) {
    return {v[0], v[1], v[2]};
}

// The resultant force and moment about `about` of nodal loads (global, six per node) at
// `nodes`.
std::pair<Eigen::Vector3d, Eigen::Vector3d> Resultant(const Element::Vector& f,
                                                      const std::vector<Eigen::Vector3d>& nodes,
                                                      const Eigen::Vector3d& about) {
    Eigen::Vector3d force = Eigen::Vector3d::Zero(), moment = Eigen::Vector3d::Zero();
    for (size_t n = 0; n < nodes.size(); ++n) {
        const Eigen::Vector3d f3 = f.segment<3>(static_cast<Eigen::Index>(6 * n));
        force += f3;
        moment += f.segment<3>(static_cast<Eigen::Index>(6 * n + 3)) + (nodes[n] - about).cross(f3);
    }
    return {force, moment};
}

// The first moment about end i of a load varying linearly from q1 at a to q2 at b along x.
Eigen::Vector3d FirstMoment(const Eigen::Vector3d& q1, const Eigen::Vector3d& q2, double a,
                            double b, const Eigen::Vector3d& x) {
    const double span = b - a;
    return x.cross(Eigen::Vector3d(a * span * (q1 + q2) / 2 + span * span * (q1 / 6 + q2 / 3)));
}

// A checked file's table as the solvers read it, given by its rows.
ParsedTable Table(int number, const std::vector<std::vector<double>>& rows) {
    ParsedTable table;
    table.Number = number;
    table.Width = static_cast<int>(rows.front().size());
    for (const std::vector<double>& row : rows) {
        table.Values.insert(table.Values.end(), row.begin(), row.end());
        table.Lines.push_back(100 * number + table.Rows());
    }
    return table;
}

} // namespace

void TestBarStatics::memberLoadsHoldTheEnds() {
    // A bar fixed at both ends: its section forces under loads alone (the ends still) are the
    // fixed-end forces of the textbook. Columns Ni Vi Mi Nj Vj Mj; hogging moments negative.
    const BarModel model = OneBar(false);
    const BarElement beam(model, model.Bars[0]);
    const Element::Vector still = Element::Vector::Zero(12);
    const double P = 12, a = 1, b = L - a, q = 3;
    // A point load P down at a: M = -P a b^2 / L^2 and -P a^2 b / L^2, V = P b^2 (3a + b) / L^3.
    BarElement::Forces f = beam.SectionForces(still, beam.PointLoads({0, 0, -P}, {}, a, false));
    QV_COMPARE_NEAR(f[2], -P * a * b * b / (L * L), 1e-12);
    QV_COMPARE_NEAR(f[5], -P * a * a * b / (L * L), 1e-12);
    QV_COMPARE_NEAR(f[1], P * b * b * (3 * a + b) / (L * L * L), 1e-12);
    QV_COMPARE_NEAR(f[4], -P * a * a * (a + 3 * b) / (L * L * L), 1e-12);
    // A triangle from 0 at i to q at j: q L^2 / 30 and q L^2 / 20.
    f = beam.SectionForces(still, beam.PartialLoads({0, 0, 0}, {0, 0, -q}, 0, L, false));
    QV_COMPARE_NEAR(f[2], -q * L * L / 30, 1e-12);
    QV_COMPARE_NEAR(f[5], -q * L * L / 20, 1e-12);
    // An even load over the left half: 11 q L^2 / 192 and 5 q L^2 / 192; along the bar, end i
    // holds three quarters of it, the stretch before it in tension.
    f = beam.SectionForces(still, beam.PartialLoads({q, 0, -q}, {q, 0, -q}, 0, L / 2, false));
    QV_COMPARE_NEAR(f[2], -11 * q * L * L / 192, 1e-12);
    QV_COMPARE_NEAR(f[5], -5 * q * L * L / 192, 1e-12);
    QV_COMPARE_NEAR(f[0], 3 * q * L / 8, 1e-12);
    // Hinged at j, the point load leaves no moment there and P a b (L + b) / 2 L^2 at i.
    const BarModel propped = OneBar(false, true);
    const BarElement hinged(propped, propped.Bars[0]);
    f = hinged.SectionForces(still, hinged.PointLoads({0, 0, -P}, {}, a, false));
    QV_COMPARE_NEAR(f[2], -P * a * b * (L + b) / (2 * L * L), 1e-12);
    QV_COMPARE_NEAR(f[5], 0, 1e-9);

    // A skew bar of a space frame: loads given in its own axes are those turned into space,
    // and the nodal loads of a point or a partial load add up to its resultant about end i.
    const BarModel space = OneBar(true);
    const BarElement skew(space, space.Bars[0]);
    const std::vector<Eigen::Vector3d> ends{Vec(space.Nodes[0]), Vec(space.Nodes[1])};
    const Eigen::Matrix3d back = skew.Axes().transpose();
    const Eigen::Vector3d x = skew.Axes().row(0).transpose();
    const std::array<double, 3> force{2, -3, 5}, moment{-1, 4, 0.5}, other{1, 2, -2};
    const auto global = [&back](const std::array<double, 3>& v) {
        const Eigen::Vector3d g = back * Vec(v);
        return std::array<double, 3>{g(0), g(1), g(2)};
    };
    const double at = 0.3 * skew.Length();
    const Element::Vector point = skew.PointLoads(force, moment, at, true);
    QVERIFY(point.isApprox(skew.PointLoads(global(force), global(moment), at, false), 1e-12));
    const auto [pointForce, pointMoment] = Resultant(point, ends, ends[0]);
    const Eigen::Vector3d F = back * Vec(force);
    QVERIFY(pointForce.isApprox(F, 1e-12));
    QVERIFY(pointMoment.isApprox(at * x.cross(F) + back * Vec(moment), 1e-12));
    const Element::Vector partial = skew.PartialLoads(force, other, 0.5, 2.5, true);
    QVERIFY(
        partial.isApprox(skew.PartialLoads(global(force), global(other), 0.5, 2.5, false), 1e-12));
    const Eigen::Vector3d q1 = back * Vec(force), q2 = back * Vec(other);
    const auto [partForce, partMoment] = Resultant(partial, ends, ends[0]);
    QVERIFY(partForce.isApprox(q1 + q2, 1e-12)); // over a span of 2
    QVERIFY(partMoment.isApprox(FirstMoment(q1, q2, 0.5, 2.5, x), 1e-12));
}

void TestBarStatics::heatWeightAndFoundationOfABar() {
    // A bar fixed at both ends heated by dT and by dTd across its depth h (the top, local z,
    // face warmer): N = -E A alpha dT and M = E I alpha dTd / h (sagging) all along it. The
    // loads are those that take the free bar where the heat would: stretched by alpha dT L and
    // curved by alpha dTd / h, its tip falling.
    const double alpha = 1.2e-5, dT = 30, dTd = 20, h = 0.3;
    const double kappa = alpha * dTd / h;
    const BarModel model = OneBar(false);
    const BarElement beam(model, model.Bars[0]);
    Element::Heat heat;
    heat.Alpha = alpha;
    heat.Change = {dT, dT};
    heat.Across = dTd;
    heat.Depth = h;
    const Element::Vector loads = beam.HeatLoads(heat);
    const Element::Vector still = Element::Vector::Zero(12);
    BarElement::Forces f = beam.SectionForces(still, loads);
    for (int end : {0, 3}) {
        QV_COMPARE_NEAR(f[end], -E * A * alpha * dT, 1e-12);
        QV_COMPARE_NEAR(f[end + 1], 0, 1e-9);
        QV_COMPARE_NEAR(f[end + 2], E * I * kappa, 1e-12);
    }
    Element::Vector free = Element::Vector::Zero(12);
    free(6) = alpha * dT * L;
    free(8) = -kappa * L * L / 2;
    free(10) = kappa * L;
    QVERIFY((beam.Stiffness() * free).isApprox(loads, 1e-12));
    // Hinged at j: 3/2 E I alpha dTd / h at i, none at j.
    const BarModel propped = OneBar(false, true);
    const BarElement hinged(propped, propped.Bars[0]);
    f = hinged.SectionForces(still, hinged.HeatLoads(heat));
    QV_COMPARE_NEAR(f[2], 1.5 * E * I * kappa, 1e-12);
    QV_COMPARE_NEAR(f[5], 0, 1e-9);

    // Its weight gamma A L, and under a skew bar a foundation of modulus k per length: k L
    // against a translation across it along local z, none along it, and k theta^2 L^3 / 3
    // against turning by theta about its local y axis at end i.
    const double gamma = 78.5, k = 5000;
    const BarModel space = OneBar(true);
    const BarElement skew(space, space.Bars[0]);
    const std::vector<Eigen::Vector3d> ends{Vec(space.Nodes[0]), Vec(space.Nodes[1])};
    const auto [weight, turning] =
        Resultant(skew.VolumeLoads({0, 0, -gamma}), ends, (ends[0] + ends[1]) / 2);
    QVERIFY(weight.isApprox(Eigen::Vector3d(0, 0, -gamma * A * skew.Length()), 1e-12));
    QVERIFY(turning.norm() < 1e-12 * gamma * A * skew.Length());
    const BarElement::Matrix12 ground = skew.FoundationStiffness(k);
    const double length = skew.Length();
    const auto energy = [&ground](const Eigen::Vector3d& ui, const Eigen::Vector3d& ri,
                                  const Eigen::Vector3d& uj, const Eigen::Vector3d& rj) {
        BarElement::Vector12 u;
        u << ui, ri, uj, rj;
        return u.dot(ground * u);
    };
    const Eigen::Vector3d x = skew.Axes().row(0), y = skew.Axes().row(1), z = skew.Axes().row(2);
    const Eigen::Vector3d none = Eigen::Vector3d::Zero();
    QV_COMPARE_NEAR(energy(z, none, z, none), k * length, 1e-12);
    QV_COMPARE_NEAR(energy(x, none, x, none), 0, 1e-9);
    QV_COMPARE_NEAR(energy(none, y, -length * z, y), k * length * length * length / 3, 1e-12);
}

void TestBarStatics::memberLoadsOnPieces() {
    // A member of a plane frame cut into three pieces, as modes and buckling cut it: a point
    // load at its middle falls on the second piece a sixth of the length in; a partial load
    // in the member's axes is cut at the pieces' ends, which together carry its resultant;
    // every piece takes the member's temperature and foundation.
    ParsedData data;
    data.General.resize(4);
    data.General[3].Number = 2;
    data.Tables = {Table(2, {{E, 0.3, 78.5, 1.2e-5}}),
                   Table(3, {{A, I}}),
                   Table(4, {{0, 0}, {L, 0}}),
                   Table(5, {{1, 2, 1, 1, 0}}),
                   Table(6, {{1, 1, 1, 1}}),
                   Table(11, {{1, 1, 10, 20, 0.3}}),
                   Table(14, {{1, 5000}}),
                   Table(15, {{1, 1, 0, L / 2, 0, -12, 0}}),
                   Table(16, {{2, 1, 1, 0.5, 3.5, 0, -1, 0, -4}})};
    const BarModel model = BarModelBuilder::Build(5, data, {3});
    QCOMPARE(model.Bars.size(), size_t(3));
    QCOMPARE(model.Heats.size(), size_t(3));
    QCOMPARE(model.Foundations.size(), size_t(3));
    QCOMPARE(model.Materials.size(), size_t(1));
    QCOMPARE(model.Materials[0].Alpha, 1.2e-5);
    const MeshModel mesh = MeshModel::FromBars(model);
    QCOMPARE(mesh.Heats[2].Cell, 2);
    QCOMPARE(mesh.Heats[2].Depth, 0.3);
    BarFamily family(model);
    QStringList warnings;
    family.Build(mesh, warnings);
    Eigen::Vector3d force = Eigen::Vector3d::Zero(), moment = Eigen::Vector3d::Zero();
    int pieces = 0;
    for (const MeshModel::ElementLoad& load : mesh.ElementLoads) {
        if (load.Case == 1) {
            QCOMPARE(load.Cell, 1);
            QV_COMPARE_NEAR(load.A, L / 6, 1e-12);
            continue;
        }
        ++pieces;
        const BarModel::Bar& bar = model.Bars[static_cast<size_t>(load.Cell)];
        const std::vector<Eigen::Vector3d> ends{Vec(model.Nodes[static_cast<size_t>(bar.I)]),
                                                Vec(model.Nodes[static_cast<size_t>(bar.J)])};
        const auto [f, m] = Resultant(family.ElementLoad(load), ends, Eigen::Vector3d::Zero());
        force += f;
        moment += m;
        const std::optional<MeshFamily::GivenLoad> given = family.Given(load);
        QVERIFY(given.has_value());
        QVERIFY(given->Force.isApprox(f, 1e-12));
        QVERIFY((given->Moment + given->At.cross(given->Force)).isApprox(m, 1e-12));
        // A load of one direction acts through its centroid, with no moment besides.
        QVERIFY(given->Moment.norm() < 1e-12 * L * given->Force.norm());
    }
    QCOMPARE(pieces, 3);
    const Eigen::Vector3d q1(0, 0, -1), q2(0, 0, -4);
    QVERIFY(force.isApprox(3 * (q1 + q2) / 2, 1e-12));
    QVERIFY(moment.isApprox(FirstMoment(q1, q2, 0.5, 3.5, Eigen::Vector3d::UnitX()), 1e-12));
}

void TestBarStatics::deflectionLinesOfMemberLoads() {
    // The lines the viewer draws between held ends: P L^3 / 192 EI under a point load at the
    // middle of a fixed bar, P L^3 / 48 EI when both ends are hinged; a partial load over the
    // whole bar is the even one's line, whatever the hinges; a moment is the limit of two
    // opposite forces closing in on it.
    const double EI = E * I, P = 10, q = 3, C = 7, at = 1.3, h = 1e-4;
    QV_COMPARE_NEAR(BarDeflection::Point(P, 0, L / 2, EI, L, 0, 0.5), P * L * L * L / (192 * EI),
                    1e-12);
    QV_COMPARE_NEAR(BarDeflection::Point(P, 0, L / 2, EI, L, 3, 0.5), P * L * L * L / (48 * EI),
                    1e-12);
    for (int hinges = 0; hinges <= 3; ++hinges)
        for (double xi : {0.1, 0.35, 0.5, 0.8}) {
            QV_COMPARE_NEAR(BarDeflection::Partial(q, q, 0, L, EI, L, hinges, xi),
                            BarDeflection::Loaded(q, EI, L, hinges, xi), 1e-12);
            const double pair = (BarDeflection::Point(C / h, 0, at + h / 2, EI, L, hinges, xi) -
                                 BarDeflection::Point(C / h, 0, at - h / 2, EI, L, hinges, xi));
            QV_COMPARE_NEAR(BarDeflection::Point(0, C, at, EI, L, hinges, xi), pair, 1e-6);
        }
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
