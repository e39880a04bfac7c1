// Shaft lines: a steel shaft of 10,000 elements (20 m, 100 mm, on rigid bearings at both ends),
// its 10 lowest natural frequencies timed from reading the data file to writing the report, as
// the editor's Calculate waits for it, and the lowest bending frequency held against the
// pinned-pinned series pi / (2 L^2) sqrt(EI / rho A) (a miss above 1e-6 fails the benchmark).
// After the timed run the same file is solved once more in pieces, untimed: reading, and the
// modes of both families (assembly, factorisation and the Lanczos iteration).
#include "BenchMeasure.h"
#include "BenchModels.h"
#include "ShaftModes.h"
#include "SolverCommand.h"
#include "SolverInput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace {

using namespace BenchModels;
constexpr int ShaftElements = 10000, ShaftFrequencies = 10;

void ShaftModes10k(benchmark::State& state) {
    const QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("long.d12"));
    QFile file(path);
    const QByteArray bytes = Shaft(ShaftElements, ShaftFrequencies);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the data file");
        return;
    }
    file.close();
    const SolverEntry entry = *SolverEntry::Named(QStringLiteral("Gimbro"));
    QString refusal;
    for (auto _ : state) {
        const SolverCommand::Outcome outcome =
            SolverCommand::Run(entry, {path, QStringLiteral("S")}, directory.path());
        if (outcome.ExitCode != 0)
            refusal = outcome.Message;
    }
    if (!refusal.isEmpty()) {
        state.SkipWithError(qPrintable(refusal));
        return;
    }

    QElapsedTimer clock;
    clock.start();
    const SolverInput input = SolverInput::Read(path);
    state.counters["read"] = Seconds(clock);
    clock.restart();
    const ShaftModel model = ShaftModel::FromData(input.Data);
    const ShaftModes::Result result = ShaftModes::Lowest(model, ShaftFrequencies);
    state.counters["modes"] = Seconds(clock);
    double lowest = 0;
    for (const ShaftModes::Mode& mode : result.Modes)
        if (mode.Type == ShaftModes::Kind::Bending && lowest == 0)
            lowest = std::sqrt(mode.Lambda) / (2 * std::numbers::pi);
    const double d = ShaftD;
    const double inertia = std::numbers::pi * d * d * d * d / 64;
    const double rhoA = ShaftGamma / model.Gravity * std::numbers::pi * d * d / 4;
    const double expected =
        std::numbers::pi / (2 * ShaftLength * ShaftLength) * std::sqrt(ShaftE * inertia / rhoA);
    state.counters["found"] = lowest;
    state.counters["expected"] = expected;
    state.counters["miss"] = lowest / expected - 1;
    if (!(std::abs(lowest / expected - 1) < 1e-6))
        state.SkipWithError(qPrintable(QStringLiteral("the lowest bending frequency %1 Hz is off "
                                                      "the series' %2 Hz")
                                           .arg(lowest)
                                           .arg(expected)));
}

} // namespace

BENCHMARK(ShaftModes10k)->Unit(benchmark::kMillisecond)->Iterations(1);
