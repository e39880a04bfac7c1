#include "TGlobalObj.h"

#include "MenuTextFile.h"
#include "MenuTexts.h"
#include "ModelPreviewRun.h"
#include "ProblemCatalogue.h"
#include "ProblemMenuItems.h"
#include "ProgramRunner.h"
#include "TPreviewDlg.h"
#include "VormIcons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

TGlobalObj::TGlobalObj(PackageDir packageDir, MenuTexts& texts, UserDialogs& dialogs,
                       QObject* parent)
    : QObject(parent), packageDir(std::move(packageDir)), texts(texts), dialogs(dialogs) {
    DataModuleCreate();
}

TGlobalObj::~TGlobalObj() {
    DataModuleDestroy();
}

void TGlobalObj::DataModuleCreate() {
    menuImages = {VormIcons::SolverMark()};
    previewDlg = {};
}

void TGlobalObj::DataModuleDestroy() {
    previewDialog.reset();
    modelPreview.reset();
    previewRunner.reset();
    menuImages.clear();
}

void TGlobalObj::UsePreviewDialog(const LauncherSettings& settings, QWidget* mainWindow) {
    previewRunner = std::make_unique<ProgramRunner>(packageDir, dialogs);
    modelPreview = std::make_unique<ModelPreviewRun>(packageDir, *previewRunner);
    previewDialog = std::make_unique<TPreviewDlg>(*modelPreview, settings, mainWindow);
}

QString TGlobalObj::RunPreviewDlg(QWidget* parent) {
    const QString chosen = previewDialog ? previewDialog->Run(previewDlg)
                                         : dialogs.GetOpenFileName(parent, previewDlg);
    if (!chosen.isEmpty())
        previewDlg.FileName = chosen;
    return chosen;
}

void TGlobalObj::LoadMenuTexts(QMenuBar& menu) {
    const QString path = packageDir.FilePath(QString::fromLatin1(MenuTextFile::FileName));
    if (MenuTextFile::Read(path, texts))
        ApplyMenuTexts(menu.actions());
}

void TGlobalObj::ApplyMenuTexts(const QList<QAction*>& items) {
    for (QAction* item : items) {
        // Items of the launcher's own making (the recent files) carry no tag and no text.
        if (!item->data().isValid())
            continue;
        const int tag = ProblemMenuItems::Tag(item);
        item->setText(texts.Text(tag));
        const QString solver = tag <= 44 ? ProblemCatalogue::SolverName(tag) : QString();
        // Once marked, an item keeps its mark.
        if (!solver.isEmpty() && packageDir.HasExecutable(solver))
            ProblemMenuItems::SetImageIndex(item, 0, menuImages);
        if (const QMenu* menu = item->menu<QMenu*>())
            ApplyMenuTexts(menu->actions());
    }
}
