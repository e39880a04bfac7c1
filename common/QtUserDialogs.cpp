#include "QtUserDialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
