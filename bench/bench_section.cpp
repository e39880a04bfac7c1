// How long a full recalculation of a large section takes: it runs on every repaint, so it
// must stay well inside one frame (16 ms).
#include "DrawingState.h"
#include "TFourAngle.h"
#include "TSector.h"
#include "TTriAngle.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

TRegisteredNode* Node(DrawingState& state, double y, double z) {
    auto node = std::make_unique<TRegisteredNode>(state.View(), y, z);
    return state.AppendNode(std::move(node));
}

template <typename Shape>
void AddShape(DrawingState& state, bool filled,
              std::initializer_list<std::pair<double, double>> pts) {
    auto shape = std::make_unique<Shape>(state);
    shape->Filled = filled;
    int i = 0;
    for (const auto& [y, z] : pts) {
        TRegisteredNode* node = Node(state, y, z);
        ++node->RefCount;
        shape->SetPoint(i++, node);
    }
    shape->PointCount = shape->MaxPoints;
    shape->SetPoint(shape->MaxPoints, shape->GetPoint(0));
    state.Shapes.push_back(std::move(shape));
}

// 1,000 shapes: a grid of plates, each with a triangle, a hole and a sector.
void GeometricSection(DrawingState& state) {
    for (int i = 0; i < 250; ++i) {
        const double y = (i % 25) * 10.0;
        const double z = (i / 25) * 10.0;
        AddShape<TFourAngle>(state, true, {{y, z}, {y + 8, z}, {y + 8, z + 8}, {y, z + 8}});
        AddShape<TFourAngle>(state, false,
                             {{y + 1, z + 1}, {y + 3, z + 1}, {y + 3, z + 3}, {y + 1, z + 3}});
        AddShape<TTriAngle>(state, true, {{y + 8, z}, {y + 10, z}, {y + 8, z + 8}});
        AddShape<TSector>(state, true, {{y + 5, z + 5}, {y + 7, z + 5}, {y + 5, z + 7}});
    }
}

// A zig-zag chain of 1,000 thin wall elements, each joining the end of the one before.
void ThinWalledChain(DrawingState& state) {
    state.SelectSectorialMode();
    const double t = 0.1;
    double ya = 0.0;
    double za = 0.0;
    for (int i = 0; i < 1000; ++i) {
        const double angle = (i % 2 == 0 ? 0.3 : -0.3) + (i / 100) * 0.1;
        const double yb = ya + 5.0 * std::cos(angle);
        const double zb = za + 5.0 * std::sin(angle);
        const double ny = -std::sin(angle) * t / 2;
        const double nz = std::cos(angle) * t / 2;
        AddShape<TFourAngle>(
            state, true,
            {{ya + ny, za + nz}, {ya - ny, za - nz}, {yb - ny, zb - nz}, {yb + ny, zb + nz}});
        ya = yb;
        za = zb;
    }
}

void BM_RecalcGeometric1000Shapes(benchmark::State& bench) {
    DrawingState state;
    GeometricSection(state);
    for (auto _ : bench) {
        const bool ok = state.RecalcAll();
        benchmark::DoNotOptimize(ok);
        if (!ok)
            bench.SkipWithError("calculation failed");
    }
}
BENCHMARK(BM_RecalcGeometric1000Shapes)->Unit(benchmark::kMillisecond);

void BM_RecalcSectorial1000WallElements(benchmark::State& bench) {
    DrawingState state;
    ThinWalledChain(state);
    for (auto _ : bench) {
        const bool ok = state.RecalcAll();
        benchmark::DoNotOptimize(ok);
        if (!ok)
            bench.SkipWithError("calculation failed");
    }
}
BENCHMARK(BM_RecalcSectorial1000WallElements)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
