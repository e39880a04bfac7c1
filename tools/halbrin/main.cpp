#include "HalbrinWindow.h"

#include <QApplication>

// Halbrin: principal stresses and directions of a plane or spatial stress state.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    HalbrinWindow window;
    window.show();
    return QApplication::exec();
}
