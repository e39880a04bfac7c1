#include "PackExtractor.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

// PKUNZIP [-options] PACK: unpacks PACK into the current directory, replacing files of the
// same names. Options ("-#", "-O") are accepted and need no action: files are always
// overwritten. Failures go to standard error with a non-zero exit status.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QString pack;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString& argument : arguments) {
        if (argument.startsWith(u'-'))
            continue;
        if (!pack.isEmpty()) {
            std::fprintf(stderr, "PKUNZIP: more than one pack given\n");
            return 2;
        }
        pack = argument;
    }
    if (pack.isEmpty()) {
        std::fprintf(stderr, "usage: PKUNZIP [-# -O] PACK\n");
        return 2;
    }
    const PackExtractor::Result result = PackExtractor::Extract(pack, QDir::currentPath());
    if (!result.Ok) {
        std::fprintf(stderr, "PKUNZIP: %s\n", qPrintable(result.Error));
        return 1;
    }
    return 0;
}
