#pragma once

#include "PackageDir.h"
#include "UserDialogs.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <memory>

class LauncherSettings;
class MenuTexts;
class ModelPreviewRun;
class ProgramRunner;
class TPreviewDlg;
class QAction;
class QMenuBar;
class QWidget;

// The launcher's data module for the whole run: the one shared open dialog, the menu images
// (image 0 marks an installed solver) and the loading of the menu texts into the menu.
class TGlobalObj : public QObject {
    Q_OBJECT

public:
    TGlobalObj(PackageDir packageDir, MenuTexts& texts, UserDialogs& dialogs,
               QObject* parent = nullptr);
    ~TGlobalObj() override;

    const QList<QIcon>& MenuImages() const { return menuImages; }
    // The menu texts of the chosen language.
    const MenuTexts& Texts() const { return texts; }

    // The shared open dialog: callers set its filter, title, default extension, starting
    // directory and file name, run it, and read the chosen path from its file name.
    FileDialogRequest& PreviewDlg() { return previewDlg; }
    // Empty when the user cancels; the chosen path is kept as the dialog's file name.
    QString RunPreviewDlg(QWidget* parent);

    // Shows the real preview dialog from now on, previews drawn by the package's checker
    // with `mainWindow` disabled while it runs. Until then the dialogs interface answers
    // (tests script it).
    void UsePreviewDialog(const LauncherSettings& settings, QWidget* mainWindow);
    TPreviewDlg* PreviewDialog() const { return previewDialog.get(); }

    // Reads the menu texts of "MESSW.TXT" in the package directory and applies them to the
    // menu. Throws VormError when the file cannot be read or its section is damaged; the
    // menu is then unchanged.
    void LoadMenuTexts(QMenuBar& menu);

    // Gives each item, recursively, the menu text of its tag as caption (empty when the tag
    // has none) and marks the items whose solver is installed in the package directory.
    void ApplyMenuTexts(const QList<QAction*>& items);

private:
    void DataModuleCreate();
    void DataModuleDestroy();

    PackageDir packageDir;
    MenuTexts& texts;
    UserDialogs& dialogs;
    QList<QIcon> menuImages;
    FileDialogRequest previewDlg;
    std::unique_ptr<ProgramRunner> previewRunner;
    std::unique_ptr<ModelPreviewRun> modelPreview;
    std::unique_ptr<TPreviewDlg> previewDialog;
};
