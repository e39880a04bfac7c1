#include "FieldPainter.h"
#include "FieldPicker.h"
#include "ResultChoice.h"
#include "ResultTableModel.h"
#include "ShellData.h"
#include "ShellProjection.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>

namespace {

struct Painting {
    QImage Image{900, 560, QImage::Format_RGB32};
    ViewCamera Camera;
    ResultPainter::Report Report;
};

// The results drawn as the window draws them: a plate in plan, a shell turned in space.
Painting Paint(const ViewerLaunch::Outcome& outcome, int show, int entry = 0, bool arrows = false) {
    Painting painting;
    painting.Image.fill(Qt::white);
    const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
    if (choice.Field() && choice.Field()->Flat()) {
        painting.Camera.SetPlan();
    } else {
        painting.Camera.SetSpace(true);
        painting.Camera.Rotate(0, 40);
    }
    painting.Camera.Fit(outcome.Model.Nodes, QRectF(40, 90, 640, 440));
    ResultPainter::Options options;
    options.Entry = entry;
    options.Show = show;
    options.Arrows = arrows;
    options.Reactions = false;
    QPainter painter(&painting.Image);
    painting.Report =
        ResultPainter::Paint(painter, painting.Image.rect(), outcome.Model, *outcome.Type,
                             outcome.Results, choice, painting.Camera, options);
    return painting;
}

// Elements whose centre on the screen has the colour of the band their corners' mean falls
// in (the value a linear field takes there), leaving out means close to a band's limit; -1
// when one has another colour.
int CentresAgreeing(const Painting& painting, const ViewerModel& model,
                    const std::vector<double>& values) {
    const ContourScale& scale = painting.Report.Contours;
    int agreeing = 0;
    for (size_t e = 0; e < model.Polygons.size(); ++e) {
        double sum = 0;
        int count = 0;
        for (int corner : model.Polygons[e]) {
            if (corner >= 0) {
                sum += values[size_t(corner)];
                ++count;
            }
        }
        const double mean = sum / count;
        const int band = scale.BandOf(mean);
        const double low = scale.Limits()[size_t(band)], high = scale.Limits()[size_t(band) + 1];
        if (std::min(mean - low, high - mean) < 0.05 * (high - low))
            continue;
        const QPoint at = painting.Camera.Project(model.ElementCentres[e]).toPoint();
        if (painting.Image.pixel(at) != scale.ColourOf(band).rgb()) {
            qWarning("element %d: %g in band %d", int(e + 1), mean, band);
            return -1;
        }
        ++agreeing;
    }
    return agreeing;
}

int ShowIndex(const FieldLayout& layout, const QString& title) {
    for (size_t k = 0; k < layout.Shows.size(); ++k) {
        if (layout.Shows[k].Title == title)
            return int(k);
    }
    return -1;
}

} // namespace

class TestViewerShell : public QObject {
    Q_OBJECT

private slots:
    void layoutsOfferWhatEachKindHolds();
    void resultsThatDoNotFitAreRefused();
    void planShowsXToTheRightAndYUp();
    void facetsAreOrderedFarToNear();
    void plateContoursAndPrincipalMoments();
    void plateModesAsContoursOfTheirShape();
    void shellInSpace();
    void tablesNameForcesAndMoments();
};

void TestViewerShell::layoutsOfferWhatEachKindHolds() {
    const FieldLayout plate = TestLayout(13);
    QCOMPARE(plate.Kind, ResultFile::Kind::Field);
    QVERIFY(plate.Flat() && !plate.Space());
    // In plan the deflection stands for the deformed shape.
    QCOMPARE(plate.Shows.front().Title, QStringLiteral("Deflection uz"));
    QCOMPARE(plate.Shows.front().From, FieldLayout::Show::Source::Component);
    for (const char* title : {"Moment mx", "Twisting moment mxy", "Shear force qy",
                              "Principal moment m2", "Angle of m1", "Rotation ry"})
        QVERIFY2(ShowIndex(plate, QLatin1String(title)) > 0, title);
    QCOMPARE(plate.Principal, (QStringList{"m1", "m2", "angle"}));

    const FieldLayout modes = *FieldLayout::Of(ProblemType::Of(13), true);
    QCOMPARE(modes.Kind, ResultFile::Kind::Modes);
    QCOMPARE(modes.Shows.size(), size_t(3));
    QCOMPARE(modes.Shows.front().Title, QStringLiteral("Mode shape uz"));
    QVERIFY(modes.UnitOf(modes.Shows.front(), "kN", "m").isEmpty());
    // Only a plate's mesh has natural modes among the continuum types.
    QVERIFY(!FieldLayout::Of(ProblemType::Of(14), true) &&
            !FieldLayout::Of(ProblemType::Of(9), true));

    const FieldLayout shell = TestLayout(14);
    QVERIFY(shell.Space() && !shell.Flat() && shell.Principal.isEmpty());
    QCOMPARE(shell.Shows.front().From, FieldLayout::Show::Source::Deformed);
    for (const char* title :
         {"Membrane force nx", "Membrane shear nxy", "Moment my", "Stress sx, top face",
          "Shear stress txy, bottom face", "Displacement uy", "Rotation rz"})
        QVERIFY2(ShowIndex(shell, QLatin1String(title)) > 0, title);
    // The plane types keep theirs.
    QCOMPARE(TestLayout(9).Shows[4].Title, QStringLiteral("Principal stress s1"));
    QCOMPARE(TestLayout(9).Shows.back().Title, QStringLiteral("Angle of s1"));

    const auto unit = [&](const char* name) {
        const bool plateOnly = QLatin1String(name) == QLatin1String("m2") ||
                               QLatin1String(name) == QLatin1String("qx");
        return TestUnit(plateOnly ? plate : shell, name, "kN", "m");
    };
    QCOMPARE(unit("mx"), QStringLiteral("kNm/m"));
    QCOMPARE(unit("m2"), QStringLiteral("kNm/m"));
    QCOMPARE(unit("qx"), QStringLiteral("kN/m"));
    QCOMPARE(unit("nxy"), QStringLiteral("kN/m"));
    QCOMPARE(unit("rx"), QStringLiteral("rad"));
    QCOMPARE(unit("uz"), QStringLiteral("m"));
    QCOMPARE(unit("txyBottom"), QStringLiteral("kN/m\u00b2"));
}

void TestViewerShell::resultsThatDoNotFitAreRefused() {
    using C = ResultFile::Contents;
    const auto refusal = [](bool shell, bool dynamics, auto change) {
        const ViewerModel model = ShellData::Model(shell, dynamics, 4, 3);
        C contents = dynamics ? ShellData::Modes(model, 4) : ShellData::Contents(shell, model);
        change(contents);
        const ViewerResults results = ShellData::Results(shell, dynamics, model, contents);
        return results.Ok() ? QString() : results.Message();
    };
    const auto none = [](C&) {};
    QCOMPARE(refusal(false, false, none), QString());
    QCOMPARE(refusal(true, false, none), QString());
    QCOMPARE(refusal(false, true, none), QString());
    const auto refused = [&](bool shell, bool dynamics, const char* words, auto change) {
        const QString message = refusal(shell, dynamics, change);
        if (!message.contains(QLatin1String(words)))
            qWarning("%s", qPrintable(message));
        return message.contains(QLatin1String(words));
    };
    // A plate's statics where its modes belong, and the other way round.
    QVERIFY(refused(false, true, "holds stresses of a continuum, not natural modes", [](C& c) {
        c = ShellData::Contents(false, ShellData::Model(false, true, 4, 3));
    }));
    QVERIFY(refused(false, false, "holds natural modes",
                    [](C& c) { c = ShellData::Modes(ShellData::Model(false, false, 4, 3), 4); }));
    QVERIFY(refused(false, true, "its displacements are uz ry rx", [](C& c) {
        c.Modes.Components = {"uz", "ry", "rx"};
    }));
    // An element cut into pieces has inner points, which a mesh's modes do not have.
    QVERIFY(refused(false, true, "divides elements", [](C& c) {
        c.Modes.Pieces[2] = 2;
        for (ResultFile::Shapes::Shape& shape : c.Modes.List)
            shape.Inner = {0.5, 0, 0};
    }));
    QVERIFY(refused(false, true, "for 11 elements", [](C& c) {
        c.Modes.Elements = 11;
        c.Modes.Pieces.resize(11, 1);
    }));
    QVERIFY(refused(false, true, "natural mode of 0 Hz", [](C& c) { c.Modes.List[1].Value = 0; }));
    QVERIFY(refused(false, true, "not finite",
                    [](C& c) { c.Modes.List[2].Displacements[7] = std::nan(""); }));
    QVERIFY(refused(true, false, "its displacements are ux uy uz ry rx rz",
                    [](C& c) { c.Field.Components.swapItemsAt(3, 4); }));
    QVERIFY(refused(false, false, "not finite",
                    [](C& c) { c.Field.Cases[1].NodeStresses[3] = std::nan(""); }));
}

void TestViewerShell::planShowsXToTheRightAndYUp() {
    const ViewerModel model = ShellData::Model(false, false, 6, 3);
    ViewCamera camera;
    camera.SetSpace(true);
    camera.SetPlan();
    QVERIFY(camera.Plan() && !camera.Space());
    camera.Fit(model.Nodes, QRectF(0, 0, 700, 400));
    const QPointF origin = camera.Project({0, 0, 0});
    const QPointF x = camera.Project({6, 0, 0}), y = camera.Project({0, 3, 0});
    QVERIFY(std::abs(x.y() - origin.y()) < 1e-6 && x.x() > origin.x());
    QVERIFY(std::abs(y.x() - origin.x()) < 1e-6 && y.y() < origin.y());
    // Fitted to the window: 6 m fill its width, the plate is centred and square.
    QVERIFY(std::abs(x.x() - origin.x() - 700) < 1e-6);
    QVERIFY(std::abs((origin.y() + y.y()) / 2 - 200) < 1e-6);
    QVERIFY(std::abs(origin.y() - y.y() - 350) < 1e-6);
    // A deflection does not move a node in plan, and turning leaves the plan as it is.
    QCOMPARE(camera.Project({6, 3, -0.5f}), camera.Project({6, 3, 0}));
    camera.Rotate(30, -20);
    QCOMPARE(camera.Project({6, 0, 0}), x);
    QVERIFY(camera.Towards({0, 0, 1}) > 0.999);
}

void TestViewerShell::facetsAreOrderedFarToNear() {
    // Two squares facing the viewer of a camera looking along +y, one behind the other, and a
    // third seen edge on; the corners of the first given last.
    const std::vector<ViewerModel::Point> nodes{
        {0, 5, 0},  {1, 5, 0},  {1, 5, 1},  {0, 5, 1},  // far
        {0, -5, 0}, {1, -5, 0}, {1, -5, 1}, {0, -5, 1}, // near
        {0, 0, 0},  {0, 1, 0},  {0, 1, 1}};             // a triangle in the y-z plane
    const std::vector<std::array<int, 4>> polygons{
        {4, 5, 6, 7}, {0, 1, 2, 3}, {8, 9, 10, -1}, {0, 1, -1, -1}, {0, 1, 2, 99}};
    ViewCamera camera;
    camera.SetSpace(true);
    camera.Rotate(-30, -30); // azimuth and elevation 0
    camera.Fit(nodes, QRectF(0, 0, 400, 400));
    const ShellProjection projection(nodes, polygons, camera);
    // The near square last, whatever the list's order; elements of fewer than three corners
    // or of corners that are no nodes are left out.
    QCOMPARE(projection.Order().size(), size_t(3));
    QCOMPARE(projection.Order().front(), 1);
    QCOMPARE(projection.Order().back(), 0);
    QVERIFY(std::abs(projection.Facing(0) - 1) < 1e-6);
    QVERIFY(std::abs(projection.Facing(2)) < 1e-6);
    // A click where both squares lie finds the near one.
    QCOMPARE(projection.ElementAt(camera.Project({0.5f, 0, 0.5f}), polygons), 0);
    QCOMPARE(projection.ElementAt(camera.Project({5, 0, 5}), polygons), -1);
    // Turned half round, the other is in front.
    camera.Rotate(180, 0);
    const ShellProjection turned(nodes, polygons, camera);
    QCOMPARE(turned.Order().back(), 1);
    QCOMPARE(turned.ElementAt(camera.Project({0.5f, 0, 0.5f}), polygons), 1);
    // The picker finds the near element as well.
    ViewerModel model;
    model.Nodes = nodes;
    model.Polygons = {polygons[0], polygons[1]};
    model.ElementCentres = {{0.5f, -5, 0.5f}, {0.5f, 5, 0.5f}};
    QCOMPARE(FieldPicker::At(model, camera, camera.Project({0.3f, 0, 0.6f})).Element, 1);
}

void TestViewerShell::plateContoursAndPrincipalMoments() {
    const ViewerLaunch::Outcome outcome = ShellData::Launch(false, false, 8, 5);
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    const FieldLayout layout = TestLayout(13);
    const FieldResults& field = outcome.Results.Contents().Field;
    const int mx = ShowIndex(layout, "Moment mx");
    const Painting contours = Paint(outcome, mx, 1);
    QCOMPARE(contours.Report.Contours.Unit(), QStringLiteral("kNm/m"));
    // mx = 2 (10 x - 12) in load case 2: from -24 to 136.
    QVERIFY(contours.Report.Contours.Limits().front() <= -24 &&
            contours.Report.Contours.Limits().back() >= 136);
    const Painting moments = Paint(outcome, mx, 1, true);
    QVERIFY(CentresAgreeing(
                contours, outcome.Model,
                FieldLayout::NodeValues(field, field.Cases[1], layout.Shows[size_t(mx)])) > 20);
    // Two lines a cross at each of the 40 centres, but where a value is too small to see.
    QVERIFY(moments.Report.ArrowsDrawn > 60 && moments.Report.ArrowsDrawn <= 80);
    const QString caption = moments.Report.Caption.join(u'\n');
    QVERIFY2(caption.contains(QStringLiteral("Load case 2: Moment mx (kNm/m)")) &&
                 caption.contains(QStringLiteral("stretch the bottom face")) &&
                 caption.contains(QStringLiteral("Principal moments")),
             qPrintable(caption));
    // m1 along x where mx dominates: a cross at element 40 (x 7.5) lies along the screen's x
    // (the blue line of m1 > 0 through its centre, level).
    const QPoint centre = moments.Camera.Project(outcome.Model.ElementCentres[39]).toPoint();
    const auto bluish = [&](QPoint from, QPoint step) {
        for (int k = -1; k <= 1; ++k) {
            const QRgb p = moments.Image.pixel(from + step * k);
            if (qBlue(p) > qRed(p) + 60)
                return true;
        }
        return false;
    };
    QVERIFY(bluish(centre + QPoint(20, 0), QPoint(0, 1)));
    QVERIFY(!bluish(centre + QPoint(0, -20), QPoint(1, 0)));

    // The deflection: uz = -x y / 1000, smallest at the far corner.
    const Painting deflection = Paint(outcome, 0);
    QCOMPARE(deflection.Report.Contours.Unit(), QStringLiteral("m"));
    QVERIFY(CentresAgreeing(deflection, outcome.Model,
                            FieldLayout::NodeValues(field, field.Cases[0], layout.Shows[0])) > 20);
    QVERIFY(deflection.Report.Caption.join(u' ').contains(
        QStringLiteral("Smallest -0.04000 at node 54")));

    // A click at node 11 (x 1, y 1) tells its deflection and moments.
    const FieldPicker::Pick pick =
        FieldPicker::At(outcome.Model, deflection.Camera, deflection.Camera.Project({1, 1, 0}));
    QCOMPARE(pick.Node, 9 + 1);
    const QString text = FieldPicker::Describe(pick, outcome.Model, field, layout, 0);
    QVERIFY2(text.startsWith(QStringLiteral("Node 11: uz = -0.001000 m, rx = -0.001000 rad")) &&
                 text.contains(QStringLiteral("mx = -2.000 kNm/m")) &&
                 text.contains(QStringLiteral("qx = 3.000 kN/m")),
             qPrintable(text));
}

void TestViewerShell::plateModesAsContoursOfTheirShape() {
    const ViewerLaunch::Outcome outcome = ShellData::Launch(false, true, 8, 5);
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
    QVERIFY(choice.Field() && choice.Field()->Modes() && !choice.Statics());
    QCOMPARE(choice.Entries(),
             (QStringList{"Mode 1: 4.500 Hz", "Mode 2: 18.00 Hz", "Mode 3: 40.50 Hz"}));
    QCOMPARE(choice.Shows().front(), QStringLiteral("Mode shape uz"));
    const QString caption = choice.Caption(1, 0).join(u'\n');
    QVERIFY2(caption.startsWith(QStringLiteral("Mode 2 of 3: f = 18.00 Hz, T = 0.05556 s")),
             qPrintable(caption));
    // Mode 2: uz = (x / 8)², from 0 to 1, without a unit; no crosses nor reactions.
    const Painting mode = Paint(outcome, 0, 1, true);
    QVERIFY(mode.Report.Contours.Unit().isEmpty());
    QVERIFY(mode.Report.Contours.Limits().front() <= 0 &&
            mode.Report.Contours.Limits().back() >= 1);
    QCOMPARE(mode.Report.ArrowsDrawn, 0);
    const std::vector<double> values =
        FieldLayout::ShapeValues(outcome.Results.Contents().Modes, 1, choice.Field()->Shows[0]);
    QCOMPARE(values.size(), outcome.Model.Nodes.size());
    QVERIFY(std::abs(values[8] - 1) < 1e-12 && std::abs(values[4] - 0.25) < 1e-12);
    QVERIFY(CentresAgreeing(mode, outcome.Model, values) > 20);
    // A click tells the shape at a node, or the mean of an element's corners.
    const auto& shapes = outcome.Results.Contents().Modes;
    FieldPicker::Pick pick =
        FieldPicker::At(outcome.Model, mode.Camera, mode.Camera.Project({4, 0, 0}));
    QCOMPARE(
        FieldPicker::Describe(pick, outcome.Model, shapes, 1),
        QStringLiteral("Node 5: uz = 0.2500, rx = 0, ry = -0.1250 (shape scaled: largest uz 1)"));
    pick = FieldPicker::At(outcome.Model, mode.Camera, mode.Camera.Project({7.5f, 0.5f, 0}));
    QVERIFY(FieldPicker::Describe(pick, outcome.Model, shapes, 0)
                .startsWith(QStringLiteral("Element 8, mean of its corners: uz = 0.9375")));
    // The tables of modes: frequencies, and each mode's shape.
    ResultTableModel table(outcome.Results, ProblemType::Of(13), "kN", "m");
    QCOMPARE(table.TitleOf(ResultTableModel::Table::Values), QStringLiteral("Frequencies"));
    table.Show(ResultTableModel::Table::Shape, 2);
    QCOMPARE(table.rowCount(), int(outcome.Model.Nodes.size()));
}

void TestViewerShell::shellInSpace() {
    const ViewerLaunch::Outcome outcome = ShellData::Launch(true, false, 10, 8);
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    const FieldLayout layout = TestLayout(14);
    const FieldResults& field = outcome.Results.Contents().Field;
    // Contours of nx over the vault seen steeply from above: every facet is seen from its
    // top, none covers another, so each centre shows its own band.
    const int nx = ShowIndex(layout, "Membrane force nx");
    const Painting forces = Paint(outcome, nx, 0);
    QCOMPARE(forces.Report.Contours.Unit(), QStringLiteral("kN/m"));
    QVERIFY(CentresAgreeing(
                forces, outcome.Model,
                FieldLayout::NodeValues(field, field.Cases[0], layout.Shows[size_t(nx)])) > 40);
    QVERIFY(forces.Report.Caption.join(u' ').contains(QStringLiteral("In each element's axes")));
    // The deformed shell: uz = -x / 1000 at most 0.01 m, magnified to a tenth of the vault,
    // as shaded facets over the faint mesh.
    const Painting deformed = Paint(outcome, 0, 1);
    QVERIFY(deformed.Report.Deformation > 0);
    QVERIFY(
        deformed.Report.Caption.join(u' ').contains(QStringLiteral("largest at a node 0.02000 m")));
    int shaded = 0;
    for (int y = 0; y < deformed.Image.height(); y += 2) {
        for (int x = 0; x < deformed.Image.width(); x += 2) {
            const QRgb p = deformed.Image.pixel(x, y);
            shaded += qBlue(p) > qRed(p) + 40 && qBlue(p) < 250;
        }
    }
    QVERIFY2(shaded > 5000, qPrintable(QString::number(shaded)));
    // A click finds the element under it.
    const QPointF crown = forces.Camera.Project(outcome.Model.ElementCentres[4 * 10 + 5]);
    QCOMPARE(FieldPicker::At(outcome.Model, forces.Camera, crown).Element, 45);
}

void TestViewerShell::tablesNameForcesAndMoments() {
    const ViewerLaunch::Outcome plate = ShellData::Launch(false, false, 4, 3);
    ResultTableModel table(plate.Results, ProblemType::Of(13), "kN", "m");
    using Table = ResultTableModel::Table;
    QCOMPARE(table.TitleOf(Table::CentreStresses),
             QStringLiteral("Moments and shear forces at element centres"));
    table.Show(Table::NodeStresses, 0);
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("mx [kNm/m]"));
    QCOMPARE(table.headerData(4, Qt::Horizontal).toString(), QStringLiteral("qx [kN/m]"));
    // A plate's supports hold a force and two moments.
    table.Show(Table::Reactions, 1);
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Rz [kN]"));
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Mx [kNm]"));
    table.Show(Table::Displacements, 0);
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral("rx [rad]"));

    const ViewerLaunch::Outcome shell = ShellData::Launch(true, false, 4, 3);
    ResultTableModel forces(shell.Results, ProblemType::Of(14), "kN", "m");
    QCOMPARE(forces.TitleOf(Table::NodeStresses),
             QStringLiteral("Forces, moments and stresses at nodes"));
    forces.Show(Table::CentreStresses, 0);
    QCOMPARE(forces.headerData(7, Qt::Horizontal).toString(), QStringLiteral("sxTop [kN/m\u00b2]"));
    forces.Show(Table::Reactions, 0);
    QCOMPARE(forces.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Mz [kNm]"));
}

QTEST_MAIN(TestViewerShell)
#include "TestColumns.h"
#include "tst_viewershell.moc"
