#include "LauncherSettings.h"
#include "ModelBytes.h"
#include "ModelPreviewRun.h"
#include "PackageSettings.h"
#include "ProgramRunner.h"
#include "ScriptedDialogs.h"
#include "TPreviewDlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QtEndian>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TestPreviewDlg : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void previewsOnlyCheckedStructuralFiles_data();
    void previewsOnlyCheckedStructuralFiles();
    void modelFilesNeverRemain();
    void resultFilesOfVanishedFiles();
    void dialogDrawsAndKeepsItsView();
    void sizeShowsColumnsAndIsRemembered();
    void completerPopupClosesWithDialog();
    void realCheckerPreviewsTheManualsExample();

private:
    // A data file with the model the checker will report for it.
    QString DataFile(const QString& name, const QByteArray& xyz, const QByteArray& j1j2);
    QStringList CheckerRuns() const;

    QTemporaryDir settingsDir_;
    QTemporaryDir package_;
    QTemporaryDir data_;
    QTemporaryDir runs_; // the user's folder of the runs' own folders
    ScriptedDialogs dialogs_;
    std::unique_ptr<ProgramRunner> runner_;
    std::unique_ptr<ModelPreviewRun> preview_;
};

void TestPreviewDlg::initTestCase() {
    PackageSettings::SetLocationForTests(settingsDir_.path());
    QVERIFY(QFile::copy(QStringLiteral(FAKE_CHECKER), package_.filePath("Tolvik")));
    runner_ = std::make_unique<ProgramRunner>(PackageDir(package_.path()), dialogs_, runs_.path());
    preview_ = std::make_unique<ModelPreviewRun>(PackageDir(package_.path()), *runner_);
}

void TestPreviewDlg::init() {
    QFile::remove(package_.filePath("checker.log"));
}

QString TestPreviewDlg::DataFile(const QString& name, const QByteArray& xyz,
                                 const QByteArray& j1j2) {
    const QString path = data_.filePath(name);
    WriteFile(path, "data\r\n");
    WriteFile(path + ".xyz", xyz);
    WriteFile(path + ".j1j2", j1j2);
    return path;
}

QStringList TestPreviewDlg::CheckerRuns() const {
    QFile log(package_.filePath("checker.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void TestPreviewDlg::previewsOnlyCheckedStructuralFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("lines");
    QTest::newRow("plane frame") << "portal.d05" << 1 << 3;
    QTest::newRow("not yet accepted") << "portal.d55" << 0 << 0;
    QTest::newRow("shaft line") << "shaft.d12" << 0 << 0;
    QTest::newRow("mathematics") << "system.d21" << 0 << 0;
}

void TestPreviewDlg::previewsOnlyCheckedStructuralFiles() {
    QFETCH(QString, name);
    QFETCH(int, runs);
    QFETCH(int, lines);
    // A portal frame, plus an element naming node 0 and one naming a node past the end.
    const QString file = DataFile(name, Xyz({{0, 0, 0}, {0, 0, 3}, {4, 0, 3}, {4, 0, 0}}),
                                  J1j2({{1, 2}, {2, 3}, {3, 4}, {0, 2}, {2, 9}}));
    const QVector<QLine> drawn =
        preview_->DrawModelPreview(nullptr, file, QRect(0, 0, 200, 150)).Lines;
    QCOMPARE(CheckerRuns().size(), runs);
    if (runs > 0)
        QCOMPARE(CheckerRuns().first(), file + " XYZ"); // the path arrives whole
    QCOMPARE(drawn.size(), lines);
}

void TestPreviewDlg::modelFilesNeverRemain() {
    const QRect frame(0, 0, 200, 150);
    // A plane truss lying flat is seen obliquely; a single node draws nothing.
    const QString flat = DataFile("flat truss.d03", Xyz({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}),
                                  J1j2({{1, 2}, {2, 3}, {3, 1}}));
    QCOMPARE(preview_->DrawModelPreview(nullptr, flat, frame).Lines.size(), 3);
    const QString single = DataFile("node.d01", Xyz({{1, 1, 1}}), J1j2({{1, 1}}));
    QVERIFY(preview_->DrawModelPreview(nullptr, single, frame).Lines.isEmpty());
    const QString broken = DataFile("broken.d01", QByteArray("\x01\x02", 2), {});
    QVERIFY(preview_->DrawModelPreview(nullptr, broken, frame).Lines.isEmpty());
    QVERIFY(!QFile::exists(package_.filePath("XYZ")));
    QVERIFY(!QFile::exists(package_.filePath("J1J2")));
    QVERIFY(QDir(runs_.path()).isEmpty());
}

void TestPreviewDlg::resultFilesOfVanishedFiles() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("project.v2"));
    const QDir directory(root.filePath("project.v2"));
    const QByteArray result = "QVRESULT\x02\x00\x00\x00";
    for (const char* name : {"x.bin", "x.bi0", "xy.bin", "my.frame.bin", "my.bin", "z.bin"})
        WriteFile(directory.filePath(name), result);
    // Files of other programs that share the pattern, and a data file still there.
    for (const char* name : {"x.txt", "x.bib", "z.d05"})
        WriteFile(directory.filePath(name), "other");
    WriteFile(root.filePath("project.bin"), result); // beside the directory with a dot
    ModelPreviewRun::DeleteResultFiles(directory.filePath("x.d01"));
    QVERIFY(!QFile::exists(directory.filePath("x.bin")));
    QVERIFY(!QFile::exists(directory.filePath("x.bi0")));
    for (const char* kept : {"x.txt", "x.bib", "xy.bin", "my.bin"})
        QVERIFY2(QFile::exists(directory.filePath(kept)), kept);
    QVERIFY(QFile::exists(root.filePath("project.bin")));
    // The base runs to the last dot: my.frame.d05 had my.frame.bin, not my.bin.
    ModelPreviewRun::DeleteResultFiles(directory.filePath("my.frame.d05"));
    QVERIFY(!QFile::exists(directory.filePath("my.frame.bin")));
    QVERIFY(QFile::exists(directory.filePath("my.bin")));
    // A name with brackets is a name, not a pattern: w[1]'s results are not w1's.
    WriteFile(directory.filePath("w1.bin"), result);
    WriteFile(directory.filePath("w[1].bin"), result);
    ModelPreviewRun::DeleteResultFiles(directory.filePath("w[1].d05"));
    QVERIFY(QFile::exists(directory.filePath("w1.bin")));
    QVERIFY(!QFile::exists(directory.filePath("w[1].bin")));
    // z.p05 vanished, but z.d05 is still there and may own z.bin.
    ModelPreviewRun::DeleteResultFiles(directory.filePath("z.p05"));
    QVERIFY(QFile::exists(directory.filePath("z.bin")));
}

void TestPreviewDlg::dialogDrawsAndKeepsItsView() {
    const LauncherSettings settings;
    PackageSettings::WriteString(QStringLiteral("DlgStyle"), QStringLiteral("List"));
    const QString frame = DataFile("frame.d05", Xyz({{0, 0, 0}, {0, 0, 3}, {4, 0, 3}, {4, 0, 0}}),
                                   J1j2({{1, 2}, {2, 3}, {3, 4}}));
    const QString gone = DataFile("gone.d05", Xyz({}), J1j2({}));
    WriteFile(data_.filePath("gone.bin"), "QVRESULT results");

    TPreviewDlg dialog(*preview_, settings, nullptr);
    dialog.setDirectory(data_.path());
    dialog.resize(900, 500);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.PreviewArea()->title(), QStringLiteral("Preview"));

    dialog.PreviewDialogSelectionChange(gone);
    QVERIFY(QFile::remove(gone));
    dialog.PreviewDialogSelectionChange(frame);
    QCOMPARE(dialog.viewMode(), QFileDialog::List);
    QVERIFY(!QFile::exists(data_.filePath("gone.bin")));
    QCOMPARE(dialog.LastPreviewFile(), frame);

    // The frame is drawn inside the panel, one pixel wide and black.
    QCOMPARE(dialog.PreviewArea()->Lines().size(), 3);
    const QImage picture = dialog.PreviewArea()->grab().toImage();
    const QLine top = dialog.PreviewArea()->Lines().at(1);
    QCOMPARE(picture.pixelColor(top.center()), QColor(Qt::black));
    QVERIFY(dialog.PreviewArea()->Frame().contains(top.p1()));

    // The view the user leaves the dialog with is the next one's.
    dialog.setViewMode(QFileDialog::Detail);
    dialog.PreviewDialogCanClose();
    QCOMPARE(settings.ReadDialogStyle(), QStringLiteral("Properties"));

    const QString screenshots = qEnvironmentVariable("QV_SCREENSHOT_DIR");
    if (!screenshots.isEmpty())
        QVERIFY(dialog.grab().save(QDir(screenshots).filePath("vorm-preview.png")));
}

// The dialog first opens large enough for the detail view's columns and the filter names,
// and then at whatever size the user left it.
void TestPreviewDlg::sizeShowsColumnsAndIsRemembered() {
    const LauncherSettings settings;
    DataFile("portal frame with a long name.d05", Xyz({}), J1j2({}));
    {
        // Qt's file dialogs share the column widths a user left them with: narrow ones.
        QFileDialog narrow;
        narrow.setOption(QFileDialog::DontUseNativeDialog);
        QHeaderView* header = narrow.findChild<QTreeView*>(QStringLiteral("treeView"))->header();
        for (int column = 0; column < header->count(); ++column) {
            header->setSectionResizeMode(column, QHeaderView::Interactive);
            header->resizeSection(column, 40);
        }
    }
    TPreviewDlg dialog(*preview_, settings, nullptr);
    FileDialogRequest request;
    request.Title = QStringLiteral("Plane frames");
    request.Filter = QStringLiteral("Plane frames|*.d55;*.d05|Data files|*.dat|All files|*.*");
    request.InitialDirectory = data_.path();

    QSize shown;
    bool columnsFit = false;
    bool filterFits = false;
    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.size();
        const auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        const bool listed = QTest::qWaitFor(
            [&] { return list && list->model()->rowCount(list->rootIndex()) > 0; }, 3000);
        QApplication::processEvents();
        columnsFit = listed && list->header()->length() <= list->viewport()->width();
        // The view's own measure of what each column's texts need.
        const QAbstractItemView* view = list;
        for (int column = 0; columnsFit && column < list->header()->count(); ++column)
            columnsFit = list->header()->sectionSize(column) >= view->sizeHintForColumn(column);
        filterFits = types && types->width() >= types->sizeHint().width();
        dialog.resize(1111, 666);
        dialog.reject();
    });
    dialog.Run(request);
    QCOMPARE(shown, TPreviewDlg::DefaultSize);
    QVERIFY(columnsFit);
    QVERIFY(filterFits);
    QCOMPARE(settings.ReadOpenDialogSize(), QSize(1111, 666));

    QTimer::singleShot(0, &dialog, [&] {
        shown = dialog.size();
        dialog.reject();
    });
    dialog.Run(request);
    QCOMPARE(shown, QSize(1111, 666));

    // A damaged value is forgotten rather than failing the dialog.
    PackageSettings::WriteString(QStringLiteral("DlgWidth"), QStringLiteral("wide"));
    QCOMPARE(settings.ReadOpenDialogSize(), QSize());
}

// Typing a file name opens the completer's list, a window of its own: it closes with the
// dialog instead of staying over the main window.
void TestPreviewDlg::completerPopupClosesWithDialog() {
    const LauncherSettings settings;
    const QString frame = DataFile("frame.d05", Xyz({}), J1j2({}));
    DataFile("frame two.d05", Xyz({}), J1j2({}));
    TPreviewDlg dialog(*preview_, settings, nullptr);
    FileDialogRequest request;
    request.Title = QStringLiteral("Plane frames");
    request.Filter = QStringLiteral("Plane frames|*.d55;*.d05|All files|*.*");
    request.InitialDirectory = data_.path();

    QAbstractItemView* popup = nullptr;
    bool popupShown = false;
    // The dialog must close whatever happens, so the steps record rather than verify.
    QTimer::singleShot(0, &dialog, [&] {
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name && name->completer()) {
            popup = name->completer()->popup();
            QTest::qWait(200); // the file list is read in the background
            name->setFocus();
            QTest::keyClicks(name, QStringLiteral("fr"));
            popupShown = QTest::qWaitFor([&] { return popup->isVisible(); }, 3000);
            name->setText(QStringLiteral("frame.d05"));
        }
        static_cast<QDialog&>(dialog).accept();
        if (dialog.isVisible())
            dialog.reject();
    });
    const QString chosen = dialog.Run(request);
    QVERIFY(popup);
    QVERIFY(popupShown);
    QCOMPARE(chosen, frame);
    QVERIFY(!popup->isVisible());
}

void TestPreviewDlg::realCheckerPreviewsTheManualsExample() {
    // The gable frame of the formats manual, through the package's own checker.
    QFile manual(QStringLiteral(FORMATS_MANUAL));
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(manual.readAll());
    const qsizetype start = text.indexOf("```text", text.indexOf("Example file `gable.d05`"));
    QVERIFY(start > 0);
    const qsizetype body = text.indexOf(u'\n', start) + 1;
    const QString example = text.mid(body, text.indexOf("```", body) - body);

    QTemporaryDir package;
    QTemporaryDir data;
    QVERIFY(QFile::copy(QStringLiteral(REAL_CHECKER), package.filePath("Tolvik")));
    const QString file = data.filePath("gable frame.d05");
    WriteFile(file, example.toLatin1());
    ProgramRunner runner(PackageDir(package.path()), dialogs_, runs_.path());
    const ModelPreviewRun preview(PackageDir(package.path()), runner);
    const QVector<QLine> lines =
        preview.DrawModelPreview(nullptr, file, QRect(10, 10, 200, 200)).Lines;
    QVERIFY(lines.size() >= 4);
    QVERIFY(dialogs_.Texts("error").isEmpty());
    QVERIFY(!QFile::exists(package.filePath("XYZ")) && !QFile::exists(package.filePath("J1J2")));

    const QString screenshots = qEnvironmentVariable("QV_SCREENSHOT_DIR");
    if (screenshots.isEmpty())
        return;
    const LauncherSettings settings;
    TPreviewDlg dialog(preview, settings, nullptr);
    dialog.setWindowTitle(QStringLiteral("Plane frames"));
    dialog.setNameFilters({QStringLiteral("Plane frames (*.d55 *.d05)"),
                           QStringLiteral("Data files (*.dat)"),
                           QStringLiteral("All files (*.*)")});
    dialog.setDirectory(data.path());
    dialog.resize(TPreviewDlg::DefaultSize);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.selectFile(file);
    QTest::qWait(300);
    dialog.PreviewDialogSelectionChange(file);
    QVERIFY(!dialog.PreviewArea()->Lines().isEmpty());
    QVERIFY(dialog.grab().save(QDir(screenshots).filePath("vorm-preview.png")));
}

// The offscreen platform's screen is 800 x 600, smaller than the dialog's default size; give
// the tests a desktop-sized screen, as users have.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QV_TEST_DATA "/desktop-screen.json");
    // Qt's own file dialog settings go to a test location, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    TestPreviewDlg test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_previewdlg.moc"
