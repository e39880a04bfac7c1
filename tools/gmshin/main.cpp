#include "GmshinCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

// Where the templates lie: beside the program in the build's package directory, in the
// package's data folder once installed (programs and data are kept apart there).
static QString TemplateDirectory() {
    const QString own = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(QDir(own).filePath(QStringLiteral("Tablesw.dat"))))
        return own;
    return QDir::cleanPath(QDir(own).filePath(QStringLiteral(VORM_DATA_FROM_PROGRAMS)));
}

// Gmshin: puts a Gmsh mesh into a data file, or lists the mesh's physical groups.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Gmshin"));
    const GmshinCommand::Outcome outcome =
        GmshinCommand::Run(QCoreApplication::arguments(), QDir::currentPath(), TemplateDirectory());
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
