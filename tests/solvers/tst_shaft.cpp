#include "BarElement.h"
#include "EquationSystem.h"
#include "ModalAnalysis.h"
#include "ProgramRun.h"
#include "ShaftAnalysis.h"
#include "SolverFiles.h"
#include "SolverLaunch.h"

#include <QJsonDocument>
#include <cmath>
#include <numbers>

// The natural frequencies of shaft lines against beam theory and the closed forms of discs on
// light shafts, the motions without strain that must not be listed, and the answers of the
// program; the shifted factorisation they brought, on a free beam of another element.
class TestShaft : public QObject {
    Q_OBJECT

private slots:
    void pinnedPinnedSeries();
    void discOnLightShaft();
    void discOnElasticBearings();
    void twoDiscsInTorsion();
    void rigidMotionsLeftOut();
    void masslessRigidMotion();
    void freeBeamOfBars();
    void refusals();
    void programAnswers();
    void shippedModels();
};

namespace {

constexpr double E = 2.1e8, Nu = 0.3, Gamma = 78.5, G = 9.80665;
constexpr double Pi = std::numbers::pi;

double Inertia(double d) {
    return Pi * d * d * d * d / 64;
}
double Area(double d) {
    return Pi * d * d / 4;
}

// A straight shaft of `elements` equal elements from 0 to `length`, one material and one
// solid section of diameter `d`; bearings and discs as the file's rows ("node k",
// "node m Jp Jd").
QByteArray Shaft(double length, int elements, double d, double gamma, const QStringList& bearings,
                 const QStringList& discs = {}, int frequencies = 6) {
    QStringList nodes, bars;
    for (int i = 0; i <= elements; ++i)
        nodes << QString::number(length * i / elements, 'g', 17);
    for (int e = 1; e <= elements; ++e)
        bars << QStringLiteral("%1 %2 1 1").arg(e).arg(e + 1);
    SolverFiles::Tables tables{{2, {QStringLiteral("%1 %2 %3 1.2E-5").arg(E).arg(Nu).arg(gamma)}},
                               {3, {QStringLiteral("%1 0").arg(d)}},
                               {4, nodes},
                               {5, bars},
                               {6, bearings},
                               {9, discs}};
    return SolverFiles::Structure(0, tables, QString::number(frequencies));
}

struct Frequencies {
    std::vector<double> Bending, Torsion;
};

Frequencies Found(const SolverFiles::Run& run) {
    Frequencies found;
    for (const QJsonValue mode : run.Json()[QStringLiteral("modes")].toArray()) {
        const QString kind = mode[QStringLiteral("kind")].toString();
        (kind == QLatin1String("bending") ? found.Bending : found.Torsion)
            .push_back(mode[QStringLiteral("frequency")].toDouble());
    }
    return found;
}

Frequencies Solve(const QByteArray& data, QString* error = nullptr) {
    const SolverFiles::Run run(QStringLiteral("Gimbro"), QStringLiteral("s.d12"), data);
    if (error)
        *error = run.Error();
    return Found(run);
}

double Relative(double found, double expected) {
    return std::abs(found - expected) / expected;
}

} // namespace

// f_n = n^2 pi / (2 L^2) sqrt(EI / rho A): 8 cubic elements give the first three within
// 2e-5 n^4 (1.6e-5, 2.6e-4, 1.3e-3 measured), 200 (solved by the iteration, not the dense
// solver) the first six within 1e-7; 1000 and 2000, whose stiffness spans the elements'
// number^4 (in double the rounding reached 4e-6 at 1000), within 1e-9: the mesh's own error is
// 9e-11 and 6e-12 at the sixth mode.
void TestShaft::pinnedPinnedSeries() {
    const double length = 2.0, d = 0.05;
    const double base =
        Pi / (2 * length * length) * std::sqrt(E * Inertia(d) / (Gamma / G * Area(d)));
    for (const int elements : {8, 200, 1000, 2000}) {
        const Frequencies found =
            Solve(Shaft(length, elements, d, Gamma,
                        {QStringLiteral("1 0"), QStringLiteral("%1 0").arg(elements + 1)}, {}, 12));
        const size_t checked = elements == 8 ? 3 : 6;
        QVERIFY2(found.Bending.size() >= checked, qPrintable(QString::number(elements)));
        for (size_t n = 1; n <= checked; ++n) {
            const double error = Relative(found.Bending[n - 1], n * n * base);
            const double bound = elements == 8     ? 2e-5 * static_cast<double>(n * n * n * n)
                                 : elements == 200 ? 1e-7
                                                   : 1e-9;
            QVERIFY2(
                error < bound,
                qPrintable(
                    QStringLiteral("%1 elements, mode %2: %3").arg(elements).arg(n).arg(error)));
        }
    }
}

// A disc at mid-span of a shaft without weight: f = sqrt(48 EI / (m L^3)) / (2 pi), exactly,
// since cubic elements are exact for a point load. The shaft's unknowns carry no mass; the
// disc has no inertia, so it is the only mode, and torsion has none.
void TestShaft::discOnLightShaft() {
    const double length = 1.2, d = 0.04, m = 0.05;
    const double expected =
        std::sqrt(48 * E * Inertia(d) / (m * length * length * length)) / (2 * Pi);
    for (const int elements : {2, 8, 400}) {
        const SolverFiles::Run run(
            QStringLiteral("Gimbro"), QStringLiteral("s.d12"),
            Shaft(length, elements, d, 0,
                  {QStringLiteral("1 0"), QStringLiteral("%1 0").arg(elements + 1)},
                  {QStringLiteral("%1 %2 0 0").arg(elements / 2 + 1).arg(m)}, 3));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        const QJsonArray modes = run.Json()[QStringLiteral("modes")].toArray();
        QCOMPARE(modes.size(), 1);
        // Exact but for the rounding, which grows with the condition of a long fine mesh.
        QVERIFY2(Relative(modes[0][QStringLiteral("frequency")].toDouble(), expected) <
                     (elements < 100 ? 1e-12 : 1e-7),
                 qPrintable(QStringLiteral("%1 elements: %2 Hz against %3")
                                .arg(elements)
                                .arg(modes[0][QStringLiteral("frequency")].toDouble())
                                .arg(expected)));
        QCOMPARE(modes[0][QStringLiteral("kind")].toString(), QStringLiteral("bending"));
        // The shape is the static deflection line, 1 under the disc and 0 on the bearings.
        const QJsonArray shape = modes[0][QStringLiteral("shape")].toArray();
        QCOMPARE(shape.size(), elements + 1);
        QCOMPARE(shape[elements / 2][1].toDouble(), 1.0);
        QCOMPARE(shape[0][1].toDouble(), 0.0);
        QVERIFY2(elements == 2 || std::abs(shape[elements / 4][1].toDouble() - 11.0 / 16) < 1e-7,
                 qPrintable(QString::number(shape[elements / 4][1].toDouble() - 11.0 / 16)));
        QVERIFY(run.Outcome().Protocol.contains(QStringLiteral("Only 1 mode exists")));
        QVERIFY(run.Outcome().Protocol.contains(QStringLiteral("No torsion modes")));
    }
}

// The same disc on springy bearings: the shaft's 48 EI / L^3 in series with the two
// bearings side by side; and on the way to rigid, a very stiff bearing gives the rigid answer.
void TestShaft::discOnElasticBearings() {
    const double length = 1.0, d = 0.05, m = 0.1, k = 3.0e4;
    const double shaft = 48 * E * Inertia(d) / (length * length * length);
    const auto frequency = [&](double bearing) {
        const double stiffness = 1 / (1 / shaft + 1 / (2 * bearing));
        return std::sqrt(stiffness / m) / (2 * Pi);
    };
    for (const double bearing : {k, 1e3 * shaft}) {
        const Frequencies found =
            Solve(Shaft(length, 4, d, 0,
                        {QStringLiteral("1 %1").arg(bearing), QStringLiteral("5 %1").arg(bearing)},
                        {QStringLiteral("3 %1 0 0").arg(m)}, 2));
        QCOMPARE(found.Bending.size(), size_t(1));
        QVERIFY(Relative(found.Bending[0], frequency(bearing)) < 1e-9);
    }
    // A spring on one side only: the disc's chord moves half as far as the spring, which
    // takes half the load, and the shaft bends under it as on rigid bearings.
    const Frequencies uneven =
        Solve(Shaft(length, 4, d, 0, {QStringLiteral("1 0"), QStringLiteral("5 %1").arg(k)},
                    {QStringLiteral("3 %1 0 0").arg(m)}, 2));
    QCOMPARE(uneven.Bending.size(), size_t(1));
    const double stiffness = 1 / (1 / (4 * k) + 1 / shaft);
    QVERIFY(Relative(uneven.Bending[0], std::sqrt(stiffness / m) / (2 * Pi)) < 1e-9);
}

// Two discs on a light shaft in torsion: omega^2 = k (J1 + J2) / (J1 J2) with k = G Ip / L;
// the free turning of the whole (omega = 0) is not listed.
void TestShaft::twoDiscsInTorsion() {
    const double length = 0.8, d = 0.03, j1 = 2e-3, j2 = 5e-3;
    const double k = E / (2 * (1 + Nu)) * 2 * Inertia(d) / length;
    const double expected = std::sqrt(k * (j1 + j2) / (j1 * j2)) / (2 * Pi);
    for (const int elements : {1, 5, 300}) {
        const SolverFiles::Run run(
            QStringLiteral("Gimbro"), QStringLiteral("s.d12"),
            Shaft(length, elements, d, 0,
                  {QStringLiteral("1 0"), QStringLiteral("%1 0").arg(elements + 1)},
                  {QStringLiteral("1 0 %1 0").arg(j1),
                   QStringLiteral("%1 0 %2 0").arg(elements + 1).arg(j2)},
                  4));
        QVERIFY2(run.Ok(), qPrintable(run.Error()));
        const QJsonArray modes = run.Json()[QStringLiteral("modes")].toArray();
        QCOMPARE(modes.size(), 1);
        QCOMPARE(modes[0][QStringLiteral("kind")].toString(), QStringLiteral("torsion"));
        QVERIFY(Relative(modes[0][QStringLiteral("frequency")].toDouble(), expected) < 1e-9);
        // The discs turn against each other, the lighter one further: phi1 / phi2 = -J2 / J1.
        const QJsonArray shape = modes[0][QStringLiteral("shape")].toArray();
        QCOMPARE(shape[0].toArray().size(), 2);
        QVERIFY(std::abs(shape[0][1].toDouble() - 1) < 1e-12);
        QVERIFY(std::abs(shape[elements][1].toDouble() + j1 / j2) < 1e-9);
        QVERIFY(run.Outcome().Protocol.contains(
            QStringLiteral("Rigid motions left out: 0 in bending, 1 in torsion.")));
    }
    // On one rigid bearing under the first disc, the discs with masses and diametral inertia
    // (the first one's mass where nothing moves): the same torsion mode, and two bending
    // modes beside the free tilting about the bearing.
    const SolverFiles::Run one(
        QStringLiteral("Gimbro"), QStringLiteral("s.d12"),
        Shaft(length, 3, d, 0, {QStringLiteral("1 0")},
              {QStringLiteral("1 0.01 %1 5e-5").arg(j1), QStringLiteral("4 0.02 %1 1e-4").arg(j2)},
              4));
    QVERIFY2(one.Ok(), qPrintable(one.Error()));
    const Frequencies found = Found(one);
    QCOMPARE(found.Torsion.size(), size_t(1));
    QVERIFY(Relative(found.Torsion[0], expected) < 1e-9);
    QCOMPARE(found.Bending.size(), size_t(2));
    QVERIFY(one.Outcome().Protocol.contains(
        QStringLiteral("Rigid motions left out: 1 in bending, 1 in torsion.")));
}

// A uniform shaft on one bearing at its end: it tilts freely about it, which is no mode; its
// first bending mode is that of a pinned-free beam (beta L = 3.9266), and it turns freely, its
// first torsion mode that of a free-free bar (pi / L sqrt(G / rho)). Both kinds come in one
// list, lowest first.
void TestShaft::rigidMotionsLeftOut() {
    const double length = 3.0, d = 0.1;
    const double rhoA = Gamma / G * Area(d);
    const double beta = 3.926602312 / length;
    const double bending = beta * beta * std::sqrt(E * Inertia(d) / rhoA) / (2 * Pi);
    const double torsion = Pi / length * std::sqrt(E / (2 * (1 + Nu)) / (Gamma / G)) / (2 * Pi);
    const SolverFiles::Run run(QStringLiteral("Gimbro"), QStringLiteral("s.d12"),
                               Shaft(length, 60, d, Gamma, {QStringLiteral("1 0")}, {}, 8));
    QVERIFY2(run.Ok(), qPrintable(run.Error()));
    const Frequencies found = Found(run);
    QVERIFY(!found.Bending.empty() && !found.Torsion.empty());
    QVERIFY2(Relative(found.Bending[0], bending) < 1e-6,
             qPrintable(QString::number(found.Bending[0])));
    QVERIFY2(Relative(found.Torsion[0], torsion) < 1e-3,
             qPrintable(QString::number(found.Torsion[0])));
    QVERIFY(found.Bending[0] > 1.0 && found.Torsion[0] > 1.0);
    const QString& protocol = run.Outcome().Protocol;
    QVERIFY(
        protocol.contains(QStringLiteral("Rigid motions left out: 1 in bending, 1 in torsion.")));
    QVERIFY(protocol.contains(QStringLiteral("rests on one bearing only (node 1, line")));
    double previous = 0;
    for (const QJsonValue mode : run.Json()[QStringLiteral("modes")].toArray()) {
        QVERIFY(mode[QStringLiteral("frequency")].toDouble() >= previous);
        previous = mode[QStringLiteral("frequency")].toDouble();
    }
    QCOMPARE(run.Json()[QStringLiteral("modes")].toArray().size(), 8);
}

// Three equal discs on a light shaft, at both ends and in the middle, resting on one soft
// spring in the middle: the middle swings against the ends at omega^2 = 72 EI / (m L^3) (the
// beam's 48 EI / L^3 for the middle's mass and half as much again for the ends' recoil), and
// the whole bounces on the spring far lower; the tilting about the middle is rigid.
void TestShaft::masslessRigidMotion() {
    const double length = 2.0, d = 0.06, m = 0.2;
    const double expected =
        std::sqrt(72 * E * Inertia(d) / (m * length * length * length)) / (2 * Pi);
    const Frequencies three =
        Solve(Shaft(length, 4, d, 0, {QStringLiteral("3 1e-6")},
                    {QStringLiteral("1 %1 0 0").arg(m), QStringLiteral("3 %1 0 0").arg(m),
                     QStringLiteral("5 %1 0 0").arg(m)},
                    4));
    QCOMPARE(three.Bending.size(), size_t(2));
    QVERIFY(Relative(three.Bending.back(), expected) < 1e-6);
    QVERIFY(three.Bending.front() < 1e-3 * expected);

    // A disc on the only bearing, a spring, without diametral inertia: the tilting about it
    // moves no mass and is held aside; the disc bounces on the spring alone at k / m.
    QString error;
    const double k = 5e3;
    const Frequencies alone = Solve(
        Shaft(length, 4, d, 0, {QStringLiteral("3 %1").arg(k)}, {QStringLiteral("3 0.5 0 0")}, 4),
        &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(alone.Bending.size(), size_t(1));
    QVERIFY(Relative(alone.Bending[0], std::sqrt(k / 0.5) / (2 * Pi)) < 1e-9);
}

// The shifted factorisation belongs to the modal analysis, not to the shaft: a straight beam
// of space frame bars on no support at all moves freely in six ways; the turning about its
// axis carries no mass (the bars have no polar inertia) and is held at one node, the other
// five are left out, and the lowest frequency is the free-free beam's
// (4.7300408 / L)^2 sqrt(EI / rho A) in its weaker plane (40 cubic elements: within 1e-6).
void TestShaft::freeBeamOfBars() {
    const double length = 10;
    const int pieces = 40;
    BarModel model;
    model.Axes = ProblemType::Layout::Space;
    model.LengthUnit = QStringLiteral("m");
    for (int i = 0; i <= pieces; ++i)
        model.Nodes.push_back({length * i / pieces, 0, 0});
    BarModel::Bar bar{0, 0, E, 8e7, 0.01, 2e-6, 8e-5, 3e-5, 0, Gamma};
    for (int e = 0; e < pieces; ++e) {
        bar.I = e;
        bar.J = e + 1;
        model.Bars.push_back(bar);
    }
    std::vector<std::unique_ptr<BarElement>> elements;
    std::vector<const Element*> pointers;
    for (const BarModel::Bar& each : model.Bars) {
        elements.push_back(std::make_unique<BarElement>(model, each));
        pointers.push_back(elements.back().get());
    }
    EquationSystem system(pieces + 1, pointers, {});
    const std::vector<bool> none(6 * static_cast<size_t>(pieces + 1), false);
    std::vector<bool> turning = none;
    turning[3] = true;
    system.Prepare({0, 1, 2, 3, 4, 5}, system.StiffnessDiagonal(), {turning, none}, false);
    // A smooth motion with strain for the scale of the values: e^(x / L) across the weak axis.
    Eigen::VectorXd smooth = Eigen::VectorXd::Zero(system.Equations());
    for (int node = 0; node <= pieces; ++node) {
        const double x = length * node / pieces;
        smooth[system.Equation(node, 1)] = std::exp(x / length);
        smooth[system.Equation(node, 5)] = std::exp(x / length) / length;
    }
    ModalAnalysis::Shifted shifted;
    shifted.Rigid = 5;
    shifted.Guesses = {smooth};
    const ModalAnalysis::ShiftedFound found = ModalAnalysis::Natural(system, {}, 2, shifted);
    QVERIFY(!found.Massless);
    QCOMPARE(found.Modes.size(), size_t(2));
    const double rhoA = elements.front()->TotalMass() / (length / pieces);
    const double beta = 4.7300408 / length;
    const double expected = beta * beta * std::sqrt(E * 3e-5 / rhoA);
    QVERIFY2(Relative(std::sqrt(found.Modes[0].Lambda), expected) < 1e-6,
             qPrintable(QString::number(std::sqrt(found.Modes[0].Lambda) / expected - 1)));
}

// Models that have nothing to swing are refused with the line to mend; files the checker
// refuses keep its verdict.
void TestShaft::refusals() {
    QString error;
    Solve(Shaft(1.0, 4, 0.05, 0, {QStringLiteral("1 0"), QStringLiteral("5 0")}), &error);
    QVERIFY2(error.contains(QStringLiteral("no mass")) &&
                 error.contains(QStringLiteral("table 2, line 13")),
             qPrintable(error));
    // Discs whose mass cannot move (on the rigid bearings) and turn (no Jp): nothing either.
    Solve(Shaft(1.0, 4, 0.05, 0, {QStringLiteral("1 0"), QStringLiteral("5 0")},
                {QStringLiteral("1 0.5 0 0")}),
          &error);
    QVERIFY2(error.contains(QStringLiteral("no mass")), qPrintable(error));
    QByteArray hollow = Shaft(1.0, 2, 0.05, Gamma, {QStringLiteral("1 0")});
    hollow.replace("# 1 0.05 0", "# 1 0.05 0.05");
    Solve(hollow, &error);
    QVERIFY2(error.startsWith(QStringLiteral("Line ")) && error.contains(QStringLiteral("inner")),
             qPrintable(error));
    // The example with a shaft stiffer than its spring bearing by more than the arithmetic's
    // digits: at E = 1e40 its lowest mode came out as 25,203 Hz for 583 Hz, at 1e200 the
    // eigen-solver threw. Both are refused.
    const QByteArray example = ProgramRun::ReadFile(QStringLiteral(SOLVERS_EXAMPLES "/shaft.d12"));
    for (const char* modulus : {"1E40 ", "1E200"}) {
        Solve(QByteArray(example).replace("2.1E8", modulus), &error);
        QVERIFY2(error.contains(QStringLiteral("out of proportion")), qPrintable(error));
    }
}

// The program as batch runs start it: JSON with the shapes by node, and the report with its
// table and plots, which without a result file the window shows itself.
void TestShaft::programAnswers() {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("disc.d12"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Shaft(1.0, 4, 0.05, Gamma, {QStringLiteral("1 0"), QStringLiteral("5 0")},
                     {QStringLiteral("3 0.01 1e-4 5e-5")}, 3));
    file.close();
    const SolverEntry gimbro = *SolverEntry::Named(QStringLiteral("Gimbro"));
    QCOMPARE(gimbro.Problem, 12);
    QVERIFY(gimbro.ResultExtension.isEmpty());

    const SolverCommand::Outcome json =
        SolverCommand::Run(gimbro, {QStringLiteral("--json"), path}, directory.path());
    QCOMPARE(json.ExitCode, 0);
    const QJsonArray modes =
        QJsonDocument::fromJson(json.StandardOutput).object()[QStringLiteral("modes")].toArray();
    QCOMPARE(modes.size(), 3);
    for (const QJsonValue mode : modes) {
        const double f = mode[QStringLiteral("frequency")].toDouble();
        QVERIFY(std::abs(mode[QStringLiteral("period")].toDouble() * f - 1) < 1e-12);
        QVERIFY(std::abs(mode[QStringLiteral("circular")].toDouble() - 2 * Pi * f) < 1e-9 * f);
        const bool bending = mode[QStringLiteral("kind")].toString() == QLatin1String("bending");
        const QJsonArray shape = mode[QStringLiteral("shape")].toArray();
        QCOMPARE(shape.size(), 5);
        QCOMPARE(shape[4].toArray().size(), bending ? 3 : 2);
        QCOMPARE(shape[4][0].toInt(), 5);
    }
    // A symmetric shaft: the first bending mode bulges at the disc, the second is odd.
    QCOMPARE(modes[0][QStringLiteral("kind")].toString(), QStringLiteral("bending"));
    QCOMPARE(modes[0][QStringLiteral("shape")][2][1].toDouble(), 1.0);

    const SolverCommand::Outcome plain =
        SolverCommand::Run(gimbro, {path, QStringLiteral("S")}, directory.path());
    QCOMPARE(plain.ExitCode, 0);
    QVERIFY(plain.ResultPath.isEmpty());
    QVERIFY(!QFileInfo::exists(directory.filePath(QStringLiteral("disc."))));
    QVERIFY(QFileInfo::exists(directory.filePath(QStringLiteral("disc.rpt"))));
    const QString& report = plain.Protocol;
    QVERIFY(report.contains(QStringLiteral("Nodes 5, elements 4, bearings 2 (2 rigid), discs 1")));
    QVERIFY(report.contains(QStringLiteral("Euler-Bernoulli")));
    QVERIFY(report.contains(QStringLiteral("Mode  kind      frequency [Hz]")));
    QVERIFY(report.contains(QStringLiteral("   1  bending ")));
    // The first mode's plot: the curve's top in the middle of the first row, the bearings
    // and the disc marked below the span.
    const qsizetype plot = report.indexOf(QStringLiteral("Mode 1, bending"));
    QVERIFY(plot > 0);
    const QStringList lines = report.mid(plot).split(u'\n');
    QVERIFY(lines[1].startsWith(QStringLiteral("  +1 |")));
    QCOMPARE(lines[1].indexOf(u'*') + lines[1].lastIndexOf(u'*'), 2 * (6 + 30));
    QCOMPARE(lines[5].left(7), QStringLiteral("   0 |*"));
    QCOMPARE(lines[10].trimmed(),
             QStringLiteral("^") + QString(29, u' ') + u'o' + QString(29, u' ') + u'^');
    QVERIFY(lines[12].contains(QStringLiteral("Node            x            v        theta")));
    QCOMPARE(SolverLaunch::AfterRun(gimbro, plain), SolverLaunch::Ending::ShowReport);
}

// The example of the manual and the propeller shaft shipped beside it solve; the propeller
// shaft's flywheel and propeller twist against each other near the two-disc estimate.
void TestShaft::shippedModels() {
    for (const QString& name : {QStringLiteral(SOLVERS_EXAMPLES "/shaft.d12"),
                                QStringLiteral(SOLVERS_MODELS "/propshaft.d12")}) {
        const SolverOutcome outcome =
            SolverCommand::Solve(*SolverEntry::Named(QStringLiteral("Gimbro")), name);
        QVERIFY(outcome.Json[QStringLiteral("modes")].toArray().size() >= 3);
    }
    const SolverOutcome propeller =
        SolverCommand::Solve(*SolverEntry::Named(QStringLiteral("Gimbro")),
                             QStringLiteral(SOLVERS_MODELS "/propshaft.d12"));
    double torsion = 0;
    for (const QJsonValue mode : propeller.Json[QStringLiteral("modes")].toArray())
        if (mode[QStringLiteral("kind")].toString() == QLatin1String("torsion") && torsion == 0)
            torsion = mode[QStringLiteral("frequency")].toDouble();
    // The shaft's own inertia and its thicker part lower it a little.
    const double k = E / (2 * (1 + Nu)) * 2 * Inertia(0.25) / 8.0;
    const double estimate = std::sqrt(k * (0.1156 + 0.6) / (0.1156 * 0.6)) / (2 * Pi);
    QVERIFY2(torsion > 0.8 * estimate && torsion < 1.2 * estimate,
             qPrintable(QStringLiteral("%1 against %2").arg(torsion).arg(estimate)));
}

QTEST_GUILESS_MAIN(TestShaft)
#include "tst_shaft.moc"
