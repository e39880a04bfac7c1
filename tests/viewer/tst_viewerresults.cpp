#include "BarArc.h"
#include "BarDiagram.h"
#include "BarElement.h"
#include "BarOrdinates.h"
#include "BarShape.h"
#include "BarSpan.h"
#include "FieldLayout.h"
#include "ForcedMotion.h"
#include "LabelPlacer.h"
#include "ProgramRun.h"
#include "ResultChoice.h"
#include "ResultPainter.h"
#include "ResultScale.h"
#include "ResultTableModel.h"
#include "SolidData.h"
#include "SolvedData.h"
#include "SolverCatalogue.h"
#include "SolverCommand.h"
#include "ViewerLaunch.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// A data file of tests/viewer/data solved by the real solver in `directory`.
ViewerLaunch::Outcome Solved(const QTemporaryDir& directory, const QString& name,
                             const QString& solver) {
    return SolvedData(directory, QStringLiteral(QV_TEST_DATA "/") + name, solver);
}

// The results of `outcome` painted as the viewer paints them, into a white 600 x 400 image
// with the model fitted into `fit`.
struct Painting {
    QImage Image{600, 400, QImage::Format_RGB32};
    ViewCamera Camera;
    ResultPainter::Report Report;
};

Painting Paint(const ViewerLaunch::Outcome& outcome, const ResultPainter::Options& options,
               const QRectF& fit) {
    Painting painting;
    painting.Image.fill(Qt::white);
    painting.Camera.SetSpace(outcome.Model.Space);
    painting.Camera.Fit(outcome.Model.Nodes, fit);
    const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
    QPainter painter(&painting.Image);
    painting.Report =
        ResultPainter::Paint(painter, painting.Image.rect(), outcome.Model, *outcome.Type,
                             outcome.Results, choice, painting.Camera, options);
    painter.end();
    return painting;
}

// The diagram of quantity `name` of element 1 in load case 1, at xi.
double DiagramAt(const ViewerLaunch::Outcome& outcome, const QString& name, double xi) {
    const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
    const StaticResults& statics = outcome.Results.Contents().Statics;
    for (const ResultQuantity& q : choice.Quantities()) {
        if (q.Name != name)
            continue;
        const BarOrdinates o =
            BarOrdinates::Of(outcome.Model, *outcome.Type, statics, statics.Cases[0], q)[0];
        return BarDiagram::At(o.I, o.J, o.Bulge, o.Length, xi);
    }
    qFatal("no quantity %s", qPrintable(name));
}

bool Close(double actual, double expected, double tolerance = 1e-9) {
    return std::abs(actual - expected) <= tolerance * std::max(1.0, std::abs(expected));
}

ResultFile::Contents Statics(int problem, int nodes, int elements) {
    ResultFile::Contents contents;
    contents.Problem = problem;
    contents.Statics.Nodes = nodes;
    contents.Statics.Elements = elements;
    contents.Statics.Components = {"ux", "uz", "ry"};
    contents.Statics.Forces = BarElement::EndLayout(ProblemType::Layout::PlaneXZ, false);
    StaticResults::Case c;
    c.Displacements.assign(static_cast<size_t>(nodes) * 3, 0.0);
    c.Forces.assign(static_cast<size_t>(elements) * 6, 0.0);
    c.Reactions.push_back({1, {1.5, 2.5, 0}});
    contents.Statics.Cases.push_back(c);
    return contents;
}

// A result file of natural modes (kind 2) or buckling shapes (3) written byte by byte in the
// layout of `version`: version 3 adds the elements, their pieces and each shape's inner points.
struct ShapeEntry {
    int Case = 0;
    double Value = 0;
    std::vector<double> Nodes, Inner;
};

QByteArray ShapeFile(int version, int kind, int problem, int nodes, const std::vector<int>& pieces,
                     const QStringList& components, const std::vector<ShapeEntry>& shapes) {
    QByteArray bytes("QVRESULT");
    const auto integer = [&bytes](qint32 value) {
        bytes.append(reinterpret_cast<const char*>(&value), 4); // the test machine is little-endian
    };
    const auto real = [&bytes](double value) {
        bytes.append(reinterpret_cast<const char*>(&value), 8);
    };
    integer(version);
    integer(kind);
    integer(problem);
    integer(nodes);
    if (version >= 3) {
        integer(static_cast<qint32>(pieces.size()));
        for (int p : pieces)
            integer(p);
    }
    integer(static_cast<qint32>(components.size()));
    for (const QString& name : components) {
        integer(static_cast<qint32>(name.size()));
        bytes.append(name.toLatin1());
    }
    integer(static_cast<qint32>(shapes.size()));
    for (const ShapeEntry& shape : shapes) {
        integer(shape.Case);
        real(shape.Value);
        for (double v : shape.Nodes)
            real(v);
        if (version >= 3) {
            for (double v : shape.Inner)
                real(v);
        }
    }
    // Version 7 ends with the forced vibrations: no element columns and no excitation.
    if (version >= 7) {
        integer(0);
        integer(0);
    }
    return bytes;
}

// Natural modes of the plane frame beam.d05 (2 nodes, 1 bar) and three forced vibrations
// with coordinates whose sums are known: a harmonic at 2 and 4 Hz, a history of three instants
// and a spectrum's peaks.
ResultFile::Contents ForcedContents() {
    ResultFile::Contents c;
    c.Type = ResultFile::Kind::Modes;
    c.Problem = 8;
    c.Modes.Nodes = 2;
    c.Modes.Elements = 1;
    c.Modes.Pieces = {1};
    c.Modes.Components = {"ux", "uz", "ry"};
    c.Modes.List = {{0, 2.5, {0, 0, 0, 1, 0, 0}, {}}, {0, 6.0, {0, 0, 0, 0.5, 2, 0}, {}}};
    ResultFile::Forced& f = c.Vibrations;
    f.Columns = BarElement::EndLayout(ProblemType::Layout::PlaneXZ, false);
    f.ShapeElements = {{10, 0, 0, 0, 0, 0}, {-4, 0, 0, 0, 0, 0}};
    using Kind = ResultFile::Forced::Kind;
    ResultFile::Forced::Excitation harmonic;
    harmonic.Number = 1;
    harmonic.Type = Kind::Harmonic;
    harmonic.Abscissae = {2, 4};
    harmonic.Coordinates = {3, 4, 0, 0, 1, -1, 2, 1}; // per frequency, per shape (re, im)
    ResultFile::Forced::Excitation history;
    history.Number = 2;
    history.Type = Kind::History;
    history.Abscissae = {0, 0.1, 0.2};
    history.Coordinates = {0, 0, 1, 2, -3, 0.5};
    // Node 2: ux 0, 2, -2.75 and uz 0, 4, 1; element 1's first column 0, 2, -32.
    history.NodePeaks.assign(24, 0.0);
    for (size_t k = 0; k < 4; ++k) {
        history.NodePeaks[12 + k] = std::array{2.0, 0.1, -2.75, 0.2}[k];
        history.NodePeaks[16 + k] = std::array{4.0, 0.1, 0.0, 0.0}[k];
    }
    history.ElementPeaks.assign(24, 0.0);
    history.ElementPeaks[0] = 2;
    history.ElementPeaks[1] = 0.1;
    history.ElementPeaks[2] = -32;
    history.ElementPeaks[3] = 0.2;
    ResultFile::Forced::Excitation spectrum;
    spectrum.Number = 3;
    spectrum.Type = Kind::Spectrum;
    spectrum.NodePeaks = {0, 0, 0, 1.5, 0.25, 0.125};
    spectrum.ElementPeaks = {40, 3, 2, 40, 3, 1};
    spectrum.BaseShears = {{0, 12.5}};
    f.List = {harmonic, history, spectrum};
    return c;
}

// A copy of a data file of tests/viewer/data and its result file, opened in result mode.
ViewerLaunch::Outcome Opened(const QTemporaryDir& directory, const QString& data,
                             const QString& results, const QString& resultName) {
    ProgramRun::WriteFile(directory.filePath(data),
                          ProgramRun::ReadFile(QStringLiteral(QV_TEST_DATA "/") + data));
    ProgramRun::WriteFile(directory.filePath(resultName),
                          ProgramRun::ReadFile(QStringLiteral(QV_TEST_DATA "/") + results));
    return ViewerLaunch::Prepare({data, QStringLiteral("R")}, directory.path());
}

} // namespace

class TestViewerResults : public QObject {
    Q_OBJECT

private slots:
    void diagramOrdinatesAndSignChanges();
    void momentsAlongBeamsFromTheSolvers();
    void memberLoadsShapeDiagramsAndLines();
    void envelopesBoundTheCombinations();
    void deformedShapeScaleAndCurve();
    void resultFilesThatDoNotFitAreRefused();
    void arcsByEquilibrium();
    void archBendsBetweenPinnedEnds();
    void diagramsLieOnTheTensionSide();
    void tablesAndCaptions();
    void unsoundResultFilesAreRefusedCheaply();
    void hugeForcesStayOnScreen();
    void dividedMembersShowTheirModeShape();
    void labelsKeepClearOfEachOther();
    void barAxesAreTheSolversAxes();
    void shellsOfRevolutionShowTheirMeridian();
    void roundingNoiseShowsAsZero();
    void barForcesAsTheFileGivesThem();
    void forcedMotionSumsTheModes();
    void forcedVibrationsRoundTripAndAreChecked();
    void historyCurveReachesTheSolversPeaks();
};

void TestViewerResults::diagramOrdinatesAndSignChanges() {
    // Simply supported under q: q L^2 / 8 at midspan; fixed ends: -q L^2 / 12 at the ends and
    // q L^2 / 24 at midspan, the extreme there. Exact up to rounding (1e-12).
    const double q = 10, L = 6;
    QVERIFY(Close(BarDiagram::At(0, 0, q, L, 0.5), q * L * L / 8, 1e-12));
    QVERIFY(
        Close(BarDiagram::At(-q * L * L / 12, -q * L * L / 12, q, L, 0.5), q * L * L / 24, 1e-12));
    QVERIFY(Close(*BarDiagram::ExtremeAt(-30, -30, q, L), 0.5, 1e-12));
    // A propped cantilever (fixed at i): M = -q L^2 / 8 at i, extreme 9 q L^2 / 128 at 5/8 L.
    const auto xi = BarDiagram::ExtremeAt(-q * L * L / 8, 0, q, L);
    QVERIFY(xi && Close(*xi, 5.0 / 8, 1e-12));
    QVERIFY(Close(BarDiagram::At(-q * L * L / 8, 0, q, L, *xi), 9 * q * L * L / 128, 1e-12));
    QVERIFY(!BarDiagram::ExtremeAt(5, -15, 0, L)); // linear: extremes at the ends only

    // A linear diagram from 5 to -15 changes sign at a quarter: the parts meet on the bar.
    const std::vector<BarDiagram::Station> stations = BarDiagram::Stations(5, -15, 0, L, 1);
    QCOMPARE(stations.size(), size_t(3));
    QVERIFY(Close(stations[1].Xi, 0.25, 1e-12));
    QCOMPARE(stations[1].Value, 0.0);
    const QPolygonF positive = BarDiagram::Outline({0, 100}, {400, 100}, {0, -1}, stations, true);
    QCOMPARE(positive.size(), 5);
    QCOMPARE(positive[1], QPointF(0, 95));    // 5 drawn 5 pixels towards the side
    QCOMPARE(positive[2], QPointF(100, 100)); // the zero on the bar
    QCOMPARE(positive[3], QPointF(400, 100)); // the negative end lies on the bar
    QVERIFY(BarDiagram::Outline({0, 0}, {1, 0}, {0, 1}, BarDiagram::Stations(1, 2, 0, 1, 1), false)
                .isEmpty());
}

void TestViewerResults::momentsAlongBeamsFromTheSolvers() {
    // A simply supported beam of 6 m under 10 kN/m solved by the real solvers: the midspan
    // moment of the diagram is q L^2 / 8 = 45 kNm, with the sign of each type's convention
    // (plane frames and grillages sagging positive; a space frame's My puts +z in tension, so
    // sagging is negative; its qy = 4 kN/m gives Mz = -qy L^2 / 8). Tolerance 1e-9.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome plane =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    QVERIFY2(plane.Results.Ok(), qPrintable(plane.Results.Message()));
    QVERIFY(Close(DiagramAt(plane, "M", 0.5), 45));
    QVERIFY(Close(DiagramAt(plane, "V", 0), 30));
    QVERIFY(Close(DiagramAt(plane, "V", 0.5), 0, 1e-9));
    QVERIFY(Close(DiagramAt(plane, "M", 0), 0, 1e-9));

    const ViewerLaunch::Outcome grillage =
        Solved(directory, QStringLiteral("beam.d06"), QStringLiteral("Tavrin"));
    QVERIFY2(grillage.Results.Ok(), qPrintable(grillage.Results.Message()));
    QVERIFY(Close(DiagramAt(grillage, "M", 0.5), 45));
    QVERIFY(Close(DiagramAt(grillage, "M", 0.25), 10 * 1.5 * 4.5 / 2));

    const ViewerLaunch::Outcome space =
        Solved(directory, QStringLiteral("beam.d07"), QStringLiteral("Hosken"));
    QVERIFY2(space.Results.Ok(), qPrintable(space.Results.Message()));
    QVERIFY(Close(DiagramAt(space, "My", 0.5), -45));
    QVERIFY(Close(DiagramAt(space, "Mz", 0.5), -18));
    QVERIFY(Close(DiagramAt(space, "Vz", 1), 30));
}

void TestViewerResults::memberLoadsShapeDiagramsAndLines() {
    // A simply supported beam of 6 m under, in case 1, 30 kN down at 2 m, 6 kN/m down from 3 m
    // to its end and a clockwise couple of 12 kNm at 4 m. By statics R_A = 22.5 kN, so the
    // sagging moment is 45 under the force, 37.5 where the load begins, 27 and 39 either side
    // of the couple and 31.5 at 4.5 m; the shear 22.5 then -7.5 across the force. Each type
    // draws it by its own convention: a grillage as the plane frame, with a twisting couple of
    // 5 kNm at 4 m held by the support at node 1; a space frame's My the other way round, and
    // its 8 kN along y at 2 m gives Mz = -8 x 2 x 4 / 6. Tolerance 1e-9.
    QTemporaryDir directory;
    const auto diagram = [](const ViewerLaunch::Outcome& outcome, int loadCase,
                            const QString& name) {
        const ResultChoice choice(outcome.Results, *outcome.Type, outcome.Model);
        const StaticResults& statics = outcome.Results.Contents().Statics;
        for (const ResultQuantity& q : choice.Quantities())
            if (q.Name == name)
                return BarOrdinates::Of(outcome.Model, *outcome.Type, statics,
                                        statics.Cases[static_cast<size_t>(loadCase - 1)], q)[0];
        qFatal("no quantity %s", qPrintable(name));
    };
    // The value at x metres of the 6 m bar: before a point load there, or after it.
    const auto at = [](const BarOrdinates& o, double x, bool after = false) {
        const auto& s = o.Inner;
        const auto match = [&](const BarDiagram::Station& station) {
            return std::abs(station.Xi * 6 - x) < 1e-12;
        };
        const auto found = after ? std::find_if(s.rbegin(), s.rend(), match).base() - 1
                                 : std::find_if(s.begin(), s.end(), match);
        if (s.empty() || found < s.begin() || found >= s.end())
            qFatal("no station at %g", x);
        return found->Value;
    };
    const ViewerLaunch::Outcome plane =
        Solved(directory, QStringLiteral("loaded.d05"), QStringLiteral("Pelgon"));
    QVERIFY2(plane.Results.Ok(), qPrintable(plane.Results.Message()));
    const ViewerLaunch::Outcome grillage =
        Solved(directory, QStringLiteral("loaded.d06"), QStringLiteral("Tavrin"));
    QVERIFY2(grillage.Results.Ok(), qPrintable(grillage.Results.Message()));
    const ViewerLaunch::Outcome space =
        Solved(directory, QStringLiteral("loaded.d07"), QStringLiteral("Hosken"));
    QVERIFY2(space.Results.Ok(), qPrintable(space.Results.Message()));
    const std::tuple<const ViewerLaunch::Outcome*, const char*, double> moments[] = {
        {&plane, "M", 1}, {&grillage, "M", 1}, {&space, "My", -1}};
    for (const auto& [outcome, name, sign] : moments) {
        const BarOrdinates m = diagram(*outcome, 1, QLatin1String(name));
        QVERIFY(Close(at(m, 2), sign * 45) && Close(at(m, 3), sign * 37.5));
        QVERIFY(Close(at(m, 4), sign * 27) && Close(at(m, 4, true), sign * 39));
        QVERIFY(Close(at(m, 4.5), sign * 31.5) && Close(at(m, 6), 0, 1e-9));
        // The one extreme within is written at the force.
        QCOMPARE(m.Extremes().size(), size_t(1));
        QVERIFY(Close(m.Extremes().front().Value, sign * 45) && Close(m.Largest(), 45));
    }
    const BarOrdinates v = diagram(plane, 1, QStringLiteral("V"));
    QVERIFY(Close(at(v, 2), 22.5) && Close(at(v, 2, true), -7.5) && Close(at(v, 4.5), -16.5));
    const BarOrdinates t = diagram(grillage, 1, QStringLiteral("T"));
    QVERIFY(Close(at(t, 2), 5) && Close(at(t, 4), 5) && Close(at(t, 4, true), 0, 1e-9));
    QVERIFY(Close(at(diagram(space, 1, QStringLiteral("Mz")), 2), -8 * 2 * 4 / 6.0));

    // The line of the bar: 30 kN at 2 m alone (case 2) deflects it there by P a² b² / 3 EI L;
    // the couple alone at midspan (case 3) lifts it at L/4 by C L² / 128 EI.
    const StaticResults& results = plane.Results.Contents().Statics;
    const double EI = plane.Model.Bars[0].BendingY;
    const BarAxes axes = BarAxes::Of(ProblemType::Layout::PlaneXZ, {0, 0, 0}, {6, 0, 0});
    const auto line = [&](int loadCase, int segments) {
        const StaticResults::Case& c = results.Cases[static_cast<size_t>(loadCase - 1)];
        const std::vector<BarSpan> spans =
            BarSpan::Of(plane.Model, ProblemType::Layout::PlaneXZ, c);
        const auto motion = [&](int node) {
            return ViewerResults::NodeMotion(c.Displacements, results.Components, node);
        };
        return BarShape::Points(axes, {0, 0, 0}, motion(0), motion(1), 0, false, 1, segments,
                                {&spans[0], EI, 0});
    };
    QVERIFY(Close(line(2, 3)[1][2], -30 * 4 * 16 / (3 * EI * 6)));
    QVERIFY(Close(line(3, 4)[1][2], 12 * 36 / (128 * EI)));
}

void TestViewerResults::envelopesBoundTheCombinations() {
    // The beam of 6 m with the envelope of two combinations: 30 kN at 2 m (M = 40 there, 30 at
    // 3 m, 15 at 4.5 m) and a clockwise couple of 12 kNm at 3 m (M = -2 x then 12 - 2 x). The
    // envelope's lines are the larger and the smaller at each station, across the couple's
    // jump too: max 40 at 2 m and 30 past 3 m, min -6 before 3 m and 3 at 4.5 m.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("loaded.d05"), QStringLiteral("Pelgon"));
    QVERIFY2(beam.Results.Ok(), qPrintable(beam.Results.Message()));
    const ResultChoice choice(beam.Results, *beam.Type, beam.Model);
    QCOMPARE(choice.Entries().mid(3),
             (QStringList{"Combination 1", "Combination 2", "Envelope 1 max", "Envelope 1 min"}));
    QVERIFY(choice.Caption(6, 0).first().startsWith(
        QStringLiteral("Envelope 1 min (over combinations 1, 2): no deformed shape")));
    const StaticResults& statics = beam.Results.Contents().Statics;
    const ResultQuantity& m = choice.Quantities()[2];
    QCOMPARE(m.Name, QStringLiteral("M"));
    const auto bound = [&](bool largest, double x, bool after) {
        const BarOrdinates o = BarOrdinates::Bound(beam.Model, *beam.Type, statics,
                                                   statics.Envelopes[0], largest, m)[0];
        for (const BarDiagram::Station& s : o.Inner)
            if (std::abs(s.Xi * 6 - x) < 1e-12 &&
                (!after || &s == &o.Inner.back() || std::abs((&s + 1)->Xi * 6 - x) > 1e-12))
                return s.Value;
        qFatal("no station at %g", x);
    };
    QVERIFY(Close(bound(true, 2, false), 40) && Close(bound(true, 3, true), 30));
    QVERIFY(Close(bound(false, 3, false), -6) && Close(bound(false, 4.5, false), 3));
    QVERIFY(Close(bound(true, 4.5, false), 15) && Close(bound(false, 2, false), -4));
    // A picture of the envelope draws both lines: blue below the bar and red above it.
    ResultPainter::Options options;
    options.Entry = 5;
    options.Show = 3;
    options.Reactions = false;
    const Painting painting = Paint(beam, options, QRectF(100, 150, 400, 100));
    QVERIFY(Close(painting.Report.LargestOrdinate, 40));
    const double bar = painting.Camera.Project(beam.Model.Nodes[0]).y();
    int blueBelow = 0, redAbove = 0;
    for (int y = 0; y < painting.Image.height(); ++y)
        for (int x = 0; x < painting.Image.width(); ++x) {
            const QColor c = painting.Image.pixelColor(x, y);
            blueBelow += y > bar + 2 && c.blue() > c.red() + 30;
            redAbove += y < bar - 2 && c.red() > c.blue() + 30;
        }
    QVERIFY2(blueBelow > 1000 && redAbove > 100,
             qPrintable(QStringLiteral("%1 %2").arg(blueBelow).arg(redAbove)));
}

void TestViewerResults::deformedShapeScaleAndCurve() {
    // Round factors, never above the one asked for.
    QCOMPARE(ResultScale::RoundDown(123), 100.0);
    QCOMPARE(ResultScale::RoundDown(260), 250.0);
    QCOMPARE(ResultScale::RoundDown(0.37), 0.25);
    QCOMPARE(ResultScale::RoundDown(2), 2.0);
    QCOMPARE(ResultScale::RoundDown(0), 0.0);
    // A model 10 m across whose largest displacement is 4 mm: a tenth of 10 m is 250 times.
    QCOMPARE(ResultScale::Deformation(0.004, 10), 250.0);
    QCOMPARE(ResultScale::Deformation(0, 10), 0.0);
    QCOMPARE(ResultScale::Caption(250), QStringLiteral("Displacements \u00d7 250"));
    QCOMPARE(ResultScale::ModelSize({{0, 0, 0}, {3, 0, 4}}), 5.0);

    // A cantilever with a tip load deflects along a cubic: the curve from the solver's end
    // displacement and rotation passes through 5 P L^3 / 48 EI at midspan (tolerance 1e-9).
    QTemporaryDir directory;
    const ViewerLaunch::Outcome cantilever =
        Solved(directory, QStringLiteral("cantilever.d05"), QStringLiteral("Pelgon"));
    QVERIFY2(cantilever.Results.Ok(), qPrintable(cantilever.Results.Message()));
    const StaticResults& statics = cantilever.Results.Contents().Statics;
    const double P = 10, L = 4, EI = 2.1e8 * 5.79e-5;
    const ViewerResults::Motion tip =
        ViewerResults::NodeMotion(statics.Cases[0].Displacements, statics.Components, 1);
    QVERIFY(Close(tip.Move[2], -P * L * L * L / (3 * EI)));
    const BarAxes axes = BarAxes::Of(ProblemType::Layout::PlaneXZ, {0, 0, 0}, {L, 0, 0});
    const std::vector<BarAxes::Vec3> curve = BarShape::Points(
        axes, {0, 0, 0},
        ViewerResults::NodeMotion(statics.Cases[0].Displacements, statics.Components, 0), tip, 0,
        false, 1, 2);
    QCOMPARE(curve.size(), size_t(3));
    QVERIFY(Close(curve[1][0], L / 2));
    QVERIFY(Close(curve[1][2], -5 * P * L * L * L / (48 * EI)));
    QVERIFY(Close(curve[2][2], tip.Move[2]));
    // A simply supported beam of one bar under q: its ends do not move, yet it sags by
    // 5 q L^4 / 384 EI at midspan (q = 10 kN/m, L = 6 m; tolerance 1e-9).
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    const StaticResults& beamResults = beam.Results.Contents().Statics;
    const ViewerModel::Bar& bar = beam.Model.Bars[0];
    QVERIFY(Close(bar.BendingY, EI));
    const BarAxes beamAxes = BarAxes::Of(ProblemType::Layout::PlaneXZ, {0, 0, 0}, {6, 0, 0});
    const std::vector<BarSpan> spans =
        BarSpan::Of(beam.Model, ProblemType::Layout::PlaneXZ, beamResults.Cases[0]);
    BarShape::Loading loading;
    loading.Span = &spans[0];
    loading.BendingY = bar.BendingY;
    const auto motion = [&](int node) {
        return ViewerResults::NodeMotion(beamResults.Cases[0].Displacements, beamResults.Components,
                                         node);
    };
    const std::vector<BarAxes::Vec3> sag =
        BarShape::Points(beamAxes, {0, 0, 0}, motion(0), motion(1), 0, false, 1, 2, loading);
    QVERIFY(Close(sag[1][2], -5 * 10 * std::pow(6.0, 4) / (384 * EI)));
    // Hinged ends: the load alone gives the same line; one hinge: q L^4 / 192 EI at midspan.
    QVERIFY(Close(BarShape::Loaded(10, EI, 6, 3, 0.5), 5 * 10 * std::pow(6.0, 4) / (384 * EI)));
    QVERIFY(Close(BarShape::Loaded(10, EI, 6, 1, 0.5), 10 * std::pow(6.0, 4) / (192 * EI)));
    QVERIFY(Close(BarShape::Loaded(10, EI, 6, 2, 0.5), 10 * std::pow(6.0, 4) / (192 * EI)));
    QVERIFY(Close(BarShape::Loaded(10, EI, 6, 0, 0.5), 10 * std::pow(6.0, 4) / (384 * EI)));
    QCOMPARE(BarShape::Loaded(10, 0, 6, 0, 0.5), 0.0);
    // A hinge at i keeps the curve free of curvature there: w = xi^3 for slope 3 at j.
    QVERIFY(Close(BarShape::Across(0, 99, 1, 3, 1, 1, 0.5), 0.125, 1e-12));
    // A hinge at j: w = 1 + 3 xi - 6 xi^2 + 2 xi^3 keeps w and the slope 3 of end i.
    QVERIFY(Close(BarShape::Across(1, 3, 0, 99, 1, 2, 0.5), 1.25, 1e-12));
    QVERIFY(Close(BarShape::Across(0, 5, 2, 7, 1, 3, 0.25), 0.5, 1e-12)); // both: straight
}

void TestViewerResults::resultFilesThatDoNotFitAreRefused() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome gable =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    const ViewerModel& model = gable.Model;
    const QString path = directory.filePath(QStringLiteral("beam.bin"));
    const auto check = [&](const QByteArray& bytes, ViewerResults::Status status,
                           const QString& words) {
        const ViewerResults r =
            ViewerResults::FromBytes(bytes, path, ProblemType::Of(5), false, model);
        if (r.State() != status || !r.Message().contains(words))
            qWarning("%s", qPrintable(r.Message()));
        return r.State() == status && r.Message().contains(words) && !r.Ok();
    };
    QVERIFY(ViewerResults::FromBytes(ResultFile::Write(Statics(5, 2, 1)), path, ProblemType::Of(5),
                                     false, model)
                .Ok());
    QVERIFY(check(ResultFile::Write(Statics(5, 3, 1)), ViewerResults::Status::Mismatch,
                  "it is for 3 nodes and 1 element, but the data has 2 nodes and 1 element"));
    QVERIFY(
        check(ResultFile::Write(Statics(5, 2, 2)), ViewerResults::Status::Mismatch, "2 elements"));
    QVERIFY(check(ResultFile::Write(Statics(3, 2, 1)), ViewerResults::Status::Mismatch,
                  "results of problem 3, not of problem 5"));
    QVERIFY(check(ShapeFile(2, 2, 5, 2, {}, {"ux", "uz", "ry"}, {{0, 2.5, {0, 0, 0, 1, 0, 0}, {}}}),
                  ViewerResults::Status::Mismatch, "natural modes, not static results"));
    ResultFile::Contents components = Statics(5, 2, 1);
    components.Statics.Components = {"ux", "uy", "uz"};
    QVERIFY(check(ResultFile::Write(components), ViewerResults::Status::Mismatch,
                  "its displacements are ux uy uz"));
    ResultFile::Contents infinite = Statics(5, 2, 1);
    infinite.Statics.Cases[0].Forces[2] = std::nan("");
    QVERIFY(check(ResultFile::Write(infinite), ViewerResults::Status::Mismatch, "not finite"));
    const QByteArray whole = ResultFile::Write(Statics(5, 2, 1));
    QVERIFY(check(whole.left(whole.size() - 3), ViewerResults::Status::Unreadable, "cut short"));
    QVERIFY(check("not a result file", ViewerResults::Status::Unreadable, "cannot be read"));

    // On disk: a missing file, and one older than its data (shown, with a warning).
    QVERIFY(gable.Results.Ok());
    QVERIFY(gable.Results.Message().isEmpty());
    QFile data(directory.filePath(QStringLiteral("beam.d05")));
    QVERIFY(data.open(QIODevice::ReadWrite));
    data.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    data.close();
    const ViewerResults stale = ViewerResults::Load(directory.filePath(QStringLiteral("beam.d05")),
                                                    ProblemType::Of(5), false, model);
    QVERIFY(stale.Ok());
    QVERIFY(stale.Message().contains(QStringLiteral("changed after beam.bin was written")));
    QVERIFY(QFile::remove(path));
    const ViewerResults missing = ViewerResults::Load(
        directory.filePath(QStringLiteral("beam.d05")), ProblemType::Of(5), false, model);
    QCOMPARE(missing.State(), ViewerResults::Status::Missing);
    QVERIFY(missing.Message().contains(QStringLiteral("beam.bin does not exist")));
    // Solids have a solver now: their file is looked for.
    QCOMPARE(ViewerResults::Load(directory.filePath(QStringLiteral("x.d17")), ProblemType::Of(17),
                                 false, model)
                 .State(),
             ViewerResults::Status::Missing);
    // Shaft lines are solved, but into a report: there is no result file to look for.
    QCOMPARE(ViewerResults::Load(directory.filePath(QStringLiteral("x.d12")), ProblemType::Of(12),
                                 false, model)
                 .State(),
             ViewerResults::Status::NoSolver);
}

void TestViewerResults::arcsByEquilibrium() {
    // The curved roof of the example: the section forces along the arc, from those at end i
    // and the load by equilibrium, give the solver's forces at end j back (tolerance 1e-9 of
    // the largest). The arc runs through the points the solver uses.
    QTemporaryDir directory;
    ProgramRun::WriteFile(directory.filePath(QStringLiteral("arch.d01")),
                          ProgramRun::ReadFile(QStringLiteral(QV_EXAMPLES "/arch.d01")));
    QCOMPARE(SolverCommand::Run(*SolverEntry::Named(QStringLiteral("Dorvan")),
                                {QStringLiteral("arch.d01"), QStringLiteral("S")}, directory.path())
                 .ExitCode,
             0);
    const ViewerLaunch::Outcome arch =
        ViewerLaunch::Prepare({QStringLiteral("arch.d01"), QStringLiteral("R")}, directory.path());
    QVERIFY2(arch.Results.Ok(), qPrintable(arch.Results.Message()));
    // The roof is drawn as its arc, not as an edge between its ends; its number sits at its
    // middle.
    QCOMPARE(arch.Model.Curves.size(), size_t(1));
    QCOMPARE(arch.Model.Edges.size(), size_t(2));
    QVERIFY(Close(arch.Model.ElementCentres[1][2], 4 + 10 - std::sqrt(84.0), 1e-6));
    const ViewerModel::Bar& roof = arch.Model.Bars[1];
    const std::vector<BarAxes::Vec3> points = BarArc::Points({0, 0, 4}, {8, 0, 4}, roof.Radius);
    QCOMPARE(points.size(), size_t(BarArc::Pieces + 1));
    // R = 10 over a chord of 8: the rise is 10 - sqrt(100 - 16) at the middle.
    QVERIFY(Close(points[BarArc::Pieces / 2][2], 4 + 10 - std::sqrt(84.0)));
    for (int loadCase : {0, 1}) {
        const std::vector<double>& f =
            arch.Results.Contents().Statics.Cases[static_cast<size_t>(loadCase)].Forces;
        const StaticResults::Case& c =
            arch.Results.Contents().Statics.Cases[static_cast<size_t>(loadCase)];
        const BarAxes::Vec3 load = BarSpan::Of(arch.Model, ProblemType::Layout::PlaneXZ, c)[1].Even;
        const std::vector<BarArc::Section> sections =
            BarArc::Sections(points, {f[6], f[7], f[8]}, load);
        const double scale = std::max({std::abs(f[9]), std::abs(f[10]), std::abs(f[11]), 1.0});
        QVERIFY(std::abs(sections.back().N - f[9]) < 1e-9 * scale);
        QVERIFY(std::abs(sections.back().V - f[10]) < 1e-9 * scale);
        QVERIFY(std::abs(sections.back().M - f[11]) < 1e-9 * scale);
    }
}

void TestViewerResults::archBendsBetweenPinnedEnds() {
    // A two-hinged arch under a downward load: its ends do not move, its inner points do. The
    // deformed shape is drawn, and through the crown as the solver displaced it; a result file
    // whose inner points do not fit the data's arcs is refused.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome arch =
        Solved(directory, QStringLiteral("arch.d01"), QStringLiteral("Dorvan"));
    QVERIFY2(arch.Results.Ok(), qPrintable(arch.Results.Message()));
    const StaticResults& statics = arch.Results.Contents().Statics;
    QCOMPARE(statics.ArcPoints, BarArc::Pieces - 1);
    const std::vector<double>& inner = statics.Cases[0].ArcDisplacements;
    const size_t crown = BarArc::Pieces / 2 - 1; // inner points start at the first piece's end
    QVERIFY(inner[3 * crown + 1] < 0);

    ResultPainter::Options options;
    options.Reactions = false;
    options.Values = false;
    const Painting painting = Paint(arch, options, QRectF(50, 100, 500, 200));
    QVERIFY(painting.Report.Deformation > 0);
    const BarAxes::Vec3 top = BarArc::Points({0, 0, 0}, {8, 0, 0}, 10)[BarArc::Pieces / 2];
    const QPoint moved =
        painting.Camera
            .Project(
                {static_cast<float>(top[0] + painting.Report.Deformation * inner[3 * crown]), 0,
                 static_cast<float>(top[2] + painting.Report.Deformation * inner[3 * crown + 1])})
            .toPoint();
    int shape = 0;
    for (int y = moved.y() - 2; y <= moved.y() + 2; ++y) {
        for (int x = moved.x() - 2; x <= moved.x() + 2; ++x)
            shape += qBlue(painting.Image.pixel(x, y)) > qRed(painting.Image.pixel(x, y)) + 100;
    }
    QVERIFY(shape > 0);

    ResultFile::Contents wrong = arch.Results.Contents();
    wrong.Statics.ArcPoints -= 1;
    wrong.Statics.Cases[0].ArcDisplacements.resize(3 * size_t(wrong.Statics.ArcPoints));
    const ViewerResults refused = ViewerResults::FromBytes(
        ResultFile::Write(wrong), directory.filePath(QStringLiteral("arch.bin")),
        ProblemType::Of(1), false, arch.Model);
    QCOMPARE(refused.State(), ViewerResults::Status::Mismatch);
    QVERIFY(refused.Message().contains(QStringLiteral("inner points of arcs")));
}

// Blue (positive) and red (negative) fill as the painter uses them, over white.
int Fill(const QImage& image, const QPoint& at, bool positive) {
    int count = 0;
    for (int y = at.y() - 3; y <= at.y() + 3; ++y) {
        for (int x = at.x() - 3; x <= at.x() + 3; ++x) {
            const QRgb p = image.pixel(x, y);
            count += positive ? (qBlue(p) > qRed(p) + 40) : (qRed(p) > qBlue(p) + 40);
        }
    }
    return count;
}

void TestViewerResults::diagramsLieOnTheTensionSide() {
    // A simply supported beam under a downward load sags: its moment is drawn below the beam,
    // where the fibres are in tension, in every type (a space frame's My is negative there).
    // The space frame's local axes as the solver takes them: beta = 90 turns local y upwards;
    // a vertical bar takes the global y.
    QCOMPARE(BarAxes::Of(ProblemType::Layout::Space, {0, 0, 0}, {5, 0, 0}, 90).Y[2], 1.0);
    QCOMPARE(BarAxes::Of(ProblemType::Layout::Space, {0, 0, 0}, {0, 0, 3}).Y,
             (BarAxes::Vec3{0, 1, 0}));
    QTemporaryDir directory;
    for (const auto& [file, solver, moment] :
         {std::tuple{"beam.d05", "Pelgon", 3}, std::tuple{"beam.d06", "Tavrin", 3},
          std::tuple{"beam.d07", "Hosken", 5}}) {
        const ViewerLaunch::Outcome beam =
            Solved(directory, QLatin1String(file), QLatin1String(solver));
        ResultPainter::Options options;
        options.Show = moment;
        options.Reactions = false;
        const Painting painting = Paint(beam, options, QRectF(50, 50, 500, 300));
        QVERIFY2(painting.Report.Caption.value(1) == QLatin1String("Drawn on the tension side"),
                 file);
        QVERIFY(Close(painting.Report.LargestOrdinate, 45));
        const QPoint middle = painting.Camera.Project({3, 0, 0}).toPoint();
        const bool positive = beam.Type->Number != 7;
        QVERIFY2(Fill(painting.Image, middle + QPoint(0, 10), positive) > 40, file);
        QVERIFY2(Fill(painting.Image, middle - QPoint(0, 10), positive) == 0, file);
    }
}

void TestViewerResults::tablesAndCaptions() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    ResultTableModel table(beam.Results, *beam.Type, beam.Model.ForceUnit, beam.Model.LengthUnit);
    QCOMPARE(table.Tables().size(), size_t(3));
    QCOMPARE(table.rowCount(), 2);
    QCOMPARE(table.headerData(3, Qt::Horizontal).toString(), QStringLiteral("ry [rad]"));
    table.Show(ResultTableModel::Table::Forces, 0);
    QCOMPARE(table.columnCount(), 7);
    QCOMPARE(table.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Mi [kNm]"));
    QCOMPARE(table.index(0, 2).data().toString(), QStringLiteral("30.00"));
    // Copied with full digits and the titles of the chosen columns.
    const QString text = table.Text({table.index(0, 0), table.index(0, 2)});
    QVERIFY(text.startsWith(QStringLiteral("Element\tNi [kN]\tVi [kN]\n1\t\t30")));
    table.Show(ResultTableModel::Table::Reactions, 0);
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Rz [kN]"));

    const ResultChoice choice(beam.Results, *beam.Type, beam.Model);
    QCOMPARE(choice.Entries(), QStringList{QStringLiteral("Load case 1")});
    QCOMPARE(choice.Shows(), (QStringList{"Deformed shape", "Normal force N", "Shear force V",
                                          "Bending moment M"}));
    QCOMPARE(choice.Caption(0, 3).value(1), QStringLiteral("Drawn on the tension side"));
    QCOMPARE(ResultChoice::Number(84.2666), QStringLiteral("84.27"));
    QCOMPARE(ResultChoice::Number(-0.001234567), QStringLiteral("-0.001235"));
    QCOMPARE(ResultChoice::Number(12345.6), QStringLiteral("12346"));

    // Natural modes: the frequencies table and the caption with frequency and period.
    const ViewerResults modes = ViewerResults::FromBytes(
        ShapeFile(2, 2, 8, 2, {}, {"ux", "uz", "ry"}, {{0, 2.5, {0, 0, 0, 1, 0, 0}, {}}}),
        QStringLiteral("x.bi0"), ProblemType::Of(8), false, beam.Model);
    QVERIFY(modes.Ok());
    const ResultChoice modeChoice(modes, ProblemType::Of(8), beam.Model);
    QCOMPARE(modeChoice.Entries(), QStringList{QStringLiteral("Mode 1: 2.500 Hz")});
    QVERIFY(modeChoice.Caption(0, 0).first().startsWith(
        QStringLiteral("Mode 1 of 1: f = 2.500 Hz, T = 0.4000 s")));
    ResultTableModel frequencies(modes, ProblemType::Of(8), "kN", "m");
    QCOMPARE(frequencies.index(0, 2).data(Qt::UserRole).toDouble(), 0.4);
    frequencies.Show(ResultTableModel::Table::Shape, 0);
    QCOMPARE(frequencies.index(1, 1).data(Qt::UserRole).toDouble(), 1.0);
}

void TestViewerResults::unsoundResultFilesAreRefusedCheaply() {
    QTemporaryDir directory;
    // 52 bytes that claim 50 million supports: refused by the count against the bytes left,
    // before anything that size is set aside.
    const ViewerLaunch::Outcome many =
        Opened(directory, "many_supports.d05", "many_supports.bin", "many_supports.bin");
    QCOMPARE(many.Results.State(), ViewerResults::Status::Unreadable);
    QVERIFY(many.ShowWindow);
    QVERIFY2(many.Results.Message().startsWith(
                 QStringLiteral("No results: the result file many_supports.bin cannot be read: "
                                "it claims 50000000 supports in load case 1 of the file, more "
                                "than its remaining 0 bytes can hold.")),
             qPrintable(many.Results.Message()));
    const ViewerLaunch::Outcome unnamed =
        Opened(directory, "empty_force_name.d04", "empty_force_name.bin", "empty_force_name.bin");
    QVERIFY2(unnamed.Results.Message().contains(QStringLiteral("has a force name of 0 characters")),
             qPrintable(unnamed.Results.Message()));

    // Sound in layout, not in content: a load case twice, bytes after the end, a mode of 0 Hz
    // or less, a buckling shape of a load case the data lacks.
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    const auto refused = [&](const QByteArray& bytes, int problem, const QString& words) {
        const ViewerResults r = ViewerResults::FromBytes(
            bytes, QStringLiteral("beam.bin"), ProblemType::Of(problem), false, beam.Model);
        if (r.Ok() || !r.Message().startsWith(QStringLiteral("No results: ")) ||
            !r.Message().contains(words))
            qWarning("%s", qPrintable(r.Message()));
        return !r.Ok() && r.Message().startsWith(QStringLiteral("No results: ")) &&
               r.Message().contains(words);
    };
    ResultFile::Contents twice = Statics(5, 2, 1);
    twice.Statics.Cases.push_back(twice.Statics.Cases[0]);
    QVERIFY(refused(ResultFile::Write(twice), 5, "it has load case 1 twice"));
    QVERIFY(
        refused(ResultFile::Write(Statics(5, 2, 1)) + "abc", 5, "it has 3 bytes after its end"));
    const QStringList components{"ux", "uz", "ry"};
    const std::vector<double> shape{0, 0, 0, 1, 0, 0};
    QVERIFY(refused(ShapeFile(2, 2, 8, 2, {}, components, {{0, 0.0, shape, {}}}), 8,
                    "it has a natural mode of 0 Hz"));
    QVERIFY(refused(ShapeFile(3, 2, 8, 2, {1}, components, {{0, -4.0, shape, {}}}), 8,
                    "it has a natural mode of -4 Hz"));
    QVERIFY(refused(ShapeFile(3, 3, 15, 2, {1}, components, {{2, 4.0, shape, {}}}), 15,
                    "buckling shape of load case 2, but the data has 1"));
    QVERIFY(refused(ShapeFile(3, 2, 8, 2, {0}, components, {{0, 4.0, shape, {}}}), 8,
                    "divides element 1 into 0 pieces"));
    QVERIFY(refused(ShapeFile(3, 2, 8, 2, {1, 1}, components, {{0, 4.0, shape, {}}}), 8,
                    "it is for 2 elements, but the data has 1 element"));
    QVERIFY(refused(ShapeFile(8, 2, 8, 2, {1}, components, {{0, 4.0, shape, {}}}), 8, "version 8"));
    QVERIFY(ViewerResults::FromBytes(ShapeFile(3, 3, 15, 2, {1}, components, {{1, 4.0, shape, {}}}),
                                     QStringLiteral("beam.bi0"), ProblemType::Of(15), false,
                                     beam.Model)
                .Ok());
}

void TestViewerResults::hugeForcesStayOnScreen() {
    // Normal forces near the largest number: the diagram and its values are drawn inside the
    // window, however far their ordinates would reach unscaled.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome truss =
        Opened(directory, "huge_forces.d04", "huge_forces.bin", "huge_forces.bin");
    QVERIFY2(truss.Results.Ok(), qPrintable(truss.Results.Message()));
    ResultPainter::Options options;
    options.Show = 1;
    const Painting painting = Paint(truss, options, QRectF(100, 100, 400, 200));
    QVERIFY(painting.Report.LargestOrdinate > 1e300);
    QVERIFY(painting.Report.LabelsDrawn > 0);
}

void TestViewerResults::dividedMembersShowTheirModeShape() {
    // A simply supported beam drawn as one member, which the solver divided into 8 pieces: its
    // first mode is a half sine through the inner points, not the line between its ends.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    constexpr int Pieces = 8;
    const double pi = 3.14159265358979323846, length = 6;
    ShapeEntry mode{0, 27.8, {0, 0, -pi / length, 0, 0, pi / length}, {}};
    for (int k = 1; k < Pieces; ++k) {
        const double x = double(k) / Pieces;
        // uz up, ry = -duz/dx
        mode.Inner.insert(mode.Inner.end(), {0, std::sin(pi * x), -pi / length * std::cos(pi * x)});
    }
    ViewerLaunch::Outcome modes = beam;
    modes.Type = &ProblemType::Of(8);
    modes.Results =
        ViewerResults::FromBytes(ShapeFile(3, 2, 8, 2, {Pieces}, {"ux", "uz", "ry"}, {mode}),
                                 QStringLiteral("beam.bi0"), ProblemType::Of(8), false, beam.Model);
    QVERIFY2(modes.Results.Ok(), qPrintable(modes.Results.Message()));
    QCOMPARE(modes.Results.Pieces(), std::vector<int>{Pieces});
    QCOMPARE(modes.Results.InnerShape(0).size(), size_t(3 * (Pieces - 1)));
    const Painting painting = Paint(modes, {}, QRectF(100, 150, 400, 100));
    // The largest translation is 1 at midspan: magnified to a tenth of the model's 6 m.
    QCOMPARE(painting.Report.Deformation, 0.5);
    const auto blue = [](const Painting& painting, double x, double z) {
        const QPoint p = painting.Camera.Project({float(x), 0, float(z)}).toPoint();
        for (int dy = -2; dy <= 2; ++dy) {
            const QRgb pixel = painting.Image.pixel(p + QPoint(0, dy));
            if (qBlue(pixel) > 150 && qRed(pixel) < 100)
                return true;
        }
        return false;
    };
    QVERIFY(blue(painting, 3, 0.5));
    QVERIFY(blue(painting, 1.5, 0.5 * std::sin(pi / 4)));
    QVERIFY(!blue(painting, 3, 0));
    // The same shape in a file of version 2, without the inner points: the cubic between the
    // ends' rotations, pi / 4 at midspan.
    modes.Results =
        ViewerResults::FromBytes(ShapeFile(2, 2, 8, 2, {}, {"ux", "uz", "ry"}, {mode}),
                                 QStringLiteral("beam.bi0"), ProblemType::Of(8), false, beam.Model);
    QVERIFY(modes.Results.Ok());
    QVERIFY(modes.Results.Pieces().empty());
    const Painting cubic = Paint(modes, {}, QRectF(100, 150, 400, 100));
    QCOMPARE(cubic.Report.Deformation, 0.5);
    QVERIFY(blue(cubic, 3, 0.5 * pi / 4));
    QVERIFY(!blue(cubic, 3, 0.5));
}

void TestViewerResults::labelsKeepClearOfEachOther() {
    const QFont font(QStringLiteral("DejaVu Sans"), 9);
    LabelPlacer placer(QRectF(0, 0, 800, 600), QFontMetricsF(font));
    placer.Reserve(QRectF(0, 0, 200, 100)); // the caption
    QVERIFY(!placer.Place(QStringLiteral("1.000"), QPointF(50, 50), QPointF(1, 0)));
    const std::optional<QRectF> first = placer.Place("12.50", QPointF(400, 300), QPointF(0, -1));
    QVERIFY(first);
    QCOMPARE(first->center(), QPointF(400, 300));
    // The same text close by says nothing new; another one moves along its direction.
    QVERIFY(!placer.Place("12.50", QPointF(420, 300), QPointF(0, -1)));
    const std::optional<QRectF> moved = placer.Place("-3.750", QPointF(400, 300), QPointF(0, -1));
    QVERIFY(moved);
    QVERIFY(moved->bottom() + 1 <= first->top());
    // Off the area, or at a point beyond any screen: no label, no overflow.
    QVERIFY(!placer.Place("7.000", QPointF(795, 300), QPointF(1, 0)));
    QVERIFY(!placer.Place("7.000", QPointF(1e300, -1e300), QPointF(0, 1)));
    QVERIFY(!placer.Place("7.000", QPointF(std::nan(""), 10), QPointF(0, 1)));
    QCOMPARE(placer.Count(), 2);

    // Many values over a small window: those placed never overlap. (How the time grows with
    // their number is measured by bench_viewer.)
    LabelPlacer many(QRectF(0, 0, 1600, 1000), QFontMetricsF(font));
    std::vector<QRectF> boxes;
    for (int k = 0; k < 100000; ++k) {
        const QPointF at((k * 7919LL) % 1600, (k * 104729LL) % 1000);
        if (const auto box = many.Place(QString::number(k % 997), at, QPointF(0, 1)))
            boxes.push_back(*box);
    }
    QVERIFY(boxes.size() > 300);
    for (size_t a = 0; a < boxes.size(); ++a) {
        for (size_t b = a + 1; b < boxes.size(); ++b)
            QVERIFY(!boxes[a].intersects(boxes[b]));
    }

    // A block held on its whole base: 961 supports, 2,883 reactions, no two alike. A reaction
    // is drawn only where its value and its arrow both find room, so no value lies over
    // another or over an arrow, and the arrows do not bury the block.
    const ViewerModel block = SolidData::Model(SolidData::Block(30, 30, 2, 1, 1, 0.5));
    ResultFile::Contents contents = SolidData::Bending(block, 30, 1);
    for (FieldResults::Reaction& reaction : contents.Field.Cases[0].Reactions)
        reaction.Values = {0.5 + 1e-3 * reaction.Node, -1 - 2e-3 * reaction.Node,
                           10 + 0.1 * reaction.Node};
    const ViewerLaunch::Outcome raft = SolidData::Launch(block, contents);
    QVERIFY2(raft.Results.Ok(), qPrintable(raft.Results.Message()));
    ResultPainter::Options options;
    options.Show = 1;
    const Painting reactions = Paint(raft, options, QRectF(40, 90, 420, 290));
    const std::vector<QRectF>& values = reactions.Report.LabelBoxes;
    const std::vector<QRectF>& arrows = reactions.Report.MarkBoxes;
    QVERIFY2(values.size() >= 20 && values.size() < 2883 / 10,
             qPrintable(QString::number(values.size())));
    QVERIFY(arrows.size() >= values.size());
    for (size_t a = 0; a < values.size(); ++a) {
        for (size_t b = a + 1; b < values.size(); ++b)
            QVERIFY(!values[a].intersects(values[b]));
        for (const QRectF& arrow : arrows)
            QVERIFY(!values[a].intersects(arrow));
    }
}

void TestViewerResults::barAxesAreTheSolversAxes() {
    // Columns a little off plumb, either side of the solvers' tolerance, and leaning bars: the
    // viewer draws every diagram in the axes the solver computed its forces in.
    for (const double lean : {0.0, 1e-8, 3e-6, 4e-6, 1e-3, 1.0, 4.0}) {
        for (const double beta : {0.0, 30.0}) {
            BarModel model;
            model.Axes = ProblemType::Layout::Space;
            model.Nodes = {{1, 2, 0}, {1 + lean, 2, 4}};
            BarModel::Bar bar;
            bar.J = 1;
            bar.Beta = beta;
            model.Bars = {bar};
            const BarElement element(model, model.Bars[0]);
            const BarAxes axes =
                BarAxes::Of(ProblemType::Layout::Space, {1, 2, 0}, {1 + lean, 2, 4}, beta);
            for (int k = 0; k < 3; ++k) {
                QVERIFY(std::abs(axes.Y[static_cast<size_t>(k)] - element.Axes()(1, k)) < 1e-9);
                QVERIFY(std::abs(axes.Z[static_cast<size_t>(k)] - element.Axes()(2, k)) < 1e-9);
            }
        }
    }
}

void TestViewerResults::shellsOfRevolutionShowTheirMeridian() {
    // The tank of the manual solved by Kelmis: its meridian moves in r and z and turns as a
    // plane frame's bars do, and its section forces are per unit length of the circumference.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome tank =
        SolvedData(directory, QStringLiteral(QV_EXAMPLES "/tank.d02"), QStringLiteral("Kelmis"));
    QVERIFY2(tank.Results.Ok(), qPrintable(tank.Results.Message()));
    const StaticResults& statics = tank.Results.Contents().Statics;
    const ViewerResults::Motion foot =
        ViewerResults::NodeMotion(statics.Cases[0].Displacements, statics.Components, 6);
    QCOMPARE(foot.Move[0], statics.Cases[0].Displacements[18]); // ur of node 7
    QCOMPARE(foot.Turn[1], statics.Cases[0].Displacements[20]); // its rot
    QVERIFY(foot.Move[0] > 0);

    const ResultChoice choice(tank.Results, *tank.Type, tank.Model);
    QCOMPARE(choice.Shows(),
             (QStringList{"Deformed shape", "Meridional force Ns", "Hoop force Nt",
                          "Meridional moment Ms", "Hoop moment Mt", "Shear force Q"}));
    QVERIFY2(choice.Caption(0, 2).first().endsWith(QLatin1String("(kN/m)")),
             qPrintable(choice.Caption(0, 2).first()));
    QVERIFY(choice.Caption(0, 3).first().endsWith(QLatin1String("(kNm/m)")));
    ResultTableModel table(tank.Results, *tank.Type, tank.Model.ForceUnit, tank.Model.LengthUnit);
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ur [m]"));
    table.Show(ResultTableModel::Table::Reactions, 0);
    QCOMPARE(table.headerData(3, Qt::Horizontal).toString(), QStringLiteral("M [kNm/m]"));
    table.Show(ResultTableModel::Table::Forces, 0);
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Nti [kN/m]"));

    // The bottom plate sags: its Ms stretches the underside, the side of its normal, and is
    // drawn there.
    ResultPainter::Options options;
    options.Show = 3;
    options.Reactions = false;
    const Painting painting = Paint(tank, options, QRectF(50, 50, 500, 300));
    const QPoint plate = painting.Camera.Project({1.25, 0, 0}).toPoint();
    QVERIFY(Fill(painting.Image, plate + QPoint(0, 10), true) > 40);
    QCOMPARE(Fill(painting.Image, plate - QPoint(0, 10), true), 0);
}

void TestViewerResults::roundingNoiseShowsAsZero() {
    // The ring of the manual is held at one node under its inner pressure: the solver's
    // reaction there, 1.6e-14 kN against loads of 5 to 10 kN, is rounding noise. Neither the
    // table nor the picture shows it.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome ring =
        SolvedData(directory, QStringLiteral(QV_EXAMPLES "/ring.d11"), QStringLiteral("Frelam"));
    QVERIFY2(ring.Results.Ok(), qPrintable(ring.Results.Message()));
    QCOMPARE(ring.Results.Contents().Field.Cases[0].Reactions[0].Values,
             (std::vector<double>{0, 0}));
    ResultTableModel table(ring.Results, *ring.Type, ring.Model.ForceUnit, ring.Model.LengthUnit);
    table.Show(ResultTableModel::Table::Reactions, 0);
    QCOMPARE(table.data(table.index(0, 2)).toString(), QStringLiteral("0"));
    ResultPainter::Options options;
    options.Show = 1;
    QCOMPARE(Paint(ring, options, QRectF(50, 50, 500, 300)).Report.LabelsDrawn, 0);

    // No load of the storey frame twists its members: its twisting moments (1e-18 kNm) are no
    // diagram, while its bending moments and reactions stay as the solver gave them.
    const ViewerLaunch::Outcome storey =
        SolvedData(directory, QStringLiteral(QV_EXAMPLES "/storey.d07"), QStringLiteral("Hosken"));
    QVERIFY2(storey.Results.Ok(), qPrintable(storey.Results.Message()));
    const ResultChoice choice(storey.Results, *storey.Type, storey.Model);
    options.Reactions = false;
    options.Show = int(choice.Shows().indexOf(QStringLiteral("Twisting moment T")));
    QVERIFY(options.Show > 0);
    QCOMPARE(Paint(storey, options, QRectF(50, 50, 500, 300)).Report.LargestOrdinate, 0.0);
    options.Show = int(choice.Shows().indexOf(QStringLiteral("Bending moment My")));
    QVERIFY(Paint(storey, options, QRectF(50, 50, 500, 300)).Report.LargestOrdinate > 10);
    const StaticResults::Case& loaded = storey.Results.Contents().Statics.Cases[0];
    QVERIFY(std::all_of(
        loaded.Reactions.begin(), loaded.Reactions.end(),
        [](const StaticResults::Reaction& r) { return std::abs(r.Values[2] - 75) < 1e-9; }));
}

void TestViewerResults::barForcesAsTheFileGivesThem() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    const QString path = directory.filePath(QStringLiteral("beam.bin"));
    const auto opened = [&](const QByteArray& bytes) {
        return ViewerResults::FromBytes(bytes, path, ProblemType::Of(5), false, beam.Model);
    };
    // A file of the previous version titled each force by its name: the viewer gives the
    // names the titles and units they stood for, those the element gives now.
    ResultFile::Contents previous = Statics(5, 2, 1);
    previous.Statics.Forces = ResultLayout::OfForceNames(previous.Statics.Forces.Names(), false);
    QByteArray older = ResultFile::Write(previous);
    older[8] = 4;
    const ViewerResults old = opened(older);
    QVERIFY2(old.Ok(), qPrintable(old.Message()));
    QCOMPARE(old.Contents().Statics.Forces,
             BarElement::EndLayout(ProblemType::Layout::PlaneXZ, false));
    const ResultChoice oldChoice(old, *beam.Type, beam.Model);
    QCOMPARE(oldChoice.Shows(), QStringList({"Deformed shape", "Normal force N", "Shear force V",
                                             "Bending moment M"}));
    QCOMPARE(oldChoice.UnitOf(oldChoice.Quantities()[2]), QStringLiteral("kNm"));
    // A name it never wrote is refused rather than given a title that may be wrong.
    previous.Statics.Forces.Columns[1].Name = QStringLiteral("Xi");
    older = ResultFile::Write(previous);
    older[8] = 4;
    QVERIFY(opened(older).Message().contains(
        QStringLiteral("names element forces (Ni Xi Mi Nj Vj Mj) that no solver of version 4")));

    // A force the viewer has never seen is shown as the file names it, its two ends paired by
    // their place and title, whatever lies between them.
    ResultFile::Contents unknown = Statics(5, 2, 1);
    ResultLayout section = BarElement::EndLayout(ProblemType::Layout::PlaneXZ, false);
    section.Columns.resize(3);
    for (ResultColumn& column : section.Columns)
        column.Name.chop(1);
    section.Columns.push_back({"W", "Warping moment W", ResultColumn::Quantity::Moment});
    unknown.Statics.Forces = ResultLayout::AtEnds(section);
    unknown.Statics.Cases[0].Forces = {1, 2, 3, 2.5, 5, 6, 7, -1.5};
    const ViewerResults shown = opened(ResultFile::Write(unknown));
    QVERIFY2(shown.Ok(), qPrintable(shown.Message()));
    const ResultChoice choice(shown, *beam.Type, beam.Model);
    QCOMPARE(choice.Shows().last(), QStringLiteral("Warping moment W"));
    QCOMPARE(choice.Caption(0, 4).first(), QStringLiteral("Load case 1: Warping moment W (kNm)"));
    const ResultQuantity& w = choice.Quantities().back();
    const BarOrdinates ordinates = BarOrdinates::Of(
        beam.Model, *beam.Type, shown.Contents().Statics, shown.Contents().Statics.Cases[0], w)[0];
    QCOMPARE(ordinates.I, 2.5);
    QCOMPARE(ordinates.J, -1.5);
    ResultTableModel table(shown, *beam.Type, "kN", "m");
    table.Show(ResultTableModel::Table::Forces, 0);
    QCOMPARE(table.headerData(8, Qt::Horizontal).toString(), QStringLiteral("Wj [kNm]"));

    // A load combination is offered after the cases, captioned with its terms, its values in
    // the tables and its bars loaded by its factors; one of a case the data lacks is refused.
    ResultFile::Contents combined = Statics(5, 2, 1);
    StaticResults::Case sum = combined.Statics.Cases[0];
    sum.Terms = {{1, 1.5}};
    sum.Forces = {1, 2, 3, 4, 5, 6};
    combined.Statics.Combinations = {sum};
    const QByteArray bytes = ResultFile::Write(combined);
    QCOMPARE(int(bytes[8]), 6);
    const ViewerResults both = opened(bytes);
    QVERIFY2(both.Ok(), qPrintable(both.Message()));
    const ResultChoice bothChoice(both, *beam.Type, beam.Model);
    QCOMPARE(bothChoice.Entries(), (QStringList{"Load case 1", "Combination 1"}));
    QCOMPARE(bothChoice.Caption(1, 3).first(),
             QStringLiteral("Combination 1 (1.500 \u00d7 case 1): Bending moment M (kNm)"));
    ResultTableModel sums(both, *beam.Type, "kN", "m");
    sums.Show(ResultTableModel::Table::Forces, 1);
    QCOMPARE(sums.index(0, 3).data().toString(), QStringLiteral("3.000"));
    const auto layout = ProblemType::Layout::PlaneXZ;
    QCOMPARE(
        BarSpan::Of(beam.Model, layout, sum)[0].Even[2],
        1.5 * BarSpan::Of(beam.Model, layout, beam.Results.Contents().Statics.Cases[0])[0].Even[2]);
    combined.Statics.Combinations[0].Terms = {{2, 1.0}};
    QVERIFY(opened(ResultFile::Write(combined))
                .Message()
                .contains(QStringLiteral("its combination 1 names load case 2")));
}

QTEST_MAIN(TestViewerResults)
void TestViewerResults::forcedMotionSumsTheModes() {
    const ResultFile::Contents contents = ForcedContents();
    const ForcedMotion harmonic(contents, 0);
    QCOMPARE(harmonic.Points(), 2);
    // At 4 Hz node 2 moves U = 1 (1 - i) + 0.5 (2 + i) = 2 - 0.5i along x and 2 (2 + i) along
    // z: amplitudes |U| and the phase of U, and Re(U e^(i phase)) a quarter period on.
    const ForcedMotion::Curve ux = harmonic.CurveOf({false, 1, 0});
    QVERIFY(Close(ux.Values[1], std::sqrt(4.25)));
    QVERIFY(Close(ux.Phases[1], std::atan2(-0.5, 2.0)));
    QVERIFY(Close(harmonic.CurveOf({false, 1, 1}).Values[1], std::sqrt(20.0)));
    QVERIFY(Close(ux.Values[0], 5)); // |3 + 4i|
    const double quarter = 3.14159265358979323846 / 2;
    QVERIFY(Close(harmonic.At(1, quarter).Nodes[3], 0.5));
    QVERIFY(Close(harmonic.At(1, quarter).Nodes[4], -2));
    // The element's results follow the same coordinates: 10 (1 - i) - 4 (2 + i) = 2 - 14i.
    QVERIFY(Close(harmonic.CurveOf({true, 0, 0}).Values[1], std::hypot(2.0, 14.0)));
    QVERIFY(Close(harmonic.At(1, 0).Elements[0], 2));
    // The largest translation over every phase: 5 at 2 Hz beats the ellipse at 4 Hz, found by
    // turning its phase in fine steps.
    double ellipse = 0;
    for (int step = 0; step < 36000; ++step) {
        const ForcedMotion::Frame frame = harmonic.At(1, step * 4 * quarter / 36000);
        ellipse = std::max(ellipse, std::hypot(frame.Nodes[3], frame.Nodes[4]));
    }
    QVERIFY(ellipse > 4.7 && ellipse < 5);
    QVERIFY(Close(harmonic.LargestMove(), 5));
    QCOMPARE(harmonic.PeakPoint(), 0);
    QCOMPARE(harmonic.Strongest(), (ForcedMotion::Quantity{false, 1, 0}));
    ResultFile::Contents louder = contents;
    louder.Vibrations.List[0].Coordinates[0] = 0.3; // 2 Hz: |0.3 + 4i| < the ellipse
    louder.Vibrations.List[0].Coordinates[1] = 0.4;
    const ForcedMotion turned(louder, 0);
    QCOMPARE(turned.PeakPoint(), 1);
    QVERIFY(Close(turned.LargestMove(), ellipse, 1e-6));

    // A history: one dot product per instant, for nodes and elements alike.
    const ForcedMotion history(contents, 1);
    QCOMPARE(history.CurveOf({false, 1, 0}).Values, (std::vector<double>{0, 2, -2.75}));
    QCOMPARE(history.CurveOf({true, 0, 0}).Values, (std::vector<double>{0, 2, -32}));
    QVERIFY(history.CurveOf({false, 1, 0}).Phases.empty());
    QVERIFY(Close(history.LargestMove(), std::hypot(2.0, 4.0)));
    QCOMPARE(history.PeakPoint(), 1);
    QCOMPARE(history.Strongest(), (ForcedMotion::Quantity{false, 1, 1}));
    QCOMPARE(history.Range(1), std::make_pair(0.0, 4.0));
    QVERIFY(history.CurveOf({false, 2, 0}).Values.empty()); // no node 3
    QCOMPARE(ForcedMotion(contents, 2).Points(), 0);        // a spectrum does not move
    QVERIFY(!ForcedMotion(contents, 3).Valid());
}

void TestViewerResults::forcedVibrationsRoundTripAndAreChecked() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome beam =
        Solved(directory, QStringLiteral("beam.d05"), QStringLiteral("Pelgon"));
    const ResultFile::Contents contents = ForcedContents();
    const QByteArray bytes = ResultFile::Write(contents);
    const ResultFile::ReadOutcome read = ResultFile::ReadChecked(bytes);
    QVERIFY2(read.Read, qPrintable(read.Fault));
    QCOMPARE(read.Version, 7);
    const ResultFile::Forced& f = read.Read->Vibrations;
    QCOMPARE(f.Columns, contents.Vibrations.Columns);
    QCOMPARE(f.ShapeElements, contents.Vibrations.ShapeElements);
    QCOMPARE(f.List.size(), size_t(3));
    for (size_t k = 0; k < 3; ++k) {
        const auto &a = f.List[k], &b = contents.Vibrations.List[k];
        QCOMPARE(std::tie(a.Number, a.Type, a.Abscissae, a.Coordinates, a.NodePeaks, a.ElementPeaks,
                          a.BaseShears),
                 std::tie(b.Number, b.Type, b.Abscissae, b.Coordinates, b.NodePeaks, b.ElementPeaks,
                          b.BaseShears));
    }
    const auto open = [&](const QByteArray& file) {
        return ViewerResults::FromBytes(file, QStringLiteral("beam.bi0"), ProblemType::Of(8), false,
                                        beam.Model);
    };
    const ViewerResults results = open(bytes);
    QVERIFY2(results.Ok(), qPrintable(results.Message()));
    // After the two modes: the harmonic, the history with its bounds, the spectrum.
    QCOMPARE(results.ForcedEntries(), 5);
    const ResultChoice choice(results, ProblemType::Of(8), beam.Model);
    QCOMPARE(choice.Entries().mid(2),
             (QStringList{"Excitation 1: harmonic, 2 to 4 Hz", "Excitation 2: history, 0 to 0.2 s",
                          "Excitation 2 max", "Excitation 2 min",
                          "Excitation 3: spectrum, combined peaks"}));
    QVERIFY(!results.ForcedOf(1));
    QCOMPARE(results.ForcedOf(5)->View, ViewerResults::ForcedView::Min);
    QVERIFY(choice.Caption(6, 0).contains(QStringLiteral("Base shear along x: 12.50 kN")));
    QVERIFY(choice.Caption(4, 0)[1].contains(QStringLiteral("no deformed shape")));
    const ForcedMotion history(results.Contents(), 1);
    QVERIFY(
        choice.MotionCaption(3, 0, history, 2, 0, 0.5)
            .first()
            .startsWith(QStringLiteral("Excitation 2: history at t = 0.2000 s (instant 3 of 3)")));
    // The history's bound: each value beside its instant; the spectrum's peaks as sizes.
    ResultTableModel table(results, ProblemType::Of(8), "kN", "m");
    table.Show(ResultTableModel::Table::ForcedNodes, 5);
    QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ux [m]"));
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral("at t [s]"));
    QCOMPARE(table.index(1, 1).data(Qt::UserRole).toDouble(), -2.75);
    QCOMPARE(table.index(1, 2).data(Qt::UserRole).toDouble(), 0.2);
    // A harmonic's table gives its amplitudes at the frequency, whatever the phase drawn.
    const ForcedMotion harmonic(results.Contents(), 0);
    table.SetForced({&harmonic, 1, 0.7, {}, {}});
    table.Show(ResultTableModel::Table::ForcedNodes, 2);
    QCOMPARE(table.headerData(2, Qt::Horizontal).toString(), QStringLiteral("|uz| [m]"));
    QVERIFY(Close(table.index(1, 1).data(Qt::UserRole).toDouble(), std::sqrt(4.25)));
    QVERIFY(Close(table.index(1, 2).data(Qt::UserRole).toDouble(), std::sqrt(20.0)));
    table.Show(ResultTableModel::Table::ForcedElements, 2);
    QVERIFY(Close(table.index(0, 1).data(Qt::UserRole).toDouble(), std::hypot(2.0, 14.0)));
    table.Show(ResultTableModel::Table::ForcedElements, 6);
    QCOMPARE(table.index(0, 1).data(Qt::UserRole).toDouble(), 40.0);
    // The response curve, its abscissa not a whole number.
    table.SetForced(
        {&history, 0, 0, history.CurveOf({false, 1, 0}), choice.QuantityName({false, 1, 0})});
    table.Show(ResultTableModel::Table::Response, 3);
    QCOMPARE(table.Text(), QStringLiteral("t [s]\tNode 2 ux [m]\n0\t0\n0.1\t2\n0.2\t-2.75\n"));

    // A count of instants that the bytes cannot hold is refused before it is believed; a
    // coordinate that is not a number is refused by the viewer.
    QByteArray damaged = bytes;
    QByteArray heading;
    for (const qint32 v : {1, 1, 2})
        heading.append(reinterpret_cast<const char*>(&v), 4);
    const qsizetype at = damaged.indexOf(heading);
    QVERIFY(at > 0);
    const qint32 many = 1 << 29;
    damaged.replace(at + 8, 4, QByteArray(reinterpret_cast<const char*>(&many), 4));
    const ViewerResults refused = open(damaged);
    QCOMPARE(refused.State(), ViewerResults::Status::Unreadable);
    QVERIFY2(refused.Message().contains(QStringLiteral("instants in excitation 1")),
             qPrintable(refused.Message()));
    ResultFile::Contents poisoned = contents;
    poisoned.Vibrations.List[1].Coordinates[3] = std::nan("");
    QVERIFY(open(ResultFile::Write(poisoned))
                .Message()
                .contains(QStringLiteral("numbers in excitation 2 that are not finite")));
    // A version-7 file of modes alone is shown as one of before.
    const ViewerResults modes =
        open(ShapeFile(7, 2, 8, 2, {1}, {"ux", "uz", "ry"}, {{0, 4.0, {0, 0, 0, 1, 0, 0}, {}}}));
    QVERIFY2(modes.Ok(), qPrintable(modes.Message()));
    QCOMPARE(modes.ForcedEntries(), 0);
}

void TestViewerResults::historyCurveReachesTheSolversPeaks() {
    // A footbridge under a walker: its history by the modes, rebuilt from the coordinates,
    // reaches the largest and smallest values the solver found at every step.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome bridge = SolvedData(
        directory, QStringLiteral(QV_EXAMPLES "/footbridge.p13"), QStringLiteral("Yerdol"));
    QVERIFY2(bridge.Results.Ok(), qPrintable(bridge.Results.Message()));
    const ResultFile::Contents& contents = bridge.Results.Contents();
    QVERIFY(!contents.Vibrations.Empty());
    const ForcedMotion motion(contents, 0);
    QCOMPARE(motion.Type(), ForcedMotion::Kind::History);
    const ForcedMotion::Quantity q = motion.Strongest();
    const std::vector<double> values = motion.CurveOf(q).Values;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const size_t width = static_cast<size_t>(contents.Modes.Components.size());
    const double* peaks =
        &motion.Excitation().NodePeaks[(size_t(q.Index) * width + size_t(q.Column)) * 4];
    QVERIFY2(
        Close(*high, peaks[0], 1e-9) && Close(*low, peaks[2], 1e-9),
        qPrintable(QStringLiteral("%1 %2 %3 %4").arg(*high).arg(peaks[0]).arg(*low).arg(peaks[2])));
    QVERIFY(Close(motion.Abscissa(int(high - values.begin())), peaks[1]));
    QVERIFY(Close(motion.Abscissa(int(low - values.begin())), peaks[3]));
    // The largest translation is that node's, of the plate's one translation uz.
    QVERIFY(Close(motion.LargestMove(), std::max(std::abs(*low), *high), 1e-9));
    // The contours of a plate's motion keep the excitation's range: the solver's bounds of
    // uz over every node.
    const FieldLayout layout = *FieldLayout::Of(*bridge.Type, true);
    QCOMPARE(layout.Shows[size_t(q.Column)].Name, QStringLiteral("uz"));
    double lowest = 0, highest = 0;
    for (size_t n = 0; n < size_t(contents.Modes.Nodes); ++n) {
        highest = std::max(highest, motion.Excitation().NodePeaks[(n * width + 0) * 4]);
        lowest = std::min(lowest, motion.Excitation().NodePeaks[(n * width + 0) * 4 + 2]);
    }
    const auto range = motion.Range(q.Column);
    QVERIFY(Close(range.first, lowest, 1e-9) && Close(range.second, highest, 1e-9));
    // At rest at the start the deck is drawn in the bands of the whole history, its caption
    // at that instant.
    ResultPainter::Options::Motion frame{motion.At(0), motion.LargestMove(), range, {}};
    frame.Caption = ResultChoice(bridge.Results, *bridge.Type, bridge.Model)
                        .MotionCaption(int(contents.Modes.List.size()), q.Column, motion, 0, 0, 0);
    ResultPainter::Options options;
    options.Entry = int(contents.Modes.List.size());
    options.Show = q.Column;
    options.Forced = &frame;
    const Painting still = Paint(bridge, options, QRectF(20, 20, 560, 360));
    QVERIFY(still.Report.Contours.Limits().front() <= lowest &&
            still.Report.Contours.Limits().back() >= highest);
    QVERIFY(still.Report.Contours.Bands() >= 6);
    QVERIFY(still.Report.Caption.first().startsWith(
        QStringLiteral("Excitation 1: history at t = 0 s (instant 1 of ")));
}

#include "tst_viewerresults.moc"
