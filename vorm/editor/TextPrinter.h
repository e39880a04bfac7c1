#pragma once

#include <QFont>
#include <QString>

class QPrinter;

// Prints plain text page by page in the editor's font: one inch less a little (1000 twips) of
// left margin, the lines as they stand (no wrapping of data lines beyond the page width).
class TextPrinter {
public:
    // Prints `text` as the job `title` and returns the number of pages. The job is ended on
    // every path; throws VormError when the printer cannot be started.
    static int Print(QPrinter& printer, const QString& title, const QString& text,
                     const QFont& font);

    // The message when the system has no printer.
    static QString NoPrinterText();
};
