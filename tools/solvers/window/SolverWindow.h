#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class SolverRunState;
class UserDialogs;

// The small window a solver shows while it works for the editor: its name and data file, the
// stage it has reached, the time since the start and Stop. Once the run has ended it shows a
// mathematics report (selectable, with Save) or why the data could not be solved, until the
// user closes it. Closing it while the solver calculates is the same as Stop.
class SolverWindow : public QWidget {
    Q_OBJECT

public:
    SolverWindow(const QString& solverName, const QString& dataPath, SolverRunState& state,
                 UserDialogs& dialogs, QWidget* parent = nullptr);

    // The protocol of a solved mathematics problem, with Save and Close.
    void ShowReport(const QString& protocol);
    // Why the run failed, with Close.
    void ShowError(const QString& message);
    // Reads the stage and the elapsed time from the state; a timer calls it while working.
    void UpdateProgress();

    QString StageText() const;
    QString ReportText() const;
    bool StopEnabled() const;
    void SaveReport(); // the Save button

signals:
    // The user pressed Stop (or closed the window) while the solver could still be stopped;
    // the state is already stopped.
    void StopRequested();
    // The user closed the window after the end of the run.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Stop();
    void ShowEnd(const QString& heading, const QString& text, bool saveable);

    const QString solverName;
    const QString dataPath;
    SolverRunState& state;
    UserDialogs& dialogs;
    QWidget* progressPage;
    QWidget* endPage;
    QLabel* stageLabel;
    QLabel* elapsedLabel;
    QPushButton* stopButton;
    QLabel* endHeading;
    QPlainTextEdit* reportView;
    QPushButton* saveButton;
    QTimer* ticker;
    bool ended = false;
};
