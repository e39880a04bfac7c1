#pragma once

#include "ViewerLaunch.h"

#include <QMainWindow>

class ModelView;
class QComboBox;
class QLabel;

// The model viewer's window: the model fills it, a tool bar chooses the load case and what is
// shown, and in result mode a line above the model says that no results can be read yet.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    // `title`: the name the program was started under ("Pantex").
    ViewerWindow(const QString& title, const ViewerLaunch::Outcome& launch,
                 QWidget* parent = nullptr);

    ModelView* View() const { return view_; }
    QComboBox* LoadCases() const { return loadCase_; }
    QString Notice() const;

private:
    void UpdateOptions();

    ViewerModel model_;
    ModelView* view_;
    QComboBox* loadCase_;
    QLabel* notice_;
    QAction* nodeNumbers_;
    QAction* elementNumbers_;
    QAction* supports_;
};
