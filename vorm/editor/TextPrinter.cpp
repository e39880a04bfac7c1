#include "TextPrinter.h"

#include "VormError.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

namespace {

constexpr double LeftMarginTwips = 1000;
constexpr double TwipsPerInch = 1440;

} // namespace

int TextPrinter::Print(QPrinter& printer, const QString& title, const QString& text,
                       const QFont& font) {
    printer.setDocName(title);
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        throw VormError(QStringLiteral("The printer could not be started."));
    int pages = 0;
    try {
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        const double left = LeftMarginTwips * printer.logicalDpiX() / TwipsPerInch;
        const QSizeF page(paper.width() - left, paper.height());

        QTextDocument document;
        document.documentLayout()->setPaintDevice(&printer);
        // A font kept in screen pixels would shrink to nothing at the printer's resolution.
        QFont printed = font;
        if (font.pixelSize() > 0)
            printed.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
        document.setDefaultFont(printed);
        QTextOption option = document.defaultTextOption();
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        document.setDefaultTextOption(option);
        document.setDocumentMargin(0);
        document.setPlainText(text);
        document.setPageSize(page);

        pages = std::max(1, document.pageCount());
        for (int index = 0; index < pages; ++index) {
            if (index > 0 && !printer.newPage())
                throw VormError(QStringLiteral("The printer could not start a new page."));
            painter.save();
            painter.translate(left, -index * page.height());
            const QRectF visible(0, index * page.height(), page.width(), page.height());
            painter.setClipRect(visible);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = visible;
            document.documentLayout()->draw(&painter, context);
            painter.restore();
        }
    } catch (...) {
        painter.end();
        throw;
    }
    painter.end();
    return pages;
}

QString TextPrinter::NoPrinterText() {
    return QStringLiteral("No printer is installed.\r\nInstall a printer to print the data.");
}
