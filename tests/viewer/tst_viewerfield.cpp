#include "BarElement.h"
#include "ContourBands.h"
#include "ContourScale.h"
#include "FieldData.h"
#include "FieldPainter.h"
#include "FieldPicker.h"
#include "ResultChoice.h"
#include "ResultScale.h"
#include "ResultTableModel.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <limits>

namespace {

bool Close(double actual, double expected, double tolerance = 1e-9) {
    return std::abs(actual - expected) <= tolerance * std::max(1.0, std::abs(expected));
}

// The refusal of results changed by `change` for a grid of `problem`, or an empty text.
template <typename Change>
QString Refusal(int problem, Change change) {
    const ViewerModel model = FieldData::Model(problem, 3, 2);
    ResultFile::Contents contents = FieldData::Contents(problem, model);
    change(contents);
    const ViewerResults results = FieldData::Results(problem, model, contents);
    return results.Ok() ? QString() : results.Message();
}

// The bytes of `contents` as a solver before layouts wrote them (version 3): the stresses
// named, not described.
QByteArray VersionThree(const ResultFile::Contents& contents) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::DoublePrecision);
    const auto names = [&out](const QStringList& list) {
        out << qint32(list.size());
        for (const QString& name : list) {
            out << qint32(name.size());
            out.writeRawData(name.toLatin1().constData(), int(name.size()));
        }
    };
    const auto values = [&out](const std::vector<double>& list) {
        for (double v : list)
            out << v;
    };
    const FieldResults& r = contents.Field;
    out.writeRawData("QVRESULT", 8);
    out << qint32(3) << qint32(contents.Type) << qint32(contents.Problem) << qint32(r.Nodes)
        << qint32(r.Elements);
    names(r.Components);
    names(r.Columns.Names());
    out << qint32(r.Cases.size());
    for (const FieldResults::Case& c : r.Cases) {
        out << qint32(c.Number);
        values(c.Displacements);
        out << qint32(c.Reactions.size());
        for (const FieldResults::Reaction& reaction : c.Reactions) {
            out << qint32(reaction.Node);
            values(reaction.Values);
        }
        values(c.Stresses);
        values(c.NodeStresses);
    }
    return bytes;
}

struct Painting {
    QImage Image{800, 500, QImage::Format_RGB32};
    ViewCamera Camera;
    ResultPainter::Report Report;
};

Painting Paint(const ViewerLaunch::Outcome& outcome, int show, bool arrows = false,
               bool reactions = false) {
    Painting painting;
    painting.Image.fill(Qt::white);
    painting.Camera.Fit(outcome.Model.Nodes, QRectF(60, 100, 560, 360));
    const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
    ResultPainter::Options options;
    options.Show = show;
    options.Arrows = arrows;
    options.Reactions = reactions;
    QPainter painter(&painting.Image);
    painting.Report =
        ResultPainter::Paint(painter, painting.Image.rect(), outcome.Model, *outcome.Type,
                             outcome.Results, choice, painting.Camera, options);
    return painting;
}

} // namespace

class TestViewerField : public QObject {
    Q_OBJECT

private slots:
    void bandsOfALinearFieldHaveTheirExactAreas();
    void colourScaleHasRoundLimitsAndTheUnit();
    void resultsThatDoNotFitAreRefused();
    void columnsShownAsTheFileNamesThem();
    void clickFindsNodeOrElementAndItsValues();
    void tablesGiveStressesWithUnits();
    void contoursColourEachPointByItsStress();
    void principalStressesAndShearArrows();
};

void TestViewerField::bandsOfALinearFieldHaveTheirExactAreas() {
    // v = x over the triangle (0,0) (1,0) (0,1): the part between a and b has the area
    // (b - a) - (b² - a²) / 2.
    const ContourScale scale(0, 1, QStringLiteral("kN/m\u00b2"));
    QCOMPARE(scale.Limits().front(), 0.0);
    QCOMPARE(scale.Limits().back(), 1.0);
    ContourBands bands(scale);
    bands.AddTriangle({QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)}, {0, 1, 0});
    double total = 0;
    for (int band = 0; band < scale.Bands(); ++band) {
        const double a = scale.Limits()[size_t(band)], b = scale.Limits()[size_t(band) + 1];
        QVERIFY2(Close(bands.Area(band), (b - a) - (b * b - a * a) / 2, 1e-12),
                 qPrintable(QString::number(band)));
        total += bands.Area(band);
    }
    QVERIFY(Close(total, 0.5, 1e-12));

    // Values beyond the scale belong to its outer bands; a field of one value to one band.
    const ContourScale narrow(0.2, 0.6, QString());
    ContourBands clipped(narrow);
    clipped.AddTriangle({QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)}, {0, 1, 0});
    QVERIFY(Close(clipped.Area(0), narrow.Limits()[1] - narrow.Limits()[1] * narrow.Limits()[1] / 2,
                  1e-12));
    QVERIFY(Close(clipped.Area(narrow.Bands() - 1),
                  std::pow(1 - narrow.Limits()[size_t(narrow.Bands()) - 1], 2) / 2, 1e-12));

    // A quadrilateral within one band stays whole; one across bands is cut about its centre
    // and loses no area.
    ContourBands quads(scale);
    const QPointF square[4] = {QPointF(0, 0), QPointF(2, 0), QPointF(2, 2), QPointF(0, 2)};
    const double flat[4] = {0.31, 0.32, 0.33, 0.34};
    quads.AddPolygon(square, flat, 4);
    QCOMPARE(quads.Bands()[size_t(scale.BandOf(0.32))].Sizes, std::vector<int>{4});
    const double sloped[4] = {0, 1, 1, 0};
    quads.AddPolygon(square, sloped, 4);
    double area = 0;
    for (int band = 0; band < scale.Bands(); ++band)
        area += quads.Area(band);
    QVERIFY(Close(area, 8, 1e-12));

    // An element seen from very close reaches far beyond the window: only the window's part is
    // kept, coloured as the field is there (v = x / 100 over the window, 0 to 1).
    ContourBands close(scale);
    close.SetClip(QRectF(0, 0, 100, 50));
    close.AddTriangle({QPointF(-1e7, -1e7), QPointF(3e7, -1e7), QPointF(-1e7, 3e7)},
                      {-1e5, 3e5, -1e5});
    double window = 0;
    for (int band = 0; band < scale.Bands(); ++band) {
        const double a = scale.Limits()[size_t(band)], b = scale.Limits()[size_t(band) + 1];
        QVERIFY2(Close(close.Area(band), (b - a) * 100 * 50, 1e-9),
                 qPrintable(QString::number(band)));
        window += close.Area(band);
    }
    QVERIFY(Close(window, 5000, 1e-9));
    for (const ContourBands::Band& band : close.Bands()) {
        for (const QPointF& p : band.Points)
            QVERIFY(p.x() >= -1e-6 && p.x() <= 100 + 1e-6 && p.y() >= -1e-6 && p.y() <= 50 + 1e-6);
    }
}

void TestViewerField::colourScaleHasRoundLimitsAndTheUnit() {
    const ContourScale scale(-47.3, 152.8, QStringLiteral("kN/m\u00b2"));
    const std::vector<double>& limits = scale.Limits();
    QVERIFY(limits.front() <= -47.3 && limits.back() >= 152.8);
    QVERIFY(scale.Bands() >= 8 && scale.Bands() <= 13);
    const double step = limits[1] - limits[0];
    QVERIFY(Close(step, 20)); // 200 / 11 rounds up to 20
    QCOMPARE(limits.front(), -60.0);
    for (size_t k = 1; k < limits.size(); ++k)
        QVERIFY(Close(limits[k] - limits[k - 1], step));
    QVERIFY(std::find(limits.begin(), limits.end(), 0.0) != limits.end()); // 0 exactly
    QCOMPARE(scale.Unit(), QStringLiteral("kN/m\u00b2"));
    QCOMPARE(scale.BandOf(-1e9), 0);
    QCOMPARE(scale.BandOf(1e9), scale.Bands() - 1);
    QCOMPARE(scale.BandOf(0.0), scale.BandOf(10.0));
    QVERIFY(scale.ColourOf(0) != scale.ColourOf(scale.Bands() - 1));
    QVERIFY(scale.ColourOf(0).blue() > scale.ColourOf(0).red());

    // One value, or numbers that differ in their last digits only: one band.
    QCOMPARE(ContourScale(5, 5, QString()).Bands(), 1);
    QCOMPARE(ContourScale(5, 5 * (1 + 1e-14), QString()).Bands(), 1);
    QCOMPARE(ContourScale(0, std::numeric_limits<double>::infinity(), QString()).Bands(), 1);
    QCOMPARE(ContourScale(-1e308, 1e308, QString()).Bands(), 1);
    QCOMPARE(ContourScale(-1e300, 1e300, QString()).Bands(), 10);

    // The units of the fields: stresses per area, the angle in degrees, warping in length².
    QCOMPARE(TestUnit(TestLayout(9), "sx", "kN", "m"), QStringLiteral("kN/m\u00b2"));
    QCOMPARE(TestUnit(TestLayout(16), "tau", "N", "mm"), QStringLiteral("N/mm\u00b2"));
    QCOMPARE(TestUnit(TestLayout(9), "angle", "kN", "m"), QStringLiteral("\u00b0"));
    QCOMPARE(TestUnit(TestLayout(16), "w", "kN", "m"), QStringLiteral("m\u00b2"));
}

void TestViewerField::resultsThatDoNotFitAreRefused() {
    for (int problem : {9, 10, 11, 16})
        QCOMPARE(Refusal(problem, [](ResultFile::Contents&) {}), QString());
    const auto refused = [](int problem, const char* words, auto change) {
        const QString message = Refusal(problem, change);
        if (!message.startsWith(QStringLiteral("No results:")) || !message.contains(words))
            qWarning("%s", qPrintable(message));
        return message.contains(QLatin1String(words));
    };
    using C = ResultFile::Contents;
    QVERIFY(refused(11, "its displacements are ux uz, but the data's are ur uz", [](C& c) {
        c.Field.Components = {"ux", "uz"};
    }));
    QVERIFY(refused(9, "it is for 13 nodes", [](C& c) {
        c.Field.Nodes += 1;
        for (FieldResults::Case& k : c.Field.Cases) {
            k.Displacements.resize(k.Displacements.size() + 2);
            k.NodeStresses.resize(k.NodeStresses.size() + 6);
        }
    }));
    QVERIFY(refused(9, "not finite", [](C& c) { c.Field.Cases[1].Stresses[4] = std::nan(""); }));
    QVERIFY(refused(10, "not finite", [](C& c) {
        c.Field.Cases[0].NodeStresses.back() = std::numeric_limits<double>::infinity();
    }));
    QVERIFY(refused(11, "it has load case 3, but the data has 2",
                    [](C& c) { c.Field.Cases[1].Number = 3; }));
    QVERIFY(refused(9, "load case 1 twice", [](C& c) { c.Field.Cases[1].Number = 1; }));
    QVERIFY(refused(9, "reaction at node 1 in load case 2 is not a finite number",
                    [](C& c) { c.Field.Cases[1].Reactions[0].Values[1] = std::nan(""); }));
    QVERIFY(refused(16, "torsion constants are not all finite",
                    [](C& c) { c.Field.Twist->J = std::nan(""); }));
    // A file of the wrong kind or problem.
    QVERIFY(refused(16, "holds stresses of a continuum, not the torsion of a profile",
                    [](C& c) { c.Type = ResultFile::Kind::Field; }));
    QVERIFY(refused(9, "holds results of problem 10", [](C& c) { c.Problem = 10; }));
    QVERIFY(refused(9, "holds static results", [](C& c) {
        c.Type = ResultFile::Kind::Statics;
        c.Statics.Nodes = c.Field.Nodes;
        c.Statics.Elements = c.Field.Elements;
        c.Statics.Components = c.Field.Components;
        c.Statics.Forces = BarElement::EndLayout(ProblemType::Layout::PlaneXZ, true);
        c.Statics.Cases.resize(1);
        c.Statics.Cases[0].Displacements.resize(size_t(c.Field.Nodes) * 2);
        c.Statics.Cases[0].Forces.resize(size_t(c.Field.Elements));
    }));
    QVERIFY(refused(9, "no load case", [](C& c) { c.Field.Cases.clear(); }));
}

void TestViewerField::columnsShownAsTheFileNamesThem() {
    // A file that describes a column no solver of the viewer's time wrote, a pressure q9 in
    // force per area in place of the angle, and its first column renamed: shown as it says.
    const ViewerModel model = FieldData::Model(9, 3, 2);
    ResultFile::Contents contents = FieldData::Contents(9, model);
    ResultLayout& columns = contents.Field.Columns;
    columns.Columns.back() = {"q9", "Soil pressure q9", ResultColumn::Quantity::Stress};
    columns.Columns.front().Title = QStringLiteral("Horizontal stress sx");
    const ViewerResults results = FieldData::Results(9, model, contents);
    QVERIFY2(results.Ok(), qPrintable(results.Message()));
    const ResultChoice choice(results, ProblemType::Of(9), model);
    const int q9 = static_cast<int>(choice.Shows().indexOf(QStringLiteral("Soil pressure q9")));
    QCOMPARE(q9, 6);
    QVERIFY(choice.Shows().contains(QStringLiteral("Horizontal stress sx")));
    QCOMPARE(choice.Caption(1, q9).front(),
             QStringLiteral("Load case 2: Soil pressure q9 (kN/m\u00b2)"));
    // Without the angle no principal crosses are offered.
    QVERIFY(choice.Field()->Principal.isEmpty());
    ResultTableModel table(results, ProblemType::Of(9), "kN", "m");
    table.Show(ResultTableModel::Table::NodeStresses, 0);
    QCOMPARE(table.headerData(6, Qt::Horizontal).toString(), QStringLiteral("q9 [kN/m\u00b2]"));
    const FieldPicker::Pick pick{-1, 0};
    QVERIFY(FieldPicker::Describe(pick, model, results.Contents().Field, *choice.Field(), 0)
                .endsWith(QStringLiteral(" kN/m\u00b2")));

    // A file of version 3 names its stresses only; the reader gives them their titles and
    // quantities, so that it shows as before. One that names a stress no solver wrote then is
    // refused.
    const ResultFile::Contents plain = FieldData::Contents(9, model);
    const ViewerResults old = ViewerResults::FromBytes(
        VersionThree(plain), QStringLiteral("grid.bin"), ProblemType::Of(9), false, model);
    QVERIFY2(old.Ok(), qPrintable(old.Message()));
    QCOMPARE(old.Contents().Field.Columns, TestColumns(9));
    const ResultChoice oldChoice(old, ProblemType::Of(9), model);
    QCOMPARE(oldChoice.Caption(0, 6).front(), QStringLiteral("Load case 1: Angle of s1 (\u00b0)"));
    QCOMPARE(oldChoice.Field()->Principal, (QStringList{"s1", "s2", "angle"}));
    const ViewerResults unknown = ViewerResults::FromBytes(
        VersionThree(contents), QStringLiteral("grid.bin"), ProblemType::Of(9), false, model);
    QVERIFY2(unknown.Message().contains(QStringLiteral("names stress columns (sx sz txz s1 s2 q9) "
                                                       "that no solver of version 3 wrote")),
             qPrintable(unknown.Message()));

    // What a file may not say of its columns: a name with a space, a name twice, a quantity or
    // a place this viewer does not know, a control character in a title.
    const auto refusal = [&](auto change) {
        ResultFile::Contents bad = contents;
        change(bad.Field.Columns.Columns);
        return FieldData::Results(9, model, bad).Message();
    };
    using Columns = std::vector<ResultColumn>;
    QVERIFY(refusal([](Columns& c) { c[0].Name = "s x"; }).contains("a character 32"));
    QVERIFY(refusal([](Columns& c) { c[1].Name = "sx"; }).contains("has column sx twice"));
    QVERIFY(refusal([](Columns& c) {
                c[2].What = ResultColumn::Quantity(42);
            }).contains("gives column txz an unknown quantity 42"));
    QVERIFY(refusal([](Columns& c) {
                c[2].At = ResultColumn::Where(-1);
            }).contains("gives column txz an unknown place -1"));
    QVERIFY(refusal([](Columns& c) { c[3].Title = "s1\n"; }).contains("control character"));
    QVERIFY(refusal([](Columns& c) { c[3].Title.clear(); }).contains("empty or too long"));
}

void TestViewerField::clickFindsNodeOrElementAndItsValues() {
    const ViewerLaunch::Outcome outcome = FieldData::Launch(9, 3, 2);
    QVERIFY(outcome.Results.Ok());
    ViewCamera camera;
    camera.Fit(outcome.Model.Nodes, QRectF(0, 0, 600, 400));
    const FieldLayout layout = TestLayout(9);
    const FieldResults& field = outcome.Results.Contents().Field;
    // Near node 7 (x 2, z 1), within a few pixels.
    const QPointF node7 = camera.Project({2, 0, 1});
    FieldPicker::Pick pick = FieldPicker::At(outcome.Model, camera, node7 + QPointF(3, -2));
    QCOMPARE(pick.Node, 6);
    const QString nodeText = FieldPicker::Describe(pick, outcome.Model, field, layout, 1);
    QVERIFY2(nodeText.startsWith(QStringLiteral("Node 7: ux = 0.0004000 m, uz = -0.0008000 m; "
                                                "sx = -100.0 kN/m\u00b2")),
             qPrintable(nodeText));
    QVERIFY(nodeText.contains(QStringLiteral("angle = ")) && nodeText.endsWith(u'\u00b0'));
    // Inside the first quadrilateral (x 0 to 1, z 0 to 1) and in the second triangle of the
    // last column (corners at x 2 and 3, z 0 to 1, above the diagonal).
    pick = FieldPicker::At(outcome.Model, camera, camera.Project({0.4f, 0, 0.5f}));
    QCOMPARE(pick.Node, -1);
    QCOMPARE(pick.Element, 0);
    pick = FieldPicker::At(outcome.Model, camera, camera.Project({2.3f, 0, 0.8f}));
    QCOMPARE(pick.Element, 3);
    const QString elementText = FieldPicker::Describe(pick, outcome.Model, field, layout, 0);
    QVERIFY2(elementText.startsWith(QStringLiteral("Element 4, at its centre: sx = ")),
             qPrintable(elementText));
    // Outside the mesh nothing is hit, and nothing is said.
    pick = FieldPicker::At(outcome.Model, camera, camera.Project({-1, 0, 0.5f}));
    QVERIFY(!pick.Hit());
    QVERIFY(FieldPicker::Describe(pick, outcome.Model, field, layout, 0).isEmpty());
}

void TestViewerField::tablesGiveStressesWithUnits() {
    const ViewerLaunch::Outcome outcome = FieldData::Launch(10, 3, 2);
    ResultTableModel table(outcome.Results, ProblemType::Of(10), "kN", "m");
    using Table = ResultTableModel::Table;
    QCOMPARE(table.Tables(), (std::vector<Table>{Table::Displacements, Table::Reactions,
                                                 Table::CentreStresses, Table::NodeStresses}));
    table.Show(Table::CentreStresses, 1);
    QCOMPARE(table.rowCount(), 8);
    QCOMPARE(table.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Element"));
    QCOMPARE(table.headerData(4, Qt::Horizontal).toString(), QStringLiteral("sy [kN/m\u00b2]"));
    QCOMPARE(table.headerData(7, Qt::Horizontal).toString(), QStringLiteral("angle [\u00b0]"));
    // Element 1's centre (0.5, 0.5) in load case 2: sx = 2 (100 x - 250) = -400.
    QVERIFY(Close(table.data(table.index(0, 1), Qt::UserRole).toDouble(), -400));
    QVERIFY(Close(table.data(table.index(0, 2), Qt::UserRole).toDouble(), 20));
    // A slice's reactions are per length of it.
    table.Show(Table::Reactions, 0);
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Rx [kN/m]"));
    QCOMPARE(table.rowCount(), 4);
    table.Show(Table::NodeStresses, 0);
    QCOMPARE(table.rowCount(), 12);
    QVERIFY(table.Text().startsWith(QStringLiteral("Node\tsx [kN/m\u00b2]\tsz [kN/m\u00b2]")));

    const ViewerLaunch::Outcome profile = FieldData::Launch(16, 3, 2);
    ResultTableModel torsion(profile.Results, ProblemType::Of(16), "kN", "m");
    QCOMPARE(torsion.Tables().front(), Table::TorsionConstants);
    torsion.Show(Table::TorsionConstants, 0);
    QCOMPARE(torsion.headerData(2, Qt::Horizontal).toString(), QStringLiteral("J [m\u2074]"));
    QCOMPARE(torsion.data(torsion.index(0, 0)).toString(), QStringLiteral("10.00"));
    torsion.Show(Table::Displacements, 0);
    QCOMPARE(torsion.headerData(1, Qt::Horizontal).toString(), QStringLiteral("w [m\u00b2]"));
    QCOMPARE(torsion.TitleOf(Table::Displacements), QStringLiteral("Warping"));

    // Four significant digits, also where rounding adds a digit.
    QCOMPARE(ResultChoice::Number(-99.99996), QStringLiteral("-100.0"));
    QCOMPARE(ResultChoice::Number(9.99996), QStringLiteral("10.00"));
    QCOMPARE(ResultChoice::Number(0.00123), QStringLiteral("0.001230"));
}

void TestViewerField::contoursColourEachPointByItsStress() {
    // sx linear in x over a 6 × 3 grid: each point is coloured as its value's band.
    for (int problem : {9, 10, 11}) {
        const ViewerLaunch::Outcome outcome = FieldData::Launch(problem, 6, 3);
        QVERIFY(outcome.Results.Ok());
        const Painting painting = Paint(outcome, 1);
        const ContourScale& scale = painting.Report.Contours;
        QVERIFY(scale.Bands() >= 6);
        QCOMPARE(scale.Unit(), QStringLiteral("kN/m\u00b2"));
        const double x0 = problem == 11 ? 1 : 0;
        QVERIFY(scale.Limits().front() <= FieldData::Sx(x0) &&
                scale.Limits().back() >= FieldData::Sx(x0 + 6));
        QVERIFY(painting.Report.Caption.first().startsWith(
            problem == 11 ? QStringLiteral("Load case 1: Stress sr (kN/m\u00b2)")
                          : QStringLiteral("Load case 1: Stress sx (kN/m\u00b2)")));
        int checked = 0;
        for (double x = x0 + 0.3; x < x0 + 6; x += 0.77) {
            const double value = FieldData::Sx(x);
            // Away from the limits, where a pixel may fall either side.
            const double step = scale.Limits()[1] - scale.Limits()[0];
            const double inBand = std::fmod(value - scale.Limits()[0], step);
            if (inBand < 0.1 * step || inBand > 0.9 * step)
                continue;
            const QPoint at = painting.Camera.Project({float(x), 0, 1.37f}).toPoint();
            const QColor colour = painting.Image.pixelColor(at);
            const QColor expected = scale.ColourOf(scale.BandOf(value));
            QVERIFY2(std::abs(colour.red() - expected.red()) < 30 &&
                         std::abs(colour.green() - expected.green()) < 30 &&
                         std::abs(colour.blue() - expected.blue()) < 30,
                     qPrintable(QStringLiteral("problem %1 at x = %2").arg(problem).arg(x)));
            ++checked;
        }
        QVERIFY(checked >= 4);
        // The colour bar at the right shows the lowest band at its foot, the highest on top.
        bool low = false, high = false;
        for (int y = 0; y < painting.Image.height(); ++y) {
            const QColor c = painting.Image.pixelColor(painting.Image.width() - 20, y);
            low = low || c.rgb() == scale.ColourOf(0).rgb();
            high = high || c.rgb() == scale.ColourOf(scale.Bands() - 1).rgb();
        }
        QVERIFY(low && high);
    }

    // The deformed shape: magnified by a round factor, named in the caption.
    const ViewerLaunch::Outcome outcome = FieldData::Launch(9, 6, 3);
    const Painting deformed = Paint(outcome, 0);
    QVERIFY(deformed.Report.Deformation > 0);
    const double factor = deformed.Report.Deformation;
    QCOMPARE(ResultScale::RoundDown(factor), factor);
    QVERIFY2(deformed.Report.Caption.join(u'\n').contains(
                 QStringLiteral("largest at a node 0.002163 m")),
             qPrintable(deformed.Report.Caption.join(u'\n')));

    // A profile: tau = 100 r about the origin; its warping in m².
    const ViewerLaunch::Outcome profile = FieldData::Launch(16, 4, 3);
    const Painting tau = Paint(profile, 0);
    QVERIFY(tau.Report.Caption.first().startsWith(
        QStringLiteral("Torsion: Resultant shear stress tau (kN/m\u00b2)")));
    QVERIFY(tau.Report.Caption.join(u'\n').contains(QStringLiteral("J = 0.002500 m\u2074")));
    QVERIFY(tau.Report.Caption.join(u'\n').contains(
        QStringLiteral("largest shear stress 450.0 kN/m\u00b2 at y = 4.000, z = 3.000 m")));
    // (3.8, 2.6) lies in the triangle (3, 2) (4, 2) (4, 3), whose corners' values it takes
    // linearly.
    const double linear =
        100 * (0.2 * std::hypot(3, 2) + 0.2 * std::hypot(4, 2) + 0.6 * std::hypot(4, 3));
    const QColor corner = tau.Image.pixelColor(tau.Camera.Project({3.8f, 0, 2.6f}).toPoint());
    QCOMPARE(corner.rgb(), tau.Report.Contours.ColourOf(tau.Report.Contours.BandOf(linear)).rgb());
    QCOMPARE(Paint(profile, 3).Report.Contours.Unit(), QStringLiteral("m\u00b2"));
}

void TestViewerField::principalStressesAndShearArrows() {
    // Crosses at every element centre; blue where they pull (on the right), red where they
    // push (on the left).
    const ViewerLaunch::Outcome outcome = FieldData::Launch(9, 6, 3);
    const Painting crosses = Paint(outcome, 0, true);
    QVERIFY(crosses.Report.ArrowsDrawn >= 24);
    QVERIFY(crosses.Report.Caption.join(u'\n').contains(QStringLiteral("tension blue")));
    const auto count = [](const QImage& image, bool blue) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width() - 150; ++x) {
                const QColor c = image.pixelColor(x, y);
                n += blue ? (c.blue() > 180 && c.red() < 60 && c.green() < 110)
                          : (c.red() > 180 && c.green() < 60 && c.blue() < 60);
            }
        }
        return n;
    };
    QVERIFY(count(crosses.Image, true) > 200);
    QVERIFY(count(crosses.Image, false) > 20);
    // Turning them on draws over the same picture, nothing else changes.
    QCOMPARE(Paint(outcome, 0).Report.ArrowsDrawn, 0);
    // One slender triangle, 1 m wide and 6 m tall, pulled hardest across its width: its cross
    // at full length would reach 0.74 m either side of the centre, which is 0.33 m from either
    // side. The cross shrinks into it: every pixel it adds lies inside the triangle.
    const ViewerLaunch::Outcome sliver = FieldData::Launch(9, QStringList{"A sliver",
                                                                          "*1 General data",
                                                                          "#  1  Title = Sliver",
                                                                          "#  2  Force unit = kN",
                                                                          "#  3  Length unit = m",
                                                                          "#  4  Load cases = 1",
                                                                          "#  5  Nodes = 3",
                                                                          "#  6  Elements = 1",
                                                                          "#  7  Materials = 1",
                                                                          "#  8  Sections = 1",
                                                                          "*2 Materials",
                                                                          "#  1  3.0E7 0.2 25 1E-5",
                                                                          "*3 Sections",
                                                                          "#  1  0.2",
                                                                          "*4 Nodes",
                                                                          "#1  0 0",
                                                                          "#2  1 0",
                                                                          "#3  0 6",
                                                                          "*5 Elements",
                                                                          "#1  1 2 3 0 1 1",
                                                                          "*6 Supports",
                                                                          "#1  1 1 1",
                                                                          "#2  2 1 1",
                                                                          "*7 Nodal loads",
                                                                          "#1  1 3 10 0",
                                                                          "&"});
    const Painting bare = Paint(sliver, 0), crossed = Paint(sliver, 0, true);
    QCOMPARE(crossed.Report.ArrowsDrawn, 2);
    const QPolygonF outline{crossed.Camera.Project({0, 0, 0}), crossed.Camera.Project({1, 0, 0}),
                            crossed.Camera.Project({0, 0, 6})};
    int added = 0, outside = 0;
    for (int y = 95; y < crossed.Image.height(); ++y) {
        for (int x = 0; x < crossed.Image.width() - FieldPainter::ColourBarWidth; ++x) {
            if (crossed.Image.pixel(x, y) == bare.Image.pixel(x, y))
                continue;
            ++added;
            // Within a pixel of the outline, for the pen's antialiased edge.
            const QPointF middle(x + 0.5, y + 0.5);
            bool near = outline.containsPoint(middle, Qt::OddEvenFill);
            for (const QPointF& step :
                 {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)})
                near = near || outline.containsPoint(middle + step, Qt::OddEvenFill);
            outside += !near;
        }
    }
    QVERIFY2(added > 30 && outside == 0,
             qPrintable(QStringLiteral("%1 of %2 pixels outside").arg(outside).arg(added)));

    // A profile's arrows turn about the origin: at the top right they point up and left.
    const ViewerLaunch::Outcome profile = FieldData::Launch(16, 4, 3);
    const Painting arrows = Paint(profile, 0, true);
    QCOMPARE(arrows.Report.ArrowsDrawn, 4 * 3 + 3);
    QVERIFY(arrows.Report.Caption.join(u'\n').contains(QStringLiteral("shear stress")));

    // Reactions: an arrow per component at each of the 7 supports (Rx = 1.5 at each, Rz =
    // -2.5), in orange, with values where they find room; none for a profile.
    const auto orange = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += c.red() > 180 && c.green() > 80 && c.green() < 140 && c.blue() < 50;
            }
        }
        return n;
    };
    const Painting reactions = Paint(outcome, 1, false, true);
    QVERIFY(reactions.Report.LabelsDrawn >= 2);
    QVERIFY(orange(reactions.Image) > 14 * 30);
    QCOMPARE(Paint(outcome, 1).Report.LabelsDrawn, 0);
    QCOMPARE(orange(Paint(profile, 0, false, true).Image), 0);

    // A mesh too fine for them says so instead.
    const ViewerLaunch::Outcome fine = FieldData::Launch(9, 150, 100);
    const Painting crowded = Paint(fine, 1, true);
    QCOMPARE(crowded.Report.ArrowsDrawn, 0);
    QVERIFY(crowded.Report.Caption.join(u'\n').contains(QStringLiteral("zoom in")));
}

QTEST_MAIN(TestViewerField)
#include "TestColumns.h"
#include "tst_viewerfield.moc"
