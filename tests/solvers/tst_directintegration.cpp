#include "DirectIntegration.h"
#include "SolverError.h"
#include "SolverFiles.h"
#include "TimeFunction.h"

#include <Eigen/Dense>
#include <QtTest>
#include <cmath>
#include <limits>
#include <numbers>

using DirectIntegration::Newmark;
using DirectIntegration::Rayleigh;

// Functions of time, and Newmark's average acceleration against closed forms: the step load's
// overshoot, the energy it keeps and the periods it lengthens, Rayleigh damping of two modes,
// and a load history on two storeys against their modal solution.
class TestDirectIntegration : public QObject {
    Q_OBJECT

private:
    using SparseMatrix = DirectIntegration::SparseMatrix;
    static constexpr double Pi = std::numbers::pi;

    // The upper triangle of a symmetric 2 x 2 matrix.
    static SparseMatrix Upper(double a00, double a01, double a11) {
        SparseMatrix m(2, 2);
        m.insert(0, 0) = a00;
        if (a01 != 0)
            m.insert(0, 1) = a01;
        m.insert(1, 1) = a11;
        m.makeCompressed();
        return m;
    }
    static SparseMatrix Scalar(double value) {
        SparseMatrix m(1, 1);
        m.insert(0, 0) = value;
        m.makeCompressed();
        return m;
    }
    static TimeFunction Made(const TimeFunction::Made& made) {
        if (!made.Error.isEmpty())
            qFatal("%s", qPrintable(made.Error));
        return made.Function;
    }

    // The natural circular frequencies and mass-normalised modes (columns) of a 2 x 2 system.
    struct Modes {
        Eigen::Vector2d Omega;
        Eigen::Matrix2d Shapes;
    };
    static Modes Solve(const SparseMatrix& k, const SparseMatrix& m) {
        const Eigen::Matrix2d kd = Eigen::MatrixXd(k).selfadjointView<Eigen::Upper>();
        const Eigen::Matrix2d md = Eigen::MatrixXd(m).selfadjointView<Eigen::Upper>();
        const Eigen::GeneralizedSelfAdjointEigenSolver<Eigen::Matrix2d> eigen(kd, md);
        return {eigen.eigenvalues().cwiseSqrt(), eigen.eigenvectors()};
    }

    // An undamped oscillator of unit mass and circular frequency w, at (q, v), after `tau` under
    // a force going linearly from p0 (at the start) to p1 (at `length`): the exact solution
    // of each piece of a piecewise-linear load.
    static void Advance(double& q, double& v, double w, double p0, double p1, double length,
                        double tau) {
        const double k = w * w, slope = (p1 - p0) / length;
        const double c = std::cos(w * tau), s = std::sin(w * tau);
        const double q1 = q * c + v / w * s + p0 / k * (1 - c) + slope / k * (tau - s / w);
        const double v1 = -q * w * s + v * c + p0 / k * w * s + slope / k * (1 - c);
        q = q1;
        v = v1;
    }

private slots:
    // Tables and formulas at and between their breaks; each takes the value after a jump.
    void timeFunctions() {
        const TimeFunction table = Made(TimeFunction::Table(1, {{0.5, 2}, {1.5, -2}, {2, 0.5}}));
        QCOMPARE(table.At(0.4999), 0.0);
        QCOMPARE(table.At(0.5), 2.0);
        QCOMPARE(table.At(1.25), -1.0);
        QCOMPARE(table.At(1.75), -0.75);
        QCOMPARE(table.At(2.0), 0.5); // the last point's own value
        QCOMPARE(table.At(2.0001), 0.0);
        QCOMPARE(table.Breaks(), (std::vector<double>{0.5, 1.5, 2}));

        const TimeFunction sine = Made(TimeFunction::Sine(2, 3, 2, 30, 1, 2));
        QCOMPARE(sine.At(0.99), 0.0);
        QV_COMPARE_NEAR(sine.At(1), 1.5, 1e-14);                // 3 sin 30 degrees
        QV_COMPARE_NEAR(sine.At(1.25 + 1.0 / 12), -3.0, 1e-14); // 4 pi (t - 1) + pi / 6 = 3/2 pi
        QCOMPARE(sine.At(2), 0.0);
        QCOMPARE(sine.Breaks(), (std::vector<double>{1, 2}));
        const TimeFunction endless =
            Made(TimeFunction::Sine(2, 1, 0.5, 90, 0, std::numeric_limits<double>::infinity()));
        QV_COMPARE_NEAR(endless.At(1e3), 1.0, 1e-12);
        QCOMPARE(endless.Breaks(), std::vector<double>{0});

        const TimeFunction pulse = Made(TimeFunction::Pulse(3, 5, 0.2, 0.3));
        QCOMPARE(pulse.At(0.1999), 0.0);
        QCOMPARE(pulse.At(0.2), 5.0);
        QCOMPARE(pulse.At(0.4999), 5.0);
        QCOMPARE(pulse.At(0.5), 0.0);

        const TimeFunction ramp = Made(TimeFunction::Ramp(4, 8, 1, 2));
        QCOMPARE(ramp.At(1), 0.0);
        QCOMPARE(ramp.At(1.5), 2.0);
        QCOMPARE(ramp.At(7), 8.0);
        QCOMPARE(ramp.Breaks(), (std::vector<double>{1, 3}));
        const TimeFunction step = Made(TimeFunction::Step(5, -1, 0));
        QCOMPARE(step.At(-1e-12), 0.0);
        QCOMPARE(step.At(0), -1.0);
        QCOMPARE(step.Breaks(), std::vector<double>{0});
        QCOMPARE(TimeFunction().At(1), 0.0);
    }

    // A load applied suddenly and held: the undamped structure swings to twice its static
    // deflection and back. Average acceleration follows u = P/k (1 - cos n Omega dt) with
    // Omega dt = 2 atan(w dt / 2), exactly. A spring in series whose joint has no mass (the
    // initial accelerations then come from the effective stiffness) behaves as one spring.
    void stepLoad() {
        const double k = 400, m = 1, force = 10, w = std::sqrt(k / m);
        const double period = 2 * Pi / w, dt = period / 100;
        const TimeFunction step = Made(TimeFunction::Step(1, force, 0));
        const double omegaDt = 2 * std::atan(w * dt / 2);

        Newmark single(Scalar(k), Scalar(m), {}, dt);
        double largest = 0, worst = 0;
        single.Run(
            300, [&](double t, Eigen::VectorXd& f) { f[0] = step.At(t); },
            [&](int n, double, const Eigen::VectorXd& u) {
                largest = std::max(largest, u[0]);
                worst = std::max(worst, std::abs(u[0] - force / k * (1 - std::cos(n * omegaDt))));
            });
        QVERIFY2(worst < 1e-12 * force / k, qPrintable(QString::number(worst)));
        // Sampled 100 times a period: the highest sample lies within half a step of the peak.
        QVERIFY(largest <= 2 * force / k * (1 + 1e-12));
        QVERIFY(largest >= force / k * (1 + std::cos(omegaDt / 2)) * (1 - 1e-12));
        QVERIFY(largest >= 2 * force / k * (1 - 3e-4));

        // Ground -- k1 -- massless joint -- k2 -- mass: k1 k2 / (k1 + k2) = k.
        const double k1 = 600, k2 = 1200;
        Newmark chain(Upper(k1 + k2, -k2, k2), Upper(0, 0, m), {}, dt);
        largest = 0;
        worst = 0;
        double joint = 0;
        chain.Run(
            300, [&](double t, Eigen::VectorXd& f) { f[1] = step.At(t); },
            [&](int n, double, const Eigen::VectorXd& u) {
                largest = std::max(largest, u[1]);
                worst = std::max(worst, std::abs(u[1] - force / k * (1 - std::cos(n * omegaDt))));
                // The joint is in equilibrium at every step: k1 u1 = k2 (u2 - u1).
                if (n > 0)
                    joint = std::max(joint, std::abs(k1 * u[0] - k2 * (u[1] - u[0])));
            });
        QVERIFY2(worst < 1e-4 * force / k, qPrintable(QString::number(worst)));
        QVERIFY2(joint < 1e-10 * force, qPrintable(QString::number(joint)));
        QVERIFY(largest >= 2 * force / k * (1 - 3e-4) && largest <= 2 * force / k * (1 + 1e-4));
    }

    // Undamped free vibration: the energy stays what it was to rounding, even in a mode far
    // faster than the step follows, and the period lengthens by (w dt / 2) / atan(w dt / 2).
    void undampedEnergyAndPeriod() {
        const SparseMatrix k = Upper(3000, -1000, 1000), m = Upper(2, 0.3, 1);
        const Modes modes = Solve(k, m);
        const double dt = 2 * Pi / modes.Omega[0] / 5; // the second mode: w dt well above 2
        QVERIFY(modes.Omega[1] * dt > 2);
        const Eigen::Vector2d u0(0.01, -0.02), v0(0.3, 0.1);
        const auto energy = [&](const Eigen::VectorXd& u, const Eigen::VectorXd& v) {
            return 0.5 * v.dot(m.selfadjointView<Eigen::Upper>() * v) +
                   0.5 * u.dot(k.selfadjointView<Eigen::Upper>() * u);
        };
        const double start = energy(u0, v0);
        Newmark free(k, m, {}, dt);
        free.Start(u0, v0);
        double drift = 0;
        free.Run(2000, {}, [&](int, double, const Eigen::VectorXd& u) {
            drift = std::max(drift, std::abs(energy(u, free.Velocities()) / start - 1));
        });
        QVERIFY2(drift < 1e-11, qPrintable(QString::number(drift)));

        // One mass on one spring at dt / T = 0.1 for 200 periods: the upward zero crossings,
        // interpolated, give the period of the integration.
        const double w = 20, period = 2 * Pi / w, step = period / 10;
        Newmark oscillator(Scalar(w * w), Scalar(1), {}, step);
        oscillator.Start(Eigen::VectorXd::Constant(1, 1.0), {});
        double last = 1, first = 0, latest = 0;
        int crossings = 0;
        oscillator.Run(2000, {}, [&](int, double t, const Eigen::VectorXd& u) {
            if (last < 0 && u[0] >= 0) {
                const double at = t - step * u[0] / (u[0] - last);
                if (crossings++ == 0)
                    first = at;
                latest = at;
            }
            last = u[0];
        });
        QVERIFY(crossings > 150);
        const double measured = (latest - first) / (crossings - 1) / period;
        const double exact = (w * step / 2) / std::atan(w * step / 2);
        qInfo("period elongation at dt/T = 0.1: measured %.6f, (w dt/2) / atan(w dt/2) = %.6f, "
              "textbook bound 1 + (w dt)^2 / 12 = %.6f",
              measured, exact, 1 + w * step * w * step / 12);
        QV_COMPARE_NEAR(measured, exact, 5e-5);
        QVERIFY(measured < 1 + w * step * w * step / 12);
    }

    // Rayleigh damping fitted to the two natural frequencies of a two-mass system damps each
    // mode at its ratio: the modal coordinates of the integrated free vibration follow the
    // closed form e^(-z w t) (cos wd t + z w / wd sin wd t).
    void rayleighDamping() {
        const SparseMatrix k = Upper(3000, -1000, 1000), m = Upper(2, 0.3, 1);
        const Modes modes = Solve(k, m);
        const double z1 = 0.05, z2 = 0.03;
        const Rayleigh::Fit fit =
            Rayleigh::From(modes.Omega[0] / (2 * Pi), z1, modes.Omega[1] / (2 * Pi), z2);
        QVERIFY2(fit.Error.isEmpty(), qPrintable(fit.Error));
        QVERIFY(fit.Damping.Mass > 0 && fit.Damping.Stiffness > 0);

        const double dt = 2 * Pi / modes.Omega[1] / 400;
        const Eigen::Matrix2d md = Eigen::MatrixXd(m).selfadjointView<Eigen::Upper>();
        Newmark damped(k, m, fit.Damping, dt);
        damped.Start(modes.Shapes.col(0) + modes.Shapes.col(1), {});
        double worst = 0;
        damped.Run(int(5 * 2 * Pi / modes.Omega[0] / dt), {},
                   [&](int, double t, const Eigen::VectorXd& u) {
                       const Eigen::Vector2d q = modes.Shapes.transpose() * md * u;
                       for (int i = 0; i < 2; ++i) {
                           const double w = modes.Omega[i], z = i == 0 ? z1 : z2;
                           const double wd = w * std::sqrt(1 - z * z);
                           const double exact = std::exp(-z * w * t) *
                                                (std::cos(wd * t) + z * w / wd * std::sin(wd * t));
                           worst = std::max(worst, std::abs(q[i] - exact));
                       }
                   });
        // Five periods of the first mode damp it to e^(-2 pi 5 z1) = 0.21, the second to 0.10
        // over its 12 periods; a ratio off by a fifth misses by 0.06.
        QVERIFY2(worst < 2e-3, qPrintable(QString::number(worst)));
    }

    // Two storeys, a triangular push on the first (a table) and a sine on the second, from rest:
    // the integration against the modal solution, each mode exact under its piecewise-linear and
    // its harmonic force.
    void twoStoreyHistory() {
        const double k1 = 2000, k2 = 1000, m1 = 2, m2 = 1;
        const SparseMatrix k = Upper(k1 + k2, -k2, k2), m = Upper(m1, 0, m2);
        const Modes modes = Solve(k, m);
        const TimeFunction push = Made(TimeFunction::Table(1, {{0.1, 0}, {0.2, 30}, {0.35, 0}}));
        const double frequency = (modes.Omega[0] + modes.Omega[1]) / 2 / (2 * Pi);
        const TimeFunction sine = Made(
            TimeFunction::Sine(2, 10, frequency, 0, 0, std::numeric_limits<double>::infinity()));
        const double dt = 2 * Pi / modes.Omega[1] / 200, end = 3 * 2 * Pi / modes.Omega[0];

        std::vector<Eigen::Vector2d> integrated;
        std::vector<double> times;
        Newmark history(k, m, {}, dt);
        history.Run(
            int(end / dt),
            [&](double t, Eigen::VectorXd& f) {
                f[0] = push.At(t);
                f[1] = sine.At(t);
            },
            [&](int, double t, const Eigen::VectorXd& u) {
                integrated.emplace_back(u);
                times.push_back(t);
            });

        // Each mode: the push's pieces one after the other, then free; the sine from rest
        // p sin(W t) gives p / (w^2 - W^2) (sin W t - W / w sin w t).
        const double omega = 2 * Pi * frequency;
        double largest = 0, worst = 0;
        for (size_t n = 0; n < times.size(); ++n) {
            const double t = times[n];
            Eigen::Vector2d u = Eigen::Vector2d::Zero();
            for (int i = 0; i < 2; ++i) {
                const double w = modes.Omega[i];
                const double p1 = modes.Shapes(0, i), p2 = 10 * modes.Shapes(1, i);
                double q = 0, v = 0;
                const double corners[] = {0.1, 0.2, 0.35};
                const double heights[] = {0, 30, 0};
                for (int piece = 0; piece < 2 && t > corners[piece]; ++piece) {
                    const double length = corners[piece + 1] - corners[piece];
                    Advance(q, v, w, p1 * heights[piece], p1 * heights[piece + 1], length,
                            std::min(t, corners[piece + 1]) - corners[piece]);
                }
                if (t > 0.35)
                    Advance(q, v, w, 0, 0, 1, t - 0.35);
                q += p2 / (w * w - omega * omega) *
                     (std::sin(omega * t) - omega / w * std::sin(w * t));
                u += q * modes.Shapes.col(i);
            }
            largest = std::max(largest, u.cwiseAbs().maxCoeff());
            worst = std::max(worst, (integrated[n] - u).cwiseAbs().maxCoeff());
        }
        QVERIFY(largest > 0.01);
        QVERIFY2(worst < 0.01 * largest, qPrintable(QString::number(worst / largest)));
    }

    // What cannot be integrated is refused, naming what is wrong; a long step is warned of.
    void badInput() {
        QCOMPARE(TimeFunction::Table(2, {{0, 0}, {1, 1}, {1, 2}}).Error,
                 QStringLiteral("the times of function 2 do not increase at point 3"));
        QCOMPARE(TimeFunction::Table(4, {{0, 1}}).Error,
                 QStringLiteral("function 4 has fewer than two points"));
        QCOMPARE(TimeFunction::Table(1, {{0, 0}, {1, std::nan("")}}).Error,
                 QStringLiteral("function 1 holds a value that is not a finite number"));
        QCOMPARE(TimeFunction::Sine(3, 1, 0, 0, 0, 1).Error,
                 QStringLiteral("the frequency of function 3 is not positive"));
        QCOMPARE(TimeFunction::Sine(3, 1, 2, 0, 1, 1).Error,
                 QStringLiteral("function 3 does not end after it starts"));
        QCOMPARE(TimeFunction::Pulse(5, 1, 0, 0).Error,
                 QStringLiteral("the duration of function 5 is not positive"));
        QCOMPARE(TimeFunction::Ramp(6, 1, 0, -1).Error,
                 QStringLiteral("the rise time of function 6 is negative"));

        QVERIFY(Rayleigh::From(2, 0.05, 2, 0.05).Error.contains(QStringLiteral("different")));
        QVERIFY(Rayleigh::From(1, 1.0, 5, 0.05).Error.contains(QStringLiteral("less than 1")));
        // 5 % at 1 Hz and 0.1 % at 10 Hz: a negative stiffness coefficient, the high modes
        // driven; 1 % at 1 Hz and 20 % at 10 Hz: a negative mass coefficient, the low ones.
        QCOMPARE(Rayleigh::From(1, 0.05, 10, 0.001).Error,
                 QStringLiteral("the damping ratio at 10 Hz is too small for the ratio at 1 Hz: "
                                "Rayleigh damping would drive the modes of highest frequency "
                                "instead of damping them"));
        QVERIFY(Rayleigh::From(10, 0.2, 1, 0.01).Error.contains(QStringLiteral("too large")));

        QCOMPARE(DirectIntegration::StepWarning(0.02, 20),
                 QStringLiteral("the time step 0.02 s is more than a tenth of the shortest "
                                "period kept (0.05 s)"));
        QVERIFY(DirectIntegration::StepWarning(0.005, 20).isEmpty());

        // A joint held by nothing and carrying no mass.
        try {
            Newmark loose(Upper(1000, 0, 0), Upper(1, 0, 0), {}, 0.01);
            QFAIL("a part without stiffness and mass was integrated");
        } catch (const SolverError& error) {
            QVERIFY(error.Message().contains(QStringLiteral("without stiffness and without mass")));
        }
    }
};

QTEST_GUILESS_MAIN(TestDirectIntegration)
#include "tst_directintegration.moc"
