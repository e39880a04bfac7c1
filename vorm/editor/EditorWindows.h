#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class EditorPickers;
class LauncherSettings;
class QMdiSubWindow;
class QMenuBar;
class TEditForm;
class TMainForm;
class UserDialogs;

// The launcher's editor windows: opens one in the main window's MDI area for every data file
// the main window hands over, and merges the active window's menus into the main menu bar
// after the main window's own (removing them again when another window becomes active).
class EditorWindows : public QObject {
    Q_OBJECT

public:
    EditorWindows(TMainForm& main, UserDialogs& dialogs, const LauncherSettings& settings,
                  EditorPickers& pickers);
    ~EditorWindows() override;

    // Opens the shared open dialog's file in a new window, shown maximised.
    TEditForm* Open(bool solverAvailable);
    QList<TEditForm*> Editors() const;

private:
    void Activated(QMdiSubWindow* window);
    void RemoveMergedMenus();

    TMainForm& main;
    UserDialogs& dialogs;
    const LauncherSettings& settings;
    EditorPickers& pickers;
    QPointer<TEditForm> merged;
    // The main window's menu bar, kept apart from the main window: the MDI area still reports
    // window changes while the main window is being destroyed.
    QPointer<QMenuBar> menuBar;
};
