#include "LineRoleHighlighter.h"

LineRoleHighlighter::LineRoleHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    header.setForeground(QColor(0x1F, 0x4E, 0x8C));
    header.setFontWeight(QFont::Bold);
    itemNumber.setForeground(QColor(0x9C, 0x2A, 0x10));
    itemNumber.setFontWeight(QFont::Bold);
    remark.setForeground(QColor(0x6A, 0x6A, 0x6A));
    endMark.setForeground(QColor(0x8E, 0x24, 0x8E));
    endMark.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(0x2E, 0x7D, 0x32));
    outside.setForeground(QColor(0x80, 0x80, 0x80));
    outside.setFontItalic(true);
}

LineRoleHighlighter::Role LineRoleHighlighter::RoleOf(const QString& text, State above,
                                                      State* next) {
    *next = above;
    if (above == AfterEnd)
        return Role::Outside;
    const QChar first = text.isEmpty() ? QChar() : text[0];
    if (first == u'*') {
        *next = InTables;
        return Role::Header;
    }
    if (first == u'&') {
        *next = AfterEnd;
        return Role::EndMark;
    }
    if (first == u'#')
        return Role::Item;
    return above == BeforeTables ? Role::Outside : Role::Heading;
}

void LineRoleHighlighter::highlightBlock(const QString& text) {
    const int previous = previousBlockState();
    const State above = previous < 0 ? BeforeTables : State(previous);
    State next = above;
    switch (RoleOf(text, above, &next)) {
    case Role::Header:
        setFormat(0, int(text.size()), header);
        break;
    case Role::EndMark:
        setFormat(0, int(text.size()), endMark);
        break;
    case Role::Heading:
        setFormat(0, int(text.size()), heading);
        break;
    case Role::Outside:
        setFormat(0, int(text.size()), outside);
        break;
    case Role::Item: {
        // "#", the blanks and the number.
        qsizetype end = 1;
        while (end < text.size() && !text[end].isDigit())
            ++end;
        while (end < text.size() && text[end].isDigit())
            ++end;
        setFormat(0, int(end), itemNumber);
        const qsizetype semicolon = text.indexOf(u';', end);
        if (semicolon >= 0)
            setFormat(int(semicolon), int(text.size() - semicolon), remark);
        break;
    }
    }
    setCurrentBlockState(next);
}
