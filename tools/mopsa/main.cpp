#include "CommandLineHelp.h"
#include "MopsaCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// Mopsa DATAFILE: expands the node and element series of a frame's data file and writes the
// verdict to "Error.txt" in the current directory; the verdict is printed as well.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Mopsa"),
        QStringLiteral("The frame generator: expands the node and element series of a frame's "
                       "data file in place. The verdict goes to \"Error.txt\" in the working "
                       "directory and to standard output."),
        {{QStringLiteral("DATAFILE"), QStringLiteral("The frame's data file.")}},
        {},
        QStringLiteral("  0  accepted\n  1  rejected\n  2  wrong command line\n"
                       "  3  a file could not be written")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QCoreApplication application(argc, argv);
    const MopsaCommand::Outcome outcome =
        MopsaCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath());
    std::printf("%s\n", qPrintable(outcome.Verdict));
    return outcome.ExitCode;
}
