#pragma once

#include <QPrinter>
#include <memory>

// Where a page goes. The real source is the system's default printer; tests print into PDF
// files.
class PrinterSource {
public:
    virtual ~PrinterSource() = default;
    // A printer ready for a document. Throws std::runtime_error with a message for the user
    // when there is none.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;
};

class SystemPrinterSource : public PrinterSource {
public:
    std::unique_ptr<QPrinter> DefaultPrinter() override;
};
