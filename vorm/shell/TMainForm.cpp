#include "TMainForm.h"

#include "CommandLineHelp.h"
#include "EditorOpenRequest.h"
#include "HandlerGuard.h"
#include "LauncherSettings.h"
#include "MdiChildHelp.h"
#include "ProblemCatalogue.h"
#include "ProblemMenuItems.h"
#include "RecentFiles.h"
#include "TAboutBox.h"
#include "TGlobalObj.h"
#include "UserDialogs.h"
#include "VormIcons.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QTextCursor>
#include <QUrl>

namespace {

using Handler = void (TMainForm::*)();

struct TagHandler {
    int Tag;
    Handler Run;
};

// Each menu item's handler, by tag.
const TagHandler Handlers[] = {
    {1, &TMainForm::N5Click},      {2, &TMainForm::N6Click},
    {3, &TMainForm::N7Click},      {4, &TMainForm::N8Click},
    {5, &TMainForm::N9Click},      {6, &TMainForm::N10Click},
    {7, &TMainForm::N11Click},     {8, &TMainForm::N12Click},
    {9, &TMainForm::N13Click},     {10, &TMainForm::N14Click},
    {11, &TMainForm::N15Click},    {12, &TMainForm::N16Click},
    {13, &TMainForm::N17Click},    {14, &TMainForm::N18Click},
    {21, &TMainForm::N19Click},    {22, &TMainForm::N20Click},
    {23, &TMainForm::N21Click},    {24, &TMainForm::N22Click},
    {25, &TMainForm::N23Click},    {26, &TMainForm::N24Click},
    {31, &TMainForm::N25Click},    {32, &TMainForm::N26Click},
    {33, &TMainForm::N27Click},    {34, &TMainForm::N28Click},
    {35, &TMainForm::N29Click},    {36, &TMainForm::N30Click},
    {37, &TMainForm::N31Click},    {41, &TMainForm::N32Click},
    {42, &TMainForm::N33Click},    {43, &TMainForm::N34Click},
    {44, &TMainForm::N35Click},    {111, &TMainForm::Datafiles1Click},
    {114, &TMainForm::Help1Click}, {113, &TMainForm::AboutClick},
};

} // namespace

TMainForm::TMainForm(UserDialogs& dialogs, const LauncherSettings& settings, QWidget* parent)
    : QMainWindow(parent), dialogs(dialogs), settings(settings) {
    FormCreate();
    setWindowTitle(QStringLiteral("VORM"));
    setWindowIcon(VormIcons::ProgramIcon());

    mdiArea = new QMdiArea(this);
    mdiArea->setBackground(palette().dark());
    setCentralWidget(mdiArea);

    detachedMenu = ProblemMenuItems::Build({});
    problemMenu = detachedMenu.get();
    ConnectMenu();
    BuildRecentMenu();

    auto* help = new QAction(this);
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, &TMainForm::HelpKey);
    addAction(help);
    // The child windows' system menus close them with the platform's keys for Close, which
    // under a plain X11 desktop are Ctrl+W alone.
    if (const QKeySequence key = ChildCloseKey(QKeySequence::keyBindings(QKeySequence::Close));
        !key.isEmpty()) {
        auto* closeChild = new QShortcut(key, this);
        connect(closeChild, &QShortcut::activated, mdiArea, &QMdiArea::closeActiveSubWindow);
    }
    setAcceptDrops(true);
}

QKeySequence TMainForm::ChildCloseKey(const QList<QKeySequence>& platformCloseKeys) {
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    // Held twice, a key is ambiguous and does nothing.
    return platformCloseKeys.contains(ctrlF4) ? QKeySequence() : ctrlF4;
}

TMainForm::~TMainForm() {
    // Tearing the frame down hides and activates its children once more; whoever listens to the
    // MDI area may take this window for a whole one, which it no longer is.
    mdiArea->blockSignals(true);
}

void TMainForm::FormCreate() {
    packageDir.emplace(PackageDir::FromCurrentDirectory());
    runner.emplace(*packageDir, dialogs);
}

void TMainForm::SetGlobals(TGlobalObj* data) {
    globals = data;
    if (globals)
        ProblemMenuItems::ShowImages(*problemMenu, globals->MenuImages());
}

void TMainForm::ConnectMenu() {
    for (const TagHandler& handler : Handlers) {
        QAction* item = ProblemMenuItems::Find(*problemMenu, handler.Tag);
        const Handler run = handler.Run;
        connect(item, &QAction::triggered, this, [this, run] { (this->*run)(); });
    }
}

void TMainForm::AttachProblemMenu() {
    if (!detachedMenu)
        return;
    setMenuBar(detachedMenu.release());
}

QAction* TMainForm::Item(int tag) const {
    return ProblemMenuItems::Find(*problemMenu, tag);
}

void TMainForm::ProblemClick(int tag) {
    const ProblemEntry* entry = ProblemCatalogue::Find(tag);
    StartEditor(Item(tag), EditorOpenRequest::FilterPrefix(tag, menuTexts),
                entry->DefaultExtension);
}

void TMainForm::ToolClick(int tag) {
    const ProblemEntry* entry = ProblemCatalogue::Find(tag);
    runner->RunProgram(this, QDir(packageDir->Path()).filePath(entry->ToolProgram),
                       entry->ToolArguments, ProgramRunner::Shown);
}

void TMainForm::Datafiles1Click() {
    StartEditor(Item(ProblemCatalogue::DataFilesTag),
                menuTexts.Text(ProblemCatalogue::DataFilesFilterEntry),
                ProblemCatalogue::Find(ProblemCatalogue::DataFilesTag)->DefaultExtension);
}

void TMainForm::StartEditor(QAction* item, const QString& filterPrefix,
                            const QString& defaultExtension) {
    HandlerGuard::Run(dialogs, this, [&] {
        const int tag = ProblemMenuItems::Tag(item);
        const QString dataDirectory =
            tag == ProblemCatalogue::DataFilesTag ? QString() : settings.ReadDataDirectory();
        FileDialogRequest& dialog = globals->PreviewDlg();
        dialog = EditorOpenRequest::Build(tag, filterPrefix, defaultExtension, menuTexts,
                                          packageDir->DataPath(), dataDirectory);
        const QString fileName = globals->RunPreviewDlg(this);
        if (fileName.isEmpty() || !EditorOpenRequest::OpensEditor(tag))
            return;
        dialog.InitialDirectory = settings.ReadDataDirectory();
        // Data files opens a file of any type: whether its solver is here is that type's mark,
        // not the Data files entry's.
        const int typeTag =
            tag == ProblemCatalogue::DataFilesTag ? EditorOpenRequest::TagForFile(fileName) : tag;
        QAction* typeItem = Item(typeTag);
        emit EditorRequested(fileName,
                             ProblemMenuItems::ImageIndex(typeItem ? typeItem : item) > -1);
    });
}

bool TMainForm::FormHelp() {
    const QString page = packageDir->FilePath(QStringLiteral("MMHlp.htm"));
    // Without a browser the desktop does nothing visible; name the page so that the user can
    // open it by hand.
    if (!dialogs.OpenWithDesktop(QUrl::fromLocalFile(page)))
        dialogs.ShowWarning(this, HelpWithoutBrowserText(page));
    return true;
}

QString TMainForm::HelpWithoutBrowserText(const QString& page) {
    return QStringLiteral("No web browser could be started to show the help.\r\n"
                          "Open this page by hand:\r\n") +
           QDir::toNativeSeparators(page);
}

void TMainForm::HelpKey() {
    const QMdiSubWindow* active = mdiArea->activeSubWindow();
    if (auto* child = active ? dynamic_cast<MdiChildHelp*>(active->widget()) : nullptr) {
        child->ChildHelp();
        return;
    }
    FormHelp();
}

void TMainForm::OpenFile(const QString& path) {
    HandlerGuard::Run(dialogs, this, [&] {
        const int tag = EditorOpenRequest::TagForFile(path);
        const QString prefix = tag == ProblemCatalogue::DataFilesTag
                                   ? menuTexts.Text(ProblemCatalogue::DataFilesFilterEntry)
                                   : EditorOpenRequest::FilterPrefix(tag, menuTexts);
        FileDialogRequest& dialog = globals->PreviewDlg();
        dialog =
            EditorOpenRequest::Build(tag, prefix, ProblemCatalogue::Find(tag)->DefaultExtension,
                                     menuTexts, packageDir->DataPath(), QString());
        dialog.InitialDirectory = settings.ReadDataDirectory();
        dialog.FileName = QFileInfo(path).absoluteFilePath();
        emit EditorRequested(dialog.FileName, ProblemMenuItems::ImageIndex(Item(tag)) > -1);
    });
}

void TMainForm::BuildRecentMenu() {
    QAction* group = Item(84);
    QMenu* other = group ? group->menu<QMenu*>() : nullptr;
    if (!other)
        return;
    recentMenu = other->addMenu(QStringLiteral("Recent files"));
    recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    connect(recentMenu, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
    FillRecentMenu();
}

void TMainForm::FillRecentMenu() {
    recentMenu->clear();
    const QStringList files = RecentFiles::Read();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* item = recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu->setEnabled(!files.isEmpty());
}

void TMainForm::RememberFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return;
    RecentFiles::Add(QFileInfo(path).absoluteFilePath());
    FillRecentMenu();
}

void TMainForm::RememberMove(const QString& from, const QString& to) {
    RecentFiles::Rename(QFileInfo(from).absoluteFilePath(), QFileInfo(to).absoluteFilePath());
    FillRecentMenu();
}

void TMainForm::OpenRecent(const QString& path) {
    // Opened by its old name, a file that has gone would start from its blank template, and
    // Save would then write a second file beside the real one.
    if (!QFileInfo(path).isFile()) {
        RecentFiles::Remove(path);
        FillRecentMenu();
        dialogs.ShowWarning(this, RecentGoneText(path));
        return;
    }
    OpenFile(path);
}

QString TMainForm::RecentGoneText(const QString& path) {
    return QStringLiteral("%1 is no longer there: it was renamed, moved or deleted. It has been "
                          "taken off the recent files.")
        .arg(QDir::toNativeSeparators(path));
}

QString TMainForm::StillRunningText() {
    return QStringLiteral("A program is still running. Close the launcher when it has ended.");
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A run returns into the window that started it, which must then still be there.
    if (runner->IsRunning()) {
        event->ignore();
        dialogs.ShowWarning(this, StillRunningText());
        return;
    }
    mdiArea->closeAllSubWindows();
    for (const QMdiSubWindow* window : mdiArea->subWindowList())
        if (window->isVisible()) {
            event->ignore();
            return;
        }
    QMainWindow::closeEvent(event);
}

namespace {

QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << url.toLocalFile();
    return files;
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (globals && !DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (!globals || files.isEmpty())
        return;
    event->acceptProposedAction();
    for (const QString& file : files)
        OpenFile(file);
}

void TMainForm::Help1Click() {
    FormHelp();
}

void TMainForm::AboutClick() {
    TAboutBox box(*packageDir, dialogs, this);
    box.SetVersion(QStringLiteral("Version: ") + Version());
    box.MoveCaretToStart();
    box.exec();
}

QString TMainForm::Version() {
    return CommandLineHelp::Version();
}
