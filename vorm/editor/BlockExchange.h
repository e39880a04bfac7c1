#pragma once

#include <QBuffer>
#include <QStringList>
#include <memory>

class QPlainTextEdit;
class QTextDocument;

// The table block that the insertions hand to the dialog library and take back: the lines
// from a table's first item down to the next table header (or the end of the text), the
// transfer stream that carries them (Windows-1251 lines ended by CR LF), and the replacement
// of the block by what the dialog returns.
class BlockExchange {
public:
    struct Block {
        int First = -1;
        int Last = -1; // the last line that is not blank; First - 1 when all are blank
        QStringList Lines;
    };

    static Block Collect(const QTextDocument& document, int first);
    // The stream with the lines, its position at its end.
    static std::unique_ptr<QBuffer> ToStream(const QStringList& lines);
    // The stream's lines, read from position 0 to its end.
    static QStringList FromStream(QBuffer& stream);
    // Replaces the lines First..Last with their line ends by `lines`, each ended by a line
    // end, as one edit.
    static void Replace(QPlainTextEdit& field, int first, int last, const QStringList& lines);
};
