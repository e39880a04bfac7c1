#include "VormStartup.h"

#include "TAboutBox.h"
#include "TGlobalObj.h"
#include "TLanguageForm.h"
#include "TMainForm.h"

#include <QTimer>

VormStartup::VormStartup(UserDialogs& dialogs, const LauncherSettings& settings)
    : dialogs(dialogs), settings(settings) {}

VormStartup::~VormStartup() {
    // The main window's children (the language window, the About box) go with it; the data
    // module only after nothing can reach it any more.
    mainForm.reset();
    globals.reset();
}

void VormStartup::Run() {
    mainForm = std::make_unique<TMainForm>(dialogs, settings);
    languageForm = new TLanguageForm(*mainForm);
    globals = std::make_unique<TGlobalObj>(mainForm->Package(), mainForm->Texts(), dialogs);
    mainForm->SetGlobals(globals.get());
    aboutBox = new TAboutBox(mainForm->Package(), dialogs, mainForm.get(),
                             TAboutBox::HelpFileErrors::Ignore);
    aboutBox->hide();
    mainForm->showMaximized();
}

void VormStartup::OpenWhenReady(const QStringList& files) {
    TMainForm* main = mainForm.get();
    const auto open = [main, files] {
        for (const QString& file : files)
            main->OpenFile(file);
    };
    if (!languageForm) {
        open();
        return;
    }
    // From the event loop, once the language window is wholly gone.
    QObject::connect(languageForm, &QObject::destroyed, main,
                     [main, open] { QTimer::singleShot(0, main, open); });
}

TLanguageForm* VormStartup::LanguageForm() const {
    return languageForm;
}

TAboutBox* VormStartup::AboutBox() const {
    return aboutBox;
}
