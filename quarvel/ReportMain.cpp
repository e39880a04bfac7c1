#include "ReportCommand.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunReportCommand(QCoreApplication::arguments().mid(1), out, err);
}
