#include "InputTables.h"

#include "VormError.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <limits>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

int InputTables::Count() const {
    return document.blockCount();
}

QString InputTables::Line(int line) const {
    if (line < 0 || line >= Count())
        return {};
    return document.findBlockByNumber(line).text();
}

int InputTables::GetTable(int table) const {
    if (table == 0)
        return 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (First(text) != u'*')
            continue;
        for (const QChar c : text) {
            if (IsDigit(c)) {
                if (c.unicode() - u'0' == table)
                    return block.blockNumber() + 1;
                break;
            }
        }
    }
    return -1;
}

int InputTables::InTable(int line) const {
    int at = line;
    while (at > 0 && First(Line(at)) != u'*')
        --at;
    const QString header = Line(at);
    if (First(header) != u'*')
        return -1;
    for (qsizetype i = 0; i + 1 < header.size(); ++i)
        if (IsDigit(header[i]))
            return header[i].unicode() - u'0';
    const QChar last = header.back();
    if (!IsDigit(last))
        throw VormError(QStringLiteral("The table header in line %1 holds no table number: %2")
                            .arg(at + 1)
                            .arg(header));
    return last.unicode() - u'0';
}

int InputTables::ItemNumber(int line) const {
    return ItemNumberOf(Line(line));
}

int InputTables::ItemNumberOf(const QString& text) {
    if (text.size() < 2 || text[0] != u'#')
        return -1;
    qsizetype at = 1;
    while (at < text.size() && !IsDigit(text[at]))
        ++at;
    if (at == text.size())
        return -1;
    qint64 number = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        number = number * 10 + (text[at].unicode() - u'0');
        if (number > std::numeric_limits<int>::max())
            return -1;
    }
    return int(number);
}

int InputTables::LastItem(int table) const {
    const int start = GetTable(table);
    if (start == -1)
        return -1;
    QTextBlock block = document.findBlockByNumber(start);
    while (block.isValid() && First(block.text()) != u'#' && First(block.text()) != u'*')
        block = block.next();
    int last = -1;
    for (; block.isValid() && First(block.text()) != u'*'; block = block.next())
        last = std::max(last, ItemNumberOf(block.text()));
    return last;
}

int InputTables::GetTableItem(int table, int item) const {
    const int start = GetTable(table);
    if (start == -1)
        return -1;
    QTextBlock block = document.findBlockByNumber(start);
    int mark = start;
    auto isMark = [](QChar c) { return c == u'#' || c == u'*' || c == u'&'; };
    while (block.isValid() && !isMark(First(block.text()))) {
        block = block.next();
        ++mark;
    }
    if (!block.isValid() || First(block.text()) != u'#')
        return mark - 1;
    for (; block.isValid() && First(block.text()) != u'*'; block = block.next())
        if (ItemNumberOf(block.text()) == item)
            return block.blockNumber();
    return mark - 1;
}

int InputTables::CountItem(int table) {
    switch (table) {
    case 2:
        return 7;
    case 3:
        return 8;
    case 4:
        return 5;
    case 5:
        return 6;
    default:
        return 0;
    }
}

void InputTables::UpdateTable1(int line) {
    if (line < 0)
        return;
    const int table = InTable(line);
    const int item = CountItem(table);
    if (table == -1 || item == 0)
        return;
    const int target = GetTableItem(1, item);
    if (target == -1)
        return;
    const int count = LastItem(table);
    if (count <= 0)
        return;
    if (ItemNumber(target) != item)
        throw VormError(QStringLiteral("Table 1 has no item %1, so the number of items of "
                                       "table %2 cannot be written there")
                            .arg(item)
                            .arg(table));
    const QString text = Line(target);
    const qsizetype equals = text.indexOf(u'=');
    const QString updated =
        (equals < 0 ? QString() : text.left(equals + 1)) + QString::number(count);
    if (updated == text)
        return;
    QTextCursor cursor(document.findBlockByNumber(target));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(updated);
}

QString InputTables::NumberingAfter(const QString& lineAbove) {
    if (First(lineAbove) != u'#')
        return {};
    const qint64 next = qint64(ItemNumberOf(lineAbove)) + 1;
    return u'#' + QString::asprintf("%3lld  ", static_cast<long long>(next));
}
