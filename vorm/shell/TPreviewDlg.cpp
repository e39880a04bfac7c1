#include "TPreviewDlg.h"

#include "LauncherSettings.h"
#include "QtUserDialogs.h"
#include "UserDialogs.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QPainter>

PreviewPanel::PreviewPanel(QWidget* parent) : QGroupBox(QStringLiteral("Preview"), parent) {
    setObjectName(QStringLiteral("PreviewArea"));
    setMinimumSize(220, 220);
}

QRect PreviewPanel::Frame() const {
    const int h = fontMetrics().height();
    return rect().adjusted(h, h, -h, -h);
}

void PreviewPanel::SetLines(QVector<QLine> lines) {
    lines_ = std::move(lines);
    update();
}

void PreviewPanel::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    if (lines_.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLines(lines_);
}

TPreviewDlg::TPreviewDlg(const ModelPreviewRun& preview, const LauncherSettings& settings,
                         QWidget* mainWindow, QWidget* parent)
    : QFileDialog(parent), preview_(preview), settings_(settings), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("PreviewDlg"));
    setOption(QFileDialog::DontUseNativeDialog);
    // A name that does not exist yet starts a new data file from its template.
    setFileMode(QFileDialog::AnyFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    previewArea_ = new PreviewPanel(this);
    // The file dialog lays its controls out in a grid; the panel takes a column of its own.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(previewArea_, 0, grid->columnCount(), grid->rowCount(), 1);
    connect(this, &QFileDialog::currentChanged, this, &TPreviewDlg::PreviewDialogSelectionChange);
}

QString TPreviewDlg::Run(const FileDialogRequest& request) {
    setWindowTitle(request.Title);
    setNameFilters(QtUserDialogs::NameFilters(request.Filter));
    setDefaultSuffix(request.DefaultExtension);
    setDirectory(request.InitialDirectory.isEmpty() ? QDir::currentPath()
                                                    : request.InitialDirectory);
    if (!request.FileName.isEmpty())
        selectFile(request.FileName);
    if (exec() != QDialog::Accepted || selectedFiles().isEmpty())
        return {};
    return selectedFiles().first();
}

void TPreviewDlg::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    PreviewDialogInit();
}

void TPreviewDlg::PreviewDialogInit() {
    previewArea_->SetLines({});
    firstSelection_ = true;
}

void TPreviewDlg::PreviewDialogSelectionChange(const QString& selection) {
    if (firstSelection_) {
        setViewMode(settings_.ReadDialogStyle() == QLatin1String("List") ? QFileDialog::List
                                                                         : QFileDialog::Detail);
        firstSelection_ = false;
    }
    if (!lastPreviewFile_.isEmpty() && !QFileInfo::exists(lastPreviewFile_))
        ModelPreviewRun::DeleteResultFiles(lastPreviewFile_);
    if (lastPreviewFile_ != selection)
        lastPreviewFile_ = selection;
    // A directory is no data file.
    const QString file = QFileInfo(selection).isDir() ? QString() : selection;
    previewArea_->SetLines({});
    if (file.isEmpty())
        return;
    previewArea_->SetLines(preview_.DrawModelPreview(mainWindow_, file, previewArea_->Frame()));
}

void TPreviewDlg::PreviewDialogCanClose() {
    settings_.SaveDialogStyle(viewMode() == QFileDialog::List);
}

void TPreviewDlg::accept() {
    PreviewDialogCanClose();
    QFileDialog::accept();
}
