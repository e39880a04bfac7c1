#include "DesignAcceleration.h"
#include "ForcedVibration.h"
#include "ModalResponse.h"
#include "SolverError.h"

#include <Eigen/LU>
#include <QtTest>
#include <cmath>
#include <numbers>

namespace {

using ModalResponse::Basis;
using SparseMatrix = ModalResponse::SparseMatrix;

constexpr double Pi = std::numbers::pi;

SparseMatrix Diagonal(const std::vector<double>& values) {
    SparseMatrix m(static_cast<Eigen::Index>(values.size()),
                   static_cast<Eigen::Index>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        m.insert(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(i)) = values[i];
    return m;
}

// The modes of three equal storeys, each of stiffness over mass `ratio`: w_n^2 = 4 ratio
// sin^2((2n - 1) pi / 14), the shapes sin((2n - 1) j pi / 7), j the storey.
std::pair<std::vector<double>, std::vector<Eigen::VectorXd>> ShearBuilding(double ratio) {
    std::vector<double> lambdas;
    std::vector<Eigen::VectorXd> shapes;
    for (int n = 1; n <= 3; ++n) {
        const double s = std::sin((2 * n - 1) * Pi / 14);
        lambdas.push_back(4 * ratio * s * s);
        Eigen::VectorXd shape(3);
        for (int j = 1; j <= 3; ++j)
            shape[j - 1] = std::sin((2 * n - 1) * j * Pi / 7);
        shapes.push_back(shape);
    }
    return {lambdas, shapes};
}

bool Close(double actual, double expected, double tolerance) {
    return std::abs(actual - expected) <= tolerance * std::max(1.0, std::abs(expected));
}

} // namespace

// The modal response against the closed forms of structural dynamics.
class TestModalResponse : public QObject {
    Q_OBJECT

private slots:
    void singleDegreeOfFreedom();
    void shearBuildingUnderASpectrum();
    void shearBuildingExcited();
};

void TestModalResponse::singleDegreeOfFreedom() {
    // A mass of 2 t on a spring of 2 (2 pi)^2 kN/m: 1 Hz. Tolerance 1e-9 unless said.
    const double m = 2, w = 2 * Pi, k = m * w * w, force = 3;
    const SparseMatrix mass = Diagonal({m});
    const Basis basis = Basis::Of({w * w}, {Eigen::VectorXd::Constant(1, 5.0)}, mass);
    QVERIFY(Close(basis.Shapes(0, 0), 1 / std::sqrt(m), 1e-12));

    // Harmonic: the amplification 1 / sqrt((1 - r^2)^2 + (2 zeta r)^2) of the static
    // deflection, behind the force by atan(2 zeta r / (1 - r^2)).
    const double zeta = 0.05;
    for (const double r : {0.5, 1.0, 2.0}) {
        const std::complex<double> u =
            ModalResponse::Harmonic(basis, Eigen::VectorXd::Constant(1, zeta),
                                    Eigen::VectorXd::Constant(1, force), r * w)[0];
        const double amplification =
            1 / std::sqrt((1 - r * r) * (1 - r * r) + (2 * zeta * r) * (2 * zeta * r));
        QVERIFY(Close(std::abs(u) / (force / k), amplification, 1e-12));
        QVERIFY(Close(std::arg(u), -std::atan2(2 * zeta * r, 1 - r * r), 1e-12));
    }

    // A step load on the undamped mass: u = F/k (1 - cos w t), twice the static deflection
    // half a period on. The steps are exact for loads linear between instants.
    const int steps = 1000;
    const double period = 1, dt = period / steps;
    const Eigen::MatrixXd step = ModalResponse::History(
        basis, Eigen::VectorXd::Zero(1), dt, steps, [&](double, Eigen::VectorXd& p) {
            p = basis.Shapes.transpose() * Eigen::VectorXd::Constant(1, force);
        });
    const double peak = step(0, steps / 2) * basis.Shapes(0, 0);
    QVERIFY(Close(peak, 2 * force / k, 1e-9));
    QVERIFY(Close(step.row(0).maxCoeff() * basis.Shapes(0, 0), 2 * force / k, 1e-9));

    // Free decay after a short pulse: one damped period on, the motion is e^(-zeta w T_D)
    // times what it was, a logarithmic decrement of 2 pi zeta / sqrt(1 - zeta^2).
    const double damped = period / std::sqrt(1 - zeta * zeta);
    const double h = damped / 400;
    const Eigen::MatrixXd decay = ModalResponse::History(
        basis, Eigen::VectorXd::Constant(1, zeta), h, 1600, [&](double t, Eigen::VectorXd& p) {
            p = Eigen::VectorXd::Constant(1, t < 0.05 ? force : 0.0);
        });
    for (const int at : {450, 700, 1000})
        QVERIFY(Close(std::log(decay(0, at) / decay(0, at + 400)),
                      2 * Pi * zeta / std::sqrt(1 - zeta * zeta), 1e-9));
}

void TestModalResponse::shearBuildingUnderASpectrum() {
    // Three equal storeys of mass m on columns of storey stiffness k: w_n^2 = 4 k/m
    // sin^2((2n - 1) pi / 14) with the shapes sin((2n - 1) j pi / 7), j the storey. Under the
    // spectrum of EN 1998-1 (type 1, ground C, ag = 2.5 m/s^2, 5 %), each mode's base shear,
    // the force in the lowest columns, is Sa(T_n) times its effective mass, and the effective
    // masses add up to the building's. The modes lie far apart: CQC is SRSS within 1 %.
    const double m = 100, k = 1.0e5; // t, kN/m
    const SparseMatrix mass = Diagonal({m, m, m});
    const auto [lambdas, shapes] = ShearBuilding(k / m);
    const Basis basis = Basis::Of(lambdas, shapes, mass);
    const ModalResponse::Participation p =
        ModalResponse::Participate(basis, mass, Eigen::VectorXd::Ones(3));
    QVERIFY(Close(p.Total, 3 * m, 1e-12) && Close(p.Share(), 1, 1e-12));

    QString fault;
    const DesignAcceleration spectrum = DesignAcceleration::Eurocode({1, 'C', 2.5, 0.05}, fault);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    // The standard's ground C, type 1: S 1.15, TC 0.6 s: at 1 s, 2.5 ag S TC / T.
    QVERIFY(Close(spectrum.At(1.0), 2.5 * 2.5 * 1.15 * 0.6, 1e-12));
    QVERIFY(Close(spectrum.At(0), 2.5 * 1.15, 1e-12));

    Eigen::MatrixXd shears(1, 3);
    for (Eigen::Index n = 0; n < 3; ++n) {
        const double w = basis.Omega[n];
        const double sa = spectrum.At(2 * Pi / w);
        // The mode's peak displacements, and the force in the lowest storey's columns.
        const Eigen::VectorXd u = basis.Shapes.col(n) * (p.Factors[n] * sa / (w * w));
        shears(0, n) = k * u[0];
        QVERIFY(Close(std::abs(shears(0, n)), sa * p.Effective[n], 1e-12));
    }
    const Eigen::VectorXd zeta = Eigen::VectorXd::Constant(3, 0.05);
    const double srss =
        ModalResponse::Combine(shears, basis.Omega, zeta, ModalResponse::Rule::Srss)[0];
    const double cqc =
        ModalResponse::Combine(shears, basis.Omega, zeta, ModalResponse::Rule::Cqc)[0];
    QVERIFY(Close(srss, shears.row(0).norm(), 1e-12));
    QVERIFY(std::abs(cqc / srss - 1) < 0.01);
    // Two modes at one frequency move as one: CQC adds them, SRSS does not.
    Eigen::MatrixXd twins(1, 2);
    twins << 3, 4;
    QVERIFY(Close(ModalResponse::Combine(twins, Eigen::Vector2d(5, 5), Eigen::Vector2d(0.05, 0.05),
                                         ModalResponse::Rule::Cqc)[0],
                  7, 1e-12));
    // Directions: SRSS, and the larger of each in full with 30 % of the others.
    const Eigen::VectorXd x = Eigen::VectorXd::Constant(1, 10),
                          y = Eigen::VectorXd::Constant(1, -4);
    QVERIFY(Close(ModalResponse::Combine({x, y}, ModalResponse::Directions::Srss)[0],
                  std::sqrt(116.0), 1e-12));
    QVERIFY(Close(ModalResponse::Combine({x, y}, ModalResponse::Directions::Rule100And30)[0], 11.2,
                  1e-12));
}

void TestModalResponse::shearBuildingExcited() {
    // The three storeys again, as a model of three nodes moving along x, excited through the
    // dynamic tables' excitations. Undamped with every mode kept, a harmonic force at the top
    // gives (K - W^2 M)^-1 F; a step of ground acceleration a gives relative motions
    // sum phi Gamma (-a / w^2)(1 - cos w t); a spectrum's base shear is k times the lowest
    // storey's combined drift, both combined alike. Tolerance 1e-9.
    const double m = 100, k = 1.0e5;
    SparseMatrix stiffness(3, 3), mass = Diagonal({m, m, m});
    stiffness.insert(0, 0) = 2 * k;
    stiffness.insert(0, 1) = -k;
    stiffness.insert(1, 1) = 2 * k;
    stiffness.insert(1, 2) = -k;
    stiffness.insert(2, 2) = k;
    const auto [lambdas, shapes] = ShearBuilding(k / m);
    ForcedVibration::Model model;
    model.Stiffness = &stiffness;
    model.Mass = &mass;
    model.Modes = Basis::Of(lambdas, shapes, mass);
    model.Nodes = 3;
    model.Equation = [](int node, int component) { return component == 0 ? node : -1; };

    ForcedVibration::Excitations x;
    x.Damping = {0, 0, 0};
    x.List = {{1, ForcedVibration::Harmonic{2.0, 2.0, 1}},
              {2, ForcedVibration::History{0, 1.0, 0.001}},
              {3, ForcedVibration::Spectrum{}}};
    x.Loads = {{1, 2, {50, 0, 0, 0, 0, 0}}};
    x.Ground = {{2, 0, 1, 0.3}, {3, 0, 1, 0.25}};
    x.Value = [](int, double) { return 1.0; }; // a step
    QString fault;
    x.Spectra.emplace(1, DesignAcceleration::Eurocode({1, 'B', 1, 0.05}, fault));
    const std::vector<ForcedVibration::Response> r = ForcedVibration::Solve(model, x);
    QCOMPARE(r.size(), size_t(3));

    Eigen::Matrix3d kd;
    kd << 2 * k, -k, 0, -k, 2 * k, -k, 0, -k, k;
    const double w = 2 * Pi * 2.0;
    const Eigen::Vector3d exact =
        (kd - w * w * m * Eigen::Matrix3d::Identity()).lu().solve(Eigen::Vector3d(0, 0, 50));
    const auto& harmonic = std::get<ForcedVibration::HarmonicResponse>(r[0].Result);
    for (int j = 0; j < 3; ++j)
        QVERIFY(Close(harmonic.Amplitudes(model, 0)[j].real(), exact[j], 1e-9));

    const auto& history = std::get<ForcedVibration::HistoryResponse>(r[1].Result);
    const double a = 0.3 * x.Gravity;
    const ModalResponse::Participation p = ForcedVibration::Participation(model, 0);
    for (const int step : {137, 1000}) {
        const double t = history.Times[static_cast<size_t>(step)];
        Eigen::Vector3d u = Eigen::Vector3d::Zero();
        for (int n = 0; n < 3; ++n) {
            const double wn = model.Modes.Omega[n];
            u += model.Modes.Shapes.col(n) *
                 (p.Factors[n] * -a / (wn * wn) * (1 - std::cos(wn * t)));
        }
        for (int j = 0; j < 3; ++j)
            QVERIFY(Close(history.Motion(model, static_cast<size_t>(step))[j], u[j], 1e-9));
    }

    const auto& spectrum = std::get<ForcedVibration::SpectrumResponse>(r[2].Result);
    QVERIFY(Close(spectrum.BaseShear[0], k * spectrum.Displacements[0], 1e-9));

    // A ground shaking at 1.5 Hz for 2 s, 5 % damped (Rayleigh through the two lowest modes
    // for direct integration): the modes and Newmark's steps on all the equations agree on
    // the peaks of every storey within 1 %.
    x.Damping = {0.05, 0.05, 0.05};
    x.Value = [](int, double t) { return t < 2 ? std::sin(2 * Pi * 1.5 * t) : 0.0; };
    x.List = {{1, ForcedVibration::History{0, 3.0, 0.002, false}},
              {2, ForcedVibration::History{0, 3.0, 0.002, true}}};
    x.Ground = {{1, 0, 1, 0.2}, {2, 0, 1, 0.2}};
    const std::vector<ForcedVibration::Response> both = ForcedVibration::Solve(model, x);
    const auto& modal = std::get<ForcedVibration::HistoryResponse>(both[0].Result);
    const auto& direct = std::get<ForcedVibration::HistoryResponse>(both[1].Result);
    for (int j = 0; j < 3; ++j) {
        QVERIFY(std::abs(direct.Peaks.Max[j] / modal.Peaks.Max[j] - 1) < 0.01);
        QVERIFY(std::abs(direct.Peaks.Min[j] / modal.Peaks.Min[j] - 1) < 0.01);
    }

    // Undamped and driven exactly at its first frequency, the building has no steady state:
    // refused with the cure named, rather than infinite amplitudes listed.
    x.Damping = {0, 0, 0};
    x.List = {{1, ForcedVibration::Harmonic{2.0, 2.0, 1}}};
    model.Modes.Omega[0] = 2 * Pi * 2.0;
    try {
        ForcedVibration::Solve(model, x);
        QFAIL("an undamped resonance was solved");
    } catch (const SolverError& error) {
        QVERIFY(error.Text().contains(QStringLiteral("give it damping in table 20")));
    }
}

QTEST_MAIN(TestModalResponse)
#include "tst_modalresponse.moc"
