#pragma once

#include "UserDialogs.h"

#include <QList>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>

// Dialogs answered in advance: each question or file dialog takes the next scripted answer
// (Cancel and an empty file name when none is left) and everything shown is recorded.
class ScriptedDialogs : public UserDialogs {
public:
    struct Shown {
        QString Kind; // "question", "error", "warning", "information", "open", "save"
        QString Text; // message text, or the dialog's title
        FileDialogRequest Request;
    };

    Answer AskYesNoCancel(QWidget*, const QString& text) override {
        shown.push_back({QStringLiteral("question"), text, {}});
        return Next(answers, Answer::Cancel);
    }
    bool AskYesNo(QWidget*, const QString& text) override {
        shown.push_back({QStringLiteral("question"), text, {}});
        return Next(answers, Answer::No) == Answer::Yes;
    }
    ReplaceAnswer AskYesCancelAll(QWidget*, const QString& text) override {
        shown.push_back({QStringLiteral("question"), text, {}});
        return Next(replaceAnswers, ReplaceAnswer::Cancel);
    }
    void ShowError(QWidget*, const QString& text) override {
        shown.push_back({QStringLiteral("error"), text, {}});
    }
    void ShowWarning(QWidget*, const QString& text) override {
        shown.push_back({QStringLiteral("warning"), text, {}});
        if (whileShown)
            whileShown();
    }
    void ShowInformation(QWidget*, const QString& text) override {
        shown.push_back({QStringLiteral("information"), text, {}});
    }
    QString GetOpenFileName(QWidget*, const FileDialogRequest& request) override {
        shown.push_back({QStringLiteral("open"), request.Title, request});
        return Next(fileNames, QString());
    }
    QString GetSaveFileName(QWidget*, const FileDialogRequest& request) override {
        shown.push_back({QStringLiteral("save"), request.Title, request});
        return Next(fileNames, QString());
    }
    bool OpenWithDesktop(const QUrl& url) override {
        opened << url;
        return desktopOpens;
    }

    QStringList Texts(const QString& kind) const {
        QStringList texts;
        for (const Shown& s : shown)
            if (s.Kind == kind)
                texts << s.Text;
        return texts;
    }

    std::deque<Answer> answers;
    std::deque<ReplaceAnswer> replaceAnswers;
    std::deque<QString> fileNames;
    QList<Shown> shown;
    QList<QUrl> opened;
    bool desktopOpens = true; // false: no browser or handler could be started
    // Runs while a warning is up, as a real message box runs its own event loop.
    std::function<void()> whileShown;

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
