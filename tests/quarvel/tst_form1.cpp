#include "PackageSettings.h"
#include "PrinterSource.h"
#include "RulerBar.h"
#include "ScriptedDialogs.h"
#include "SectionCanvas.h"
#include "SectionFile.h"
#include "TForm1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSet>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

QString Sample(const char* name) {
    return QStringLiteral(QV_SAMPLES_DIR "/") + name;
}

// Prints into a PDF file, or fails like a system without printers when no file is set.
class PdfPrinterSource : public PrinterSource {
public:
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        if (file.isEmpty())
            throw std::runtime_error("There is no default printer.");
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        return printer;
    }
    QString file;
};

// Scripted dialogs on a desktop that may have no browser.
class FormDialogs : public ScriptedDialogs {
public:
    bool OpenWithDesktop(const QUrl& url) override {
        opened << url;
        return browser;
    }
    bool browser = true;
};

// A window at a fixed size, shown offscreen, with its dialogs answered by the test.
struct Window {
    explicit Window(const QStringList& arguments = {}) : form(dialogs, printers, arguments) {
        form.resize(1000, 700);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("window not exposed");
    }
    ~Window() {
        dialogs.answers.push_back(UserDialogs::Answer::No);
        form.close();
    }
    template <typename T>
    T* Child(const char* name) {
        return form.findChild<T*>(QLatin1String(name));
    }
    void Open(const QString& path) {
        dialogs.fileNames.push_back(path);
        form.FileOpenExecute();
    }
    QImage Grab() { return form.Canvas()->grab().toImage(); }
    // Mouse events through the window, so that a press grabs the mouse as it does for a user.
    QPoint InWindow(QWidget* widget, QPoint p) { return widget->mapTo(&form, p); }
    void Press(QWidget* widget, QPoint p) {
        QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, InWindow(widget, p));
    }
    void Move(QWidget* widget, QPoint p) {
        QTest::mouseMove(form.windowHandle(), InWindow(widget, p));
    }
    void Release(QWidget* widget, QPoint p) {
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, InWindow(widget, p));
    }
    // A click on the drawing area at world (y, z), the pointer moving there first.
    void ClickAt(double y, double z, QPoint nudge = {}) {
        const TNode node(form.State().View(), y, z);
        const QPoint p = node.Pixel() + nudge;
        Move(form.Canvas(), p);
        Press(form.Canvas(), p);
        Release(form.Canvas(), p);
    }
    void Trigger(const char* action) { Child<QAction>(action)->trigger(); }
    QString Results() { return Child<QTextEdit>("ResultsEdit")->toPlainText(); }

    FormDialogs dialogs;
    PdfPrinterSource printers;
    TForm1 form;
};

int CountPixels(const QImage& image, const QRect& area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startupModes_data();
    void startupModes();
    void openSampleShowsEverything();
    void maxWidthErrorsKeepTheScale();
    void guidesFromRulers();
    void drawingPixels();
    void closeQuestion_data();
    void closeQuestion();
    void helpPage();
    void badFilesLeaveAUsableWindow();
    void drawWithTheMouse();
    void editNodesInTheGrid();
    void printToPdf();
    void failedOpenKeepsTheDrawing();
    void saveBeforeOpen_data();
    void saveBeforeOpen();
    void saveStartsOnTheFile();
    void resizeKeepsTheSectionInView();
    void equalMomentsDrawUnturnedAxes();
    void pressedToolReleasedIsDisarmed();
    void uncalculableSectionSaysWhy();
    void fullDiscHasNoSeam();
    void documentationPictures();

private:
    QTemporaryDir settingsDir_;
    QTemporaryDir work_;
};

void TestForm1::initTestCase() {
    PackageSettings::SetLocationForTests(settingsDir_.path());
    QLocale::setDefault(QLocale::c());
}

void TestForm1::startupModes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<char>("mode");
    QTest::addColumn<bool>("switchVisible");
    QTest::addColumn<int>("toolsEnabled");
    QTest::newRow("no argument") << QStringList{} << 'G' << true << 6;
    QTest::newRow("S") << QStringList{"S"} << 'S' << false << 1;
    QTest::newRow("G") << QStringList{"G"} << 'G' << false << 6;
    QTest::newRow("lower-case s is not S") << QStringList{"s", "S"} << 'G' << false << 6;
}

void TestForm1::startupModes() {
    QFETCH(QStringList, arguments);
    QFETCH(char, mode);
    QFETCH(bool, switchVisible);
    QFETCH(int, toolsEnabled);
    Window w(arguments);
    QCOMPARE(w.form.State().SectionMode, mode);
    QCOMPARE(w.Child<QRadioButton>("GeomRadioBtn")->isVisible(), switchVisible);
    QCOMPARE(w.Child<QRadioButton>("SectRadioBtn")->isVisible(), switchVisible);
    int enabled = 0;
    for (const char* name : {"DrawfourAnglesFilled", "DrawTriAngleFilled", "DrawSectorFilled",
                             "DrawfourAnglesBlank", "DrawTriAngleBlank", "DrawSectorBlank"})
        enabled += w.Child<QAction>(name)->isEnabled();
    QCOMPARE(enabled, toolsEnabled);
    QVERIFY(w.Child<QAction>("DrawfourAnglesFilled")->isEnabled());
    QVERIFY(w.Child<QAction>("Select")->isEnabled() && w.Child<QAction>("Undo")->isEnabled());

    // Origin: 30 pixels right of the vertical ruler, 51 above the status bar.
    QCOMPARE(w.form.State().View().OriginX, 41 + 30);
    QCOMPARE(w.form.State().View().OriginY, w.form.Canvas()->height() - 51);

    if (switchVisible) {
        w.Child<QRadioButton>("SectRadioBtn")->click();
        QCOMPARE(w.form.State().SectionMode, 'S');
        QVERIFY(!w.Child<QAction>("DrawSectorBlank")->isEnabled());
        QVERIFY(!w.Child<QRadioButton>("GeomRadioBtn")->isChecked());
    }
}

void TestForm1::openSampleShowsEverything() {
    Window w({"G"});
    w.Open(Sample("lipped-channel.geo"));
    QVERIFY(w.dialogs.Texts("error").isEmpty());
    QCOMPARE(w.dialogs.shown.first().Request.Title, QStringLiteral("Open Shape File"));
    QCOMPARE(w.dialogs.shown.first().Request.Filter, QStringLiteral("Shape files (*.geo)|*.geo"));
    QCOMPARE(w.form.windowTitle(), QDir::toNativeSeparators(Sample("lipped-channel.geo")));
    QCOMPARE(w.form.State().SectionMode, 'S'); // the file's mode wins over the argument
    QCOMPARE(w.Child<QLabel>("StatusPanel1")->text(), QStringLiteral("Number of shapes: 5"));
    QCOMPARE(w.Child<QLineEdit>("ScaleEdit")->text(), QStringLiteral("40"));

    auto* grid = w.Child<QTableWidget>("NodesGrid");
    QCOMPARE(grid->rowCount(), int(w.form.State().Nodes.size()));
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("19.95"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("19"));

    w.form.Canvas()->repaint();
    const QStringList lines = w.Results().split(u'\n');
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.at(0), QStringLiteral("Dimension: cm"));
    // 4.0877 left of the web at y = 12, as for the same section at the origin.
    QCOMPARE(lines.at(7), QStringLiteral("Yo=       7.9123"));
    QCOMPARE(lines.at(9), QStringLiteral("J%1=   4.001E+003").arg(QChar(0x03C9)));
    QCOMPARE(w.form.State().Report.Lines().at(9), QStringLiteral("Jw=   4.001E+003"));

    // The directory is remembered for the next dialog, with its separator.
    const QString directory = PackageSettings::ReadDataDirectory();
    QCOMPARE(directory,
             QDir::toNativeSeparators(QStringLiteral(QV_SAMPLES_DIR)) + QDir::separator());
    w.Open(QString());
    QCOMPARE(w.dialogs.shown.last().Request.InitialDirectory, directory);
    QCOMPARE(w.form.State().Shapes.size(), std::size_t(5)); // a cancelled open changes nothing

    // Saving writes what is drawn; the title names the saved file.
    const QString saved = work_.filePath("copy.geo");
    w.dialogs.fileNames.push_back(saved);
    QVERIFY(w.form.FileSaveExecute());
    QCOMPARE(w.dialogs.shown.last().Request.Title, QStringLiteral("Save Shape"));
    QFile original(Sample("lipped-channel.geo"));
    QFile copy(saved);
    QVERIFY(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original.readAll());
    QCOMPARE(w.form.windowTitle(), QDir::toNativeSeparators(saved));
}

void TestForm1::maxWidthErrorsKeepTheScale() {
    Window w;
    w.Open(Sample("rectangle.geo"));
    w.Child<QLineEdit>("ScaleEdit")->setText("10");
    w.form.FormResize();
    w.form.Canvas()->repaint();
    const QString results = w.Results();
    const QImage drawn = w.Grab();
    const auto redPixels = [](const QImage& image) {
        return CountPixels(image, image.rect(), QColor(255, 0, 0));
    };
    QVERIFY(redPixels(drawn) > 20);
    const double scale = w.form.State().View().Scale;
    auto* edit = w.Child<QLineEdit>("ScaleEdit");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(w.dialogs.Texts("error"),
                 QStringList{"'abc' is not a valid floating point value"});
    QCOMPARE(w.form.State().View().Scale, scale);
    // The results and the principal axes stay as they were while the text is refused.
    w.form.Canvas()->repaint();
    QCOMPARE(w.Results(), results);
    QCOMPARE(redPixels(w.Grab()), redPixels(drawn));

    // Zero is refused as the other widths that are not positive are.
    edit->selectAll();
    QTest::keyClicks(edit, "0");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(w.dialogs.Texts("error").size(), 2);
    QCOMPARE(w.dialogs.Texts("error").last(),
             QStringLiteral("The Max Width must be greater than 0; '0' is refused."));
    QCOMPARE(w.form.State().View().Scale, scale);

    edit->selectAll();
    QTest::keyClicks(edit, "-3");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(w.dialogs.Texts("error").size(), 3);
    QCOMPARE(w.form.State().View().Scale, scale);

    edit->selectAll();
    QTest::keyClicks(edit, "20");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w.form.State().View().Scale, 2.0 * scale);

    // Huge and tiny widths: the rulers' labels, in the rulers' own font, never run into each
    // other and tell their ticks apart.
    for (const char* width : {"1e9", "0.001", "1000", "1"}) {
        edit->selectAll();
        QTest::keyClicks(edit, width);
        QTest::keyClick(edit, Qt::Key_Return);
        for (const char* name : {"TopBar", "LeftBar"}) {
            auto* bar = w.Child<RulerBar>(name);
            const bool top = bar->Direction() == RulerBar::Orientation::Top;
            const QFontMetrics metrics = bar->fontMetrics();
            const DrawingState& state = w.form.State();
            const RulerTicks::TextSize size = [&](const QString& text) {
                return QSize(metrics.horizontalAdvance(text), metrics.height());
            };
            const QWidget* panel = w.Child<QWidget>("Panel1");
            const QList<RulerTick> ticks =
                top ? RulerTicks::Top(state.View().OriginX, state.TickStep, state.View().Scale,
                                      panel->x(), w.Child<RulerBar>("LeftBar")->width(),
                                      state.DecimalPoint, size)
                    : RulerTicks::Left(state.View().OriginY, bar->y(), bar->height(),
                                       state.TickStep, state.View().Scale, state.DecimalPoint, size,
                                       bar->width());
            QMap<int, QString> labels;
            for (const RulerTick& t : ticks)
                if (!t.Label.isEmpty())
                    labels.insert(t.Position, t.Label);
            QVERIFY2(labels.size() >= 2, width);
            QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
            for (auto it = labels.begin(); std::next(it) != labels.end(); ++it) {
                const QSize extent = size(it.value());
                QVERIFY2(it.key() + 1 + (top ? extent.width() : extent.height()) <
                             std::next(it).key(),
                         qPrintable(QStringLiteral("%1: %2 runs into %3")
                                        .arg(width, it.value(), std::next(it).value())));
            }
        }
    }
}

void TestForm1::guidesFromRulers() {
    Window w;
    auto* canvas = w.form.Canvas();
    auto* leftBar = w.Child<RulerBar>("LeftBar");
    auto* topBar = w.Child<RulerBar>("TopBar");

    // Dragged from the vertical ruler and dropped on the area: a vertical guide there.
    w.Press(leftBar, QPoint(20, 100));
    QCOMPARE(w.form.State().EditMode(), 3);
    w.Move(canvas, QPoint(250, 200));
    w.Move(canvas, QPoint(300, 200));
    QCOMPARE(w.form.State().LastMouseX, 300);
    w.Release(canvas, QPoint(300, 200));
    QCOMPARE(w.form.State().EditMode(), 0);
    QCOMPARE(w.form.State().Guides.size(), std::size_t(1));
    QCOMPARE(int(w.form.State().Guides[0]->Kind), 4);
    QCOMPARE(w.form.State().GuideNodes[0]->Node->PixelX, 300);

    // Dropped on the node panel: cancelled.
    w.Press(topBar, QPoint(200, 10));
    const QPoint panel = w.Child<QWidget>("Panel1")->geometry().center();
    w.Move(canvas, panel);
    w.Release(canvas, panel);
    QCOMPARE(w.form.State().Guides.size(), std::size_t(1));
    QCOMPARE(w.form.State().EditMode(), 0);

    // A horizontal guide keeps its world position when the scale changes.
    w.Press(topBar, QPoint(200, 10));
    w.Move(canvas, QPoint(400, 300));
    w.Release(canvas, QPoint(400, 300));
    QCOMPARE(int(w.form.State().Guides[1]->Kind), 5);
    const TNode& node = *w.form.State().GuideNodes[1]->Node;
    const double z = node.RealZ;
    const int originY = w.form.State().View().OriginY;
    w.Child<QLineEdit>("ScaleEdit")->setText("2");
    w.form.FormResize();
    QCOMPARE(node.RealZ, z);
    QCOMPARE(node.PixelY, originY + (300 - originY) / 2);

    // The guide is painted in grey across the area.
    const QImage image = w.Grab();
    QCOMPARE(image.pixelColor(500, node.PixelY), QColor(160, 160, 160));
}

void TestForm1::drawingPixels() {
    Window w({"S"});
    w.Open(Sample("plate-with-hole.geo"));
    const DrawingState& state = w.form.State();
    const QPoint corner = state.Nodes[0]->Node->Pixel();     // (0, 0)
    const QPoint opposite = state.Nodes[2]->Node->Pixel();   // (4, 4)
    const QPoint holeCorner = state.Nodes[4]->Node->Pixel(); // (1, 1)
    QImage image = w.Grab();
    const QColor background = image.pixelColor(w.form.Canvas()->width() / 2, 5 + 24);

    // Material between the outer square and the hole is hatched; the hole shows background.
    const QRect material(corner.x() + 2, holeCorner.y() + 2, holeCorner.x() - corner.x() - 4,
                         corner.y() - holeCorner.y() - 4);
    QVERIFY(CountPixels(image, material, Qt::black) > 0);
    QVERIFY(CountPixels(image, material, background) > 0);
    const QPoint holeCentre = (holeCorner + state.Nodes[6]->Node->Pixel()) / 2;
    const QRect hole(holeCentre - QPoint(5, 15), holeCentre + QPoint(-2, -8));
    QCOMPARE(CountPixels(image, hole, Qt::black), 0);

    // Red principal axes through the centroid; a plate in geometric mode has no shear centre.
    const QPoint centroid = (corner + opposite) / 2;
    const QRect nearCentroid(centroid - QPoint(3, 3), centroid + QPoint(3, 3));
    QVERIFY(CountPixels(image, nearCentroid, QColor(255, 0, 0)) > 0);
    QCOMPARE(state.SectionMode, 'G');

    // The channel in sectorial mode shows the shear-centre square left of its web.
    w.Open(Sample("channel.geo"));
    image = w.Grab();
    const TNode centre(state.View(), state.Report.Values().Yo, state.Report.Values().Zo);
    // Its top and bottom edges, away from the horizontal principal axis through the centroid.
    const QPoint c = centre.Pixel();
    const auto squareEdges = [&](const QImage& picture) {
        return CountPixels(picture, QRect(c.x() - 2, c.y() - 2, 4, 1), QColor(255, 0, 0)) +
               CountPixels(picture, QRect(c.x() - 2, c.y() + 1, 4, 1), QColor(255, 0, 0));
    };
    QCOMPARE(squareEdges(image), 8);
    w.form.GeomRadioBtnClick();
    QVERIFY(!w.Child<QRadioButton>("GeomRadioBtn")->isVisible());
    w.form.Canvas()->repaint();
    QCOMPARE(squareEdges(w.Grab()), 0);
}

void TestForm1::closeQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes, saved") << int(UserDialogs::Answer::Yes) << "closed.geo" << true << true;
    QTest::newRow("yes, dialog cancelled") << int(UserDialogs::Answer::Yes) << "" << true << false;
    QTest::newRow("yes, write fails")
        << int(UserDialogs::Answer::Yes) << "missing/dir/x.geo" << false << false;
    QTest::newRow("no") << int(UserDialogs::Answer::No) << "" << true << false;
    QTest::newRow("cancel") << int(UserDialogs::Answer::Cancel) << "" << false << false;
}

void TestForm1::closeQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    Window w;
    w.Open(Sample("rectangle.geo"));
    w.dialogs.answers.push_back(UserDialogs::Answer(answer));
    const QString target = saveAs.isEmpty() ? QString() : work_.filePath(saveAs);
    if (!target.isEmpty())
        QFile::remove(target);
    w.dialogs.fileNames.push_back(target);
    QCOMPARE(w.form.close(), closes);
    QCOMPARE(w.dialogs.Texts("question"), QStringList{"Save?"});
    QCOMPARE(QFile::exists(target), written);
    QCOMPARE(w.dialogs.Texts("error").size(), saveAs.startsWith("missing") ? 1 : 0);
    QCOMPARE(w.form.State().Shapes.empty(), closes);
}

void TestForm1::helpPage() {
    QTemporaryDir start;
    // The page goes into the user's data folder: the start directory may be read-only.
    QTemporaryDir user;
    qputenv("XDG_DATA_HOME", user.path().toUtf8());
    const QString page = user.filePath("VORM/Help.htm");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(start.path());
    Window w;
    QDir::setCurrent(previous);
    QTest::keyClick(&w.form, Qt::Key_F1);
    QCOMPARE(
        w.dialogs.Texts("error"),
        QStringList{"Cannot open file " + QDir::toNativeSeparators(start.filePath("MmHlp.htm"))});
    QVERIFY(w.dialogs.opened.isEmpty());

    QFile help(start.filePath("MmHlp.htm"));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.write("<A NAME=\"ProblemH36\">Editor</A>Drawing sections\r\n<A NAME=\"ProblemH37\">");
    help.close();
    QTest::keyClick(&w.form, Qt::Key_F1);
    QCOMPARE(w.dialogs.opened, QList<QUrl>{QUrl::fromLocalFile(page)});
    QVERIFY(!QFile::exists(start.filePath("Help.htm")));
    QCOMPARE(w.dialogs.Texts("error").size(), 1);

    // No browser to start: the message names the page so that it can be opened by hand.
    w.dialogs.browser = false;
    QTest::keyClick(&w.form, Qt::Key_F1);
    QCOMPARE(w.dialogs.Texts("error").size(), 2);
    QVERIFY(w.dialogs.Texts("error").last().contains(QDir::toNativeSeparators(page)));
    qunsetenv("XDG_DATA_HOME");
}

void TestForm1::badFilesLeaveAUsableWindow() {
    Window w;
    QFile valid(Sample("plate-with-hole.geo"));
    QVERIFY(valid.open(QIODevice::ReadOnly));
    const QByteArray content = valid.readAll();
    const QString bad = work_.filePath("bad.geo");
    const auto writeBad = [&](const QByteArray& bytes) {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };

    w.Open(work_.filePath("absent.geo"));
    QCOMPARE(w.dialogs.Texts("error").last(), QStringLiteral("File not found"));

    writeBad(content.left(120)); // ends inside the hole's corners
    w.Open(bad);
    QCOMPARE(w.dialogs.Texts("error").last(), QStringLiteral("Wrong dimension identifier!"));
    w.form.Canvas()->repaint();
    for (const auto& shape : w.form.State().Shapes)
        QVERIFY(shape->IsComplete() && shape->GetPoint(shape->MaxPoints) != nullptr);

    QRandomGenerator random(7);
    for (int i = 0; i < 20; ++i) {
        QByteArray noise = content;
        for (int k = 0; k < 6; ++k)
            noise[random.bounded(noise.size())] = char(random.bounded(32, 127));
        writeBad(noise);
        w.Open(bad);
        w.form.Canvas()->repaint();
    }

    // Still usable: a good file opens and calculates.
    w.Open(Sample("rectangle.geo"));
    w.form.Canvas()->repaint();
    QVERIFY(w.Results().startsWith("Dimension: cm\nYc=       1.5000"));
}

void TestForm1::drawWithTheMouse() {
    Window w;
    const DrawingState& state = w.form.State();
    w.Trigger("DrawfourAnglesFilled");
    QVERIFY(w.Child<QAction>("DrawfourAnglesFilled")->isChecked());
    for (const auto& [y, z] : {std::pair{0.1, 0.1}, {0.4, 0.1}, {0.4, 0.3}, {0.1, 0.3}})
        w.ClickAt(y, z);
    QCOMPARE(state.Shapes.size(), std::size_t(1));
    QVERIFY(!w.Child<QAction>("DrawfourAnglesFilled")->isChecked());
    QCOMPARE(w.Child<QLabel>("StatusPanel1")->text(), QStringLiteral("Number of shapes: 1"));
    QCOMPARE(w.Child<QTableWidget>("NodesGrid")->rowCount(), 4);
    QCOMPARE(w.Child<QTableWidget>("NodesGrid")->item(1, 0)->text(), QStringLiteral("0.4"));

    // A triangle on the top edge, its base corners released a few pixels off.
    w.Trigger("DrawTriAngleBlank");
    w.ClickAt(0.1, 0.3, QPoint(4, -3));
    w.ClickAt(0.4, 0.3, QPoint(-5, 5));
    w.ClickAt(0.25, 0.45);
    QCOMPARE(state.Shapes.size(), std::size_t(2));
    QCOMPARE(state.Nodes.size(), std::size_t(5));
    QVERIFY(!state.Shapes[1]->Filled);
    w.form.Canvas()->repaint();
    QVERIFY(w.Results().startsWith("Dimension: m\n"));

    // Undo takes the triangle apart point by point, then reopens the quadrangle.
    w.Trigger("Undo");
    QVERIFY(w.Child<QAction>("DrawTriAngleBlank")->isChecked());
    w.Trigger("Undo");
    w.Trigger("Undo");
    QVERIFY(!state.CurrentShape);
    QCOMPARE(state.Nodes.size(), std::size_t(4));
    QCOMPARE(w.Child<QTableWidget>("NodesGrid")->rowCount(), 4);

    // Select the quadrangle and delete it with the key, even from the Max Width box.
    w.Trigger("Select");
    QVERIFY(w.Child<QAction>("Select")->isChecked());
    w.ClickAt(0.2, 0.2);
    QVERIFY(state.Shapes[0]->Selected);
    w.form.Canvas()->repaint();
    const QPoint edge = TNode(state.View(), 0.15, 0.1).Pixel();
    QCOMPARE(w.Grab().pixelColor(edge), QColor(0, 0, 255));
    // Delete while typing edits the text only: in the Max Width, the unit and a node cell.
    auto* edit = w.Child<QLineEdit>("ScaleEdit");
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(state.Shapes.size(), std::size_t(1));
    QTest::keyClicks(edit, "1");
    auto* unit = w.Child<QComboBox>("UnitsCombo")->lineEdit();
    unit->setFocus();
    unit->setCursorPosition(0);
    QTest::keyClick(unit, Qt::Key_Delete);
    QCOMPARE(state.Shapes.size(), std::size_t(1));
    auto* grid = w.Child<QTableWidget>("NodesGrid");
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    grid->editItem(grid->item(0, 0));
    QWidget* cell = QApplication::focusWidget();
    QVERIFY(cell != grid && grid->isAncestorOf(cell));
    QTest::keyClick(cell, Qt::Key_Home);
    QTest::keyClick(cell, Qt::Key_Delete);
    QCOMPARE(state.Shapes.size(), std::size_t(1));
    QTest::keyClick(cell, Qt::Key_Escape);
    // Anywhere else it deletes the selected shapes: a click on the drawing leaves the text.
    edit->setFocus();
    w.ClickAt(0.6, 0.5);
    QCOMPARE(QApplication::focusWidget(), w.form.Canvas());
    QVERIFY(state.Shapes[0]->Selected);
    QTest::keyClick(w.form.Canvas(), Qt::Key_Delete);
    QVERIFY(state.Shapes.empty());
    QCOMPARE(w.Child<QTableWidget>("NodesGrid")->rowCount(), 1);
    QVERIFY(w.Results().isEmpty());
    QCOMPARE(edit->text(), QStringLiteral("1"));
}

void TestForm1::editNodesInTheGrid() {
    Window w;
    w.Open(Sample("rectangle.geo"));
    w.form.Canvas()->repaint();
    const QString before = w.Results();
    auto* grid = w.Child<QTableWidget>("NodesGrid");
    grid->setFocus();
    grid->setCurrentCell(1, 0); // node (3, 0)
    QVERIFY(w.form.State().CurrentMarker.Visible);
    QCOMPARE(QPoint(w.form.State().CurrentMarker.X, w.form.State().CurrentMarker.Y),
             w.form.State().Nodes[1]->Node->Pixel());

    const auto typeInto = [&](int row, int column, const QString& text) {
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != grid && grid->isAncestorOf(editor));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    };
    typeInto(1, 0, "4");
    QTRY_COMPARE(w.form.State().Nodes[1]->Node->RealY, 4.0);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("4"));
    w.form.Canvas()->repaint();
    QVERIFY(w.Results() != before);

    // A letter: no message, both cells show the node's coordinates again.
    typeInto(1, 1, "z");
    QTRY_COMPARE(grid->item(1, 1)->text(), QStringLiteral("0"));
    QCOMPARE(w.form.State().Nodes[1]->Node->RealZ, 0.0);
    QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("4"));
    QVERIFY(w.dialogs.Texts("error").isEmpty());
}

void TestForm1::printToPdf() {
    Window w;
    w.Trigger("PrintBtn");
    QCOMPARE(w.dialogs.Texts("error"), QStringList{"There is no default printer."});

    w.Open(Sample("plate-with-hole.geo"));
    w.form.Canvas()->repaint();
    w.printers.file = work_.filePath("page.pdf");
    w.Trigger("PrintBtn");
    QCOMPARE(w.dialogs.Texts("error").size(), 1);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), w.printers.file, "-"});
    QVERIFY2(text.waitForFinished(20000), "pdftotext did not run");
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const char* expected :
         {"X Y 0 0 4 0", "1 3 Dimension: cm", "F= 1.200E+001", "I1= 2.000E+001", "Alpha="})
        QVERIFY2(page.contains(QLatin1String(expected)), qPrintable(page));
    QVERIFY(page.indexOf("X Y 0 0 4 0") < page.indexOf("Dimension"));
}

void TestForm1::failedOpenKeepsTheDrawing() {
    Window w;
    w.Open(Sample("plate-with-hole.geo"));
    w.form.Canvas()->repaint();
    const QString title = w.form.windowTitle();
    const QString results = w.Results();
    const QImage before = w.Grab();
    const auto* grid = w.Child<QTableWidget>("NodesGrid");
    const int rows = grid->rowCount();
    const QString firstCell = grid->item(1, 0)->text();

    // A launcher data file, a section cut short and one with a bad code further on.
    const QString bad = work_.filePath("launcher.dat");
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("* Nodes\n# 1  0.0  0.0\n&\n");
    file.close();
    QFile cut(work_.filePath("cut.geo"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write("1\r\n2\r\n1\r\n-1\r\n 0.0\r\n");
    cut.close();
    for (const QString& path : {bad, cut.fileName(), work_.filePath("absent.geo")}) {
        w.Open(path);
        w.form.Canvas()->repaint();
        QCOMPARE(w.Results(), results);
        QCOMPARE(grid->rowCount(), rows);
        QCOMPARE(grid->item(1, 0)->text(), firstCell);
        QCOMPARE(w.form.windowTitle(), title);
        QCOMPARE(w.Grab(), before);
    }
    QCOMPARE(
        w.dialogs.Texts("error"),
        (QStringList{"Invalid numeric input", "Wrong dimension identifier!", "File not found"}));
    QVERIFY(w.dialogs.Texts("question").isEmpty()); // nothing was changed, nothing to save
}

void TestForm1::saveBeforeOpen_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes, saved") << int(UserDialogs::Answer::Yes) << "kept.geo" << true << true;
    QTest::newRow("yes, dialog cancelled") << int(UserDialogs::Answer::Yes) << "" << true << false;
    QTest::newRow("yes, write fails")
        << int(UserDialogs::Answer::Yes) << "missing/dir/x.geo" << false << false;
    QTest::newRow("no") << int(UserDialogs::Answer::No) << "" << true << false;
    QTest::newRow("cancel") << int(UserDialogs::Answer::Cancel) << "" << false << false;
}

void TestForm1::saveBeforeOpen() {
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, opens);
    QFETCH(bool, written);
    Window w;
    // Opening over an untouched drawing asks nothing.
    w.Open(Sample("rectangle.geo"));
    QVERIFY(w.dialogs.Texts("question").isEmpty());
    w.Open(Sample("rectangle.geo"));
    QVERIFY(w.dialogs.Texts("question").isEmpty());

    // A triangle drawn since: the open asks first.
    w.Trigger("DrawTriAngleFilled");
    w.ClickAt(0.1, 0.1);
    w.ClickAt(0.3, 0.1);
    w.ClickAt(0.1, 0.3);
    QCOMPARE(w.form.State().Shapes.size(), std::size_t(2));
    const QString target = saveAs.isEmpty() ? QString() : work_.filePath(saveAs);
    if (!target.isEmpty())
        QFile::remove(target);
    w.dialogs.answers.push_back(UserDialogs::Answer(answer));
    if (UserDialogs::Answer(answer) == UserDialogs::Answer::Yes)
        w.dialogs.fileNames.push_back(target); // the save dialog
    w.dialogs.fileNames.push_back(Sample("plate-with-hole.geo"));
    w.form.FileOpenExecute();
    QCOMPARE(w.dialogs.Texts("question"), QStringList{"Save?"});
    QCOMPARE(QFile::exists(target), written);
    QCOMPARE(w.dialogs.Texts("error").size(), saveAs.startsWith("missing") ? 1 : 0);
    // The plate is two quadrangles; the drawing kept has its triangle.
    QCOMPARE(w.form.State().Shapes.size(), std::size_t(2));
    QCOMPARE(int(w.form.State().Shapes[1]->Kind), opens ? 1 : 2);
    QCOMPARE(w.form.windowTitle().endsWith("plate-with-hole.geo"), opens);
    if (written) {
        DrawingState saved;
        SectionFile::Parse(saved, target);
        QCOMPARE(saved.Shapes.size(), std::size_t(2));
    }
}

void TestForm1::saveStartsOnTheFile() {
    Window w;
    w.Open(Sample("channel.geo"));
    w.dialogs.fileNames.push_back(QString());
    QVERIFY(!w.form.FileSaveExecute());
    const FileDialogRequest& request = w.dialogs.shown.last().Request;
    QCOMPARE(request.FileName, Sample("channel.geo"));
    QCOMPARE(request.InitialDirectory, QStringLiteral(QV_SAMPLES_DIR));

    // Saved elsewhere: the title and the next save follow the new file.
    const QString copy = work_.filePath("channel-copy.geo");
    w.dialogs.fileNames.push_back(copy);
    QVERIFY(w.form.FileSaveExecute());
    QCOMPARE(w.form.windowTitle(), QDir::toNativeSeparators(copy));
    w.dialogs.fileNames.push_back(QString());
    w.form.FileSaveExecute();
    QCOMPARE(w.dialogs.shown.last().Request.FileName, copy);

    // A folder that does not exist: the message names the file that cannot be created.
    const QString nowhere = work_.filePath("no/such/folder/x.geo");
    w.dialogs.fileNames.push_back(nowhere);
    w.form.FileSaveExecute();
    QCOMPARE(w.dialogs.Texts("error"),
             QStringList{"Cannot create file " + QDir::toNativeSeparators(nowhere)});
    QCOMPARE(w.form.windowTitle(), QDir::toNativeSeparators(copy));
}

void TestForm1::resizeKeepsTheSectionInView() {
    Window w;
    w.Open(Sample("rectangle.geo"));
    w.Child<QLineEdit>("ScaleEdit")->setText("10");
    w.form.FormResize();
    const DrawingState& state = w.form.State();
    const auto inView = [&] {
        const QRect area = w.form.Canvas()->rect().adjusted(41, 24, -148, 0);
        for (const auto& node : state.Nodes)
            if (!area.contains(node->Node->Pixel()))
                return false;
        return true;
    };
    QVERIFY(inView());
    const int fromBottom = w.form.Canvas()->height() - state.View().OriginY;
    for (const QSize size : {QSize(700, 500), QSize(500, 380), QSize(1000, 700)}) {
        w.form.resize(size);
        QTRY_COMPARE(w.form.size(), size);
        QCOMPARE(w.form.Canvas()->height() - state.View().OriginY, fromBottom);
        QVERIFY2(inView(),
                 qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        // The hatching of the rectangle shows between its corners.
        const QImage image = w.Grab();
        const QPoint a = state.Nodes[0]->Node->Pixel(), c = state.Nodes[2]->Node->Pixel();
        QVERIFY(CountPixels(image,
                            QRect(a.x() + 2, c.y() + 2, c.x() - a.x() - 4, a.y() - c.y() - 4),
                            Qt::black) > 10);
    }
}

void TestForm1::equalMomentsDrawUnturnedAxes() {
    Window w;
    w.Open(Sample("plate-with-hole.geo"));
    w.form.Canvas()->repaint();
    QVERIFY(w.Results().contains(QStringLiteral("Alpha=       0.0000 deg")));
    // The long red axis runs along Y through the centroid (2, 2), the short one along Z.
    const DrawingState& state = w.form.State();
    const QPoint centre = TNode(state.View(), 2, 2).Pixel();
    const QImage image = w.Grab();
    const int half = TNode(state.View(), 2 + 4.0 / 5 * 0.9, 2).Pixel().x() - centre.x();
    QCOMPARE(image.pixelColor(centre + QPoint(half, 0)), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(centre - QPoint(half, 0)), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(centre - QPoint(0, half / 2)), QColor(255, 0, 0));
    QCOMPARE(
        CountPixels(image, QRect(centre + QPoint(half / 2, -6), QSize(1, 5)), QColor(255, 0, 0)),
        0);
}

void TestForm1::pressedToolReleasedIsDisarmed() {
    Window w;
    auto* button = w.Child<QWidget>("QuadangleFilledBtn");
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(w.Child<QAction>("DrawfourAnglesFilled")->isChecked());
    w.ClickAt(0.1, 0.1);
    QVERIFY(w.form.State().CurrentShape);
    // A click on the pressed button releases it, and the tool with it.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!w.Child<QAction>("DrawfourAnglesFilled")->isChecked());
    for (const auto& [y, z] : {std::pair{0.3, 0.1}, {0.3, 0.3}, {0.1, 0.3}, {0.2, 0.2}})
        w.ClickAt(y, z);
    QVERIFY(!w.form.State().CurrentShape);
    QVERIFY(w.form.State().Shapes.empty());
    QCOMPARE(w.form.State().Nodes.size(), std::size_t(1));

    // Switching to sectorial mode releases a tool that it disables.
    w.Trigger("DrawTriAngleFilled");
    w.Child<QRadioButton>("SectRadioBtn")->click();
    QVERIFY(!w.Child<QAction>("DrawTriAngleFilled")->isChecked());
    w.ClickAt(0.5, 0.5);
    QVERIFY(!w.form.State().CurrentShape);
}

void TestForm1::uncalculableSectionSaysWhy() {
    Window w;
    auto* why = w.Child<QLabel>("StatusPanel2");
    w.Trigger("DrawfourAnglesFilled");
    for (const auto& [y, z] : {std::pair{0.1, 0.1}, {0.4, 0.4}, {0.4, 0.1}, {0.1, 0.4}})
        w.ClickAt(y, z);
    w.form.Canvas()->repaint();
    QVERIFY(w.Results().isEmpty());
    QCOMPARE(why->text(), QStringLiteral("Shape 1: The quadrangle's sides cross each other; "
                                         "draw its corners in order around it."));
    w.Trigger("Undo");
    w.Trigger("Undo");
    w.Trigger("Undo");
    w.ClickAt(0.4, 0.1);
    w.ClickAt(0.4, 0.4);
    w.ClickAt(0.1, 0.4);
    w.form.Canvas()->repaint();
    QVERIFY(!w.Results().isEmpty());
    QCOMPARE(why->text(), QString());
}

void TestForm1::fullDiscHasNoSeam() {
    Window w;
    // A blank full disc: its inside is plain background, with no radial line.
    w.Trigger("DrawSectorBlank");
    w.ClickAt(0.3, 0.3);
    w.ClickAt(0.45, 0.3);
    w.ClickAt(0.45, 0.3);
    w.form.Canvas()->repaint();
    const DrawingState& state = w.form.State();
    const QPoint centre = state.Nodes[0]->Node->Pixel();
    const QPoint rim = state.Nodes[1]->Node->Pixel();
    const QImage image = w.Grab();
    QCOMPARE(CountPixels(image, QRect(centre.x() + 3, centre.y(), rim.x() - centre.x() - 6, 1),
                         Qt::black),
             0);
    // The circle itself is there, on the far side too.
    const int r = rim.x() - centre.x();
    QVERIFY(CountPixels(image, QRect(centre.x() - r - 1, centre.y() - 2, 3, 5), Qt::black) > 0);
    QVERIFY(CountPixels(image, QRect(rim.x() - 1, centre.y() - 2, 3, 5), Qt::black) > 0);
}

void TestForm1::documentationPictures() {
    // The README's pictures are made here; set QV_SCREENSHOT_DIR to refresh them. Without it they
    // are still drawn and checked, so a picture that would come out wrong fails the suite.
    QTemporaryDir scratch;
    const QString directory = qEnvironmentVariableIsEmpty("QV_SCREENSHOT_DIR")
                                  ? scratch.path()
                                  : qEnvironmentVariable("QV_SCREENSHOT_DIR");
    Window w({"S"});
    w.form.resize(1100, 720);
    w.form.InitAll();
    w.Open(Sample("lipped-channel.geo"));
    const QPoint web = w.form.State().Nodes[4]->Node->Pixel();
    w.Press(w.Child<RulerBar>("TopBar"), QPoint(200, 10));
    w.Move(w.form.Canvas(), QPoint(300, web.y()));
    w.Release(w.form.Canvas(), QPoint(300, web.y()));
    w.Move(w.form.Canvas(), w.form.State().Nodes[2]->Node->Pixel() + QPoint(3, 2));
    w.form.repaint();
    const QImage channel = w.form.grab().toImage();
    // The walls are drawn, the red shear-centre mark and axes are there, and the results give
    // the lipped channel's shear centre.
    QVERIFY(CountPixels(channel, channel.rect(), Qt::black) > 500);
    QVERIFY(CountPixels(channel, channel.rect(), QColor(255, 0, 0)) > 50);
    QVERIFY2(w.Results().contains(QStringLiteral("Yo=")), qPrintable(w.Results()));
    QVERIFY(channel.save(QDir(directory).filePath("quarvel.png")));

    // A section drawn with the mouse: a plate with a hole and a sector on top, the pointer
    // near a corner so that the snap square shows, a triangle half placed.
    Window d;
    d.form.resize(1100, 720);
    d.form.InitAll();
    d.Child<QLineEdit>("ScaleEdit")->setText("10");
    d.form.FormResize();
    d.Trigger("DrawfourAnglesFilled");
    for (const auto& [y, z] : {std::pair{1.0, 1.0}, {5.0, 1.0}, {5.0, 5.0}, {1.0, 5.0}})
        d.ClickAt(y, z);
    d.Trigger("DrawfourAnglesBlank");
    for (const auto& [y, z] : {std::pair{2.0, 2.0}, {4.0, 2.0}, {4.0, 4.0}, {2.0, 4.0}})
        d.ClickAt(y, z);
    d.Trigger("DrawSectorFilled");
    d.ClickAt(3.0, 5.0);
    d.ClickAt(5.0, 5.0);
    d.ClickAt(1.0, 5.0);
    d.Trigger("DrawTriAngleFilled");
    d.ClickAt(5.0, 1.0);
    d.ClickAt(7.0, 1.0);
    d.Move(d.form.Canvas(), TNode(d.form.State().View(), 5.0, 5.0).Pixel() + QPoint(5, 4));
    d.form.repaint();
    QCOMPARE(d.form.State().Shapes.size(), std::size_t(3)); // the triangle is not placed yet
    const QImage drawing = d.form.grab().toImage();
    // Hatching between the plate's edge and the hole, none inside the hole.
    const QPoint plate = TNode(d.form.State().View(), 1.5, 3.0).Pixel();
    const QPoint hole = TNode(d.form.State().View(), 3.0, 3.0).Pixel();
    const QPoint offset = d.form.Canvas()->mapTo(&d.form, QPoint(0, 0));
    QVERIFY(CountPixels(drawing, QRect(plate + offset - QPoint(4, 4), QSize(9, 9)), Qt::black) > 0);
    QCOMPARE(CountPixels(drawing, QRect(hole + offset - QPoint(4, 4), QSize(9, 9)), Qt::black), 0);
    QVERIFY(drawing.save(QDir(directory).filePath("quarvel-drawing.png")));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
