#include "TableBlock.h"

#include <QRegularExpression>

namespace {

// The item number: the first run of digits after the "#".
int NumberOf(const QString& line) {
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    const QRegularExpressionMatch match = digits.match(line, 1);
    return match.hasMatch() ? match.captured().toInt() : 0;
}

} // namespace

QList<int> TableBlock::ItemLines() const {
    QList<int> result;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(u'#'))
            result << int(i);
    return result;
}

QList<TableBlock::Item> TableBlock::Items() const {
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    QList<Item> items;
    for (int index : ItemLines()) {
        const QString& line = lines[index];
        Item item;
        item.Number = NumberOf(line);
        QString body = line.mid(1);
        const qsizetype semicolon = body.indexOf(u';');
        if (semicolon >= 0) {
            item.Remark = body.mid(semicolon + 1).trimmed();
            body = body.left(semicolon);
        }
        const QRegularExpressionMatch number = digits.match(body);
        if (number.hasMatch())
            body = body.mid(number.capturedEnd());
        item.Values = body.split(QRegularExpression(QStringLiteral("[ \\t]+")), Qt::SkipEmptyParts);
        items << item;
    }
    return items;
}

int TableBlock::ItemCount() const {
    return int(ItemLines().size());
}

QString TableBlock::ItemLine(int number, const QStringList& values, const QString& remark) {
    QString line = QStringLiteral("#%1 ").arg(number, 3);
    for (const QString& value : values)
        line += QStringLiteral(" %1").arg(value, -11);
    if (!remark.isEmpty())
        line += QStringLiteral("; ") + remark;
    return line.trimmed();
}

void TableBlock::Append(const QList<double>& values, const QString& remark) {
    int highest = 0;
    for (const Item& item : Items())
        highest = std::max(highest, item.Number);
    QStringList texts;
    for (double value : values)
        texts << FormatNumber(value);
    const QList<int> itemLines = ItemLines();
    const qsizetype at = itemLines.isEmpty() ? lines.size() : itemLines.last() + 1;
    lines.insert(at, ItemLine(highest + 1, texts, remark));
}

void TableBlock::RemoveItem(int index) {
    const QList<int> itemLines = ItemLines();
    if (index < 0 || index >= itemLines.size())
        return;
    const int removed = NumberOf(lines[itemLines[index]]);
    lines.removeAt(itemLines[index]);
    // The items after it move up by one number; their text stays as it was otherwise.
    for (qsizetype k = index + 1; k < itemLines.size(); ++k) {
        const int line = itemLines[k] - 1;
        const int number = NumberOf(lines[line]);
        if (number <= removed)
            continue;
        static const QRegularExpression digits(QStringLiteral("\\d+"));
        const QRegularExpressionMatch match = digits.match(lines[line], 1);
        const QString renumbered = QString::number(number - 1);
        QString text = lines[line];
        // Keep the column: pad the shorter number on the left.
        text.replace(match.capturedStart(), match.capturedLength(),
                     renumbered.rightJustified(match.capturedLength()));
        lines[line] = text;
    }
}

QString TableBlock::FormatNumber(double value) {
    QString text = QString::number(value, 'G', 5);
    static const QRegularExpression exponent(QStringLiteral("E([+-])0*(\\d)"));
    text.replace(exponent, QStringLiteral("E\\1\\2"));
    text.replace(QStringLiteral("E+"), QStringLiteral("E"));
    return text;
}
