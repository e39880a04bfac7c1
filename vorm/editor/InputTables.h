#pragma once

#include <QString>

class QTextDocument;

// The layout of an input-data file as far as the editor needs it. The first character of a
// line gives its role: "*" starts a table (its number is the first digit on the line), "#" is
// an item (its number is the first run of digits after the "#"), "&" ends the data. Lines are
// counted from 0; -1 stands for no line, no table and no item.
//
// Every query reads the document's lines afresh, so it always sees the current text. The
// queries scan the text; the numbering on Enter looks only at the line above the caret.
class InputTables {
public:
    explicit InputTables(QTextDocument& document) : document(document) {}

    // The line after the header of `table`; -1 when there is none, 0 for table 0.
    int GetTable(int table) const;
    // The number of the table whose header stands at or above `line`; -1 when there is none.
    // Throws VormError when that header holds no table number.
    int InTable(int line) const;
    // The item number of the line; -1 when it is not an item line or holds no number that
    // fits.
    int ItemNumber(int line) const;
    static int ItemNumberOf(const QString& text);
    // The highest item number in the table; -1 when it is missing or has no items.
    int LastItem(int table) const;
    // The line of that item in that table; when the table has no such item, the line above
    // its first item (where its items begin); -1 when there is no such table.
    int GetTableItem(int table, int item) const;

    // Writes into table 1 the highest item number of the table that holds `line`: item 7
    // counts table 2, item 8 table 3, item 5 table 4 and item 6 table 5. The item keeps its
    // text up to its first "=". Nothing happens for other tables, a missing table 1 or a
    // table without items. Throws VormError, changing nothing, when table 1 lacks the item
    // (the count would otherwise land on the line above table 1's items).
    void UpdateTable1(int line);

    // The item number of table 1 that counts `table`; 0 for a table that is not counted.
    static int CountItem(int table);

    // What Enter inserts at the start of the new line when the line above is an item: "#"
    // and the next number right-aligned in three places and two blanks. Empty when the line
    // above is no item line.
    static QString NumberingAfter(const QString& lineAbove);

private:
    int Count() const;
    QString Line(int line) const;
    static QChar First(const QString& text) { return text.isEmpty() ? QChar() : text[0]; }

    QTextDocument& document;
};
