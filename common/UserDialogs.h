#pragma once

#include <QSize>
#include <QString>
#include <QUrl>

class QPrinter;
class QWidget;

// What an open or save dialog is set up with. The filter is written as description|pattern
// pairs ("Shape files (*.geo)|*.geo|All files|*.*"), patterns separated by ';'.
struct FileDialogRequest {
    QString Title;
    QString Filter;
    QString DefaultExtension; // without the dot
    QString InitialDirectory;
    QString FileName;
};

// Every question, message box, file dialog and hand-over to the desktop that the programs
// show goes through this interface, so that tests can answer in advance. The real one shows
// Qt dialogs.
class UserDialogs {
public:
    enum class Answer { Yes, No, Cancel };
    enum class ReplaceAnswer { Yes, Cancel, All };

    virtual ~UserDialogs() = default;

    // The confirmation box: caption "Confirm", question icon, Yes, No and Cancel.
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    // The confirmation box with Yes and No only.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The confirmation box with Yes, Cancel and All (the replacement's question). One that
    // cannot ask declines.
    virtual ReplaceAnswer AskYesCancelAll(QWidget* parent, const QString& text) {
        (void)parent;
        (void)text;
        return ReplaceAnswer::Cancel;
    }
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
    virtual void ShowInformation(QWidget* parent, const QString& text) = 0;
    // Empty when the user cancels.
    virtual QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // The desktop's "open" for a file or page (the browser for help pages).
    virtual bool OpenWithDesktop(const QUrl& url) = 0;
    // A picture's width and height in pixels, `size` proposed; false when the user cancels.
    // One that cannot ask keeps the size proposed.
    virtual bool AskPictureSize(QWidget* parent, QSize& size) {
        (void)parent;
        (void)size;
        return true;
    }
    // The printer chosen and set up; false when the user cancels or there is none, which the
    // real one says. One that cannot ask prints nothing.
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) {
        (void)parent;
        (void)printer;
        return false;
    }
};
