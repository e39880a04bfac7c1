#include "TLanguageForm.h"

#include "HandlerGuard.h"
#include "MenuTexts.h"
#include "ProblemCatalogue.h"
#include "TGlobalObj.h"
#include "TMainForm.h"
#include "VormIcons.h"

#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QMdiArea>
#include <QRadioButton>
#include <QVBoxLayout>

TLanguageForm::TLanguageForm(TMainForm& mainForm) : mainForm(mainForm) {
    setWindowTitle(QStringLiteral("Language"));
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // Freed when it closes, by a choice or by its close box.
    setAttribute(Qt::WA_DeleteOnClose);

    languageGroup = new QGroupBox(this);
    buttons = new QButtonGroup(this);
    new QVBoxLayout(languageGroup);
    setWidget(languageGroup);
    connect(buttons, &QButtonGroup::idClicked, this, &TLanguageForm::LanguageGroupClick);

    FormCreate();

    setWindowIcon(VormIcons::ProgramIcon());
    QMdiArea* area = mainForm.MdiArea();
    area->addSubWindow(this);
    resize(171, 116);
    // The frame gets its size only when it is shown: keep the window centred until then.
    viewport = area->viewport();
    viewport->installEventFilter(this);
    Centre();
    show();
}

void TLanguageForm::Centre() {
    if (!viewport)
        return;
    const QSize room = viewport->size();
    move(std::max(0, (room.width() - width()) / 2), std::max(0, (room.height() - height()) / 2));
}

bool TLanguageForm::eventFilter(QObject* watched, QEvent* event) {
    // Compared by pointer only: the filter also sees the main window's last events while it is
    // being destroyed.
    if (watched == viewport && event->type() == QEvent::Resize)
        Centre();
    return QMdiSubWindow::eventFilter(watched, event);
}

void TLanguageForm::FormCreate() {
    for (QAbstractButton* button : buttons->buttons())
        delete button;
    packs = LanguagePacks::Present(mainForm.Package());
    for (int index = 0; index < packs.size(); ++index) {
        auto* button = new QRadioButton(packs[index].Language, languageGroup);
        languageGroup->layout()->addWidget(button);
        buttons->addButton(button, index);
    }
}

QStringList TLanguageForm::Languages() const {
    QStringList languages;
    for (const LanguagePack& pack : packs)
        languages << pack.Language;
    return languages;
}

void TLanguageForm::LanguageGroupClick(int index) {
    if (index < 0 || index >= packs.size() || index == lastChoice)
        return;
    lastChoice = index;
    if (QAbstractButton* button = buttons->button(index))
        button->setChecked(true);

    const PackageDir& package = mainForm.Package();
    // The unpacker is found by the usual program search, the package directory first. The
    // texts go into the user's folder: the package directory may be read-only.
    // A failed start names the pack as the user knows the command.
    QDir().mkpath(package.UserPath());
    const QStringList options{QStringLiteral("-#"), QStringLiteral("-O")};
    mainForm.Runner().RunProgram(
        this, QStringLiteral("PKUNZIP"),
        options + QStringList{package.FilePath(packs[index].PackFile),
                              QDir::toNativeSeparators(package.UserPath() + u'/')},
        ProgramRunner::Hidden,
        ProgramRunner::CommandLine(QStringLiteral("PKUNZIP"),
                                   options + QStringList{packs[index].PackFile}));

    const bool done = HandlerGuard::Run(mainForm.Dialogs(), &mainForm, [this] {
        mainForm.Globals()->LoadMenuTexts(*mainForm.ProblemMenu());
        mainForm.setWindowTitle(mainForm.Texts().Text(ProblemCatalogue::TitleEntry));
        mainForm.AttachProblemMenu();
    });
    if (done)
        close();
}
