#include "PrinterSource.h"
#include "QtUserDialogs.h"
#include "TForm1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtUserDialogs dialogs;
    SystemPrinterSource printers;
    TForm1 form(dialogs, printers, QApplication::arguments().mid(1));
    form.showMaximized();
    return QApplication::exec();
}
