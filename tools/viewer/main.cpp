#include "ViewerLaunch.h"
#include "ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>

// The model viewer, installed as Kaddle, Pantex, Ciffon and Brimto: NAME DATAFILE [E|R].
// It checks the data file, leaves the verdict in "Error.txt" in the current directory and,
// when the data is sound, shows the model in a maximised window.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const ViewerLaunch::Outcome outcome =
        ViewerLaunch::Prepare(QApplication::arguments().mid(1), QDir::currentPath());
    std::printf("%s\n", qPrintable(outcome.Verdict));
    std::fflush(stdout);
    if (!outcome.ShowWindow)
        return outcome.ExitCode;
    ViewerWindow window(QFileInfo(QApplication::applicationFilePath()).baseName(), outcome);
    // Without a window manager a maximised window keeps its first size: start it as large as
    // the screen's free area, so that it fills the screen either way.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    QApplication::exec();
    return outcome.ExitCode;
}
