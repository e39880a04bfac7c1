#include "CommandLineHelp.h"
#include "PackExtractor.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

// PKUNZIP [-options] PACK [DIRECTORY]: unpacks PACK into DIRECTORY, or into the current
// directory, replacing files of the same names. Options ("-#", "-O") are accepted and need no
// action: files are always overwritten. Failures go to standard error with a non-zero exit
// status.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("PKUNZIP"),
        QStringLiteral("Unpacks a language pack, replacing files of the same names."),
        {{QStringLiteral("PACK"), QStringLiteral("The pack (a zip file).")},
         {QStringLiteral("[DIRECTORY]"),
          QStringLiteral("Where to unpack (the current directory by default).")}},
        {QCommandLineOption(QStringLiteral("#"), QStringLiteral("Accepted; no action.")),
         QCommandLineOption(QStringLiteral("O"), QStringLiteral("Accepted; files are always "
                                                                "overwritten."))},
        QStringLiteral("  0  unpacked\n  1  the pack could not be unpacked\n"
                       "  2  wrong command line")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QCoreApplication application(argc, argv);
    QStringList positional;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        if (!argument.startsWith(u'-'))
            positional << argument;
    if (positional.size() > 2) {
        std::fprintf(stderr, "PKUNZIP: more than one pack given\n");
        return 2;
    }
    if (positional.isEmpty()) {
        std::fprintf(stderr, "usage: PKUNZIP [-# -O] PACK [DIRECTORY]\n");
        return 2;
    }
    const QString target = positional.size() > 1 ? positional[1] : QDir::currentPath();
    if (!QDir(target).exists()) {
        std::fprintf(stderr, "PKUNZIP: no directory %s\n", qPrintable(target));
        return 1;
    }
    const PackExtractor::Result result = PackExtractor::Extract(positional[0], target);
    if (!result.Ok) {
        std::fprintf(stderr, "PKUNZIP: %s\n", qPrintable(result.Error));
        return 1;
    }
    return 0;
}
