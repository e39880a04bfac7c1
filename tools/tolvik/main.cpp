#include "TolvikCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// Tolvik DATAFILE [XYZ]: checks an input-data file of the package and writes the verdict to
// "Error.txt" in the current directory; with XYZ also the model files "XYZ" and "J1J2". The
// verdict is printed as well, for use from a terminal.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const TolvikCommand::Outcome outcome =
        TolvikCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath());
    std::printf("%s\n", qPrintable(outcome.Verdict));
    return outcome.ExitCode;
}
