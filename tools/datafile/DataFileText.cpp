#include "DataFileText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The number of a table header: its first run of digits, so that "*12" is table 12, not 1.
int HeaderNumber(const QString& text) {
    qsizetype at = 0;
    while (at < text.size() && !IsDigit(text[at]))
        ++at;
    qsizetype end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    bool ok = false;
    const int number = text.mid(at, end - at).toInt(&ok);
    return ok ? number : -1;
}

bool IsItem(const QString& text) {
    return text.startsWith(u'#');
}

} // namespace

DataFileText DataFileText::FromBytes(const QByteArray& bytes) {
    DataFileText file;
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        file.bom_ = bytes.left(3);
        view = view.sliced(3);
    }
    QStringDecoder decoder("windows-1251");
    qsizetype start = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        const char c = view[i];
        if (c != '\n' && c != '\r')
            continue;
        TextLine line;
        line.Bytes = view.sliced(start, i - start).toByteArray();
        const bool crlf = c == '\r' && i + 1 < view.size() && view[i + 1] == '\n';
        line.End = crlf ? QByteArray("\r\n") : QByteArray(1, c);
        if (crlf)
            ++i;
        line.Text = decoder.decode(line.Bytes);
        line.Origin = file.LineCount() + 1;
        file.lines_.push_back(std::move(line));
        start = i + 1;
    }
    if (start < view.size()) {
        TextLine line;
        line.Bytes = view.sliced(start).toByteArray();
        line.Text = decoder.decode(line.Bytes);
        line.Origin = file.LineCount() + 1;
        file.lines_.push_back(std::move(line));
    }
    return file;
}

QByteArray DataFileText::ToBytes() const {
    QByteArray bytes = bom_;
    for (const TextLine& line : lines_)
        bytes += line.Bytes + line.End;
    return bytes;
}

QStringList DataFileText::Lines() const {
    QStringList lines;
    lines.reserve(LineCount());
    for (const TextLine& line : lines_)
        lines.append(line.Text);
    return lines;
}

DataFileText::TextLine DataFileText::NewLine(const QString& text, int origin) {
    QStringEncoder encoder("windows-1251");
    return {encoder.encode(text), QByteArray("\r\n"), text, origin};
}

int DataFileText::EndMark() const {
    for (int i = 0; i < LineCount(); ++i) {
        if (Line(i).startsWith(u'&'))
            return i;
    }
    return LineCount();
}

DataFileText::Span DataFileText::Table(int number) const {
    Span span;
    const int end = EndMark();
    for (int i = 0; i < end; ++i) {
        if (!Line(i).startsWith(u'*'))
            continue;
        if (span.Found()) {
            span.End = i;
            return span;
        }
        if (HeaderNumber(Line(i)) == number)
            span.Header = i;
    }
    if (span.Found())
        span.End = end;
    return span;
}

void DataFileText::ReplaceItems(const Span& table, const QStringList& items,
                                const std::vector<int>& origins) {
    if (!table.Found())
        return;
    std::vector<TextLine> front;
    std::vector<TextLine> behind;
    bool itemSeen = false;
    for (int i = table.Header + 1; i < table.End; ++i) {
        TextLine& line = lines_[static_cast<size_t>(i)];
        if (IsItem(line.Text))
            itemSeen = true;
        else
            (itemSeen ? behind : front).push_back(std::move(line));
    }
    std::vector<TextLine> body = std::move(front);
    for (qsizetype i = 0; i < items.size(); ++i)
        body.push_back(
            NewLine(items[i], static_cast<size_t>(i) < origins.size() ? origins[size_t(i)] : 0));
    for (TextLine& line : behind)
        body.push_back(std::move(line));
    const auto first = lines_.begin() + table.Header + 1;
    lines_.erase(first, lines_.begin() + table.End);
    lines_.insert(lines_.begin() + table.Header + 1, std::make_move_iterator(body.begin()),
                  std::make_move_iterator(body.end()));
    // Only the file's last line can lack a line end; when new items now follow it, they
    // would be glued onto it.
    for (size_t i = 0; i + 1 < lines_.size(); ++i) {
        if (lines_[i].End.isEmpty())
            lines_[i].End = QByteArray("\r\n");
    }
}

bool DataFileText::SetGeneralValue(int item, const QString& value) {
    const Span table = Table(1);
    if (!table.Found())
        return false;
    for (int i = table.Header + 1; i < table.End; ++i) {
        const QString& text = Line(i);
        if (!IsItem(text))
            continue;
        qsizetype at = 1;
        while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
            ++at;
        qsizetype digits = at;
        while (digits < text.size() && text[digits].isDigit())
            ++digits;
        if (digits == at || text.mid(at, digits - at).toInt() != item)
            continue;
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            return false;
        qsizetype valueAt = equals + 1;
        while (valueAt < text.size() && (text[valueAt] == u' ' || text[valueAt] == u'\t'))
            ++valueAt;
        const qsizetype remark = text.indexOf(u';', valueAt);
        if (text.mid(valueAt, (remark < 0 ? text.size() : remark) - valueAt).trimmed() == value)
            return true;
        QString replaced = text.left(valueAt) + value;
        if (valueAt == equals + 1)
            replaced = text.left(equals + 1) + u' ' + value;
        if (remark >= 0)
            replaced += u' ' + text.mid(remark);
        if (replaced != text) {
            TextLine line = NewLine(replaced, lines_[static_cast<size_t>(i)].Origin);
            line.End = lines_[static_cast<size_t>(i)].End;
            lines_[static_cast<size_t>(i)] = std::move(line);
        }
        return true;
    }
    return false;
}
