#include "CommandLineHelp.h"
#include "HalbrinWindow.h"

#include <QApplication>

// Halbrin: principal stresses and directions of a plane or spatial stress state.
int main(int argc, char* argv[]) {
    const ProgramHelp help{
        QStringLiteral("Halbrin"),
        QStringLiteral("Principal stresses and directions of a plane or spatial stress state, "
                       "in a window."),
        {},
        {},
        QStringLiteral("  0  the window was closed")};
    if (const auto answered = CommandLineHelp::Answer(argc, argv, help))
        return *answered;
    QApplication application(argc, argv);
    HalbrinWindow window;
    window.show();
    return QApplication::exec();
}
