#pragma once

#include <QPlainTextEdit>

// The editor's text field: plain text without word wrap that reports each key release, where
// the window numbers new items.
class EditField : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit EditField(QWidget* parent = nullptr);

signals:
    void KeyReleased(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};
