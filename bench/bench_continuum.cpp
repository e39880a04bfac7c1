// Omberi on square wall panels of quadrilaterals, each timed from reading the data file to
// writing the result file and the protocol, as the editor's Calculate waits for it: 40,000,
// 250,000 and 1,000,000 nodes, held along the base, with two load cases (an even load along
// the top edge and a shear along it). Goal: everything but the factorisation under half of the
// run.
//
// After the timed run each case solves the same file once more piece by piece, untimed, for
// the counters: reading (SolverInput::Read), the model and the mesh check with the elements
// (what MeshStatics::Run takes beyond its own timings), assembly, factorisation, solution
// and recovery (MeshStatics::Timings), the protocol's text and the result file's bytes,
// and writing them (encoding the protocol, PROT.TXT, the report beside the data and the result
// file). The sizes come from a third pass that numbers, assembles and factorises the same mesh
// for the count of L's entries; peak_MiB is the process's peak so far, so the cases run from
// small to large.
//
// Measured on the shared 2-core build machine (AMD EPYC at 2.1 GHz), busy (load 2.5 to 3), one
// run each; "the rest" is everything but the factorisation, as a share of the pieces; "model"
// is the model, the mesh check (shapes and overlaps), the elements and the patch recovery's
// neighbourhoods:
//   40,000 nodes, 39,601 elements, 79,600 equations; K has 0.75 million entries (upper
//     triangle), L 6.1 million: 1.2 s, the pieces 0.81 s: reading 0.04, model 0.18, assembly
//     0.10, factorisation 0.22, solution 0.02, recovery 0.13, protocol text and result bytes
//     0.06, writing 0.06 (a 17 MB protocol twice, a 9 MB result file); peak 184 MiB. The
//     rest: 0.73, no piece above a quarter.
//   250,000 nodes, 249,001 elements, 499,000 equations; K 4.7 million entries, L 49 million:
//     7.9 s, the pieces 7.3 s: reading 0.39, model 0.82, assembly 0.45, factorisation 3.0,
//     solution 0.25, recovery 0.98, protocol and result bytes 0.50, writing 0.85 (106 MB and
//     56 MB); peak 1.09 GiB. The rest: 0.58.
//   1,000,000 nodes, 998,001 elements, 1,998,000 equations; K 19 million entries, L 233
//     million: 41 s (51 s at load 7), the pieces 33 s: reading 0.96, model 1.7, assembly 1.7,
//     factorisation 21, solution 0.76, recovery 2.4, protocol and result bytes 1.4, writing
//     1.7 (424 MB and 224 MB); peak 4.5 GiB. The rest: 0.36.
// The goal holds for the million nodes. The factorisation of a plane mesh grows as n^1.5
// (0.22, 3.0 and 21 s here) and the rest about as n, so the factorisation outweighs the rest
// only on the largest mesh; below it the rest is spread over many pieces. The recovery took
// 0.27 to 0.40, 2.0 to 2.8 and 7.2 s while each element integrated its matrices twice per load
// case and the patch recovery found the mesh's neighbourhoods anew for every case.
// PanelChoice1M solves the million-node wall (1,998,000 equations, two load cases) once by
// the sparse Cholesky factorisation and once by conjugate gradients with smoothed-aggregation
// multigrid, in one run (busy machine, load 3 to 4, niced): direct 91.9 s, iterative 68.0 s
// (0.74 of it; 17 iterations to 1e-8), the two answers 4e-11 apart relative to the largest
// displacement; peak 4.7 GiB. So the automatic choice may iterate on large walls; below the
// memory the factors need it stays direct, which is as fast on the 180,901-node wall.
#include "BenchMeasure.h"
#include "BenchModels.h"
#include "DofNumbering.h"
#include "Elasticity.h"
#include "ExchangeFile.h"
#include "FieldReport.h"
#include "MeshModel.h"
#include "MeshStatics.h"
#include "PlaneSolid.h"
#include "ResultFile.h"
#include "SolverChoice.h"
#include "SolverCommand.h"
#include "SolverInput.h"
#include "SparseAssembly.h"
#include "SparseCholesky.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace BenchModels;
constexpr double E = PanelE, Nu = PanelNu, Thickness = PanelThickness;

// The run again in its pieces, as SolverCommand::Run and ContinuumAnalysis::Solve go.
void Pieces(benchmark::State& state, const QString& path, const QString& directory) {
    QElapsedTimer clock;
    clock.start();
    const SolverInput input = SolverInput::Read(path);
    state.counters["read"] = Seconds(clock);
    clock.restart();
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    const MeshStatics::Outcome solved = MeshStatics::Run(model);
    const MeshStatics::Timings& t = solved.Time;
    state.counters["model_check"] =
        Seconds(clock) - t.Assembly - t.Factorisation - t.Solution - t.Recovery;
    state.counters["assembly"] = t.Assembly;
    state.counters["factor"] = t.Factorisation;
    state.counters["solution"] = t.Solution;
    state.counters["recovery"] = t.Recovery;

    clock.restart();
    const bool finite = FieldReport::NonFinite(solved.Results).isEmpty();
    const QString protocol =
        FieldReport::Tables(solved.Results, model.ForceUnit, model.LengthUnit, QString());
    ResultFile::Contents contents;
    contents.Type = ResultFile::Kind::Field;
    contents.Problem = input.Problem;
    contents.Field = solved.Results;
    const QByteArray result = ResultFile::Write(contents);
    state.counters["report"] = Seconds(clock);

    clock.restart();
    const QByteArray bytes = SolverCommand::ProtocolBytes(protocol);
    const QDir dir(directory);
    const bool written = ExchangeFile::Write(dir.filePath("PROT.TXT"), bytes).isEmpty() &&
                         ExchangeFile::Write(dir.filePath("pieces.rpt"), bytes).isEmpty() &&
                         ExchangeFile::Write(dir.filePath("pieces.bin"), result).isEmpty();
    state.counters["write"] = Seconds(clock);
    state.counters["protocol_MB"] = static_cast<double>(bytes.size()) * 1e-6;
    state.counters["result_MB"] = static_cast<double>(result.size()) * 1e-6;
    if (!finite || !written)
        state.SkipWithError("the pieces did not solve the panel");
}

// Numbers, assembles and factorises the panel as the analysis does, for its sizes.
void Sizes(benchmark::State& state, const QString& path) {
    const SolverInput input = SolverInput::Read(path);
    const MeshModel model = MeshModel::FromData(input.Problem, input.Data);
    PlaneSolid solid;
    solid.D = Elasticity::PlaneStress(E, Nu);
    solid.Nu = Nu;
    solid.Thickness = Thickness;
    std::vector<PlaneQuad> quads;
    quads.reserve(model.Cells.size());
    for (const MeshModel::Cell& cell : model.Cells) {
        std::array<std::array<double, 2>, 4> points;
        for (size_t a = 0; a < 4; ++a)
            points[a] = model.Plan(cell.Corners[a]);
        quads.emplace_back(
            solid,
            std::array<int, 4>{cell.Corners[0], cell.Corners[1], cell.Corners[2], cell.Corners[3]},
            points);
    }
    const size_t nodes = model.Nodes.size();
    std::vector<double> diagonal(6 * nodes, 1.0);
    std::vector<bool> fixed(6 * nodes, false), loaded(6 * nodes, false);
    for (const MeshModel::Support& support : model.Supports) {
        fixed[6 * static_cast<size_t>(support.Node)] = support.Fixed[0];
        fixed[6 * static_cast<size_t>(support.Node) + 2] = support.Fixed[2];
    }
    DofNumbering numbering;
    numbering.Number({0, 2}, diagonal, fixed, loaded, {});
    const SparseAssembly pattern(numbering, quads,
                                 [](const PlaneQuad& quad) { return quad.Nodes(); });
    SparseAssembly::SparseMatrix stiffness = pattern.Empty();
    for (const PlaneQuad& quad : quads)
        pattern.Add(stiffness, quad.Nodes(), quad.Components(), quad.Stiffness());
    std::vector<int> nodeStarts;
    const std::vector<int>& first = numbering.NodeStarts();
    for (size_t node = 0; node + 1 < first.size(); ++node)
        if (first[node + 1] > first[node])
            nodeStarts.push_back(first[node]);
    nodeStarts.push_back(numbering.Equations());
    SparseCholesky factors;
    if (factors.Factor(stiffness, nodeStarts) != SparseCholesky::Result::Factored)
        state.SkipWithError("the panel's stiffness did not factorise");
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["elements"] = static_cast<double>(model.Cells.size());
    state.counters["equations"] = numbering.Equations();
    state.counters["K_entries"] = static_cast<double>(stiffness.nonZeros());
    state.counters["L_entries"] = factors.FactorNonzeros();
}

void SolvePanel(benchmark::State& state, int cells) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("panel.d09"));
    const QByteArray bytes = Panel(cells);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the data file");
        return;
    }
    file.close();
    const SolverEntry entry = *SolverEntry::Named(QStringLiteral("Omberi"));
    for (auto _ : state) {
        const SolverCommand::Outcome outcome =
            SolverCommand::Run(entry, {path, QStringLiteral("S")}, directory.path());
        if (outcome.ExitCode != 0) {
            state.SkipWithError(qPrintable(outcome.Message));
            return;
        }
    }
    state.counters["peak_MiB"] = PeakMiB();
    Pieces(state, path, directory.path());
    Sizes(state, path);
}

void Panel40k(benchmark::State& state) {
    SolvePanel(state, 199); // 200 x 200 nodes
}

void Panel250k(benchmark::State& state) {
    SolvePanel(state, 499);
}

void Panel1M(benchmark::State& state) {
    SolvePanel(state, 999);
}

// The million-node wall once directly and once iteratively (see SolverChoice.h).
void PanelChoice1M(benchmark::State& state) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("panel.d09"));
    QFile file(path);
    const QByteArray bytes = Panel(999);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the data file");
        return;
    }
    file.close();
    const SolverInput input = SolverInput::Read(path);
    CompareSolvers(state, MeshModel::FromData(input.Problem, input.Data));
}

} // namespace

BENCHMARK(Panel40k)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Panel250k)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(Panel1M)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(PanelChoice1M)->Unit(benchmark::kMillisecond)->Iterations(1);
