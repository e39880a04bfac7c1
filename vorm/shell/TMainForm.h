#pragma once

#include "MenuTexts.h"
#include "PackageDir.h"
#include "ProgramRunner.h"

#include <QKeySequence>
#include <QMainWindow>
#include <memory>
#include <optional>

class LauncherSettings;
class QAction;
class QMdiArea;
class QMenu;
class QMenuBar;
class TGlobalObj;
class UserDialogs;

// The launcher's main window: an MDI frame whose menu is the problem catalogue. It has no
// menu until a language has been chosen; choosing a problem type asks for a data file of that
// type, choosing a tool runs it.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    TMainForm(UserDialogs& dialogs, const LauncherSettings& settings, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The data module is created after the main window at start-up.
    void SetGlobals(TGlobalObj* globals);
    TGlobalObj* Globals() const { return globals; }

    const PackageDir& Package() const { return *packageDir; }
    MenuTexts& Texts() { return menuTexts; }
    const ProgramRunner& Runner() const { return *runner; }
    UserDialogs& Dialogs() const { return dialogs; }
    QMdiArea* MdiArea() const { return mdiArea; }

    // The problem menu, attached or not.
    QMenuBar* ProblemMenu() const { return problemMenu; }
    bool IsProblemMenuAttached() const { return !detachedMenu; }
    void AttachProblemMenu();

    // Sets up the shared open dialog for the item's problem type and runs it.
    void StartEditor(QAction* item, const QString& filterPrefix, const QString& defaultExtension);

    // Problem types.
    void N5Click() { ProblemClick(1); }
    void N6Click() { ProblemClick(2); }
    void N7Click() { ProblemClick(3); }
    void N8Click() { ProblemClick(4); }
    void N9Click() { ProblemClick(5); }
    void N10Click() { ProblemClick(6); }
    void N11Click() { ProblemClick(7); }
    void N12Click() { ProblemClick(8); }
    void N13Click() { ProblemClick(9); }
    void N14Click() { ProblemClick(10); }
    void N15Click() { ProblemClick(11); }
    void N16Click() { ProblemClick(12); }
    void N17Click() { ProblemClick(13); }
    void N18Click() { ProblemClick(14); }
    void N19Click() { ProblemClick(21); }
    void N20Click() { ProblemClick(22); }
    void N21Click() { ProblemClick(23); }
    void N22Click() { ProblemClick(24); }
    void N23Click() { ProblemClick(25); }
    void N24Click() { ProblemClick(26); }
    void N25Click() { ProblemClick(31); }
    void N26Click() { ProblemClick(32); }
    void N27Click() { ProblemClick(33); }
    void N28Click() { ProblemClick(34); }
    void N29Click() { ProblemClick(35); }
    void N30Click() { ProblemClick(36); }
    void N31Click() { ProblemClick(37); }
    // Tools.
    void N32Click() { ToolClick(41); }
    void N33Click() { ToolClick(42); }
    void N34Click() { ToolClick(43); }
    void N35Click() { ToolClick(44); }

    void Datafiles1Click();
    void Help1Click();
    void AboutClick();
    // Opens the main help file in the browser; says which page to open by hand when no
    // browser can be started.
    bool FormHelp();
    static QString HelpWithoutBrowserText(const QString& page);

    // F1: the active child window's help when it has its own, the main help file otherwise.
    void HelpKey();

    // Opens a data file as if it had been chosen in the open dialog from the menu entry of its
    // problem type ("Data files" when its extension names none): for a file dropped on the
    // window or chosen from the recent files.
    void OpenFile(const QString& path);
    // Adds an existing file to the recent files of the menu.
    void RememberFile(const QString& path);
    // A file of the recent files moved to a new name: the menu follows it.
    void RememberMove(const QString& from, const QString& to);
    // Opens a recent file; one that has gone is taken off the list, and the user told why.
    void OpenRecent(const QString& path);
    static QString RecentGoneText(const QString& path);
    QMenu* RecentMenu() const { return recentMenu; }

    // The key the launcher holds to close the active child window: Ctrl+F4 where the
    // platform's keys for Close lack it, none where the child windows hold it already.
    static QKeySequence ChildCloseKey(const QList<QKeySequence>& platformCloseKeys);

    static QString Version();
    // Why the launcher does not close while one of the package's programs runs.
    static QString StillRunningText();

signals:
    // A data file was chosen for an editor window; `solverAvailable` tells whether the
    // problem's solver is installed.
    void EditorRequested(const QString& fileName, bool solverAvailable);

protected:
    // Closing the launcher closes every child window first; one that stays open (its user
    // kept unsaved changes, or its program still runs) keeps the launcher open too. While a
    // program runs the launcher does not close at all.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void BuildRecentMenu();
    void FillRecentMenu();
    void ConnectMenu();
    void ProblemClick(int tag);
    void ToolClick(int tag);
    QAction* Item(int tag) const;

    UserDialogs& dialogs;
    const LauncherSettings& settings;
    std::optional<PackageDir> packageDir;
    std::optional<ProgramRunner> runner;
    MenuTexts menuTexts;
    TGlobalObj* globals = nullptr;
    QMdiArea* mdiArea = nullptr;
    std::unique_ptr<QMenuBar> detachedMenu;
    QMenuBar* problemMenu = nullptr;
    QMenu* recentMenu = nullptr;
};
