#include "EditorWindows.h"

#include "EditField.h"
#include "TEditForm.h"
#include "TGlobalObj.h"
#include "TMainForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

EditorWindows::EditorWindows(TMainForm& main, UserDialogs& dialogs,
                             const LauncherSettings& settings, EditorPickers& pickers)
    : QObject(&main), main(main), dialogs(dialogs), settings(settings), pickers(pickers),
      menuBar(main.ProblemMenu()) {
    connect(&main, &TMainForm::EditorRequested, this,
            [this](const QString&, bool solverAvailable) { Open(solverAvailable); });
    connect(main.MdiArea(), &QMdiArea::subWindowActivated, this, &EditorWindows::Activated);
}

EditorWindows::~EditorWindows() = default;

TEditForm* EditorWindows::Open(bool solverAvailable) {
    const EditorServices services{dialogs,        settings, *main.Globals(),
                                  main.Package(), pickers,  main.Runner()};
    auto* editor = new TEditForm(services, solverAvailable);
    QMdiSubWindow* window = main.MdiArea()->addSubWindow(editor);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(main.windowIcon());
    // The window's title follows its file.
    connect(editor, &QWidget::windowTitleChanged, window, &QWidget::setWindowTitle);
    connect(editor, &TEditForm::FileOpened, &main, &TMainForm::RememberFile);
    connect(editor, &TEditForm::FileMoved, &main, &TMainForm::RememberMove);
    main.RememberFile(editor->Document().Path());
    window->showMaximized();
    editor->Field()->setFocus();
    return editor;
}

QList<TEditForm*> EditorWindows::Editors() const {
    QList<TEditForm*> editors;
    for (QMdiSubWindow* window : main.MdiArea()->subWindowList())
        if (auto* editor = qobject_cast<TEditForm*>(window->widget()))
            editors << editor;
    return editors;
}

void EditorWindows::RemoveMergedMenus() {
    if (merged && menuBar)
        for (QMenu* menu : merged->Menus())
            menuBar->removeAction(menu->menuAction());
    merged = nullptr;
}

void EditorWindows::Activated(QMdiSubWindow* window) {
    // No window at all means the launcher itself lost the focus, and the editor's menus stay,
    // or the last window closed.
    if (!window) {
        if (merged && !merged->isVisible())
            RemoveMergedMenus();
        return;
    }
    auto* editor = qobject_cast<TEditForm*>(window->widget());
    if (editor == merged)
        return;
    RemoveMergedMenus();
    if (!editor || !menuBar)
        return;
    for (QMenu* menu : editor->Menus())
        menuBar->addAction(menu->menuAction());
    merged = editor;
}
