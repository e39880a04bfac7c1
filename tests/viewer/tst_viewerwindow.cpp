#include "ModelView.h"
#include "ProgramRun.h"
#include "ViewerLaunch.h"
#include "ViewerWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

ViewerLaunch::Outcome Launch(const QTemporaryDir& directory, const QString& name,
                             const QString& mode) {
    ProgramRun::WriteFile(directory.filePath(name),
                          ProgramRun::ReadFile(QStringLiteral(QV_TEST_DATA "/") + name));
    return ViewerLaunch::Prepare({name, mode}, directory.path());
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
    void resultModeSaysNoResultsCanBeRead();
    void spaceModelTurns();
    void screenshot();
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

void TestViewerWindow::resultModeSaysNoResultsCanBeRead() {
    QTemporaryDir directory;
    ViewerWindow window(QStringLiteral("Pantex"),
                        Launch(directory, QStringLiteral("frame.d05"), "R"));
    window.show();
    QCOMPARE(window.Notice(), ViewerLaunch::NoResultsText());
    QVERIFY(window.Notice().startsWith(QStringLiteral("No results can be read yet")));
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
    // Set QV_SCREENSHOT_DIR to refresh the picture of the documentation.
    const QString folder = qEnvironmentVariable("QV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("QV_SCREENSHOT_DIR not set");
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
    QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("viewer-frame.png"))));
}

QTEST_MAIN(TestViewerWindow)
#include "tst_viewerwindow.moc"
