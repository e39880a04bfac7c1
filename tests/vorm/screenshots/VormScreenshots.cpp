// Takes the documentation's pictures of Vorm: vorm-screenshots OUTPUT_DIR
// Runs the launcher offscreen on a copy of the built package, chooses English and grabs the
// main window with a menu open, the language window, the About box and the Halbrin tool.
#include "HalbrinWindow.h"
#include "LauncherSettings.h"
#include "PackageSettings.h"
#include "ProblemMenuItems.h"
#include "QtUserDialogs.h"
#include "TAboutBox.h"
#include "TLanguageForm.h"
#include "TMainForm.h"
#include "VormStartup.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool Save(const QPixmap& pixmap, const QString& directory, const QString& name) {
    const QString path = QDir(directory).filePath(name);
    const bool saved = pixmap.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

// The main window with one of its menus dropped down: the menu is a window of its own, so it
// is painted onto the main window's picture where it stands.
QPixmap WithMenuOpen(TMainForm& main, int groupTag) {
    QMenuBar* bar = main.ProblemMenu();
    QAction* group = ProblemMenuItems::Find(*bar, groupTag);
    QMenu* menu = group->menu<QMenu*>();
    bar->setActiveAction(group);
    Settle();
    QPixmap picture = main.grab();
    const QPoint offset = menu->mapToGlobal(QPoint(0, 0)) - main.mapToGlobal(QPoint(0, 0));
    QPainter painter(&picture);
    painter.drawPixmap(offset, menu->grab());
    painter.end();
    menu->hide();
    Settle();
    return picture;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: vorm-screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir package;
    QTemporaryDir store;
    PackageSettings::SetLocationForTests(store.path());
    const QDir source(QStringLiteral(VORM_PACKAGE_DIR));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), QDir(package.path()).filePath(name));
    QDir::setCurrent(package.path());

    QtUserDialogs dialogs;
    const LauncherSettings settings;
    VormStartup startup(dialogs, settings);
    startup.Run();
    TMainForm& main = *startup.MainForm();
    main.showNormal();
    main.resize(860, 560);
    Settle();

    bool ok = Save(main.grab(), output, QStringLiteral("vorm-language.png"));
    startup.LanguageForm()->LanguageGroupClick(0);
    Settle();
    ok = Save(WithMenuOpen(main, 81), output, QStringLiteral("vorm-main-menu.png")) && ok;
    ok = Save(WithMenuOpen(main, 84), output, QStringLiteral("vorm-other-menu.png")) && ok;

    TAboutBox about(main.Package(), dialogs, &main);
    about.SetVersion(QStringLiteral("Version: ") + TMainForm::Version());
    about.MoveCaretToStart();
    about.show();
    Settle();
    ok = Save(about.grab(), output, QStringLiteral("vorm-about.png")) && ok;
    about.hide();

    HalbrinWindow halbrin;
    halbrin.findChildren<QRadioButton*>().at(1)->setChecked(true);
    const QList<QLineEdit*> fields = halbrin.findChildren<QLineEdit*>();
    const QStringList values{"120", "-40", "30", "25", "10", "-15"};
    for (int i = 0; i < fields.size() && i < values.size(); ++i)
        fields[i]->setText(values[i]);
    for (QPushButton* button : halbrin.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("&Calculate"))
            button->click();
    halbrin.show();
    Settle();
    ok = Save(halbrin.grab(), output, QStringLiteral("vorm-halbrin.png")) && ok;
    return ok ? 0 : 1;
}
