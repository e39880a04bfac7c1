#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The lines of a data file kept as they were read, for the programs that rewrite the file
// (the frame generator and the mesh follow-up): a line that is not replaced comes back byte
// for byte, with its own line end, so that rewriting a file changes only what was meant to
// change. Lines are split as the checker splits them (CR LF, LF or CR), so line numbers agree
// with its verdicts. New lines are written in Windows-1251 with CR LF.
class DataFileText {
public:
    // The lines of one table: its header and the line that ends it (the next header, the end
    // mark or the end of the text).
    struct Span {
        int Header = -1;
        int End = -1;
        bool Found() const { return Header >= 0; }
    };

    static DataFileText FromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;

    int LineCount() const { return static_cast<int>(lines_.size()); }
    const QString& Line(int index) const { return lines_[static_cast<size_t>(index)].Text; }
    // The line of the text as read that line `index` stands for, counted from 1, so that a
    // fault found in a rewritten text can name the line the user sees; 0 for a new line
    // given without one.
    int OriginLine(int index) const { return lines_[static_cast<size_t>(index)].Origin; }
    QStringList Lines() const;

    // The index of the end mark "&"; LineCount() when there is none.
    int EndMark() const;
    // The first table with that number before the end mark: the number of a header is the
    // first run of digits on it.
    Span Table(int number) const;

    // Replaces the item lines ("#") of the table by `items`. The lines between the header and
    // the first item stay in front of them; other lines that stood among or after the items
    // follow them in their order. Without any item the new items close the table. `origins`
    // gives, item by item, the line as read that each new item stands for (see OriginLine).
    // A last line without a line end that comes to stand in front of new lines gets one.
    void ReplaceItems(const Span& table, const QStringList& items,
                      const std::vector<int>& origins = {});
    // Writes `value` after the "=" of item `item` of table 1, keeping the blanks after the
    // "=" and a "; remark". False when table 1 has no such item.
    bool SetGeneralValue(int item, const QString& value);

private:
    struct TextLine {
        QByteArray Bytes;
        QByteArray End; // the line end as read; CR LF for new lines
        QString Text;
        int Origin = 0;
    };
    static TextLine NewLine(const QString& text, int origin = 0);

    QByteArray bom_; // a UTF-8 byte order mark in front, kept as it was
    std::vector<TextLine> lines_;
};
