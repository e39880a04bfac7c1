#include "PackageSettings.h"
#include "VosherCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <stdexcept>

// Vosher DATAFILE [MESHFILE]: puts the mesher's mesh into the data file and leaves its verdict
// in "Error.txt" of the current directory, where the launcher reads it; it is printed as well.
// The toolset directory comes from the package's settings, as the launcher finds it; the
// program lies in the package directory.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    VosherCommand::Outcome outcome;
    try {
        const QString toolset =
            PackageSettings::ToolsetDirectory(QCoreApplication::applicationDirPath());
        outcome =
            VosherCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath(), toolset);
    } catch (const std::runtime_error& error) {
        outcome = VosherCommand::Report(
            VosherCommand::Refused(1, QString::fromLocal8Bit(error.what())), QDir::currentPath());
    }
    std::FILE* stream = outcome.ExitCode == 0 ? stdout : stderr;
    std::fprintf(stream, "Vosher: %s\n", qPrintable(outcome.Verdict));
    for (const QString& note : outcome.Notes)
        std::fprintf(stream, "%s\n", qPrintable(note));
    return outcome.ExitCode;
}
