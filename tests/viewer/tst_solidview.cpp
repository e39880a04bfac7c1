#include "FieldPicker.h"
#include "ModelPainter.h"
#include "ModelView.h"
#include "ResultChoice.h"
#include "ResultTableModel.h"
#include "ShellProjection.h"
#include "SolidData.h"
#include "SolidPainter.h"
#include "ViewerWindow.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

using Point = ViewerModel::Point;
using SolidData::Cells;

std::array<double, 3> Minus(const Point& a, const Point& b) {
    return {double(a[0]) - b[0], double(a[1]) - b[1], double(a[2]) - b[2]};
}

// A polygon's area vector (its normal times its area) from its corners in turn.
std::array<double, 3> AreaVector(const std::vector<Point>& points,
                                 const std::array<int, 4>& polygon) {
    std::array<double, 3> sum{0, 0, 0};
    const int count = ShellProjection::CornersOf(polygon);
    for (int k = 1; k + 1 < count; ++k) {
        const auto u = Minus(points[size_t(polygon[size_t(k)])], points[size_t(polygon[0])]);
        const auto v = Minus(points[size_t(polygon[size_t(k + 1)])], points[size_t(polygon[0])]);
        sum[0] += (u[1] * v[2] - u[2] * v[1]) / 2;
        sum[1] += (u[2] * v[0] - u[0] * v[2]) / 2;
        sum[2] += (u[0] * v[1] - u[1] * v[0]) / 2;
    }
    return sum;
}

double Length(const std::array<double, 3>& v) {
    return std::hypot(v[0], v[1], v[2]);
}

double TotalArea(const std::vector<Point>& points,
                 const std::vector<std::array<int, 4>>& polygons) {
    double area = 0;
    for (const auto& polygon : polygons)
        area += Length(AreaVector(points, polygon));
    return area;
}

Point Middle(const std::vector<Point>& points, const std::array<int, 4>& polygon) {
    Point middle{0, 0, 0};
    const int count = ShellProjection::CornersOf(polygon);
    for (int k = 0; k < count; ++k) {
        for (size_t a = 0; a < 3; ++a)
            middle[a] += points[size_t(polygon[size_t(k)])][a] / float(count);
    }
    return middle;
}

// Faces of a convex body that all point away from its centre; the count of those that do not.
int Inward(const std::vector<Point>& points, const std::vector<std::array<int, 4>>& faces,
           const Point& centre) {
    int inward = 0;
    for (const auto& face : faces) {
        const auto normal = AreaVector(points, face);
        const auto out = Minus(Middle(points, face), centre);
        inward += normal[0] * out[0] + normal[1] * out[1] + normal[2] * out[2] <= 0;
    }
    return inward;
}

double Linear(const Point& p) {
    return 1 + 2.0 * p[0] + 3.0 * p[1] - 4.0 * p[2];
}

std::vector<double> LinearAtNodes(const std::vector<Point>& nodes) {
    std::vector<double> values;
    for (const Point& p : nodes)
        values.push_back(Linear(p));
    return values;
}

struct Painting {
    QImage Image{900, 600, QImage::Format_RGB32};
    ViewCamera Camera;
    ResultPainter::Report Report;
};

Painting Paint(const ViewerLaunch::Outcome& outcome, int show, const SolidSection* section) {
    Painting painting;
    painting.Image.fill(Qt::white);
    const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
    painting.Camera.SetSpace(true);
    painting.Camera.Fit(outcome.Model.Nodes, QRectF(40, 90, 660, 480));
    ResultPainter::Options options;
    options.Show = show;
    options.Reactions = false;
    options.Section = section;
    QPainter painter(&painting.Image);
    painting.Report =
        ResultPainter::Paint(painter, painting.Image.rect(), outcome.Model, *outcome.Type,
                             outcome.Results, choice, painting.Camera, options);
    return painting;
}

int ShowIndex(const FieldLayout& layout, const QString& name) {
    for (size_t k = 0; k < layout.Shows.size(); ++k) {
        if (layout.Shows[k].Name == name)
            return int(k);
    }
    return -1;
}

// Polygons whose middle shows the colour of the band the field has there (its hue), leaving out
// values near a band's limit; -1 when one shows another colour.
int MiddlesAgreeing(const Painting& painting, const std::vector<Point>& points,
                    const std::vector<std::array<int, 4>>& polygons, const SolidData::Field& field,
                    bool facingOnly) {
    const ContourScale& scale = painting.Report.Contours;
    int agreeing = 0;
    for (const auto& polygon : polygons) {
        const auto normal = AreaVector(points, polygon);
        const double area = Length(normal);
        if (area <= 0)
            continue;
        const Point middle = Middle(points, polygon);
        if (facingOnly && painting.Camera.Towards({float(normal[0] / area), float(normal[1] / area),
                                                   float(normal[2] / area)}) < 0.2)
            continue;
        const double value = field(middle)[0];
        const int band = scale.BandOf(value);
        const double low = scale.Limits()[size_t(band)], high = scale.Limits()[size_t(band) + 1];
        if (std::min(value - low, high - value) < 0.08 * (high - low))
            continue;
        // Shaded by how squarely the face is seen: the same hue, a little darker.
        const QColor seen = painting.Image.pixelColor(painting.Camera.Project(middle).toPoint());
        const QColor colour = scale.ColourOf(band);
        const int turn = std::abs(seen.hue() - colour.hue());
        if (std::min(turn, 360 - turn) > 4 || seen.value() > colour.value() + 1 ||
            seen.value() < 0.7 * colour.value()) {
            qWarning("polygon at %g %g %g: %g in band %d", middle[0], middle[1], middle[2], value,
                     band);
            return -1;
        }
        ++agreeing;
    }
    return agreeing;
}

} // namespace

class TestSolidView : public QObject {
    Q_OBJECT

private slots:
    void surfaceOfBricksIsTheirOuterFacesOutwards();
    void surfaceOfWedgesAndTetrahedra();
    void sectionInterpolatesLinearFields();
    void sectionAtALayerOfNodesAndOutsideTheBody();
    void largeMeshIsCutQuickly();
    void layoutAndTablesOfSolids();
    void contoursOnTheSurfaceAndTheCut();
    void deformedAndModelViews();
    void clickFindsTheNearestNodeOfTheFaceUnderIt();
    void windowMovesTheSection();
    void screenshots();
};

void TestSolidView::surfaceOfBricksIsTheirOuterFacesOutwards() {
    SolidData::Mesh mesh = SolidData::Block(2, 2, 2, 1, 1, 1);
    // One brick named the other way round (its bottom face clockwise seen from above) is
    // turned outwards all the same.
    std::swap(mesh.Elements[3][1], mesh.Elements[3][3]);
    std::swap(mesh.Elements[3][5], mesh.Elements[3][7]);
    const SolidSurface surface = SolidSurface::Of(mesh.Nodes, mesh.Elements);
    QCOMPARE(surface.Faces().size(), size_t(24));
    QCOMPARE(Inward(mesh.Nodes, surface.Faces(), {1, 1, 1}), 0);
    QCOMPARE(TotalArea(mesh.Nodes, surface.Faces()), 24.0);
    // Every element of the 2 × 2 × 2 block is a corner one: three outer faces each, on the
    // block's sides only.
    std::vector<int> perElement(8, 0);
    for (size_t f = 0; f < surface.Faces().size(); ++f) {
        ++perElement[size_t(surface.Elements()[f])];
        const Point middle = Middle(mesh.Nodes, surface.Faces()[f]);
        QVERIFY(std::count_if(middle.begin(), middle.end(),
                              [](float c) { return c == 0 || c == 2; }) == 1);
    }
    QCOMPARE(perElement, std::vector<int>(8, 3));
    // A face named by three elements is no outer face; an element with a corner missing has
    // none.
    SolidData::Mesh bad = SolidData::Block(1, 1, 1, 1, 1, 1);
    bad.Elements.push_back({0, 1, 2, 3, 4, 5, 6, -1});
    bad.Elements.push_back({0, 1, 2, 3, 4, 5, 6, 99});
    QCOMPARE(SolidSurface::Of(bad.Nodes, bad.Elements).Faces().size(), size_t(6));
}

void TestSolidView::surfaceOfWedgesAndTetrahedra() {
    const SolidData::Mesh wedges = SolidData::Block(1, 1, 1, 1, 1, 1, Cells::Wedges);
    const SolidSurface w = SolidSurface::Of(wedges.Nodes, wedges.Elements);
    // Two triangles top and bottom, four quadrilateral sides; the diagonal face is inside.
    QCOMPARE(w.Faces().size(), size_t(8));
    QCOMPARE(std::count_if(w.Faces().begin(), w.Faces().end(), [](auto& f) { return f[3] < 0; }),
             4);
    QCOMPARE(Inward(wedges.Nodes, w.Faces(), {0.5, 0.5, 0.5}), 0);
    QVERIFY(std::abs(TotalArea(wedges.Nodes, w.Faces()) - 6) < 1e-12);

    // Wedges below, tetrahedra above: their triangles meet at z = 1, inside the body.
    SolidData::Mesh mixed = SolidData::Block(1, 1, 2, 1, 1, 1, Cells::Tetrahedra);
    const SolidData::Mesh lower = SolidData::Block(1, 1, 2, 1, 1, 1, Cells::Wedges);
    mixed.Elements.erase(mixed.Elements.begin(), mixed.Elements.begin() + 6);
    mixed.Elements.insert(mixed.Elements.begin(), lower.Elements.begin(),
                          lower.Elements.begin() + 2);
    const SolidSurface m = SolidSurface::Of(mixed.Nodes, mixed.Elements);
    QCOMPARE(m.Faces().size(), size_t(2 + 4 + 2 + 8));
    QCOMPARE(Inward(mixed.Nodes, m.Faces(), {0.5, 0.5, 1}), 0);
    QVERIFY(std::abs(TotalArea(mixed.Nodes, m.Faces()) - 10) < 1e-12);
    for (const auto& face : m.Faces())
        QVERIFY(Middle(mixed.Nodes, face)[2] != 1.0f);
}

void TestSolidView::sectionInterpolatesLinearFields() {
    for (Cells cells : {Cells::Bricks, Cells::Wedges, Cells::Tetrahedra}) {
        SolidData::Mesh mesh = SolidData::Block(2, 2, 2, 1, 1, 1, cells);
        // The middle node moved: the elements are no longer boxes, the field still linear.
        mesh.Nodes[13] = {1.1f, 0.95f, 1.05f};
        const SolidSurface surface = SolidSurface::Of(mesh.Nodes, mesh.Elements);
        for (int axis = 0; axis < 3; ++axis) {
            for (bool above : {true, false}) {
                const SectionPlane plane{axis, 0.7, above};
                const SolidSection section(mesh.Nodes, mesh.Elements, surface, plane);
                std::vector<Point> points;
                section.Points(mesh.Nodes, points);
                const std::vector<double> values = section.Values(LinearAtNodes(mesh.Nodes));
                double worst = 0;
                for (size_t v = 0; v < points.size(); ++v) {
                    worst = std::max(worst, std::abs(values[v] - Linear(points[v])));
                    // Every vertex lies on the plane or on the kept side.
                    const double side = (points[v][size_t(axis)] - 0.7) * (above ? 1 : -1);
                    QVERIFY(side > -1e-6);
                }
                QVERIFY2(worst < 1e-5, qPrintable(QString::number(worst)));
                // The cut fills the block's section, on the plane; the kept faces are the
                // block's surface on the kept side.
                QVERIFY(std::abs(TotalArea(points, section.Cut()) - 4) < 1e-5);
                for (const auto& polygon : section.Cut())
                    QVERIFY(std::abs(Middle(points, polygon)[size_t(axis)] - 0.7) < 1e-6);
                const double depth = above ? 1.3 : 0.7;
                QVERIFY(std::abs(TotalArea(points, section.Faces()) - (4 + 4 * 2 * depth)) < 1e-5);
                QCOMPARE(section.CutElements().size(), section.Cut().size());
                QCOMPARE(section.FaceElements().size(), section.Faces().size());
            }
        }
    }
    // A plane that cuts one corner off a face leaves five corners, kept as a quadrilateral and
    // a triangle: the edge between them is marked as a seam in both, not an edge of the solid.
    {
        const std::vector<Point> nodes = {{0, 0, 0}, {0.2f, 0, 0}, {0.2f, 1, 0}, {0, 1, 0},
                                          {0, 0, 1}, {0.2f, 0, 1}, {0.9f, 1, 1}, {0, 1, 1}};
        const std::vector<SolidSurface::Corners> one = {{0, 1, 2, 3, 4, 5, 6, 7}};
        const SolidSection corner(nodes, one, SolidSurface::Of(nodes, one), {0, 0.5, false});
        const auto& faces = corner.Faces();
        const auto& seams = corner.FaceSeams();
        QCOMPARE(seams.size(), faces.size());
        int pairs = 0;
        for (size_t f = 0; f < faces.size(); ++f) {
            if (seams[f] < 0 || faces[f][3] < 0)
                continue;
            // The quadrilateral's seam runs from its fourth corner to its first; the triangle
            // after it has the same edge as its first.
            ++pairs;
            QVERIFY(f + 1 < faces.size());
            QCOMPARE(seams[f], static_cast<signed char>(3));
            QCOMPARE(seams[f + 1], static_cast<signed char>(0));
            QCOMPARE(faces[f + 1][0], faces[f][0]);
            QCOMPARE(faces[f + 1][1], faces[f][3]);
        }
        QCOMPARE(pairs, 3); // the three faces at the hidden corner
        QCOMPARE(std::count(seams.begin(), seams.end(), -1),
                 static_cast<std::ptrdiff_t>(faces.size() - 6));
    }
    // Each brick the plane crosses is outlined by four edges, not by its tetrahedra's.
    const SolidData::Mesh bricks = SolidData::Block(2, 2, 2, 1, 1, 1);
    const SolidSection section(bricks.Nodes, bricks.Elements,
                               SolidSurface::Of(bricks.Nodes, bricks.Elements), {0, 0.7, true});
    QCOMPARE(section.Outline().size(), size_t(4 * 4));
    // Every tetrahedron of a brick holds its diagonal, which the plane crosses.
    QCOMPARE(section.Cut().size(), size_t(4 * 6));
}

void TestSolidView::sectionAtALayerOfNodesAndOutsideTheBody() {
    const SolidData::Mesh mesh = SolidData::Block(2, 2, 2, 1, 1, 1);
    const SolidSurface surface = SolidSurface::Of(mesh.Nodes, mesh.Elements);
    std::vector<Point> points;
    // Through the middle layer of nodes: its four faces once, nothing of no area.
    for (bool above : {true, false}) {
        const SolidSection layer(mesh.Nodes, mesh.Elements, surface, {2, 1.0, above});
        layer.Points(mesh.Nodes, points);
        QVERIFY(std::abs(TotalArea(points, layer.Cut()) - 4) < 1e-9);
        for (const auto& polygon : layer.Cut())
            QVERIFY(Length(AreaVector(points, polygon)) > 1e-9);
        for (const auto& polygon : layer.Faces())
            QVERIFY(Length(AreaVector(points, polygon)) > 1e-9);
        QVERIFY(std::abs(TotalArea(points, layer.Faces()) - 12) < 1e-9);
        const std::vector<double> values = layer.Values(LinearAtNodes(mesh.Nodes));
        for (size_t v = 0; v < points.size(); ++v)
            QVERIFY(std::abs(values[v] - Linear(points[v])) < 1e-9);
    }
    // Beyond the body on the hidden side everything stays; on the other nothing.
    const SolidSection all(mesh.Nodes, mesh.Elements, surface, {0, -1.0, true});
    all.Points(mesh.Nodes, points);
    QVERIFY(all.Cut().empty());
    QCOMPARE(all.Faces().size(), size_t(24));
    QVERIFY(std::abs(TotalArea(points, all.Faces()) - 24) < 1e-9);
    const SolidSection none(mesh.Nodes, mesh.Elements, surface, {0, 3.0, true});
    QVERIFY(none.Cut().empty() && none.Faces().empty() && none.Vertices().empty());
    // No plane, no cut.
    QVERIFY(SolidSection(mesh.Nodes, mesh.Elements, surface, {}).Faces().empty());
    QCOMPARE(SolidSection::Range(mesh.Nodes, 1), (std::array<double, 2>{0, 2}));
}

void TestSolidView::largeMeshIsCutQuickly() {
    // 108,000 bricks: the surface of 14,400 faces, and a cut through the middle.
    const SolidData::Mesh mesh = SolidData::Block(60, 60, 30, 0.1, 0.1, 0.2);
    QElapsedTimer timer;
    timer.start();
    const SolidSurface surface = SolidSurface::Of(mesh.Nodes, mesh.Elements);
    const qint64 found = timer.restart();
    const SolidSection section(mesh.Nodes, mesh.Elements, surface, {1, 3.05, true});
    qInfo("surface of %zu bricks in %lld ms, cut in %lld ms", mesh.Elements.size(), found,
          timer.elapsed());
    QCOMPARE(surface.Faces().size(), size_t(2 * (60 * 60 + 2 * 60 * 30)));
    QCOMPARE(Inward(mesh.Nodes, surface.Faces(), {3, 3, 3}), 0);
    std::vector<Point> points;
    section.Points(mesh.Nodes, points);
    QVERIFY(std::abs(TotalArea(points, section.Cut()) - 6.0 * 6.0) < 1e-3);

    // Its stresses on the surface, and cut open: drawn from the outer faces only.
    const ViewerModel model = [&] {
        ViewerModel m;
        m.Nodes = mesh.Nodes;
        m.Solids = mesh.Elements;
        m.Surface = surface;
        m.ElementCentres.resize(mesh.Elements.size());
        return m;
    }();
    const std::vector<double> values = LinearAtNodes(mesh.Nodes);
    const ContourScale scale(-20, 30, QStringLiteral("kN/m\u00b2"));
    QImage image(1000, 700, QImage::Format_RGB32);
    ViewCamera camera;
    camera.SetSpace(true);
    camera.Fit(model.Nodes, QRectF(image.rect()));
    for (const SolidSection* cut : {static_cast<const SolidSection*>(nullptr), &section}) {
        image.fill(Qt::white);
        QPainter painter(&image);
        timer.restart();
        SolidPainter::DrawContours(painter, image.rect(), model, cut, values, scale, camera, false);
        qInfo("contours %s in %lld ms", cut ? "cut open" : "on the surface", timer.elapsed());
        painter.end();
        // The middle of the block is covered.
        QVERIFY(image.pixel(500, 350) != QColor(Qt::white).rgb());
    }
}

void TestSolidView::layoutAndTablesOfSolids() {
    const FieldLayout layout = TestLayout(17);
    QVERIFY(layout.Solid() && !layout.Space() && layout.Principal.isEmpty());
    QCOMPARE(layout.Stresses.Count(), 10);
    QStringList titles;
    for (const auto& show : layout.Shows)
        titles << show.Title;
    QCOMPARE(titles.first(), QStringLiteral("Deformed shape"));
    QVERIFY(titles.contains(QStringLiteral("Von Mises stress")));
    QVERIFY(titles.contains(QStringLiteral("Principal stress s3")));
    QVERIFY(titles.contains(QStringLiteral("Displacement uy")));
    // The von Mises stress is a stress, not a moment per width.
    QCOMPARE(TestUnit(layout, "mises", "kN", "m"), QStringLiteral("kN/m\u00b2"));

    const ViewerModel model = SolidData::Model(SolidData::Block(2, 1, 2, 1, 1, 1));
    QCOMPARE(model.Solids.size(), size_t(4));
    QCOMPARE(model.Surface.Faces().size(), size_t(16));
    const ViewerLaunch::Outcome outcome = SolidData::Launch(
        model, SolidData::Contents(
                   model,
                   [](const Point& p) {
                       return std::vector<double>{0.003, -0.004, p[0]};
                   },
                   [](const Point& p) { return std::vector<double>(10, Linear(p)); }));
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    // The length of the displacement, from its three components.
    const FieldResults& field = outcome.Results.Contents().Field;
    const auto lengths = FieldLayout::NodeValues(field, field.Cases[0],
                                                 layout.Shows[size_t(ShowIndex(layout, "u"))]);
    QCOMPARE(lengths.size(), model.Nodes.size());
    QVERIFY(std::abs(lengths[1] - std::hypot(0.003, 0.004, model.Nodes[1][0])) < 1e-15);

    ResultTableModel table(outcome.Results, ProblemType::Of(17), "kN", "m");
    table.Show(ResultTableModel::Table::NodeStresses, 0);
    QCOMPARE(table.rowCount(), int(model.Nodes.size()));
    QCOMPARE(table.headerData(10, Qt::Horizontal).toString(), QStringLiteral("mises [kN/m\u00b2]"));

    // Results of a plane mesh do not fit a solid.
    ResultFile::Contents other = SolidData::Bending(model, 2, 2);
    other.Field.Elements = 3;
    QVERIFY(!ViewerResults::FromBytes(ResultFile::Write(other), "block.bin", ProblemType::Of(17),
                                      false, model)
                 .Ok());
}

void TestSolidView::contoursOnTheSurfaceAndTheCut() {
    const double length = 6, height = 2;
    const ViewerModel model = SolidData::Model(SolidData::Block(12, 2, 4, 0.5, 0.5, 0.5));
    const ViewerLaunch::Outcome outcome =
        SolidData::Launch(model, SolidData::Bending(model, length, height));
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    const FieldLayout layout = TestLayout(17);
    const int sx = ShowIndex(layout, "sx");
    const auto field = [=](const Point& p) {
        return std::vector<double>{1200 * (1 - p[0] / length) * (p[2] - height / 2) / height};
    };
    // The faces turned towards the viewer show the bands of sx (linear over each face).
    const Painting surface = Paint(outcome, sx, nullptr);
    QCOMPARE(surface.Report.Contours.Unit(), QStringLiteral("kN/m\u00b2"));
    QVERIFY(surface.Report.Caption.join(u' ').contains(QStringLiteral("Smallest -600")));
    QVERIFY(MiddlesAgreeing(surface, model.Nodes, model.Surface.Faces(), field, true) > 30);

    // Cut across x = 2.2, the near part hidden: the cut shows sx there, the part kept beyond.
    const SolidSection section(model.Nodes, model.Solids, model.Surface, {0, 2.2, true});
    const Painting cut = Paint(outcome, sx, &section);
    QVERIFY(cut.Report.Caption.join(u' ').contains(QStringLiteral("Cut at x = 2.200 m")));
    std::vector<Point> points;
    section.Points(model.Nodes, points);
    QVERIFY(SolidPainter::CutFacesViewer(section.Plane(), cut.Camera));
    QVERIFY(MiddlesAgreeing(cut, points, section.Cut(), field, false) > 10);
    // Nothing is drawn where only the hidden part lies.
    const QPoint hidden = cut.Camera.Project({0.2f, 0.1f, 1.9f}).toPoint();
    QCOMPARE(cut.Image.pixel(hidden), QColor(Qt::white).rgb());
    QVERIFY(surface.Image.pixel(hidden) != QColor(Qt::white).rgb());
}

void TestSolidView::deformedAndModelViews() {
    const ViewerModel model = SolidData::Model(SolidData::Block(6, 2, 3, 1, 1, 1));
    const ViewerLaunch::Outcome outcome = SolidData::Launch(model, SolidData::Bending(model, 6, 3));
    QVERIFY(outcome.Results.Ok());
    // The deformed block shaded: its tip sags 4 mm, magnified to a tenth of the block.
    const Painting deformed = Paint(outcome, 0, nullptr);
    QVERIFY(deformed.Report.Deformation > 0);
    QVERIFY(deformed.Report.Caption.join(u' ').contains(QStringLiteral("0.004000 m")));
    const auto shaded = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2) {
                const QRgb p = image.pixel(x, y);
                count += qBlue(p) > qRed(p) + 40 && qBlue(p) < 250;
            }
        }
        return count;
    };
    QVERIFY(shaded(deformed.Image) > 10000);
    // The model alone: its surface shaded with its edges, the nodes inside not drawn.
    QImage image(900, 600, QImage::Format_RGB32);
    ViewCamera camera;
    camera.SetSpace(true);
    camera.Fit(model.Nodes, QRectF(40, 40, 820, 520));
    QPainter painter(&image);
    ModelPainter::Options options;
    options.LoadCase = 0;
    options.Supports = false;
    ModelPainter::Paint(painter, image.rect(), model, camera, options);
    painter.end();
    QVERIFY(shaded(image) > 10000);
    // Seen from above, the top is lit most and the sides less.
    const QRgb top = image.pixel(camera.Project({3.5f, 1.5f, 3}).toPoint());
    const QRgb side = image.pixel(camera.Project({3.5f, 0, 1.5f}).toPoint());
    QVERIFY(qBlue(top) != qBlue(side));
}

void TestSolidView::clickFindsTheNearestNodeOfTheFaceUnderIt() {
    const ViewerModel model = SolidData::Model(SolidData::Block(4, 2, 2, 1, 1, 1));
    ViewCamera camera;
    camera.SetSpace(true);
    camera.Fit(model.Nodes, QRectF(0, 0, 800, 600));
    const auto nodeAt = [&](float x, float y, float z) {
        for (size_t n = 0; n < model.Nodes.size(); ++n) {
            if (model.Nodes[n] == Point{x, y, z})
                return int(n);
        }
        return -1;
    };
    // Beside a corner of the front face: that corner, not the node behind it.
    const QPointF front = camera.Project({2, 0, 1});
    FieldPicker::Pick pick = FieldPicker::At(model, camera, front + QPointF(3, 2));
    QCOMPARE(pick.Node, nodeAt(2, 0, 1));
    // Cut at y = 1 keeping the far half: the same place is now on the cut, at the middle
    // row of nodes.
    const SolidSection section(model.Nodes, model.Solids, model.Surface, {1, 1.0, true});
    pick = FieldPicker::AtSolid(model, camera, camera.Project({2, 1, 1}) + QPointF(3, 2), &section,
                                model.Nodes);
    QCOMPARE(pick.Node, nodeAt(2, 1, 1));
    // Cut nearer the hidden row (y = 0.3): the node given is still one in view.
    const SolidSection nearHidden(model.Nodes, model.Solids, model.Surface, {1, 0.3, true});
    pick = FieldPicker::AtSolid(model, camera, camera.Project({2, 0.3f, 1}) + QPointF(3, 2),
                                &nearHidden, model.Nodes);
    QCOMPARE(pick.Node, nodeAt(2, 1, 1));
    // Off the body: nothing.
    QVERIFY(!FieldPicker::AtSolid(model, camera, {2, 2}, nullptr, model.Nodes).Hit());
    const ViewerLaunch::Outcome outcome = SolidData::Launch(model, SolidData::Bending(model, 4, 2));
    const QString text =
        FieldPicker::Describe(pick, model, outcome.Results.Contents().Field, TestLayout(17), 0);
    QVERIFY2(text.startsWith(QStringLiteral("Node %1: ux = 0 m, uy = 0 m, uz = -0.001000 m")
                                 .arg(nodeAt(2, 1, 1) + 1)),
             qPrintable(text));
}

void TestSolidView::windowMovesTheSection() {
    const ViewerModel model = SolidData::Model(SolidData::Block(8, 2, 4, 0.5, 0.5, 0.5));
    ViewerWindow window(QStringLiteral("Brimto"),
                        SolidData::Launch(model, SolidData::Bending(model, 4, 2)));
    window.resize(1100, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.SectionAxis() && !window.View()->Section());
    // S picks x, the plane starts in the middle, ] moves it on by a fortieth of the block.
    QTest::keyClick(window.View(), Qt::Key_S);
    QVERIFY(window.View()->Section());
    QCOMPARE(window.View()->Section()->Plane().Axis, 0);
    QCOMPARE(window.View()->Section()->Plane().At, 2.0);
    QTest::keyClick(window.View(), Qt::Key_BracketRight);
    QCOMPARE(window.View()->Section()->Plane().At, 2.1);
    QCOMPARE(window.SectionPosition()->text().trimmed(), QStringLiteral("x = 2.100 m"));
    // The cut faces the viewer at first; F hides the other part.
    QVERIFY(
        SolidPainter::CutFacesViewer(window.View()->Section()->Plane(), window.View()->Camera()));
    QTest::keyClick(window.View(), Qt::Key_F);
    QVERIFY(
        !SolidPainter::CutFacesViewer(window.View()->Section()->Plane(), window.View()->Camera()));
    window.Shows()->setCurrentIndex(ShowIndex(TestLayout(17), "mises"));
    // A click on the cut names a node's values.
    QTest::keyClick(window.View(), Qt::Key_F);
    const QPointF onCut = window.View()->Camera().Project({2.1f, 0.5f, 1.0f});
    window.ShowValuesAt(onCut);
    QVERIFY2(window.PickedValues().startsWith(QStringLiteral("Node ")),
             qPrintable(window.PickedValues()));
    // Back to none: the solid closes.
    for (int k = 0; k < 3; ++k)
        QTest::keyClick(window.View(), Qt::Key_S);
    QVERIFY(!window.View()->Section());
    QVERIFY(!window.SectionSlider()->isEnabled());
}

void TestSolidView::screenshots() {
    // The README's pictures; set QV_SCREENSHOT_DIR to refresh them. Without it they are still
    // drawn and checked.
    QTemporaryDir scratch;
    const QString folder = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                               ? scratch.path()
                               : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    // A pier 3 m by 1.5 m and 6 m high under its weight and a push along x at its top: sz
    // from both, a shear stress parabolic across it.
    const ViewerModel model = SolidData::Model(SolidData::Block(12, 6, 24, 0.25, 0.25, 0.25));
    const auto stresses = [](const Point& p) {
        const double arm = 6 - p[2], x = (p[0] - 1.5) / 1.5;
        const double sz = -25 * arm - 60 * arm * x, tzx = 40 * (1 - x * x);
        const double middle = sz / 2, radius = std::hypot(sz / 2, tzx);
        return std::vector<double>{0,
                                   0,
                                   sz,
                                   0,
                                   0,
                                   tzx,
                                   middle + radius,
                                   0.0,
                                   middle - radius,
                                   std::sqrt(sz * sz + 3 * tzx * tzx)};
    };
    const auto motion = [](const Point& p) {
        const double h = p[2] / 6;
        return std::vector<double>{0.004 * h * h, 0, -0.0004 * h - 0.0006 * h * (p[0] - 1.5)};
    };
    ViewerWindow window(QStringLiteral("Brimto"),
                        SolidData::Launch(model, SolidData::Contents(model, motion, stresses)));
    window.resize(1000, 680);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Shows()->setCurrentIndex(ShowIndex(TestLayout(17), "sz"));
    // Fitted by its bounding sphere, a tall pier leaves room to spare: closer.
    window.View()->Zoom(1.4);
    const auto coloured = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3) {
                const QColor c = image.pixelColor(x, y);
                count += c.saturation() > 120;
            }
        }
        return count;
    };
    const QImage surface = window.grab().toImage();
    QVERIFY(coloured(surface) > 3000);
    QVERIFY(surface.save(QDir(folder).filePath(QStringLiteral("viewer-solid-surface.png"))));
    // Cut along the pier's middle: the stresses inside.
    window.SectionAxis()->setCurrentIndex(2);
    window.Shows()->setCurrentIndex(ShowIndex(TestLayout(17), "mises"));
    const QImage cut = window.grab().toImage();
    QVERIFY(coloured(cut) > 3000);
    QVERIFY(cut.save(QDir(folder).filePath(QStringLiteral("viewer-solid-section.png"))));
}

QTEST_MAIN(TestSolidView)
#include "TestColumns.h"
#include "tst_solidview.moc"
