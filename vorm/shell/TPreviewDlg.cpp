#include "TPreviewDlg.h"

#include "LauncherSettings.h"
#include "QtUserDialogs.h"
#include "UserDialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QTreeView>

PreviewPanel::PreviewPanel(QWidget* parent) : QGroupBox(QStringLiteral("Preview"), parent) {
    setObjectName(QStringLiteral("PreviewArea"));
    setMinimumSize(220, 220);
}

QRect PreviewPanel::Frame() const {
    const int h = fontMetrics().height();
    return rect().adjusted(h, h, -h, -h);
}

void PreviewPanel::SetPicture(ModelPreview::Picture picture) {
    picture_ = std::move(picture);
    update();
}

void PreviewPanel::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    if (picture_.Lines.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLines(picture_.Lines);
    painter.setPen(QPen(QColor(0, 130, 60), 0));
    painter.drawLines(picture_.Supports);
    painter.setPen(QPen(QColor(200, 30, 30), 0));
    painter.drawLines(picture_.Loads);
    painter.setPen(QPen(QColor(220, 40, 0), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(picture_.Heat.constData(), static_cast<int>(picture_.Heat.size()));
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
    // The detail view's size, type and date columns take the width their texts need and the
    // name the rest, so that none of them is cut while there is room.
    if (auto* list = findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    // The places beside the list ("Computer", home) keep their names whole.
    if (auto* places = findChild<QListView*>(QStringLiteral("sidebar"))) {
        const QAbstractItemView* view = places;
        places->setMinimumWidth(view->sizeHintForColumn(0) + 2 * places->frameWidth() +
                                fontMetrics().averageCharWidth());
    }
}

QString TPreviewDlg::Run(const FileDialogRequest& request) {
    setWindowTitle(request.Title);
    setNameFilters(QtUserDialogs::NameFilters(request.Filter));
    setDefaultSuffix(request.DefaultExtension);
    setDirectory(request.InitialDirectory.isEmpty() ? QDir::currentPath()
                                                    : request.InitialDirectory);
    if (!request.FileName.isEmpty())
        selectFile(request.FileName);
    resize(InitialSize());
    if (exec() != QDialog::Accepted || selectedFiles().isEmpty())
        return {};
    return selectedFiles().first();
}

QSize TPreviewDlg::InitialSize() const {
    QSize size = settings_.ReadOpenDialogSize();
    if (!size.isValid())
        size = DefaultSize;
    // A size remembered on a larger screen must still fit this one.
    if (const QScreen* screen = mainWindow_ ? mainWindow_->screen() : this->screen())
        size = size.boundedTo(screen->availableSize());
    return size.expandedTo(minimumSizeHint());
}

void TPreviewDlg::HideCompleterPopups() {
    // The file name's completer opens its list as a window of its own, which would otherwise
    // stay over the main window after the dialog has closed.
    for (QCompleter* completer : findChildren<QCompleter*>())
        if (completer->popup())
            completer->popup()->hide();
}

void TPreviewDlg::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    PreviewDialogInit();
}

void TPreviewDlg::PreviewDialogInit() {
    previewArea_->SetPicture({});
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
    previewArea_->SetPicture({});
    if (file.isEmpty())
        return;
    previewArea_->SetPicture(preview_.DrawModelPreview(mainWindow_, file, previewArea_->Frame()));
}

void TPreviewDlg::PreviewDialogCanClose() {
    settings_.SaveDialogStyle(viewMode() == QFileDialog::List);
}

void TPreviewDlg::accept() {
    PreviewDialogCanClose();
    QFileDialog::accept();
}

void TPreviewDlg::done(int result) {
    HideCompleterPopups();
    settings_.WriteOpenDialogSize(size());
    QFileDialog::done(result);
}
