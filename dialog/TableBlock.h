#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The lines of one input table as the editor hands them over: headings and items ("#", the
// item number, the values, an optional remark after ";"). New items are added after the last
// item with the next number; deleting an item renumbers the ones after it, since items run
// 1, 2, 3, ... without gaps.
class TableBlock {
public:
    struct Item {
        int Number = 0;
        QStringList Values;
        QString Remark;
    };

    explicit TableBlock(QStringList lines) : lines(std::move(lines)) {}

    const QStringList& Lines() const { return lines; }
    QList<Item> Items() const;
    int ItemCount() const;

    void Append(const QList<double>& values, const QString& remark);
    // Removes the item at `index` (counting items from 0).
    void RemoveItem(int index);

    // A number as the data files write it: up to 5 significant digits, exponent without "+"
    // and leading zeros ("2.1E8", "5.79E-5").
    static QString FormatNumber(double value);

private:
    QList<int> ItemLines() const;
    static QString ItemLine(int number, const QStringList& values, const QString& remark);

    QStringList lines;
};
