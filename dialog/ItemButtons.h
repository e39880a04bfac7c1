#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;

// The row under the item grid of every chooser: Insert and Delete on the left, OK and Cancel
// on the right. OK is the default button (Enter), and OK and Cancel end the dialog.
struct ItemButtons {
    QPushButton* Insert = nullptr;
    QPushButton* Delete = nullptr;
    QHBoxLayout* Row = nullptr;

    static ItemButtons Make(QDialog* dialog);
};
