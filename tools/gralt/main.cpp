#include "CommandLineHelp.h"
#include "GraltWindow.h"
#include "PackageSettings.h"
#include "ProblemNumber.h"
#include "QtUserDialogs.h"

#include <QApplication>
#include <QDir>

// Gralt DATAFILE: the region mesher of the toolset. It keeps its files in its data folder (see
// PackageSettings::ToolsetDataDirectory): the project "unnamed1.spj", read at the start, and on
// OK the project and the mesh "unnamed1.d13". Exit status 0 after OK, 1 after Cancel.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Gralt"),
        QStringLiteral("The region mesher: draws regions over a plane and meshes them. Its "
                       "project \"unnamed1.spj\" and mesh \"unnamed1.d13\" are kept in the "
                       "user's data folder (VORM/Yornik/data), or in \"data\" of the toolset "
                       "set as YornikDirectory."),
        {{QStringLiteral("DATAFILE"), QStringLiteral("The data file the mesh is meant for.")}},
        {},
        QStringLiteral("  0  OK: the mesh was written\n  1  cancelled")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString dataFile = arguments.value(1);
    const ProblemNumber number = ProblemNumber::FromFileName(dataFile);
    QtUserDialogs dialogs;
    // The program lies in the toolset folder of the package.
    const QString package = QDir(QApplication::applicationDirPath()).filePath(QStringLiteral(".."));
    const QString data = PackageSettings::ToolsetDataDirectory(package);
    QDir().mkpath(data);
    GraltWindow window(data, number.Valid ? number.Problem : 9, dataFile, dialogs);
    return window.exec() == QDialog::Accepted ? 0 : 1;
}
