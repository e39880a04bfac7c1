#include "ViewerLaunch.h"
#include "ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <cstdio>

// The model viewer, installed as Kaddle, Pantex, Ciffon and Brimto: NAME DATAFILE [E|R].
// It checks the data file, leaves the verdict in "Error.txt" in the current directory and,
// when the data is sound, shows the model in a maximised window. NAME --vtu DATAFILE and
// NAME --csv DATAFILE write the results beside the data file instead (see --help).
int main(int argc, char* argv[]) {
    // Help, the version and the exports need no display: they run where none is.
    if (ViewerLaunch::Headless(argc, argv)) {
        QCoreApplication application(argc, argv);
        const ViewerLaunch::Outcome outcome =
            ViewerLaunch::Prepare(QCoreApplication::arguments().mid(1), QDir::currentPath(),
                                  QFileInfo(QCoreApplication::applicationFilePath()).baseName());
        std::fprintf(outcome.ExitCode == 0 ? stdout : stderr, "%s\n", qPrintable(outcome.Verdict));
        return outcome.ExitCode;
    }
    QApplication application(argc, argv);
    const QString name = QFileInfo(QApplication::applicationFilePath()).baseName();
    const ViewerLaunch::Outcome outcome =
        ViewerLaunch::Prepare(QApplication::arguments().mid(1), QDir::currentPath(), name);
    std::printf("%s\n", qPrintable(outcome.Verdict));
    std::fflush(stdout);
    if (!outcome.ShowWindow)
        return outcome.ExitCode;
    ViewerWindow window(name, outcome);
    // Without a window manager a maximised window keeps its first size: start it as large as
    // the screen's free area, so that it fills the screen either way.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    QApplication::exec();
    return outcome.ExitCode;
}
