// The model viewer's first paint of a large model: a space frame of 60,000 nodes and 120,000
// elements, checked and turned into the viewer's model, fitted and drawn into a window-sized
// image. The user waits for this after the window opens, so it has to stay under half a
// second; so does every repaint of its results, with the values and the reactions of its
// 1,600 supports shown. A plane-stress mesh of 250,000 quadrilaterals is drawn as contour bands
// of a stress, and as its deformed mesh, in well under a second. A storey frame of 5,376 nodes,
// 15,200 elements and 256 supports is the size at which the drawing used to take many seconds:
// antialiased, with its values written. A plate of 50,000 nodes in plan and a shell of 20,000
// elements in space paint their contours in well under a second too.
#include "../tests/viewer/TestColumns.h"
#include "BarElement.h"
#include "DataChecker.h"
#include "FieldLayout.h"
#include "FormatCatalogue.h"
#include "LabelPlacer.h"
#include "ModelPainter.h"
#include "ResultChoice.h"
#include "ResultPainter.h"
#include "ViewerModel.h"
#include "ViewerResults.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int NodeCount = 60000;
constexpr int ElementCount = 120000;

// The general data, one material and one section of a space frame, up to its nodes' header.
QStringList Heading(const QString& comment, const QString& title, int nodes, int elements) {
    return {comment,
            QStringLiteral("*1 General data"),
            QStringLiteral("#  1  Title = %1").arg(title),
            QStringLiteral("#  2  Force = kN"),
            QStringLiteral("#  3  Length = m"),
            QStringLiteral("#  4  Cases = 1"),
            QStringLiteral("#  5  Nodes = %1").arg(nodes),
            QStringLiteral("#  6  Elements = %1").arg(elements),
            QStringLiteral("#  7  Materials = 1"),
            QStringLiteral("#  8  Sections = 1"),
            QStringLiteral("#  9  Modes = 0"),
            QStringLiteral("*2 Materials"),
            QStringLiteral("#  1  2.1E8 0.3 78.5 1.2E-5"),
            QStringLiteral("*3 Sections"),
            QStringLiteral("#  1  0.01 1E-5 1E-5 1E-5"),
            QStringLiteral("*4 Nodes")};
}

// A space frame on a 40 x 40 x 37.5 grid, each node joined to its neighbours along x and y.
QStringList SpaceFrame() {
    QStringList lines = Heading(QStringLiteral("Large space frame"), QStringLiteral("Grid"),
                                NodeCount, ElementCount);
    for (int i = 0; i < NodeCount; ++i)
        lines << QStringLiteral("#%1  %2 %3 %4")
                     .arg(i + 1)
                     .arg(i % 40)
                     .arg((i / 40) % 40)
                     .arg(i / 1600);
    lines << QStringLiteral("*5 Elements");
    for (int e = 0; e < ElementCount; ++e) {
        const int node = e / 2;
        const int other = (e % 2 == 0 ? node + 1 : node + 40) % NodeCount;
        lines << QStringLiteral("#%1  %2 %3 1 1 0").arg(e + 1).arg(node + 1).arg(other + 1);
    }
    // The nodes of the ground level are held.
    lines << QStringLiteral("*6 Supports");
    for (int s = 0; s < 1600; ++s)
        lines << QStringLiteral("#%1  %1 1 1 1 1 1 1").arg(s + 1);
    lines << QStringLiteral("*7 Nodal loads") << QStringLiteral("#  1  1 60000 0 0 -10 0 0 0")
          << QStringLiteral("*8 Element loads") << QStringLiteral("*9 Masses")
          << QStringLiteral("&");
    return lines;
}

// A storey frame: 16 x 16 columns of 21 levels, beams along x and y on every level above the
// ground, whose nodes are held.
QStringList StoreyFrame() {
    constexpr int Side = 16, Levels = 21, PerLevel = Side * Side;
    QStringList nodes, elements;
    for (int n = 0; n < PerLevel * Levels; ++n)
        nodes << QStringLiteral("#%1  %2 %3 %4")
                     .arg(n + 1)
                     .arg(5 * (n % Side))
                     .arg(5 * ((n / Side) % Side))
                     .arg(3.5 * (n / PerLevel));
    const auto bar = [&](int i, int j) {
        elements
            << QStringLiteral("#%1  %2 %3 1 1 0").arg(elements.size() + 1).arg(i + 1).arg(j + 1);
    };
    for (int n = 0; n < PerLevel * Levels; ++n) {
        if (n + PerLevel < PerLevel * Levels)
            bar(n, n + PerLevel);
        if (n >= PerLevel && n % Side + 1 < Side)
            bar(n, n + 1);
        if (n >= PerLevel && (n / Side) % Side + 1 < Side)
            bar(n, n + Side);
    }
    QStringList lines = Heading(QStringLiteral("Storey frame"), QStringLiteral("Storeys"),
                                int(nodes.size()), int(elements.size()));
    lines << nodes << QStringLiteral("*5 Elements") << elements << QStringLiteral("*6 Supports");
    for (int s = 0; s < PerLevel; ++s)
        lines << QStringLiteral("#%1  %1 1 1 1 1 1 1").arg(s + 1);
    lines << QStringLiteral("*7 Nodal loads") << QStringLiteral("#  1  1 5376 10 0 -10 0 0 0")
          << QStringLiteral("*8 Element loads") << QStringLiteral("*9 Masses")
          << QStringLiteral("&");
    return lines;
}

ViewerModel ModelOf(const QStringList& lines) {
    const DataFormat format = *FormatCatalogue::For(7, false);
    const DataChecker::Result checked = DataChecker::Check(lines, format);
    if (!checked.Ok)
        qFatal("benchmark model rejected: line %d: %s", checked.Fault.Line,
               qPrintable(checked.Fault.Message));
    return ViewerModel::FromData(format, checked.Data);
}

// Every node is used except where a bar would wrap around the grid; such bars are allowed by
// the format (distinct ends), so the whole model is checked.
ViewerModel LargeModel() {
    return ModelOf(SpaceFrame());
}

// The first paint as the window does it: fit the camera, draw the model.
void BM_FirstPaint(benchmark::State& bench) {
    const ViewerModel model = LargeModel();
    QImage window(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        ViewCamera camera;
        camera.SetSpace(model.Space);
        camera.Fit(model.Nodes, QRectF(80, 80, 1440, 860));
        QPainter painter(&window);
        ModelPainter::Paint(painter, window.rect(), model, camera, ModelPainter::Options{});
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond);

// Reading the checked data into the viewer's model, which happens once before the window opens.
void BM_BuildModel(benchmark::State& bench) {
    const DataFormat format = *FormatCatalogue::For(7, false);
    const DataChecker::Result checked = DataChecker::Check(SpaceFrame(), format);
    for (auto _ : bench)
        benchmark::DoNotOptimize(ViewerModel::FromData(format, checked.Data).Edges.size());
}
BENCHMARK(BM_BuildModel)->Unit(benchmark::kMillisecond);

// Results of the large frame: every node moves and turns a little, every bar has end forces;
// made up, since only the drawing is timed.
ViewerResults LargeResults(const ViewerModel& model) {
    ResultFile::Contents contents;
    contents.Problem = 7;
    StaticResults& r = contents.Statics;
    r.Nodes = static_cast<int>(model.Nodes.size());
    r.Elements = static_cast<int>(model.ElementCentres.size());
    r.Components = model.Components;
    r.Forces = BarElement::EndLayout(ProblemType::Layout::Space, false);
    StaticResults::Case c;
    for (int n = 0; n < r.Nodes * 6; ++n)
        c.Displacements.push_back(1e-3 * std::sin(n * 0.37));
    for (int e = 0; e < r.Elements * 12; ++e)
        c.Forces.push_back(10 * std::cos(e * 0.11));
    for (const ViewerModel::Support& support : model.Supports) {
        StaticResults::Reaction reaction;
        reaction.Node = support.Node + 1;
        for (int k = 0; k < 6; ++k)
            reaction.Values.push_back(100 * std::sin(support.Node * 0.7 + k));
        c.Reactions.push_back(reaction);
    }
    r.Cases.push_back(c);
    return ViewerResults::FromBytes(ResultFile::Write(contents), QStringLiteral("large.bin"),
                                    ProblemType::Of(7), false, model);
}

// A repaint in the result mode (faint model, then the results, values and reactions): the
// deformed shape, and the diagram of My along every bar. Each change of case or quantity, and
// each switch of reactions or values, waits for this.
void ResultPaint(benchmark::State& bench, const ViewerModel& model) {
    const ViewerResults results = LargeResults(model);
    if (!results.Ok())
        qFatal("benchmark results refused: %s", qPrintable(results.Message()));
    const ResultChoice choice(results, ProblemType::Of(7), model);
    QImage window(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    ViewCamera camera;
    camera.SetSpace(model.Space);
    camera.Fit(model.Nodes, QRectF(80, 80, 1440, 860));
    ResultPainter::Options options;
    options.Show = static_cast<int>(bench.range(0));
    options.Values = options.Reactions = bench.range(1) != 0;
    ModelPainter::Options faint;
    faint.Faint = true;
    faint.LoadCase = 0;
    for (auto _ : bench) {
        QPainter painter(&window);
        ModelPainter::Paint(painter, window.rect(), model, camera, faint);
        ResultPainter::Paint(painter, window.rect(), model, ProblemType::Of(7), results, choice,
                             camera, options);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
    // QV_BENCH_PICTURES=folder keeps the last picture of each, to look at.
    const QString folder = qEnvironmentVariable("QV_BENCH_PICTURES");
    if (!folder.isEmpty())
        window.save(QStringLiteral("%1/%2-%3-%4.png")
                        .arg(folder)
                        .arg(model.Nodes.size())
                        .arg(bench.range(0))
                        .arg(bench.range(1)));
}

void BM_ResultPaint(benchmark::State& bench) {
    ResultPaint(bench, LargeModel());
}
// The deformed shape (0) and the diagram of My (5), with values and reactions (1) or without.
BENCHMARK(BM_ResultPaint)->Args({0, 1})->Args({5, 1})->Args({5, 0})->Unit(benchmark::kMillisecond);

void BM_StoreyResultPaint(benchmark::State& bench) {
    ResultPaint(bench, ModelOf(StoreyFrame()));
}
BENCHMARK(BM_StoreyResultPaint)
    ->Args({0, 1})
    ->Args({5, 1})
    ->Args({5, 0})
    ->Unit(benchmark::kMillisecond);

// A panel of 500 x 500 quadrilaterals (251,001 nodes), made in place of read from a data file,
// with a stress field that waves across it, so that many elements are cut by the bands.
struct FieldCase {
    ViewerModel Model;
    ViewerResults Results;
};

FieldCase LargeField() {
    constexpr int Side = 500;
    FieldCase field;
    ViewerModel& model = field.Model;
    model.Name = QStringLiteral("plane stress problems");
    model.ForceUnit = QStringLiteral("kN");
    model.LengthUnit = QStringLiteral("m");
    model.Components = {QStringLiteral("ux"), QStringLiteral("uz")};
    model.LoadCases = 1;
    const auto node = [](int i, int k) { return k * (Side + 1) + i; };
    for (int k = 0; k <= Side; ++k) {
        for (int i = 0; i <= Side; ++i)
            model.Nodes.push_back({i * 0.02f, 0, k * 0.01f});
    }
    for (int k = 0; k <= Side; ++k) {
        for (int i = 0; i <= Side; ++i) {
            if (i < Side)
                model.Edges.push_back({node(i, k), node(i + 1, k)});
            if (k < Side)
                model.Edges.push_back({node(i, k), node(i, k + 1)});
        }
    }
    for (int k = 0; k < Side; ++k) {
        for (int i = 0; i < Side; ++i) {
            model.Polygons.push_back(
                {node(i, k), node(i + 1, k), node(i + 1, k + 1), node(i, k + 1)});
            model.ElementCentres.push_back({(i + 0.5f) * 0.02f, 0, (k + 0.5f) * 0.01f});
        }
    }
    const FieldLayout layout = TestLayout(9);
    ResultFile::Contents contents;
    contents.Type = layout.Kind;
    contents.Problem = 9;
    FieldResults& r = contents.Field;
    r.Nodes = static_cast<int>(model.Nodes.size());
    r.Elements = static_cast<int>(model.ElementCentres.size());
    r.Components = layout.Components;
    r.Columns = layout.Stresses;
    FieldResults::Case c;
    const auto stresses = [&c](const ViewerModel::Point& p, std::vector<double>& into) {
        const double sx = 100 * std::sin(3 * p[0]) * std::cos(5 * p[2]), sz = 40 * p[2];
        into.insert(into.end(), {sx, sz, 5.0, std::max(sx, sz), std::min(sx, sz), 0.0});
    };
    for (const ViewerModel::Point& p : model.Nodes) {
        c.Displacements.push_back(1e-4 * p[2] * p[0]);
        c.Displacements.push_back(-2e-4 * p[0] * p[0]);
        stresses(p, c.NodeStresses);
    }
    for (const ViewerModel::Point& p : model.ElementCentres)
        stresses(p, c.Stresses);
    r.Cases.push_back(std::move(c));
    field.Results = ViewerResults::FromBytes(
        ResultFile::Write(contents), QStringLiteral("large.bin"), ProblemType::Of(9), false, model);
    return field;
}

// A repaint of the panel's results as the window does it: the faint mesh, then the bands of sx
// (1), or the deformed mesh (0), with the principal stresses on request (which so fine a mesh
// leaves out until zoomed in).
void BM_FieldPaint(benchmark::State& bench) {
    const FieldCase field = LargeField();
    if (!field.Results.Ok())
        qFatal("benchmark results refused: %s", qPrintable(field.Results.Message()));
    const ResultChoice choice(field.Results, ProblemType::Of(9), field.Model);
    QImage window(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    ViewCamera camera;
    camera.Fit(field.Model.Nodes, QRectF(80, 80, 1320, 860));
    ResultPainter::Options options;
    options.Show = static_cast<int>(bench.range(0));
    options.Arrows = bench.range(1) != 0;
    // As the view does: contours cover the faint mesh, which is then not drawn.
    ModelPainter::Options faint;
    faint.Faint = true;
    faint.LoadCase = 0;
    faint.Mesh = options.Show == 0;
    ResultPainter::Report report;
    for (auto _ : bench) {
        QPainter painter(&window);
        ModelPainter::Paint(painter, window.rect(), field.Model, camera, faint);
        report = ResultPainter::Paint(painter, window.rect(), field.Model, ProblemType::Of(9),
                                      field.Results, choice, camera, options);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
    bench.counters["bands"] = report.Contours.Bands();
    const QString folder = qEnvironmentVariable("QV_BENCH_PICTURES");
    if (!folder.isEmpty())
        window.save(QStringLiteral("%1/field-%2-%3.png")
                        .arg(folder)
                        .arg(bench.range(0))
                        .arg(bench.range(1)));
}
BENCHMARK(BM_FieldPaint)->Args({1, 0})->Args({1, 1})->Args({0, 0})->Unit(benchmark::kMillisecond);

// A plate of 250 × 200 squares (50,451 nodes) in the x-y plane, or a barrel vault of 200 × 100
// quadrilaterals (20,000 elements), a third of a circle round the x axis; smooth fields of
// their forces and a sagging deflection.
FieldCase LargeSurface(bool shell) {
    const int nx = shell ? 200 : 250, ny = shell ? 100 : 200;
    const int problem = shell ? 14 : 13;
    FieldCase surface;
    ViewerModel& model = surface.Model;
    model.Name = shell ? QStringLiteral("shells") : QStringLiteral("plates");
    model.ForceUnit = QStringLiteral("kN");
    model.LengthUnit = QStringLiteral("m");
    model.Space = true;
    model.LoadCases = 1;
    const auto node = [nx](int i, int k) { return k * (nx + 1) + i; };
    for (int k = 0; k <= ny; ++k) {
        for (int i = 0; i <= nx; ++i) {
            const double angle = (double(k) / ny - 0.5) * 2.0944;
            model.Nodes.push_back(shell ? ViewerModel::Point{i * 0.1f, float(8 * std::sin(angle)),
                                                             float(8 * std::cos(angle) - 4)}
                                        : ViewerModel::Point{i * 0.04f, k * 0.04f, 0});
            if (i < nx)
                model.Edges.push_back({node(i, k), node(i + 1, k)});
            if (k < ny)
                model.Edges.push_back({node(i, k), node(i, k + 1)});
        }
    }
    for (int k = 0; k < ny; ++k) {
        for (int i = 0; i < nx; ++i) {
            const std::array<int, 4> corners{node(i, k), node(i + 1, k), node(i + 1, k + 1),
                                             node(i, k + 1)};
            model.Polygons.push_back(corners);
            ViewerModel::Point centre{0, 0, 0};
            for (int n : corners) {
                for (size_t a = 0; a < 3; ++a)
                    centre[a] += model.Nodes[size_t(n)][a] / 4;
            }
            model.ElementCentres.push_back(centre);
        }
    }
    const FieldLayout layout = TestLayout(problem);
    ResultFile::Contents contents;
    contents.Type = layout.Kind;
    contents.Problem = problem;
    FieldResults& r = contents.Field;
    r.Nodes = static_cast<int>(model.Nodes.size());
    r.Elements = static_cast<int>(model.ElementCentres.size());
    r.Components = layout.Components;
    r.Columns = layout.Stresses;
    FieldResults::Case c;
    const double length = shell ? 20 : 10, width = 8;
    const auto forces = [&](const ViewerModel::Point& p, std::vector<double>& into) {
        const double sx = std::sin(3.14159 * p[0] / length), sy = std::cos(p[1] / width * 3);
        for (int k = 0; k < layout.Stresses.Count(); ++k)
            into.push_back((k % 3 == 2 ? 5 : 40) * sx * sy + k);
    };
    for (const ViewerModel::Point& p : model.Nodes) {
        const double sag = -0.01 * std::sin(3.14159 * p[0] / length);
        for (int k = 0; k < layout.Components.size(); ++k)
            c.Displacements.push_back(layout.Components[k] == QLatin1String("uz") ? sag : 1e-5);
        forces(p, c.NodeStresses);
    }
    for (const ViewerModel::Point& p : model.ElementCentres)
        forces(p, c.Stresses);
    r.Cases.push_back(std::move(c));
    surface.Results =
        ViewerResults::FromBytes(ResultFile::Write(contents), QStringLiteral("large.bin"),
                                 ProblemType::Of(problem), false, model);
    return surface;
}

// A repaint of a plate's moments mx with the crosses of its principal moments in plan (0), of
// a shell's membrane force nx over its facets in space (1) and of its shaded deformed facets
// (2), as the window draws them over the faint model.
void BM_SurfacePaint(benchmark::State& bench) {
    const int which = static_cast<int>(bench.range(0));
    const bool shell = which > 0;
    const FieldCase surface = LargeSurface(shell);
    if (!surface.Results.Ok())
        qFatal("benchmark results refused: %s", qPrintable(surface.Results.Message()));
    const int problem = shell ? 14 : 13;
    const ResultChoice choice(surface.Results, ProblemType::Of(problem), surface.Model);
    QImage window(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    ViewCamera camera;
    if (shell)
        camera.SetSpace(true);
    else
        camera.SetPlan();
    camera.Fit(surface.Model.Nodes, QRectF(80, 80, 1320, 860));
    ResultPainter::Options options;
    options.Show = which == 2 ? 0 : 1;
    options.Arrows = !shell;
    options.Reactions = false;
    ModelPainter::Options faint;
    faint.Faint = true;
    faint.LoadCase = 0;
    faint.Mesh = which == 2;
    ResultPainter::Report report;
    for (auto _ : bench) {
        QPainter painter(&window);
        ModelPainter::Paint(painter, window.rect(), surface.Model, camera, faint);
        report =
            ResultPainter::Paint(painter, window.rect(), surface.Model, ProblemType::Of(problem),
                                 surface.Results, choice, camera, options);
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
    bench.counters["bands"] = report.Contours.Bands();
    bench.counters["crosses"] = report.ArrowsDrawn;
    const QString folder = qEnvironmentVariable("QV_BENCH_PICTURES");
    if (!folder.isEmpty())
        window.save(QStringLiteral("%1/surface-%2.png").arg(folder).arg(which));
}
BENCHMARK(BM_SurfacePaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Placing many values over a window: each is tested against the placed labels of its own grid
// cells only, so the time grows in proportion to the count (the report's complexity line).
void BM_PlaceLabels(benchmark::State& bench) {
    const QFont font(QStringLiteral("DejaVu Sans"), 9);
    const int count = int(bench.range(0));
    for (auto _ : bench) {
        LabelPlacer placer(QRectF(0, 0, 1600, 1000), QFontMetricsF(font));
        for (int k = 0; k < count; ++k) {
            const QPointF at((k * 7919LL) % 1600, (k * 104729LL) % 1000);
            benchmark::DoNotOptimize(placer.Place(QString::number(k % 997), at, QPointF(0, 1)));
        }
    }
    bench.SetComplexityN(count);
}
BENCHMARK(BM_PlaceLabels)
    ->RangeMultiplier(2)
    ->Range(25000, 400000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
