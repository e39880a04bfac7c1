#pragma once

#include <QPlainTextEdit>

// The editor's text field: plain text without word wrap that reports each key release, where
// the window numbers new items.
class EditField : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit EditField(QWidget* parent = nullptr);

    // The text with every character as typed, lines joined by "\n". Unlike toPlainText(),
    // which hands no-break spaces back as blanks, it keeps them: in a DOS file that byte
    // stands for a character of its own, and a plain open and save must not change it.
    QString Text() const;
    // Sets the font without text shaping: the code pages of data files hold no script that
    // needs it, and shaping a line of a megabyte would take seconds each time it is laid out.
    void SetTextFont(QFont font);

signals:
    void KeyReleased(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
