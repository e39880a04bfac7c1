#include "MopsaCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// Mopsa DATAFILE: expands the node and element series of a frame's data file and writes the
// verdict to "Error.txt" in the current directory; the verdict is printed as well.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const MopsaCommand::Outcome outcome =
        MopsaCommand::Run(QCoreApplication::arguments().mid(1), QDir::currentPath());
    std::printf("%s\n", qPrintable(outcome.Verdict));
    return outcome.ExitCode;
}
