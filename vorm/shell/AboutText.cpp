#include "AboutText.h"

#include "PackageTextFile.h"

QString AboutText::Load(const QString& path) {
    return Extract(
        PackageTextFile::SplitLines(PackageTextFile::Read(path)).join(QStringLiteral("\r\n")));
}

QString AboutText::Extract(const QString& helpText) {
    const QString bookmark = QString::fromLatin1(Bookmark);
    const qsizetype found = helpText.indexOf(bookmark);
    // Without the bookmark the text runs from the 21st character on.
    QString text = helpText.mid(found < 0 ? bookmark.size() - 1 : found + bookmark.size());

    qsizetype end = text.indexOf(QStringLiteral("<a"));
    if (end < 0)
        end = text.indexOf(QStringLiteral("<A"));
    text = end < 0 ? QString() : text.left(end);

    int deletions = 0;
    while (text.contains(u'<') && deletions < MaxTagDeletions) {
        const qsizetype open = text.indexOf(u'<');
        const qsizetype close = text.indexOf(u'>');
        if (close > open)
            text.remove(open, close - open + 1);
        ++deletions;
    }
    if (deletions == MaxTagDeletions)
        return BookmarkMessage();
    return text;
}

QString AboutText::BookmarkMessage() {
    return QStringLiteral("The bookmark for About VORM must be:\r\n") +
           QString::fromLatin1(Bookmark);
}
