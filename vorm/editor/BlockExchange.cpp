#include "BlockExchange.h"

#include "TextLines.h"
#include "UnitCodes.h"

#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>

BlockExchange::Block BlockExchange::Collect(const QTextDocument& document, int first) {
    Block block;
    block.First = first;
    block.Last = first - 1;
    for (QTextBlock line = document.findBlockByNumber(first); line.isValid(); line = line.next()) {
        const QString text = line.text();
        if (text.startsWith(u'*'))
            break;
        block.Lines << text;
    }
    block.Last = first + int(block.Lines.size()) - 1;
    while (block.Last >= first && UnitCodes::IsBlank(block.Lines[block.Last - first]))
        --block.Last;
    return block;
}

std::unique_ptr<QBuffer> BlockExchange::ToStream(const QStringList& lines) {
    QStringEncoder encode("windows-1251");
    auto stream = std::make_unique<QBuffer>();
    stream->open(QIODevice::ReadWrite);
    for (const QString& line : lines)
        stream->write(QByteArray(encode(line)) + "\r\n");
    return stream;
}

QStringList BlockExchange::FromStream(QBuffer& stream) {
    QStringDecoder decode("windows-1251");
    return TextLines::Split(QString(decode(stream.data())));
}

void BlockExchange::Replace(QPlainTextEdit& field, int first, int last, const QStringList& lines) {
    const QTextDocument& document = *field.document();
    const QTextBlock start = document.findBlockByNumber(first);
    const QTextBlock after = document.findBlockByNumber(last + 1);
    QTextCursor cursor(field.document());
    if (!start.isValid()) {
        // The block starts below the last line (a table header without a line end): the
        // lines follow it on lines of their own.
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(u'\n' + lines.join(u'\n'));
        field.setTextCursor(cursor);
        return;
    }
    cursor.setPosition(start.position());
    if (after.isValid() && last >= first) {
        cursor.setPosition(after.position(), QTextCursor::KeepAnchor);
    } else if (last >= first) {
        // The block runs to the end of the text: it takes the end with it.
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    QString text;
    for (const QString& line : lines)
        text += line + u'\n';
    if (!after.isValid() && last >= first)
        text.chop(1); // the text had no line end after the block either
    cursor.insertText(text);
    field.setTextCursor(cursor);
}
