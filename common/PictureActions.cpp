#include "PictureActions.h"

#include "QtUserDialogs.h"

#include <QAction>
#include <QPrinter>
#include <QWidget>

PictureActions::PictureActions(QWidget* view, PictureWriter::Painter draw,
                               std::function<QString()> suggest, QObject* parent)
    : QObject(parent), view_(view), draw_(std::move(draw)), suggest_(std::move(suggest)),
      own_(std::make_unique<QtUserDialogs>()), dialogs_(own_.get()),
      save_(new QAction(QStringLiteral("Save picture..."), this)),
      print_(new QAction(QStringLiteral("Print picture..."), this)) {
    save_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    save_->setToolTip(QStringLiteral("Save what is drawn as PNG, SVG or PDF (Ctrl+Shift+S)"));
    print_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    print_->setToolTip(QStringLiteral("Print what is drawn (Ctrl+Shift+P)"));
    connect(save_, &QAction::triggered, this, [this] { Save(); });
    connect(print_, &QAction::triggered, this, [this] { Print(); });
}

PictureActions::~PictureActions() = default;

QString PictureActions::Save() {
    FileDialogRequest request;
    request.Title = QStringLiteral("Save the picture");
    request.Filter = QStringLiteral("PNG pictures (*.png)|*.png|SVG drawings (*.svg)|*.svg|"
                                    "PDF documents (*.pdf)|*.pdf");
    request.DefaultExtension = QStringLiteral("png");
    request.FileName = suggest_ ? suggest_() : QString();
    const QString path = dialogs_->GetSaveFileName(view_, request);
    if (path.isEmpty())
        return {};
    QString error;
    QSize size = view_->size();
    if (PictureWriter::FormatOf(path) == PictureWriter::Format::Unknown)
        error = QStringLiteral("%1 names no picture: end it in .png, .svg or .pdf.").arg(path);
    else if (!dialogs_->AskPictureSize(view_, size))
        return {};
    else
        error = PictureWriter::Write(path, draw_, size);
    if (!error.isEmpty())
        dialogs_->ShowError(view_, error);
    return error;
}

QString PictureActions::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(view_->width() > view_->height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    if (!dialogs_->SetUpPrinter(view_, printer))
        return {};
    if (PictureWriter::Print(printer, draw_, view_->size()))
        return {};
    const QString error = QStringLiteral("The picture could not be printed.");
    dialogs_->ShowError(view_, error);
    return error;
}
