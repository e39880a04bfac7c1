#pragma once

#include <QDialog>
#include <array>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// The principal stresses tool: the user types a plane or spatial stress state and reads the
// principal stresses with their directions.
class HalbrinWindow : public QDialog {
    Q_OBJECT

public:
    explicit HalbrinWindow(QWidget* parent = nullptr);

private:
    void UpdateMode();
    void Calculate();

    QRadioButton* planeButton = nullptr;
    QRadioButton* spatialButton = nullptr;
    // sx, sy, sz, txy, tyz, tzx
    std::array<QLineEdit*, 6> fields{};
    QPlainTextEdit* results = nullptr;
};
