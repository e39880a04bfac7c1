#include "CommandLineHelp.h"
#include "PrinterSource.h"
#include "QtUserDialogs.h"
#include "TForm1.h"

#include <QApplication>
#include <QFileInfo>

// Quarvel [S|G] [FILE.geo]: the section editor. "S" starts it for sections, any other mode
// word for geometry, and either hides the mode switch (the launcher's tools start it so); a
// section file named (as the desktop passes a double-clicked one) is opened at once.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Quarvel"),
        QStringLiteral("The section editor: draws a cross-section from shapes and computes its "
                       "characteristics."),
        {{QStringLiteral("[S|G]"),
          QStringLiteral("Start for sections (S) or geometry (G), without the mode switch "
                         ".")},
         {QStringLiteral("[FILE.geo]"), QStringLiteral("A section file to open.")}},
        {},
        QStringLiteral("  0  the editor was closed")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(CommandLineHelp::Version());
    QApplication::setDesktopFileName(QStringLiteral("vorm-quarvel"));
    QStringList mode;
    QString file;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        if (argument.endsWith(QLatin1String(".geo"), Qt::CaseInsensitive) &&
            QFileInfo(argument).isFile())
            file = argument;
        else
            mode << argument;
    }
    QtUserDialogs dialogs;
    SystemPrinterSource printers;
    TForm1 form(dialogs, printers, mode);
    form.showMaximized();
    if (!file.isEmpty()) {
        try {
            form.OpenSectionFile(file);
        } catch (const std::exception& error) {
            dialogs.ShowError(&form, QString::fromUtf8(error.what()));
        }
    }
    return QApplication::exec();
}
