#include "ModelView.h"
#include "PictureActions.h"
#include "PictureWriter.h"
#include "ProgramRun.h"
#include "ShapeAnimation.h"
#include "SolvedData.h"
#include "UserDialogs.h"
#include "ViewerLaunch.h"
#include "ViewerWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// Answers the picture's questions: the file, the size, and a printer that writes a PDF.
class PictureAnswers : public UserDialogs {
public:
    QString Path;
    QSize Size;
    QString PrintTo;
    QStringList Errors;

    Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::Cancel; }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    void ShowError(QWidget*, const QString& text) override { Errors << text; }
    void ShowWarning(QWidget*, const QString& text) override { Errors << text; }
    void ShowInformation(QWidget*, const QString&) override {}
    QString GetOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    QString GetSaveFileName(QWidget*, const FileDialogRequest&) override { return Path; }
    bool OpenWithDesktop(const QUrl&) override { return false; }
    bool AskPictureSize(QWidget*, QSize& size) override {
        size = Size;
        return true;
    }
    bool SetUpPrinter(QWidget*, QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrintTo);
        return true;
    }
};

bool Dark(QRgb pixel) {
    return qGray(pixel) < 140;
}

// Whether any pixel within `radius` of `at` is dark.
bool DarkNear(const QImage& image, QPointF at, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p(int(at.x()) + dx, int(at.y()) + dy);
            if (image.rect().contains(p) && Dark(image.pixel(p)))
                return true;
        }
    return false;
}

} // namespace

class TestViewerPicture : public QObject {
    Q_OBJECT

private slots:
    void picturesShowTheModelWhereItIs();
    void modesSwingAndComeBackAfterAPeriod();
    void widgetsScaleEvenlyAndCentred();
};

// A plane frame saved at a size other than the window's: its members lie where the window's
// camera, scaled to that size, puts them, in the PNG's pixels and the SVG's coordinates alike.
void TestViewerPicture::picturesShowTheModelWhereItIs() {
    QTemporaryDir directory;
    const QString name = QStringLiteral("frame.d05");
    ProgramRun::WriteFile(directory.filePath(name),
                          ProgramRun::ReadFile(QStringLiteral(QV_TEST_DATA "/") + name));
    const ViewerLaunch::Outcome outcome = ViewerLaunch::Prepare({name, "E"}, directory.path());
    ViewerWindow window(QStringLiteral("Pantex"), outcome);
    window.resize(700, 500);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.LoadCases()->setCurrentIndex(0); // the members alone, no loads
    PictureAnswers answers;
    window.Pictures()->SetDialogs(answers);
    const QSize size(1000, 800);
    answers.Size = size;
    const ViewCamera camera = window.View()->Camera().Resized(window.View()->size(), size);
    const ViewerModel& model = outcome.Model;
    QVERIFY(model.Bars.size() >= 2);

    answers.Path = directory.filePath(QStringLiteral("frame.png"));
    QCOMPARE(window.Pictures()->Save(), QString());
    const QImage png(answers.Path);
    QCOMPARE(png.size(), size);
    QRectF box; // of the nodes, in the picture's pixels
    for (const ViewerModel::Bar& bar : model.Bars) {
        const QPointF i = camera.Project(model.Nodes[size_t(bar.I)]);
        const QPointF j = camera.Project(model.Nodes[size_t(bar.J)]);
        box = box.united(QRectF(i, j).normalized().adjusted(-0.5, -0.5, 0.5, 0.5));
        for (const double t : {0.3, 0.5, 0.7})
            QVERIFY2(DarkNear(png, i + t * (j - i), 2), qPrintable(QString::number(t)));
    }
    QVERIFY(box.width() > 300 || box.height() > 300); // scaled up with the picture
    // Background away from the structure: the corners and beyond the nodes' box.
    for (const QPoint corner : {QPoint(2, size.height() - 3), QPoint(size.width() - 3, 2)})
        QCOMPARE(png.pixel(corner), qRgb(255, 255, 255));
    QVERIFY(!DarkNear(png, QPointF(box.right() + 60, box.center().y()), 3));

    // The SVG: XML whose drawn coordinates span the nodes' box and stay inside the picture.
    answers.Path = directory.filePath(QStringLiteral("frame.svg"));
    QCOMPARE(window.Pictures()->Save(), QString());
    QFile svg(answers.Path);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QRectF drawn;
    const QRegularExpression pair(QStringLiteral("(-?[\\d.]+)[ ,](-?[\\d.]+)"));
    QSize declared;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"svg") {
            const QStringList box = xml.attributes().value("viewBox").toString().split(u' ');
            if (box.size() == 4)
                declared = QSize(box[2].toInt(), box[3].toInt());
        }
        const QString points = xml.name() == u"polyline"
                                   ? xml.attributes().value("points").toString()
                               : xml.name() == u"path" ? xml.attributes().value("d").toString()
                                                       : QString();
        for (auto m = pair.globalMatch(points); m.hasNext();) {
            const auto match = m.next();
            const QPointF p(match.captured(1).toDouble(), match.captured(2).toDouble());
            drawn = drawn.isNull() ? QRectF(p, QSizeF(0.01, 0.01))
                                   : drawn.united(QRectF(p, QSizeF(0.01, 0.01)));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(declared, size);
    QVERIFY2(drawn.adjusted(-3, -3, 3, 3).contains(box), qPrintable(QStringLiteral("%1 %2 %3 %4")
                                                                        .arg(drawn.left())
                                                                        .arg(drawn.top())
                                                                        .arg(drawn.right())
                                                                        .arg(drawn.bottom())));
    QVERIFY(QRectF(-1, -1, size.width() + 2, size.height() + 2).contains(drawn));

    // A PDF, and a print to a printer that writes one; a name of no picture is refused.
    answers.Path = directory.filePath(QStringLiteral("frame.pdf"));
    QCOMPARE(window.Pictures()->Save(), QString());
    answers.PrintTo = directory.filePath(QStringLiteral("printed.pdf"));
    QCOMPARE(window.Pictures()->Print(), QString());
    for (const QString& pdf : {answers.Path, answers.PrintTo}) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.size() > 500);
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
    }
    answers.Path = directory.filePath(QStringLiteral("frame.txt"));
    QVERIFY(window.Pictures()->Save().contains(QStringLiteral(".png")));
    QCOMPARE(answers.Errors.size(), 1);
    QVERIFY(!QFile::exists(answers.Path));
}

// A mode swings through rest and back to its full shape; a load case grows from rest. The
// motion bar's steps change the drawing, and a whole period brings the same picture back.
void TestViewerPicture::modesSwingAndComeBackAfterAPeriod() {
    ShapeAnimation swing;
    swing.Start(ShapeAnimation::Kind::Swing);
    QCOMPARE(swing.Amplitude(), 1.0);
    swing.Advance(ShapeAnimation::PeriodSeconds / 2);
    QVERIFY(std::abs(swing.Amplitude() + 1) < 1e-12); // the other way
    swing.SetStep(ShapeAnimation::Steps);             // a whole period: at rest
    QVERIFY(std::abs(swing.Amplitude()) < 1e-12);
    ShapeAnimation grow;
    grow.Start(ShapeAnimation::Kind::Grow);
    QCOMPARE(grow.Amplitude(), 1.0);
    for (int step = -3; step < ShapeAnimation::Steps; step += 7) {
        grow.SetStep(step);
        QVERIFY(grow.Amplitude() >= 0 && grow.Amplitude() <= 1);
    }
    grow.SetStep(0);
    QCOMPARE(grow.Amplitude(), 0.0);

    QTemporaryDir directory;
    const ViewerLaunch::Outcome outcome =
        SolvedData(directory, QStringLiteral(QV_EXAMPLES "/twostorey.d08"), "Lirtag");
    QVERIFY2(outcome.Results.Ok(), qPrintable(outcome.Results.Message()));
    ViewerWindow window(QStringLiteral("Kaddle"), outcome);
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.PlayAction() && window.PlayAction()->isEnabled());
    QCOMPARE(window.Animation().Type(), ShapeAnimation::Kind::Swing);
    const QImage full = window.View()->grab().toImage();
    const int peak = window.MotionSlider()->value();
    window.MotionSlider()->setValue(peak + ShapeAnimation::Steps / 4); // at rest
    const QImage rest = window.View()->grab().toImage();
    QVERIFY(rest != full);
    window.AdvanceMotion(ShapeAnimation::PeriodSeconds);
    QCOMPARE(window.MotionSlider()->value(), peak + ShapeAnimation::Steps / 4);
    QVERIFY(window.View()->grab().toImage() == rest);
    window.MotionSlider()->setValue(peak);
    QVERIFY(window.View()->grab().toImage() == full);
    // Another mode opens at its full size again.
    window.MotionSlider()->setValue(peak + 5);
    window.Entries()->setCurrentIndex(1);
    QCOMPARE(window.Animation().Amplitude(), 1.0);
}

QTEST_MAIN(TestViewerPicture)
// Views without a drawing of their own (the response curve, the mesher's mesh) are pictured as
// shown: a 100 x 50 widget, black on its left half, asked for at 400 x 100 is drawn twice as
// large (the height limits), centred with 100 pixels of ground on either side.
void TestViewerPicture::widgetsScaleEvenlyAndCentred() {
    QWidget widget;
    widget.resize(100, 50);
    widget.setAutoFillBackground(true);
    widget.setPalette(QPalette(Qt::white));
    auto* half = new QWidget(&widget);
    half->setGeometry(0, 0, 50, 50);
    half->setAutoFillBackground(true);
    half->setPalette(QPalette(Qt::black));
    const QImage image = PictureWriter::Image(PictureWriter::OfWidget(&widget), QSize(400, 100));
    QCOMPARE(image.size(), QSize(400, 100));
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 60; };
    QVERIFY(!dark(50, 50));  // ground beside the picture
    QVERIFY(dark(105, 50));  // the black half begins at the margin
    QVERIFY(dark(195, 95));  // and spans 100 pixels across the whole height
    QVERIFY(!dark(205, 50)); // the white half
    QVERIFY(!dark(350, 50)); // ground on the right
}

#include "tst_viewerpicture.moc"
