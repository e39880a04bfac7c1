#pragma once

#include "LanguagePacks.h"

#include <QList>
#include <QMdiSubWindow>
#include <QPointer>

class QButtonGroup;
class QGroupBox;
class TMainForm;

// The language window, shown at start-up inside the main window: it lists the languages whose
// pack is present. A choice unpacks the pack into the package directory, loads the menu texts,
// gives the main window its title and menu and closes the window; on an error the window
// stays open for another choice.
class TLanguageForm : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit TLanguageForm(TMainForm& mainForm);

    // The languages offered, in the order listed.
    QStringList Languages() const;
    // The user picks the entry at `index`; picking the entry picked last does nothing.
    void LanguageGroupClick(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void Centre();

    TMainForm& mainForm;
    QPointer<QWidget> viewport; // of the main window's MDI area
    QGroupBox* languageGroup = nullptr;
    QButtonGroup* buttons = nullptr;
    QList<LanguagePack> packs;
    int lastChoice = -1;
};
