#include "EditorPickers.h"
#include "EditorWindows.h"
#include "LauncherSettings.h"
#include "QtUserDialogs.h"
#include "TGlobalObj.h"
#include "TMainForm.h"
#include "VormIcons.h"
#include "VormStartup.h"

#include <QApplication>

// Vorm is started in its package directory: every program, help file and language pack of
// the package is found there.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORM"));
    QApplication::setWindowIcon(VormIcons::ProgramIcon());
    QtUserDialogs dialogs;
    const LauncherSettings settings;
    QtEditorPickers pickers;
    VormStartup startup(dialogs, settings);
    startup.Run();
    startup.Globals()->UsePreviewDialog(settings, startup.MainForm());
    // Owned by the main window.
    new EditorWindows(*startup.MainForm(), dialogs, settings, pickers);
    return QApplication::exec();
}
