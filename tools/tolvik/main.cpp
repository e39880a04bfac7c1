#include "CommandLineHelp.h"
#include "TolvikCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// Tolvik DATAFILE [XYZ]: checks an input-data file of the package and writes the verdict to
// "Error.txt" in the current directory; with XYZ also the model files "XYZ" and "J1J2". The
// verdict is printed as well, for use from a terminal.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Tolvik"),
        QStringLiteral("Checks an input-data file of the package. The verdict goes to "
                       "\"Error.txt\" in the working directory and to standard output; with "
                       "XYZ the model files \"XYZ\" and \"J1J2\" are written there too."),
        {{QStringLiteral("DATAFILE"), QStringLiteral("The data file to check.")},
         {QStringLiteral("[XYZ]"), QStringLiteral("Also write the model files.")}},
        {},
        QStringLiteral("  0  accepted\n  1  rejected\n  2  wrong command line\n"
                       "  3  a file could not be written")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QCoreApplication application(argc, argv);
    const TolvikCommand::Outcome outcome =
        TolvikCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath());
    std::printf("%s\n", qPrintable(outcome.Verdict));
    return outcome.ExitCode;
}
