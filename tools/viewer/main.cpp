#include "ViewerLaunch.h"
#include "ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
    window.showMaximized();
    QApplication::exec();
    return outcome.ExitCode;
}
