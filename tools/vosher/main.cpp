#include "PackageSettings.h"
#include "VosherCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <stdexcept>

// Vosher DATAFILE [MESHFILE]: puts the mesher's mesh into the data file. The toolset
// directory comes from the package's settings, as the launcher finds it; the program lies in
// the package directory.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QString toolset;
    try {
        toolset = PackageSettings::ToolsetDirectory(QCoreApplication::applicationDirPath());
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "Vosher: %s\n", error.what());
        return 1;
    }
    const VosherCommand::Outcome outcome =
        VosherCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath(), toolset);
    std::fprintf(outcome.ExitCode == 0 ? stdout : stderr, "Vosher: %s\n",
                 qPrintable(outcome.Message));
    return outcome.ExitCode;
}
