#include "QtUserDialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>

namespace {

QString RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                      QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.Title, request.InitialDirectory);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(QtUserDialogs::NameFilters(request.Filter));
    dialog.setDefaultSuffix(request.DefaultExtension);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

UserDialogs::Answer QtUserDialogs::AskYesNoCancel(QWidget* parent, const QString& text) {
    switch (QMessageBox::question(parent, QStringLiteral("Confirm"), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool QtUserDialogs::AskYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("Confirm"), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

UserDialogs::ReplaceAnswer QtUserDialogs::AskYesCancelAll(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    parent);
    QAbstractButton* yes = box.addButton(QMessageBox::Yes);
    box.addButton(QMessageBox::Cancel);
    QAbstractButton* all = box.addButton(QStringLiteral("&All"), QMessageBox::YesRole);
    box.setDefaultButton(static_cast<QPushButton*>(yes));
    box.exec();
    if (box.clickedButton() == yes)
        return ReplaceAnswer::Yes;
    if (box.clickedButton() == all)
        return ReplaceAnswer::All;
    return ReplaceAnswer::Cancel;
}

void QtUserDialogs::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Error"), text);
}

void QtUserDialogs::ShowWarning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Warning"), text);
}

void QtUserDialogs::ShowInformation(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Information"), text);
}

QString QtUserDialogs::GetOpenFileName(QWidget* parent, const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtUserDialogs::GetSaveFileName(QWidget* parent, const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

bool QtUserDialogs::OpenWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool QtUserDialogs::AskPictureSize(QWidget* parent, QSize& size) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Picture size"));
    auto* layout = new QFormLayout(&dialog);
    QSpinBox* sides[2];
    for (QSpinBox*& side : sides) {
        side = new QSpinBox(&dialog);
        side->setRange(16, 20000);
        side->setSuffix(QStringLiteral(" px"));
    }
    sides[0]->setValue(size.width());
    sides[1]->setValue(size.height());
    layout->addRow(QStringLiteral("Width:"), sides[0]);
    layout->addRow(QStringLiteral("Height:"), sides[1]);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    size = QSize(sides[0]->value(), sides[1]->value());
    return true;
}

bool QtUserDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer) {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ShowError(parent, QStringLiteral("No printer is set up on this computer. Save the picture "
                                         "as a PDF instead and print that."));
        return false;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print the picture"));
    return dialog.exec() == QDialog::Accepted;
}

QStringList QtUserDialogs::NameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        const QString& description = parts[i];
        filters << (description.endsWith(u')')
                        ? description
                        : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}
