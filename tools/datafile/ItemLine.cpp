#include "ItemLine.h"

#include <QStringList>

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace

ItemLine ItemLine::Parse(QStringView text) {
    ItemLine line;
    if (text.isEmpty() || text[0] != u'#')
        return line;
    qsizetype at = 1;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    const qsizetype start = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    if (at == start || at - start > 9 || (at < text.size() && !IsBlank(text[at])))
        return line;
    line.Valid = true;
    line.Number = text.mid(start, at - start).toInt();
    line.Words = SplitWords(text.mid(at));
    return line;
}

std::vector<QStringView> ItemLine::SplitWords(QStringView text) {
    std::vector<QStringView> words;
    const qsizetype remark = text.indexOf(u';');
    if (remark >= 0)
        text = text.left(remark);
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !IsBlank(text[i]))
            ++i;
        if (i > start)
            words.push_back(text.mid(start, i - start));
    }
    return words;
}

QString ItemLine::Format(int number, const QStringList& values, int width) {
    QString line = QStringLiteral("#%1  ").arg(number, 3);
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += u' ';
        line += values[i].rightJustified(width);
    }
    return line;
}

QString ItemLine::NumberText(double value) {
    if (value == 0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 12);
}
