#pragma once

#include <QByteArray>
#include <QWidget>

class EditorPickers;
class QFont;
class QPlainTextEdit;
class QPushButton;
class UserDialogs;

// The protocol of a calculation, read-only in a window of its own: the text in a fixed-pitch
// font as the solver wrote it, with Print, Save as and Close.
class ReportWindow : public QWidget {
    Q_OBJECT

public:
    // `font` is the editor's; a fixed-pitch one stands in where it is not.
    ReportWindow(const QString& path, const QByteArray& bytes, const QFont& font,
                 UserDialogs& dialogs, EditorPickers& pickers, QWidget* parent = nullptr);

    QPlainTextEdit* View() const { return view; }
    QString Path() const { return path; }

    void PrintClick();
    // Writes the report's bytes unchanged to a file the user chooses.
    void SaveAsClick();

private:
    QString path;
    QByteArray bytes;
    UserDialogs& dialogs;
    EditorPickers& pickers;
    QPlainTextEdit* view = nullptr;
};
