#include "DataChecker.h"

#include <vector>

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The blank-separated words of `text`, up to a ";" that starts a remark.
void Split(QStringView text, std::vector<QStringView>& words) {
    words.clear();
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
}

QString Number(double value) {
    return QString::number(value, 'g', 12);
}

} // namespace

DataChecker::Result DataChecker::Check(const QStringList& lines, const DataFormat& format) {
    DataChecker checker(format);
    Result result;
    try {
        checker.Run(lines);
        result.Ok = true;
        result.Data = std::move(checker.data_);
    } catch (const CheckFault& fault) {
        result.Fault = fault;
    }
    return result;
}

void DataChecker::Fail(int line, const QString& message) {
    throw CheckFault{line, message};
}

const TableFormat* DataChecker::CurrentFormat() const {
    return format_.Table(table_);
}

void DataChecker::Run(const QStringList& lines) {
    if (lines.isEmpty())
        Fail(0, QStringLiteral("the file is empty"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i + 1);
        const QStringView text = lines[i];
        if (text.isEmpty())
            continue;
        switch (text[0].unicode()) {
        case u'&':
            End(line);
            return;
        case u'*':
            Header(line, text);
            break;
        case u'#':
            Item(line, text);
            break;
        default:
            FreeText(line, text);
        }
    }
    if (table_ == 0)
        Fail(1, QStringLiteral("no table found; the data starts with the header of table 1, "
                               "\"*1\""));
    Fail(static_cast<int>(lines.size()),
         QStringLiteral("the end mark \"&\" is missing after the last table"));
}

void DataChecker::Header(int line, QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && !IsDigit(text[at]))
        ++at;
    if (at == text.size())
        Fail(line, QStringLiteral("a table header needs its table number: \"*\" and a digit"));
    qsizetype end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    if (end - at > 2)
        Fail(line, QStringLiteral("a table number has one or two digits, not %1")
                       .arg(text.mid(at, end - at)));
    const int number = text.mid(at, end - at).toInt();
    if (table_ == 0 && number != 1)
        Fail(line, QStringLiteral("the data must start with table 1 (General data), not with "
                                  "table %1")
                       .arg(number));
    CloseTable();

    if (number == 1) {
        if (table_ != 0)
            Fail(line, QStringLiteral("table 1 appears a second time"));
        data_.GeneralHeaderLine = line;
        table_ = 1;
        lastItem_ = 0;
        return;
    }

    ParsedTable table;
    table.Number = number;
    table.HeaderLine = line;
    if (format_.OpenTables) {
        if (number <= table_)
            Fail(
                line,
                number == table_
                    ? QStringLiteral("table %1 appears a second time").arg(number)
                    : QStringLiteral("table %1 must come before table %2").arg(number).arg(table_));
        table.Title = QStringLiteral("Table %1").arg(number);
        table.ItemsName = QStringLiteral("items of table %1").arg(number);
    } else {
        const int index = Position(line, number);
        const TableFormat& format = format_.Tables[index];
        position_ = index + 1;
        table.Title = format.Title;
        table.ItemsName = format.ItemsName;
        if (format.Width == TableFormat::Widths::Fixed)
            table.Width = static_cast<int>(format.Columns.size());
        else if (format.Width == TableFormat::Widths::RowsOfTable)
            table.Width = data_.ItemCount(format.WidthTable);
    }
    data_.Tables.push_back(std::move(table));
    table_ = number;
    lastItem_ = 0;
}

int DataChecker::Position(int line, int number) const {
    int index = -1;
    for (size_t i = 0; i < format_.Tables.size(); ++i) {
        if (format_.Tables[i].Number == number)
            index = static_cast<int>(i);
    }
    if (index < 0)
        Fail(line, QStringLiteral("%1 have no table %2").arg(format_.Name).arg(number));
    if (index < position_) {
        if (data_.Table(number))
            Fail(line, QStringLiteral("table %1 appears a second time").arg(number));
        Fail(line, QStringLiteral("table %1 must come before table %2").arg(number).arg(table_));
    }
    if (const TableFormat* missing = Required(index))
        Fail(line, QStringLiteral("table %1 (%2) must come before table %3")
                       .arg(missing->Number)
                       .arg(missing->Title)
                       .arg(number));
    return index;
}

const TableFormat* DataChecker::Required(int before) const {
    for (int i = position_; i < before; ++i) {
        if (!format_.Tables[static_cast<size_t>(i)].Optional)
            return &format_.Tables[static_cast<size_t>(i)];
    }
    return nullptr;
}

void DataChecker::Item(int line, QStringView text) {
    if (table_ == 0)
        Fail(line, QStringLiteral("an item before the first table; the data starts with "
                                  "table 1"));
    qsizetype at = 1;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    const qsizetype start = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    if (at == start) {
        // "#N" and "#E" are the frame generator's series lines, left unexpanded.
        const QChar kind = at < text.size() ? text[at].toUpper() : QChar();
        if ((kind == u'N' || kind == u'E') && (at + 1 == text.size() || IsBlank(text[at + 1])))
            Fail(line, QStringLiteral("a series line of the frame generator; expand it with "
                                      "Generate (Mopsa) before the check"));
        Fail(line, QStringLiteral("\"#\" must be followed by the item number"));
    }
    if (at - start > 9)
        Fail(
            line,
            QStringLiteral("the item number %1 is far too large").arg(text.mid(start, at - start)));
    if (at < text.size() && !IsBlank(text[at]))
        Fail(line, QStringLiteral("the item number must be followed by a blank, not by \"%1\"")
                       .arg(text[at]));
    const int item = text.mid(start, at - start).toInt();
    if (item != lastItem_ + 1) {
        if (lastItem_ == 0)
            Fail(line, QStringLiteral("the first item of table %1 must be number 1, not %2")
                           .arg(table_)
                           .arg(item));
        Fail(line, QStringLiteral("item %1 follows item %2 in table %3; items are numbered 1, "
                                  "2, 3, ... without gaps")
                       .arg(item)
                       .arg(lastItem_)
                       .arg(table_));
    }
    lastItem_ = item;
    if (table_ == 1)
        GeneralItem(line, item, text.mid(at));
    else
        TableItem(line, text.mid(at));
}

void DataChecker::GeneralItem(int line, int item, QStringView rest) {
    static const GeneralItemFormat anyText{
        QStringLiteral("text"), GeneralItemFormat::Kind::Text, {}};
    const GeneralItemFormat* format = nullptr;
    if (item <= static_cast<int>(format_.General.size()))
        format = &format_.General[item - 1];
    else if (format_.OpenTables)
        format = &anyText;
    else
        Fail(line, QStringLiteral("table 1 of %1 has %2 items; there is no item %3")
                       .arg(format_.Name)
                       .arg(format_.General.size())
                       .arg(item));

    const qsizetype equals = rest.indexOf(u'=');
    if (equals < 0)
        Fail(line, QStringLiteral("item %1 (%2) needs \"=\" before its value")
                       .arg(item)
                       .arg(format->Label));
    ParsedData::GeneralItem read;
    read.Line = line;
    const QStringView value = rest.mid(equals + 1).trimmed();
    read.Text = value.toString();

    switch (format->Type) {
    case GeneralItemFormat::Kind::Text:
        break;
    case GeneralItemFormat::Kind::Unit:
        if (value.isEmpty())
            Fail(line, QStringLiteral("item %1 (%2) needs a unit name after \"=\"")
                           .arg(item)
                           .arg(format->Label));
        for (QChar c : value) {
            if (IsBlank(c))
                Fail(line, QStringLiteral("the unit name must be one word, not \"%1\"").arg(value));
        }
        break;
    case GeneralItemFormat::Kind::Value: {
        std::vector<QStringView> words;
        Split(value, words);
        if (words.empty())
            Fail(line, QStringLiteral("item %1 (%2) has no value").arg(item).arg(format->Label));
        if (words.size() > 1)
            Fail(line, QStringLiteral("item %1 (%2) takes one value; a remark must follow a "
                                      "\";\"")
                           .arg(item)
                           .arg(format->Label));
        const QString error = format->Rule.Read(words.front(), data_, read.Number);
        if (!error.isEmpty())
            Fail(line, error);
        break;
    }
    }
    data_.General.push_back(std::move(read));
}

QString DataChecker::ColumnNames() const {
    QStringList names;
    for (const ValueRule& rule : CurrentFormat()->Columns)
        names << rule.Name;
    return names.join(QStringLiteral(", "));
}

void DataChecker::TableItem(int line, QStringView rest) {
    ParsedTable& table = data_.Tables.back();
    if (format_.OpenTables) {
        table.Lines.push_back(line);
        return;
    }
    const TableFormat& format = *CurrentFormat();
    std::vector<QStringView> words;
    Split(rest, words);
    const int found = static_cast<int>(words.size());
    if (format.Width == TableFormat::Widths::FirstRow && table.Rows() == 0) {
        if (found == 0)
            Fail(line, QStringLiteral("the item has no values"));
        table.Width = found;
    }
    if (found != table.Width) {
        QString expected;
        switch (format.Width) {
        case TableFormat::Widths::Fixed:
            expected = QStringLiteral("expected %1 values (%2), found %3")
                           .arg(table.Width)
                           .arg(ColumnNames())
                           .arg(found);
            break;
        case TableFormat::Widths::FirstRow:
            expected = QStringLiteral("expected %1 values like the first item of the table, "
                                      "found %2")
                           .arg(table.Width)
                           .arg(found);
            break;
        case TableFormat::Widths::RowsOfTable:
            expected = QStringLiteral("expected %1 values, one for each item of table %2, found "
                                      "%3")
                           .arg(table.Width)
                           .arg(format.WidthTable)
                           .arg(found);
            break;
        }
        if (found > table.Width)
            expected += QStringLiteral("; a remark must follow a \";\"");
        Fail(line, expected);
    }
    const bool fixed = format.Width == TableFormat::Widths::Fixed;
    for (int column = 0; column < found; ++column) {
        const ValueRule& rule = format.Columns[fixed ? column : 0];
        double value = 0;
        const QString error = rule.Read(words[column], data_, value);
        if (!error.isEmpty())
            Fail(line, error);
        table.Values.push_back(value);
    }
    table.Lines.push_back(line);
    if (format.OnRow)
        format.OnRow(table, table.Rows() - 1, data_);
}

void DataChecker::FreeText(int line, QStringView text) {
    qsizetype at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    if (at > 0 && at < text.size() && (text[at] == u'#' || text[at] == u'*' || text[at] == u'&'))
        Fail(line, QStringLiteral("\"%1\" must be the first character of its line; here blanks "
                                  "stand before it")
                       .arg(text[at]));
    if (table_ == 0)
        return;
    // Such a line would be passed over as a heading and its values lost.
    std::vector<QStringView> words;
    Split(text, words);
    if (words.empty())
        return;
    for (QStringView word : words) {
        double ignored = 0;
        if (!ValueRule::ParseReal(word, ignored))
            return;
    }
    Fail(line, QStringLiteral("a line of numbers without \"#\" in front would not be read; item "
                              "lines start with \"#\""));
}

void DataChecker::CloseGeneral() {
    if (data_.General.size() < format_.General.size()) {
        const size_t missing = data_.General.size();
        Fail(data_.GeneralHeaderLine, QStringLiteral("table 1 lacks item %1 (%2)")
                                          .arg(missing + 1)
                                          .arg(format_.General[missing].Label));
    }
    if (format_.OpenTables)
        return;
    for (int item = 5; item <= 8 && item <= static_cast<int>(data_.General.size()); ++item) {
        const int table = DataFormat::TableCountedBy(item);
        if (!format_.Table(table) && data_.GeneralNumber(item) != 0)
            Fail(data_.GeneralLine(item), QStringLiteral("item %1 of table 1 must be 0: %2 have "
                                                         "no table %3")
                                              .arg(item)
                                              .arg(format_.Name)
                                              .arg(table));
    }
}

void DataChecker::CheckCount(int table, int rows) {
    const int item = DataFormat::CountItemOf(table);
    if (item == 0 || item > static_cast<int>(data_.General.size()))
        return;
    const double declared = data_.GeneralNumber(item);
    if (declared != rows)
        Fail(data_.GeneralLine(item),
             QStringLiteral("item %1 of table 1 gives %2 items for table %3, but table %3 has %4")
                 .arg(item)
                 .arg(Number(declared))
                 .arg(table)
                 .arg(rows));
}

void DataChecker::CloseTable() {
    if (table_ == 0)
        return;
    if (table_ == 1) {
        CloseGeneral();
        return;
    }
    const ParsedTable& table = data_.Tables.back();
    if (format_.OpenTables) {
        CheckCount(table.Number, table.Rows());
        return;
    }
    const TableFormat& format = *CurrentFormat();
    if (table.Rows() < format.MinItems)
        Fail(table.HeaderLine,
             format.MinItems == 1
                 ? QStringLiteral("table %1 (%2) has no items").arg(table.Number).arg(format.Title)
                 : QStringLiteral("table %1 (%2) needs at least %3 items, it "
                                  "has %4")
                       .arg(table.Number)
                       .arg(format.Title)
                       .arg(format.MinItems)
                       .arg(table.Rows()));
    CheckCount(table.Number, table.Rows());
    if (format.OnEnd)
        format.OnEnd(table, data_);
}

void DataChecker::End(int line) {
    if (table_ == 0)
        Fail(line, QStringLiteral("the end mark comes before table 1; the data starts with "
                                  "table 1"));
    CloseTable();
    if (const TableFormat* missing =
            format_.OpenTables ? nullptr : Required(static_cast<int>(format_.Tables.size())))
        Fail(line, QStringLiteral("table %1 (%2) is missing before the end mark")
                       .arg(missing->Number)
                       .arg(missing->Title));
    if (format_.OpenTables) {
        for (int item = 5; item <= 8 && item <= static_cast<int>(data_.General.size()); ++item) {
            const int table = DataFormat::TableCountedBy(item);
            if (!data_.Table(table) && data_.GeneralNumber(item) != 0)
                Fail(data_.GeneralLine(item),
                     QStringLiteral("item %1 of table 1 gives %2 items for table %3, but there "
                                    "is no table %3")
                         .arg(item)
                         .arg(Number(data_.GeneralNumber(item)))
                         .arg(table));
        }
    }
    if (format_.OnEnd)
        format_.OnEnd(data_);
}
