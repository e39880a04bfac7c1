#include "GmshinCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

// Gmshin: puts a Gmsh mesh into a data file, or lists the mesh's physical groups. The package
// directory, where the templates lie, is the program's own.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Gmshin"));
    const GmshinCommand::Outcome outcome = GmshinCommand::Run(
        QCoreApplication::arguments(), QDir::currentPath(), QCoreApplication::applicationDirPath());
    for (const QString& line : outcome.Output)
        std::fprintf(stdout, "%s\n", qPrintable(line));
    if (!outcome.Verdict.isEmpty()) {
        std::FILE* stream = outcome.ExitCode == 0 ? stdout : stderr;
        std::fprintf(stream, "Gmshin: %s\n", qPrintable(outcome.Verdict));
        for (const QString& note : outcome.Notes)
            std::fprintf(stream, "%s\n", qPrintable(note));
    }
    return outcome.ExitCode;
}
