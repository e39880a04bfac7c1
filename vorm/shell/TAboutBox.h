#pragma once

#include "PackageDir.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class UserDialogs;

// The About box: product name, version and the About text cut from the main help file.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // Whether a help file that cannot be read is reported. The box made hidden at start-up
    // is never shown, so it need not greet a first start, before any language pack has
    // brought the help file, with an error.
    enum class HelpFileErrors { Show, Ignore };

    TAboutBox(const PackageDir& packageDir, UserDialogs& dialogs, QWidget* parent = nullptr,
              HelpFileErrors errors = HelpFileErrors::Show);

    // Loads the About text into the text field; runs again whenever the field receives the
    // input focus from within the box.
    void FormCreate();

    // Sizes the text field so that its wrapped text shows whole, up to most of the screen's
    // height; the box follows the field.
    void FitToText();

    void SetVersion(const QString& text);
    void MoveCaretToStart();

    QString VersionText() const;
    QString AboutTextShown() const;
    QPlainTextEdit* RichEdit1() const { return richEdit1; }
    QPushButton* OKButton() const { return okButton; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int MinTextWidth = 260;
    static constexpr int MaxTextWidth = 420;
    static constexpr int MinTextHeight = 60;

    PackageDir packageDir;
    UserDialogs& dialogs;
    HelpFileErrors errors;
    QLabel* programIcon = nullptr;
    QLabel* productName = nullptr;
    QLabel* version = nullptr;
    QLabel* comments = nullptr;
    QPlainTextEdit* richEdit1 = nullptr;
    QPushButton* okButton = nullptr;
};
