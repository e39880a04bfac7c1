#pragma once

#include "EditorDocument.h"
#include "GroupChoices.h"
#include "InputTables.h"
#include "MdiChildHelp.h"

#include <QBuffer>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class EditField;
class FindReplaceDialog;
class TextFinder;
class EditorPickers;
class LauncherSettings;
class LineRoleHighlighter;
class PackageDir;
class ProgramRunner;
struct ProgramCall;
class QAction;
class QLabel;
class QMenu;
class QPrinter;
class StandardDialogs;
class QStatusBar;
class QShortcut;
class QToolButton;
class ReportWindow;
class TGlobalObj;
class UserDialogs;

// What an editor window works with, all owned by the launcher for the whole run.
struct EditorServices {
    UserDialogs& Dialogs;
    const LauncherSettings& Settings;
    TGlobalObj& Globals; // the shared open dialog
    const PackageDir& Package;
    EditorPickers& Pickers;
    const ProgramRunner& Runner; // starts the checker, solvers, generators and viewers
};

// One input-data editor window, an MDI child of the launcher. It opens on the file that the
// shared open dialog has just chosen, starts a new file from its template, saves in the code
// page the file came in, numbers new items and keeps its buttons in step with the document.
// Its menus are merged into the launcher's menu bar while it is active.
class TEditForm : public QWidget, public MdiChildHelp {
    Q_OBJECT

public:
    // Opens the shared dialog's file at once. Errors of the open are shown, and the window
    // stays.
    TEditForm(const EditorServices& services, bool solverAvailable, QWidget* parent = nullptr);
    ~TEditForm() override;

    const EditorDocument& Document() const { return document; }
    int HelpContext() const { return helpContext; }
    EditField* Field() const { return editField; }
    InputTables& Tables() { return *tables; }
    QString StatusText(int panel) const;
    // The five menus that join the launcher's menu bar while the window is active ("&Help"
    // stays hidden; F1 reaches it through the launcher).
    QList<QMenu*> Menus() const { return menus; }
    QToolButton* Button(const QString& name) const;
    QAction* MenuItem(const QString& name) const;

    // Handlers. A sender shows the open dialog; without one the dialog's file is opened.
    void OpenBtnClick(bool withDialog);
    void SaveBtnClick();
    void SaveAsClick();
    void ExitBtnClick();
    void CopyBtnClick();
    void CutBtnClick();
    void PasteBtnClick();
    void UndoBtnClick();
    void FontsClick();
    void ColorClick();
    void SelectionChange();
    void UpdateButtons();
    void EditFieldKeyUp(int key);
    // The outside programs. The check moves the file between its accepted and its not yet
    // accepted name; a preview started from the Preview button shows the model, one started
    // without it (F7, Results, F4) the results when they exist.
    void CheckBtnClick();
    void CalculateBtnClick();
    void GenerateBtnClick();
    // Asks for a .msh file and the roles of its physical groups (kept beside the data file),
    // then puts the mesh into the data file and reloads it.
    void ImportGmshClick();
    // Starts Gmsh on the .geo or .msh beside the data file, when Gmsh is installed.
    void OpenGmshClick();
    // Tests answer the group dialog through this; it returns false when cancelled.
    using GroupChooser = std::function<bool(QWidget*, std::vector<GroupChoices::Row>&)>;
    void SetGroupChooser(GroupChooser chooser) { groupChooser = std::move(chooser); }
    void PreviewBtnClick(bool fromButton);
    void VisualizeBtnClick() { PreviewBtnClick(false); }
    void CalculatorBtnClick();
    void CheckClick() { CheckBtnClick(); }
    void CalculateClick() { CalculateBtnClick(); }
    void GenerateClick() { GenerateBtnClick(); }
    void PreviewClick() { PreviewBtnClick(false); }
    void VisualizeClick() { VisualizeBtnClick(); }
    // Shows the protocol of the last calculation (kept beside the data file) read-only.
    void ReportClick();
    ReportWindow* Report() const;
    // Reads the verdict of the last run from "Error.txt" and applies it.
    void GetError();
    void ProcessMsgLine(const QString& line);
    bool ResultExists() const;
    // Why the window stays open while one of its programs runs.
    static QString StillRunningText();

    // Find and replace (the dialogs are modeless; their buttons run the searches).
    void FindClick();
    void ReplaceClick();
    void FindDialogFind(FindReplaceDialog* dialog);
    void ReplaceDlgReplace();
    FindReplaceDialog* FindDlg() const { return findDialog; }
    FindReplaceDialog* ReplaceDlg() const { return replaceDialog; }
    const TextFinder& Finder() const { return *finder; }
    // Standard profiles (table 3) and materials (table 2) from the dialog library.
    void InsertProfDatClick();
    void MatBtnClick();
    // Tests answer the library's dialogs through this.
    void SetStandardDialogs(std::unique_ptr<StandardDialogs> dialogs);
    // Printing: the print dialog, then the whole text or the selection. A system without a
    // printer is told so.
    void Print1Click();
    // Prints `length` characters from `start` as the job `title` on a set-up printer.
    int PrintSel(QPrinter& printer, const QString& title, int start, int length);
    // Writes the help page of the window's help context and opens it in the browser.
    void HelpBtnClick();
    void ChildHelp() override;

signals:
    // A file was opened or saved under a new name (for the launcher's recent files).
    void FileOpened(const QString& path);
    // The check moved the file to the name of its new check state; the old name is gone.
    void FileMoved(const QString& from, const QString& to);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolBar();
    void BuildMenus();
    void Connect();
    // Runs a handler behind the generic error box.
    template <typename Handler>
    void Guarded(Handler&& handler);
    void OpenFile(const QString& path);
    void ApplyEditorFont();
    // Asks "Save changes?" when the text is unsaved; false when the caller must stop.
    bool ConfirmDiscard();
    // Saves and says whether the text is now saved (false when Save As was cancelled).
    bool SaveChanges();
    void WriteFile();
    void SetSaveEnabled(bool enabled);
    bool Unsaved() const;
    void UpdateClipboardState();
    // Status panel 1: the messages of the actions.
    void SetMessage(const QString& text);
    // Puts why an action is greyed (empty: it is not) into its tooltips and lets its key say
    // it in the status line. `button` may be empty for a menu item without a button.
    void ShowReason(const QString& button, const QString& item, const QString& reason);
    // Returns the program's exit code (ProgramRunner::NotFinished when it did not end by
    // itself).
    int Run(const ProgramCall& call);
    // Re-reads the data file after a program rewrote it.
    void Reload();
    // Shows the verdict of the mesher's follow-up: its first line in the status line, the
    // whole text in a warning when it is no "OK", or in a note when it lists more.
    void ShowFollowUpVerdict();
    // The unit value of an item of table 1; empty when table 1 is missing.
    QString UnitOfItem(int item) const;
    // Hands a table's block to a chooser of the dialog library and puts back what it returns.
    // False when the table is missing (the user is told) or the chooser was cancelled.
    bool ExchangeBlock(int table, const QString& what,
                       const std::function<bool(int count, std::unique_ptr<QBuffer>&)>& run);

    EditorServices services;
    EditorDocument document;
    int helpContext = 20;
    int programsRunning = 0; // runs of this window in progress (they may nest)
    // "Error.txt" of this window's last run, taken from the run's folder before it went.
    std::optional<QByteArray> runErrorFile;
    int actionsRunning = 0; // handlers of this window in progress (they may nest)
    bool closeAfterRun = false;
    // Closes the window when a close was asked for during a run and nothing of this window is
    // in progress any more: an action that ran a program may still show a modal message, and a
    // window freed under it takes the message box with it.
    void CloseWhenIdle();
    bool clipboardHasData = false;
    EditField* editField = nullptr;
    std::unique_ptr<InputTables> tables;
    std::unique_ptr<TextFinder> finder;
    std::unique_ptr<StandardDialogs> standardDialogs;
    FindReplaceDialog* findDialog = nullptr;
    FindReplaceDialog* replaceDialog = nullptr;
    LineRoleHighlighter* highlighter = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* positionPanel = nullptr;
    QLabel* messagePanel = nullptr;
    QList<QToolButton*> buttons;
    QList<QMenu*> menus;
    QHash<QString, QString> reasons;       // by button (or menu item) name
    QHash<QString, QShortcut*> reasonKeys; // active while the action is greyed
    QPointer<ReportWindow> reportWindow;
    GroupChooser groupChooser;
};
