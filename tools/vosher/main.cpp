#include "CommandLineHelp.h"
#include "PackageSettings.h"
#include "VosherCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <stdexcept>

// Vosher DATAFILE [MESHFILE]: puts the mesher's mesh into the data file and leaves its verdict
// in "Error.txt" of the current directory, where the launcher reads it; it is printed as well.
// The mesher's data folder comes from the package's settings, as the launcher finds it; the
// program lies in the package directory.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Vosher"),
        QStringLiteral("The region mesher's follow-up: puts the mesh into the data file. The "
                       "verdict goes to \"Error.txt\" in the working directory and is printed."),
        {{QStringLiteral("DATAFILE"), QStringLiteral("The data file that takes the mesh.")},
         {QStringLiteral("[MESHFILE]"),
          QStringLiteral("The mesh (the mesher's \"unnamed1.d13\" by default).")}},
        {},
        QStringLiteral("  0  done\n  1  refused\n  2  wrong command line\n"
                       "  3  a file could not be written")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QCoreApplication application(argc, argv);
    VosherCommand::Outcome outcome;
    try {
        const QString meshes =
            PackageSettings::ToolsetDataDirectory(QCoreApplication::applicationDirPath());
        outcome =
            VosherCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath(), meshes);
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
