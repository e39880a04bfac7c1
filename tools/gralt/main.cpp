#include "GraltWindow.h"
#include "ProblemNumber.h"
#include "QtUserDialogs.h"

#include <QApplication>
#include <QDir>

// Gralt DATAFILE: the region mesher of the toolset. It keeps its files in the "data" folder
// beside the program: the project "unnamed1.spj", read at the start, and on OK the project and
// the mesh "unnamed1.d13". Exit status 0 after OK, 1 after Cancel.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString dataFile = arguments.value(1);
    const ProblemNumber number = ProblemNumber::FromFileName(dataFile);
    QtUserDialogs dialogs;
    GraltWindow window(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("data")),
                       number.Valid ? number.Problem : 9, dataFile, dialogs);
    return window.exec() == QDialog::Accepted ? 0 : 1;
}
