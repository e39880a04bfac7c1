#pragma once

#include "UserDialogs.h"

#include <QStringList>

// The dialogs as the user sees them: Qt message boxes with the package's captions and Qt file
// dialogs.
class QtUserDialogs : public UserDialogs {
public:
    Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    ReplaceAnswer AskYesCancelAll(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowWarning(QWidget* parent, const QString& text) override;
    void ShowInformation(QWidget* parent, const QString& text) override;
    QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool OpenWithDesktop(const QUrl& url) override;
    bool AskPictureSize(QWidget* parent, QSize& size) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;

    // "desc|pattern|desc|pattern" as Qt name filters ("desc (pattern)").
    static QStringList NameFilters(const QString& filter);
};
