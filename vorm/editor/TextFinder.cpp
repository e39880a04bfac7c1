#include "TextFinder.h"

#include "UserDialogs.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

QString TextFinder::WrapQuestion(bool down) {
    return down ? QStringLiteral("Finished searching the document!\r\n"
                                 "  Continue from the beginning?")
                : QStringLiteral("Finished searching the document!\r\n"
                                 "     Continue from the end?");
}

void TextFinder::Find(const SearchRequest& request) {
    searchText = request.FindText;
    options.WholeWord = request.WholeWord;
    options.MatchCase = request.MatchCase;

    const QString text = field.toPlainText();
    const SearchEngine engine(text, searchText, options);
    const qsizetype length = text.size();
    // Upwards the caret's far end is the end of the text (the last position it can take).
    qsizetype wrapPosition = request.Down ? 0 : length;
    for (;;) {
        const QTextCursor cursor = field.textCursor();
        const qsizetype start = cursor.selectionStart();
        // Upwards a match must end before the selection, or a one-character text would find
        // the match that is already selected again.
        const qsizetype found = request.Down
                                    ? engine.SimpleSearch(cursor.selectionEnd(), length - 1)
                                    : engine.BinarySearch(0, start - 1);
        if (found >= 0) {
            QTextCursor match(field.document());
            match.setPosition(int(found));
            match.setPosition(int(found + searchText.size()), QTextCursor::KeepAnchor);
            field.setTextCursor(match);
            return;
        }
        if (start == wrapPosition) {
            dialogs.ShowInformation(owner, QStringLiteral("Search text not found!"));
            return;
        }
        if (!dialogs.AskYesNo(owner, WrapQuestion(request.Down)))
            return;
        QTextCursor wrapped = field.textCursor();
        wrapped.setPosition(int(std::min(wrapPosition, length)));
        field.setTextCursor(wrapped);
        wrapPosition = field.textCursor().position();
    }
}

void TextFinder::Replace(const SearchRequest& request, const std::function<void()>& replaced) {
    if (!field.textCursor().hasSelection())
        Find(request);
    if (!field.textCursor().hasSelection())
        return;
    switch (dialogs.AskYesCancelAll(owner, QStringLiteral("Replce this occurence?"))) {
    case UserDialogs::ReplaceAnswer::Yes:
        ReplaceOnce(request, replaced);
        break;
    case UserDialogs::ReplaceAnswer::All:
        do
            ReplaceOnce(request, replaced);
        while (field.textCursor().hasSelection());
        break;
    case UserDialogs::ReplaceAnswer::Cancel:
        break;
    }
}

void TextFinder::ReplaceOnce(const SearchRequest& request, const std::function<void()>& replaced) {
    QTextCursor cursor = field.textCursor();
    cursor.insertText(request.ReplaceText);
    field.setTextCursor(cursor);
    field.document()->setModified(true);
    if (replaced)
        replaced();
    Find(request);
}
