#include "CommandLineHelp.h"
#include "ReportCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("quarvel-report"),
        QStringLiteral("Prints the characteristics of section files as the section editor's "
                       "results panel shows them, or as one JSON object per file."),
        {{QStringLiteral("FILE.geo..."), QStringLiteral("One or more section files.")}},
        {QCommandLineOption(QStringLiteral("json"), QStringLiteral("Print JSON."))},
        QStringLiteral("  0  every file was reported\n  1  a file could not be reported\n"
                       "  2  wrong command line")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunReportCommand(QCoreApplication::arguments().mid(1), out, err);
}
