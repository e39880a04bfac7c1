#pragma once

#include "SearchEngine.h"

#include <QString>
#include <functional>

class QPlainTextEdit;
class QWidget;
class UserDialogs;

// What the find and replace dialogs hand over with each request.
struct SearchRequest {
    QString FindText;
    QString ReplaceText;
    bool WholeWord = false;
    bool MatchCase = false;
    bool Down = true;
};

// Find and replace in the editor's text field: forwards from the end of the selection or
// backwards from its start, with the wrap-around questions, and the replacement loop that
// asks before each change. Remembers the last search text and options.
class TextFinder {
public:
    TextFinder(QPlainTextEdit& field, UserDialogs& dialogs, QWidget* owner)
        : field(field), dialogs(dialogs), owner(owner) {}

    // One search; selects the match or asks whether to wrap around, and says "Search text
    // not found!" when a search that started at the wrap position (or wrapped once) fails.
    void Find(const SearchRequest& request);
    // The interactive replacement: asks "Replce this occurence?" for the selected match (a
    // search first when nothing is selected). `replaced` runs after each replacement.
    void Replace(const SearchRequest& request, const std::function<void()>& replaced);

    const QString& SearchText() const { return searchText; }
    SearchEngine::Options SearchOptions() const { return options; }

    static QString WrapQuestion(bool down);

private:
    void ReplaceOnce(const SearchRequest& request, const std::function<void()>& replaced);

    QPlainTextEdit& field;
    UserDialogs& dialogs;
    QWidget* owner;
    QString searchText;
    SearchEngine::Options options;
};
