#include "QtUserDialogs.h"
#include "TForm1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtUserDialogs dialogs;
    TForm1 form(dialogs, QApplication::arguments().mid(1));
    form.showMaximized();
    return QApplication::exec();
}
