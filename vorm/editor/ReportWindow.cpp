#include "ReportWindow.h"

#include "EditorPickers.h"
#include "HandlerGuard.h"
#include "ReportFile.h"
#include "TextPrinter.h"
#include "UserDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

ReportWindow::ReportWindow(const QString& path, const QByteArray& bytes, const QFont& font,
                           UserDialogs& dialogs, EditorPickers& pickers, QWidget* parent)
    : QWidget(parent, Qt::Window), path(path), bytes(bytes), dialogs(dialogs), pickers(pickers) {
    setObjectName(QStringLiteral("ReportWindow"));
    setWindowTitle(QStringLiteral("Report - ") + QDir::toNativeSeparators(path));
    auto* layout = new QVBoxLayout(this);
    view = new QPlainTextEdit(this);
    view->setObjectName(QStringLiteral("ReportView"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The protocol's tables line up only in a fixed-pitch font.
    QFont fixed = font;
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    const QFontMetrics metrics(fixed);
    if (metrics.horizontalAdvance(u'i') != metrics.horizontalAdvance(u'W'))
        fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    view->setFont(fixed);
    view->setPlainText(ReportFile::Text(bytes));
    layout->addWidget(view, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    const std::pair<const char*, void (ReportWindow::*)()> buttons[] = {
        {"&Print...", &ReportWindow::PrintClick},
        {"Save &as...", &ReportWindow::SaveAsClick},
    };
    for (const auto& [caption, handler] : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        connect(button, &QPushButton::clicked, this, [this, run = handler] {
            HandlerGuard::Run(this->dialogs, this, [this, run] { (this->*run)(); });
        });
        row->addWidget(button);
    }
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    row->addWidget(close);
    layout->addLayout(row);
    resize(760, 560);
}

void ReportWindow::PrintClick() {
    if (!pickers.PrinterInstalled()) {
        dialogs.ShowError(this, TextPrinter::NoPrinterText());
        return;
    }
    QPrinter printer;
    if (pickers.SetUpPrinter(this, printer, false))
        TextPrinter::Print(printer, QFileInfo(path).fileName(), view->toPlainText(), view->font());
}

void ReportWindow::SaveAsClick() {
    FileDialogRequest request;
    request.Title = QStringLiteral("Save the report");
    request.Filter = QStringLiteral("Reports|*.rpt|Text files|*.txt|All files|*.*");
    request.DefaultExtension = QStringLiteral("rpt");
    request.InitialDirectory = QFileInfo(path).absolutePath();
    request.FileName = QFileInfo(path).fileName();
    const QString chosen = dialogs.GetSaveFileName(this, request);
    if (chosen.isEmpty())
        return;
    QSaveFile file(chosen);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        dialogs.ShowError(this, QStringLiteral("Cannot save %1: %2")
                                    .arg(QDir::toNativeSeparators(chosen), file.errorString()));
}
