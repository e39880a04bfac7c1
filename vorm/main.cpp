#include "CommandLineHelp.h"
#include "EditorPickers.h"
#include "EditorWindows.h"
#include "LauncherSettings.h"
#include "QtUserDialogs.h"
#include "TGlobalObj.h"
#include "TMainForm.h"
#include "VormIcons.h"
#include "VormStartup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

// Vorm runs in its package directory: every program, help file and language pack of the
// package is found from there. Data files named on the command line (as the desktop passes
// a double-clicked file) open in editor windows.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Vorm"),
        QStringLiteral("The launcher of the structural analysis package: its menus open data "
                       "files in editor windows and start the checker, the solvers, the "
                       "generators and the viewers. Nothing is written into the package "
                       "directory: each program run works in a fresh folder of the user's "
                       "runtime or cache folder, and help pages and language texts go into "
                       "the user's data folder."),
        {{QStringLiteral("[DATAFILE...]"),
          QStringLiteral("Data files to open in editor windows.")}},
        {},
        QStringLiteral("  0  the launcher was closed")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORM"));
    QApplication::setApplicationVersion(CommandLineHelp::Version());
    QApplication::setWindowIcon(VormIcons::ProgramIcon());
    QApplication::setDesktopFileName(QStringLiteral("vorm"));
    // The files are named from where the launcher was started.
    QStringList files;
    for (const QString& argument : QApplication::arguments().mid(1))
        files << QFileInfo(argument).absoluteFilePath();
    QDir::setCurrent(QApplication::applicationDirPath());
    QtUserDialogs dialogs;
    const LauncherSettings settings;
    QtEditorPickers pickers;
    VormStartup startup(dialogs, settings);
    startup.Run();
    startup.Globals()->UsePreviewDialog(settings, startup.MainForm());
    // Owned by the main window.
    new EditorWindows(*startup.MainForm(), dialogs, settings, pickers);
    startup.OpenWhenReady(files);
    return QApplication::exec();
}
