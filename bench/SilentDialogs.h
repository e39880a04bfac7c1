#pragma once

#include "UserDialogs.h"

// Answers every question of a window under measurement at once, without showing anything.
class SilentDialogs : public UserDialogs {
public:
    Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::No; }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    void ShowError(QWidget*, const QString&) override {}
    void ShowWarning(QWidget*, const QString&) override {}
    void ShowInformation(QWidget*, const QString&) override {}
    QString GetOpenFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    QString GetSaveFileName(QWidget*, const FileDialogRequest&) override { return {}; }
    bool OpenWithDesktop(const QUrl&) override { return true; }
};
