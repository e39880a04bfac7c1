#pragma once

#include <QPointer>
#include <QStringList>
#include <memory>

class LauncherSettings;
class TAboutBox;
class TGlobalObj;
class TLanguageForm;
class TMainForm;
class UserDialogs;

// The launcher's start: the main window (which takes the package directory from the working
// directory), the language window inside it, the data module and the hidden About box, in
// this order. The caller then runs the message loop.
class VormStartup {
public:
    VormStartup(UserDialogs& dialogs, const LauncherSettings& settings);
    ~VormStartup();

    void Run();
    // Opens data files named on the command line in editor windows once the language has
    // been chosen (the menu texts and the marks of the installed solvers come with it), or at
    // once when no language window is open.
    void OpenWhenReady(const QStringList& files);

    TMainForm* MainForm() const { return mainForm.get(); }
    // Null once the language window has closed.
    TLanguageForm* LanguageForm() const;
    TGlobalObj* Globals() const { return globals.get(); }
    TAboutBox* AboutBox() const;

private:
    UserDialogs& dialogs;
    const LauncherSettings& settings;
    // The data module goes before the main window that refers to it.
    std::unique_ptr<TMainForm> mainForm;
    std::unique_ptr<TGlobalObj> globals;
    QPointer<TLanguageForm> languageForm;
    QPointer<TAboutBox> aboutBox;
};
