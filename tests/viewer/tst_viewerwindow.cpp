#include "ExportActions.h"
#include "FieldData.h"
#include "ModelView.h"
#include "ProgramRun.h"
#include "ResponsePlot.h"
#include "ResultTableModel.h"
#include "ShellData.h"
#include "SolvedData.h"
#include "SolverCatalogue.h"
#include "SolverCommand.h"
#include "ViewerLaunch.h"
#include "ViewerWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <algorithm>

namespace {

ViewerLaunch::Outcome Launch(const QTemporaryDir& directory, const QString& name,
                             const QString& mode) {
    ProgramRun::WriteFile(directory.filePath(name),
                          ProgramRun::ReadFile(QStringLiteral(QV_TEST_DATA "/") + name));
    return ViewerLaunch::Prepare({name, mode}, directory.path());
}

// An example of the package solved by its solver in `directory`, then opened for its results.
ViewerLaunch::Outcome Solved(const QTemporaryDir& directory, const QString& example,
                             const QString& solver) {
    return SolvedData(directory, QStringLiteral(QV_EXAMPLES "/") + example, solver);
}

bool Blue(QRgb pixel) {
    return qBlue(pixel) > 150 && qRed(pixel) < 120 && qGreen(pixel) < 170;
}

int ColouredPixels(const QImage& image, bool (*test)(QRgb)) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y));
    }
    return count;
}

bool Red(QRgb pixel) {
    return qRed(pixel) > 150 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

} // namespace

class TestViewerWindow : public QObject {
    Q_OBJECT

private slots:
    void showsTheModelAndTheChosenLoadCase();
    void resultModeSaysWhyNoResultsAreShown();
    void resultModeDrawsDiagramsAndTables();
    void resultModeShowsModes();
    void resultModePlaysForcedVibrations();
    void resultModeShowsStressContours();
    void spaceModelTurns();
    void screenshot();
    void continuumScreenshots();
    void plateAndShellScreenshots();
    void solvedPlatesAndShells();
};

void TestViewerWindow::showsTheModelAndTheChosenLoadCase() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome outcome = Launch(directory, QStringLiteral("frame.d05"), "E");
    QVERIFY(outcome.ShowWindow);
    ViewerWindow window(QStringLiteral("Pantex"), outcome);
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Pantex - frame.d05"));
    QCOMPARE(window.Notice(), QString());
    QCOMPARE(window.LoadCases()->count(), 3); // none, 1, 2
    const int case1 = ColouredPixels(window.View()->grab().toImage(), Red);
    QVERIFY(case1 > 100);
    window.LoadCases()->setCurrentIndex(0);
    QCOMPARE(ColouredPixels(window.View()->grab().toImage(), Red), 0);
    window.LoadCases()->setCurrentIndex(2);
    const int case2 = ColouredPixels(window.View()->grab().toImage(), Red);
    QVERIFY(case2 > 0 && case2 < case1);

    // Zoom with the keyboard keeps the middle of the view in place; Home fits again.
    QTest::keyClick(window.View(), Qt::Key_Plus);
    QCOMPARE(window.View()->Camera().Zoom(), 1.25);
    QTest::keyClick(window.View(), Qt::Key_Home);
    QCOMPARE(window.View()->Camera().Zoom(), 1.0);
}

void TestViewerWindow::resultModeSaysWhyNoResultsAreShown() {
    // Not calculated yet: the window says so, and the model is shown without result controls.
    QTemporaryDir directory;
    ViewerWindow window(QStringLiteral("Pantex"),
                        Launch(directory, QStringLiteral("frame.d05"), "R"));
    window.show();
    QVERIFY(window.Notice().contains(QStringLiteral("frame.bin does not exist")));
    QVERIFY(!window.Entries());
    QVERIFY(window.LoadCases()->isVisible());
}

void TestViewerWindow::resultModeDrawsDiagramsAndTables() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome outcome =
        Solved(directory, QStringLiteral("gable.d05"), QStringLiteral("Pelgon"));
    QVERIFY(outcome.Results.Ok());
    ViewerWindow window(QStringLiteral("Pantex"), outcome);
    window.resize(1000, 640);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Notice(), QString());
    QCOMPARE(window.Entries()->count(), 2);
    QCOMPARE(window.Shows()->currentText(), QStringLiteral("Bending moment M"));
    QVERIFY(!window.LoadCases()->isVisible());
    // The moment diagram is filled in blue and red; the deformed shape is drawn in blue.
    const QImage moments = window.View()->grab().toImage();
    QVERIFY(ColouredPixels(moments, Blue) > 200);
    QVERIFY(window.View()->LastResults().LargestOrdinate > 0);
    QVERIFY(window.View()->LastResults().Caption.first().startsWith(
        QStringLiteral("Load case 1: Bending moment M (kNm)")));
    window.Shows()->setCurrentIndex(0);
    window.View()->grab();
    QVERIFY(window.View()->LastResults().Deformation > 0);
    QTest::keyClick(&window, Qt::Key_PageDown);
    QCOMPARE(window.Entries()->currentIndex(), 1);

    // The table follows the load case, and copies what is selected with its titles.
    QVERIFY(window.TableDock()->isHidden());
    QTest::keyClick(&window, Qt::Key_T);
    QVERIFY(window.TableDock()->isVisible());
    window.Tables()->setCurrentIndex(1); // reactions of case 2: two fixed feet
    QAbstractItemModel* table = window.Table()->model();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Rx [kN]"));
    // Case 2 is a horizontal load of 12 kN: the feet push back with 12 kN together.
    const double rx = table->index(0, 1).data(Qt::UserRole).toDouble() +
                      table->index(1, 1).data(Qt::UserRole).toDouble();
    QVERIFY(std::abs(rx + 12) < 1e-9);
    window.Table()->selectionModel()->select(table->index(0, 0), QItemSelectionModel::Select);
    window.Table()->selectionModel()->select(table->index(0, 1), QItemSelectionModel::Select);
    window.Table()->setFocus();
    QTest::keyClick(window.Table(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("Node\tRx [kN]\n1\t")));

    // Save writes the whole table as a copy of all of it would; Print puts it on paper under a
    // heading that says what it is.
    QVERIFY(window.SaveTableAction()->shortcut() == QKeySequence::Save);
    QVERIFY(window.PrintTableAction()->shortcut() == QKeySequence::Print);
    const QString saved = directory.filePath(QStringLiteral("reactions.txt"));
    QCOMPARE(window.SaveTable(saved), QString());
    window.Table()->selectAll();
    QTest::keyClick(window.Table(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QString::fromUtf8(ProgramRun::ReadFile(saved)), QApplication::clipboard()->text());
    QVERIFY(
        !window.SaveTable(directory.filePath(QStringLiteral("no/such/folder/x.txt"))).isEmpty());
    // File > Export: the table shown as CSV, every result for ParaView beside the series.
    QVERIFY(window.Exports()->Vtu()->isEnabled() && window.Exports()->Csv()->isEnabled());
    // One File menu holds both the exports and the pictures.
    QCOMPARE(window.menuBar()->actions().value(0)->text(), QStringLiteral("&File"));
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(std::count_if(menus.begin(), menus.end(),
                           [](const QAction* menu) { return menu->text() == "&File"; }),
             1);
    const QString csv = directory.filePath(QStringLiteral("reactions.csv"));
    QCOMPARE(window.Exports()->ExportCsv(csv), QString());
    QVERIFY(ProgramRun::ReadFile(csv).startsWith("Node,Rx [kN],Rz [kN],My [kNm]\r\n1,"));
    QCOMPARE(window.Exports()->ExportVtu(directory.filePath(QStringLiteral("out/g.pvd"))).isEmpty(),
             false);
    QCOMPARE(window.Exports()->ExportVtu(directory.filePath(QStringLiteral("g.pvd"))), QString());
    QVERIFY(ProgramRun::ReadFile(directory.filePath(QStringLiteral("g.pvd")))
                .contains("file=\"g-case2.vtu\""));
    QVERIFY(QFile::exists(directory.filePath(QStringLiteral("g-case1.vtu"))));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(directory.filePath(QStringLiteral("table.pdf")));
    window.PrintTable(printer);
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), printer.outputFileName(), QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(20000), "pdftotext did not run");
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    QVERIFY2(page.contains(QStringLiteral("gable.d05 - Reactions - Load case 2")),
             qPrintable(page));
    QVERIFY2(page.contains(QStringLiteral("Rx [kN]")), qPrintable(page));
    QVERIFY2(page.contains(table->index(0, 1).data().toString()), qPrintable(page));

    // Hundreds of supports: their reactions are shown on request only.
    const auto reactions = [](const ViewerWindow& shown) {
        for (const QToolBar* bar : shown.findChildren<QToolBar*>()) {
            for (QAction* action : bar->actions()) {
                if (action->text() == QLatin1String("Reactions"))
                    return action;
            }
        }
        return static_cast<QAction*>(nullptr);
    };
    QVERIFY(reactions(window)->isChecked());
    ViewerLaunch::Outcome many = outcome;
    many.Model.Supports.resize(101, many.Model.Supports.front());
    ViewerWindow crowded(QStringLiteral("Pantex"), many);
    QVERIFY(!reactions(crowded)->isChecked());
    QVERIFY(!crowded.View()->grab().isNull());
    QVERIFY(crowded.View()->LastResults().LabelsDrawn > 0);
}

void TestViewerWindow::resultModeShowsModes() {
    QTemporaryDir directory;
    const ViewerLaunch::Outcome outcome =
        Solved(directory, QStringLiteral("twostorey.d08"), QStringLiteral("Lirtag"));
    QVERIFY(outcome.Results.Ok());
    ViewerWindow window(QStringLiteral("Kaddle"), outcome);
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Entries()->count(), 2);
    QVERIFY(!window.Shows());
    QVERIFY(window.Entries()->itemText(0).startsWith(QStringLiteral("Mode 1: ")));
    window.View()->grab();
    QVERIFY(window.View()->LastResults().Caption.first().contains(QStringLiteral(" Hz, T = ")));
    QVERIFY(ColouredPixels(window.View()->grab().toImage(), Blue) > 100);
}

void TestViewerWindow::resultModePlaysForcedVibrations() {
    // A machine on a portal swept from 5 to 25 Hz: after its 3 modes, the sweep.
    QTemporaryDir directory;
    const ViewerLaunch::Outcome outcome =
        Solved(directory, QStringLiteral("machine.d08"), QStringLiteral("Lirtag"));
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    ViewerWindow window(QStringLiteral("Kaddle"), outcome);
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Entries()->count(), 4);
    QVERIFY(window.PlayAction()->isEnabled()); // a mode swings too
    QVERIFY(!window.Motion());
    window.Entries()->setCurrentIndex(3);
    QCOMPARE(window.Entries()->currentText(), QStringLiteral("Excitation 1: harmonic, 5 to 25 Hz"));
    QVERIFY(window.PlayAction()->isEnabled());
    // It opens at the resonance, where the node that moves most is furthest out, and its
    // frequency response is plotted with the marker there.
    const ForcedMotion* motion = window.Motion();
    QVERIFY(motion);
    QCOMPARE(window.Frequencies()->count(), 81);
    QCOMPARE(window.MotionPoint(), motion->PeakPoint());
    QVERIFY(window.ResponseDock()->isVisible());
    QCOMPARE(window.Plot()->Marker(), motion->PeakPoint());
    window.View()->grab();
    const ResultPainter::Report& report = window.View()->LastResults();
    QVERIFY2(report.Caption.first().startsWith(QStringLiteral("Excitation 1: harmonic at f = ")),
             qPrintable(report.Caption.first()));
    QVERIFY(report.Deformation > 0);
    QVERIFY(ColouredPixels(window.View()->grab().toImage(), Blue) > 100);
    // Space plays; each step turns the phase on, at one scale for the whole sweep.
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.PlayAction()->isChecked());
    const double phase = window.MotionPhase();
    window.AdvanceMotion(0.5); // a quarter of the period shown in two seconds
    QVERIFY(std::abs(std::remainder(window.MotionPhase() - phase - 3.14159265358979323846 / 2,
                                    2 * 3.14159265358979323846)) < 1e-12);
    window.View()->grab();
    QCOMPARE(window.View()->LastResults().Deformation, report.Deformation);
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(!window.PlayAction()->isChecked());
    // A click on node 2 follows it; its curve is a table saved as tab-separated text.
    emit window.View()->Clicked(window.View()->Camera().Project(outcome.Model.Nodes[1]));
    QCOMPARE(window.ResponseNumber()->value(), 2);
    window.ResponseColumn()->setCurrentIndex(0);
    window.Tables()->setCurrentIndex(
        window.Tables()->findData(static_cast<int>(ResultTableModel::Table::Response)));
    QCOMPARE(window.Table()->model()->rowCount(), 81);
    const QString path = directory.filePath(QStringLiteral("curve.txt"));
    QCOMPARE(window.SaveTable(path), QString());
    const QStringList lines = QString::fromUtf8(ProgramRun::ReadFile(path)).split(u'\n');
    QCOMPARE(lines.first(), QStringLiteral("f [Hz]\tAmplitude of Node 2 ux [m]\tPhase [\u00b0]"));
    QCOMPARE(lines[1].section(u'\t', 0, 0), QStringLiteral("5"));
    const double amplitude = lines[1].section(u'\t', 1, 1).toDouble();
    QVERIFY(std::abs(amplitude - motion->CurveOf({false, 1, 0}).Values[0]) <= 1e-9 * amplitude);
    // The bending moments at the phase drawn, from the same modes: the diagram's largest
    // ordinate is the largest end moment of the frame rebuilt from the file.
    window.Shows()->setCurrentIndex(
        window.Shows()->findText(QStringLiteral("Bending moment"), Qt::MatchStartsWith));
    window.View()->grab();
    const ForcedMotion::Frame frame = motion->At(window.MotionPoint(), window.MotionPhase());
    const ResultLayout& columns = outcome.Results.Contents().Vibrations.Columns;
    double moment = 0;
    for (size_t e = 0; e < frame.Elements.size() / size_t(columns.Count()); ++e)
        for (const char* end : {"Mi", "Mj"})
            moment = std::max(
                moment, std::abs(frame.Elements[e * size_t(columns.Count()) +
                                                size_t(columns.IndexOf(QLatin1String(end)))]));
    QVERIFY(moment > 0);
    QVERIFY(std::abs(window.View()->LastResults().LargestOrdinate - moment) <= 1e-9 * moment);
    // Back to a mode: nothing plays.
    window.Entries()->setCurrentIndex(0);
    QVERIFY(!window.PlayAction()->isEnabled());
}

void TestViewerWindow::resultModeShowsStressContours() {
    ViewerWindow window(QStringLiteral("Ciffon"), FieldData::Launch(9, 8, 4));
    window.resize(1000, 640);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Notice(), QString());
    QCOMPARE(window.Entries()->count(), 2);
    QCOMPARE(window.Shows()->count(), 7);
    QCOMPARE(window.Shows()->itemText(0), QStringLiteral("Deformed shape"));
    QCOMPARE(window.Shows()->currentText(), QStringLiteral("Stress sx"));
    window.View()->grab();
    const ResultPainter::Report& report = window.View()->LastResults();
    QVERIFY(report.Contours.Bands() >= 6);
    QVERIFY(report.Caption.first().startsWith(QStringLiteral("Load case 1: Stress sx (kN/m")));
    // The reactions of its 9 supports are on at the start, with their values.
    QVERIFY(report.LabelsDrawn > 0);
    // Ctrl+PgDn steps to the next stress, PgDn to the next load case.
    QTest::keyClick(&window, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(window.Shows()->currentText(), QStringLiteral("Stress sz"));
    QTest::keyClick(&window, Qt::Key_PageDown);
    QCOMPARE(window.Entries()->currentIndex(), 1);
    // P draws the principal stresses.
    QVERIFY(window.ArrowsAction() && !window.ArrowsAction()->isChecked());
    QTest::keyClick(&window, Qt::Key_P);
    QVERIFY(window.ArrowsAction()->isChecked());
    window.View()->grab();
    QVERIFY(window.View()->LastResults().ArrowsDrawn > 0);
    // A click on a node says its values in the status line.
    const QPoint node = window.View()->Camera().Project({2, 0, 1}).toPoint();
    QTest::mouseClick(window.View(), Qt::LeftButton, Qt::NoModifier, node);
    QVERIFY2(window.PickedValues().startsWith(QStringLiteral("Node 12: ux = ")),
             qPrintable(window.PickedValues()));
    QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("Node 12")));
    // The table offers the stresses too, and saves them.
    QCOMPARE(window.Tables()->count(), 4);
    window.Tables()->setCurrentIndex(2);
    QCOMPARE(window.Table()->model()->rowCount(), 8 * 4 + 4);
    QTemporaryDir directory;
    const QString saved = directory.filePath(QStringLiteral("stresses.txt"));
    QCOMPARE(window.SaveTable(saved), QString());
    QVERIFY(QString::fromUtf8(ProgramRun::ReadFile(saved))
                .startsWith(QStringLiteral("Element\tsx [kN/m")));
    QVERIFY(window.TableHeading().endsWith(
        QStringLiteral("Stresses at element centres - Load case 2")));

    // A profile opens on its resultant shear stress, with arrows on request.
    ViewerWindow profile(QStringLiteral("Ciffon"), FieldData::Launch(16, 4, 3));
    profile.resize(1000, 640);
    profile.show();
    QVERIFY(QTest::qWaitForWindowExposed(&profile));
    QCOMPARE(profile.Shows()->currentText(), QStringLiteral("Resultant shear stress tau"));
    QCOMPARE(profile.ArrowsAction()->text(), QStringLiteral("Shear arrows"));
    QCOMPARE(profile.Tables()->itemText(0), QStringLiteral("Torsion constants"));
    // Each column at least as wide as its title ("Rate of twist [rad/m]" whole).
    profile.TableDock()->show();
    QApplication::processEvents();
    const QHeaderView* header = profile.Table()->horizontalHeader();
    QCOMPARE(header->count(), 7);
    for (int column = 0; column < header->count(); ++column)
        QVERIFY2(
            header->sectionSize(column) >= header->sectionSizeHint(column),
            qPrintable(profile.Table()->model()->headerData(column, Qt::Horizontal).toString()));
}

void TestViewerWindow::spaceModelTurns() {
    QTemporaryDir directory;
    ViewerWindow window(QStringLiteral("Ciffon"),
                        Launch(directory, QStringLiteral("slab.d63"), "E"));
    window.resize(600, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const double azimuth = window.View()->Camera().Azimuth();
    QTest::keyClick(window.View(), Qt::Key_Right);
    QCOMPARE(window.View()->Camera().Azimuth(), azimuth + 10);
    QTest::mousePress(window.View(), Qt::RightButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(140, 100),
                     window.View()->mapToGlobal(QPointF(140, 100)), Qt::NoButton, Qt::RightButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window.View(), &move);
    QCOMPARE(window.View()->Camera().Azimuth(), azimuth + 10 - 20);
}

void TestViewerWindow::screenshot() {
    // The README's pictures; set QV_SCREENSHOT_DIR to refresh them. Without it they are still
    // drawn and checked, so a picture that would come out wrong fails the suite.
    QTemporaryDir scratch;
    const QString folder = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                               ? scratch.path()
                               : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    // The model is drawn: a good share of the columns of the view cross some of its drawing.
    const auto drawn = [](ModelView* view) {
        const QImage image = view->grab().toImage();
        const QColor background = image.pixelColor(image.width() - 2, image.height() - 2);
        int marked = 0;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = image.height() / 5; y < image.height() * 4 / 5; ++y) {
                if (image.pixelColor(x, y) != background) {
                    ++marked;
                    break;
                }
            }
        }
        return marked > image.width() / 5;
    };
    QTemporaryDir directory;
    ViewerWindow window(QStringLiteral("Pantex"),
                        Launch(directory, QStringLiteral("frame.d05"), "E"));
    window.resize(1000, 640);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (QAction* action : window.findChild<QToolBar*>()->actions()) {
        if (action->text() == QLatin1String("Node numbers") ||
            action->text() == QLatin1String("Element numbers"))
            action->setChecked(true);
    }
    QVERIFY(drawn(window.View()));
    QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("viewer-frame.png"))));

    // The result mode: the gable frame's moments, and a natural mode of the two-storey frame.
    QTemporaryDir solved;
    const ViewerLaunch::Outcome gable =
        Solved(solved, QStringLiteral("gable.d05"), QStringLiteral("Pelgon"));
    ViewerWindow moments(QStringLiteral("Pantex"), gable);
    moments.resize(1000, 640);
    moments.show();
    QVERIFY(QTest::qWaitForWindowExposed(&moments));
    QVERIFY(moments.Shows() &&
            moments.Shows()->currentText().startsWith(QStringLiteral("Bending moment")));
    QVERIFY(drawn(moments.View()));
    // Each fixed foot writes its three reactions beside and under it, its moment's among them.
    QCOMPARE(gable.Model.Supports.size(), size_t(2));
    for (const ViewerModel::Support& support : gable.Model.Supports) {
        const QPointF foot =
            moments.View()->Camera().Project(gable.Model.Nodes[static_cast<size_t>(support.Node)]);
        const auto& values = moments.View()->LastResults().LabelBoxes;
        QCOMPARE(std::count_if(values.begin(), values.end(),
                               [&foot](const QRectF& box) {
                                   return box.center().y() > foot.y() - 9 &&
                                          QLineF(box.center(), foot).length() < 120;
                               }),
                 3);
    }
    QVERIFY(moments.grab().save(QDir(folder).filePath(QStringLiteral("viewer-moments.png"))));
    ViewerWindow mode(QStringLiteral("Kaddle"),
                      Solved(solved, QStringLiteral("twostorey.d08"), QStringLiteral("Lirtag")));
    mode.resize(1000, 640);
    mode.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mode));
    QVERIFY2(mode.Entries()->currentText().startsWith(QStringLiteral("Mode 1")),
             qPrintable(mode.Entries()->currentText()));
    QVERIFY(drawn(mode.View()));
    QVERIFY(mode.grab().save(QDir(folder).filePath(QStringLiteral("viewer-mode.png"))));
    // The water tank of the models, a shell of revolution: the moments along its meridian.
    ViewerWindow tank(QStringLiteral("Kaddle"),
                      SolvedData(solved, QStringLiteral(QV_EXAMPLES "/../models/watertank.d02"),
                                 QStringLiteral("Kelmis")));
    tank.resize(1000, 640);
    tank.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tank));
    tank.Shows()->setCurrentIndex(tank.Shows()->findText(QStringLiteral("Meridional moment Ms")));
    QCOMPARE(tank.Shows()->currentText(), QStringLiteral("Meridional moment Ms"));
    // The meridian is a thin line: its diagram's fill, blue and red, shows that it is drawn.
    QVERIFY(ColouredPixels(tank.View()->grab().toImage(), [](QRgb pixel) {
                return std::abs(qBlue(pixel) - qRed(pixel)) > 40;
            }) > 2000);
    QVERIFY(tank.grab().save(QDir(folder).filePath(QStringLiteral("viewer-watertank.png"))));

    // Every bar example, each case or shape and each quantity, for a look over all of them.
    if (qEnvironmentVariableIsEmpty("QV_ALL_RESULTS"))
        return;
    const QStringList examples{"gable.d05:Pelgon",     "storey.d07:Hosken", "tripod.d04:Sutalo",
                               "warren.d03:Rabeno",    "grid.d06:Tavrin",   "buckling.d15:Wempel",
                               "twostorey.d08:Lirtag", "arch.d01:Dorvan"};
    for (const QString& example : examples) {
        const QStringList parts = example.split(u':');
        ViewerWindow window(QStringLiteral("Pantex"), Solved(solved, parts[0], parts[1]));
        window.resize(1000, 640);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int e = 0; e < window.Entries()->count(); ++e) {
            window.Entries()->setCurrentIndex(e);
            const int shows = window.Shows() ? window.Shows()->count() : 1;
            for (int k = 0; k < shows; ++k) {
                if (window.Shows())
                    window.Shows()->setCurrentIndex(k);
                window.grab().save(QDir(folder).filePath(
                    QStringLiteral("all-%1-%2-%3.png").arg(parts[0]).arg(e).arg(k)));
            }
        }
    }
}

void TestViewerWindow::continuumScreenshots() {
    QTemporaryDir scratch;
    const QString folder = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                               ? scratch.path()
                               : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    const auto drawn = [](ModelView* view) {
        const QImage image = view->grab().toImage();
        return ColouredPixels(image, [](QRgb pixel) { return qRed(pixel) != qBlue(pixel); }) >
               image.width() * image.height() / 30;
    };
    // Each element's centre has the colour of the band of its corners' mean, the value the
    // field takes there, unless that lies close to a band's limit.
    const auto centresAgree = [](ViewerWindow& window, const ViewerLaunch::Outcome& outcome) {
        const QImage image = window.View()->grab().toImage();
        const ContourScale& scale = window.View()->LastResults().Contours;
        const FieldLayout layout = TestLayout(outcome.Type->Number);
        const FieldResults& field = outcome.Results.Contents().Field;
        const std::vector<double> values = FieldLayout::NodeValues(
            field, field.Cases[0], layout.Shows[size_t(window.Shows()->currentIndex())]);
        int agreeing = 0;
        for (size_t e = 0; e < outcome.Model.Polygons.size(); ++e) {
            double sum = 0;
            int count = 0;
            for (int corner : outcome.Model.Polygons[e]) {
                if (corner >= 0) {
                    sum += values[size_t(corner)];
                    ++count;
                }
            }
            const double mean = sum / count;
            const int band = scale.BandOf(mean);
            const double low = scale.Limits()[size_t(band)],
                         high = scale.Limits()[size_t(band) + 1];
            if (std::min(mean - low, high - mean) < 0.05 * (high - low))
                continue;
            const QPoint at =
                window.View()->Camera().Project(outcome.Model.ElementCentres[e]).toPoint();
            if (image.pixel(at) != scale.ColourOf(band).rgb()) {
                qWarning("element %d: %g in band %d", int(e + 1), mean, band);
                return false;
            }
            ++agreeing;
        }
        return agreeing > 0;
    };
    // The continuum examples solved by their solvers: a stress of each, the principal
    // stresses of the dam, the profile's shear.
    QTemporaryDir solved;
    const auto field = [&](const QString& example, const QString& solver, const QString& show,
                           bool arrows, const QString& name) {
        const ViewerLaunch::Outcome outcome = Solved(solved, example, solver);
        if (!outcome.Results.Ok())
            qWarning("%s", qPrintable(outcome.Results.Message()));
        ViewerWindow window(QStringLiteral("Ciffon"), outcome);
        window.resize(1000, 640);
        window.show();
        if (!outcome.Results.Ok() || !QTest::qWaitForWindowExposed(&window))
            return false;
        window.Shows()->setCurrentIndex(window.Shows()->findText(show));
        if (!centresAgree(window, outcome))
            return false;
        window.ArrowsAction()->setChecked(arrows);
        // The crosses and arrows alone, without the reactions over them.
        if (window.ReactionsAction())
            window.ReactionsAction()->setChecked(!arrows);
        return window.Shows()->currentText() == show && drawn(window.View()) &&
               window.View()->LastResults().Contours.Bands() > 1 &&
               window.grab().save(QDir(folder).filePath(name));
    };
    QVERIFY(field(QStringLiteral("panel.d09"), QStringLiteral("Omberi"),
                  QStringLiteral("Stress sz"), false, QStringLiteral("viewer-panel-stress.png")));
    QVERIFY(field(QStringLiteral("dam.d10"), QStringLiteral("Zuntel"),
                  QStringLiteral("Principal stress s2"), true,
                  QStringLiteral("viewer-dam-principal.png")));
    QVERIFY(field(QStringLiteral("ring.d11"), QStringLiteral("Frelam"), QStringLiteral("Stress st"),
                  false, QStringLiteral("viewer-ring-stress.png")));
    QVERIFY(field(QStringLiteral("rect.d16"), QStringLiteral("Brasko"),
                  QStringLiteral("Resultant shear stress tau"), true,
                  QStringLiteral("viewer-profile-torsion.png")));

    // The dam's deformed mesh, in blue over the grey one.
    ViewerWindow dam(QStringLiteral("Ciffon"),
                     Solved(solved, QStringLiteral("dam.d10"), QStringLiteral("Zuntel")));
    dam.resize(1000, 640);
    dam.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dam));
    dam.Shows()->setCurrentIndex(0);
    QVERIFY(ColouredPixels(dam.View()->grab().toImage(), Blue) > 300);
    QVERIFY(dam.View()->LastResults().Deformation > 0);
    QVERIFY(dam.grab().save(QDir(folder).filePath(QStringLiteral("viewer-dam-deformed.png"))));
}

void TestViewerWindow::plateAndShellScreenshots() {
    QTemporaryDir scratch;
    const QString folder = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                               ? scratch.path()
                               : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    const auto drawn = [](ModelView* view) {
        const QImage image = view->grab().toImage();
        return ColouredPixels(image, [](QRgb pixel) { return qRed(pixel) != qBlue(pixel); }) >
               image.width() * image.height() / 20;
    };
    const auto hasAction = [](ViewerWindow& window, const QString& text) {
        for (QToolBar* bar : window.findChildren<QToolBar*>()) {
            for (QAction* action : bar->actions()) {
                if (action->text() == text)
                    return true;
            }
        }
        return false;
    };

    // A plate's moments in plan with the crosses of its principal moments; no turning.
    ViewerLaunch::Outcome slab = ShellData::Launch(false, false, 24, 16);
    slab.DataPath = QStringLiteral("slab.d13");
    slab.Results =
        ShellData::Results(false, false, slab.Model, ShellData::Smooth(false, slab.Model, 24, 16));
    QVERIFY(slab.Results.Ok());
    ViewerWindow plate(QStringLiteral("Ciffon"), slab);
    plate.resize(1000, 640);
    plate.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plate));
    QCOMPARE(plate.Shows()->currentText(), QStringLiteral("Deflection uz"));
    plate.Shows()->setCurrentIndex(plate.Shows()->findText(QStringLiteral("Moment mx")));
    QVERIFY(plate.ArrowsAction() && plate.ArrowsAction()->text() == "Principal moments");
    plate.ArrowsAction()->setChecked(true);
    // Supports along two edges, 50 of them: their reactions on request only.
    QVERIFY(!plate.ReactionsAction()->isChecked());
    QVERIFY(drawn(plate.View()));
    QVERIFY(plate.View()->Camera().Plan());
    QVERIFY(!hasAction(plate, QStringLiteral("Turn left")));
    QVERIFY(plate.View()->LastResults().ArrowsDrawn > 500);
    QVERIFY(plate.grab().save(QDir(folder).filePath(QStringLiteral("viewer-plate-moments.png"))));
    // A click on the plate tells the values there.
    plate.ShowValuesAt(plate.View()->Camera().Project({12.5f, 8.5f, 0}));
    QVERIFY2(plate.PickedValues().startsWith(QStringLiteral("Element ")) &&
                 plate.PickedValues().contains(QStringLiteral("kNm/m")),
             qPrintable(plate.PickedValues()));

    // Its second natural mode as contours of the shape, the frequency in the caption.
    ViewerLaunch::Outcome vibrating = ShellData::Launch(false, true, 24, 16);
    vibrating.DataPath = QStringLiteral("slab.p13");
    vibrating.Results = ShellData::Results(false, true, vibrating.Model,
                                           ShellData::SmoothModes(vibrating.Model, 24, 16));
    QVERIFY(vibrating.Results.Ok());
    ViewerWindow mode(QStringLiteral("Ciffon"), vibrating);
    mode.resize(1000, 640);
    mode.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mode));
    QCOMPARE(mode.Entries()->count(), 3);
    mode.Entries()->setCurrentIndex(1);
    QCOMPARE(mode.Shows()->currentText(), QStringLiteral("Mode shape uz"));
    QVERIFY(!mode.ArrowsAction() && !mode.ReactionsAction());
    QVERIFY(drawn(mode.View()));
    QVERIFY(mode.View()->LastResults().Caption.value(0).startsWith(QStringLiteral("Mode 2 of 3")));
    QVERIFY(mode.grab().save(QDir(folder).filePath(QStringLiteral("viewer-plate-mode.png"))));

    // A barrel vault in space: its membrane forces, and its deformed shape.
    ViewerLaunch::Outcome vault = ShellData::Launch(true, false, 12, 10);
    vault.DataPath = QStringLiteral("vault.d14");
    vault.Results =
        ShellData::Results(true, false, vault.Model, ShellData::Smooth(true, vault.Model, 12, 0));
    QVERIFY(vault.Results.Ok());
    ViewerWindow shell(QStringLiteral("Ciffon"), vault);
    shell.resize(1000, 640);
    shell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shell));
    QCOMPARE(shell.Shows()->currentText(), QStringLiteral("Membrane force nx"));
    QVERIFY(!shell.ArrowsAction() && hasAction(shell, QStringLiteral("Turn left")));
    // Its 26 supports along the springings would hide the vault under arrows: on request only,
    // as are a plate's beyond 16; a small vault's few are drawn at once.
    QVERIFY(!shell.ReactionsAction()->isChecked());
    const ViewerLaunch::Outcome small = ShellData::Launch(true, false, 4, 2);
    QCOMPARE(small.Model.Supports.size(), size_t(10));
    QVERIFY(ViewerWindow(QStringLiteral("Ciffon"), small).ReactionsAction()->isChecked());
    // Fitted to turn within the window, a long vault is small at first: closer, as a user
    // would zoom in.
    shell.View()->Zoom(1.5);
    QVERIFY(drawn(shell.View()));
    QVERIFY(shell.View()->LastResults().Contours.Bands() > 5);
    QVERIFY(shell.grab().save(QDir(folder).filePath(QStringLiteral("viewer-shell-forces.png"))));
    shell.Shows()->setCurrentIndex(0);
    QVERIFY(ColouredPixels(shell.View()->grab().toImage(), Blue) > 1000);
    QVERIFY(shell.View()->LastResults().Deformation > 0);
    QVERIFY(shell.grab().save(QDir(folder).filePath(QStringLiteral("viewer-shell-deformed.png"))));
}

void TestViewerWindow::solvedPlatesAndShells() {
    // The examples solved by the solvers of plates and shells, read back and drawn: the files
    // they write are the ones the viewer accepts.
    for (const char* name : {"Nuvast", "Yerdol", "Clobin"}) {
        if (!SolverEntry::Named(QLatin1String(name)))
            QSKIP("no solver of plates and shells");
    }
    QTemporaryDir solved;
    // The slab's natural modes from the same data asking for three of them.
    const QString modes = solved.filePath(QStringLiteral("source.p13"));
    ProgramRun::WriteFile(modes, ProgramRun::ReadFile(QStringLiteral(QV_EXAMPLES "/slab.d13"))
                                     .replace("Natural modes = 0", "Natural modes = 3"));
    const struct {
        QString Source, Solver, Show;
    } runs[] = {{QStringLiteral(QV_EXAMPLES "/slab.d13"), "Nuvast", "Deflection uz"},
                {modes, "Yerdol", "Mode shape uz"},
                {QStringLiteral(QV_EXAMPLES "/barrel.d14"), "Clobin", "Membrane force nx"}};
    for (const auto& run : runs) {
        QTemporaryDir directory;
        const ViewerLaunch::Outcome outcome = SolvedData(directory, run.Source, run.Solver);
        QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
        ViewerWindow window(QStringLiteral("Ciffon"), outcome);
        window.resize(1000, 640);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Shows()->setCurrentIndex(window.Shows()->findText(run.Show));
        QCOMPARE(window.Shows()->currentText(), run.Show);
        window.View()->grab();
        QVERIFY2(window.View()->LastResults().Contours.Bands() > 1, qPrintable(run.Solver));
    }
}

QTEST_MAIN(TestViewerWindow)
#include "TestColumns.h"
#include "tst_viewerwindow.moc"
