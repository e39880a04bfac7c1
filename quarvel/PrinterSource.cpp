#include "PrinterSource.h"

#include <QPrinterInfo>
#include <stdexcept>

std::unique_ptr<QPrinter> SystemPrinterSource::DefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw std::runtime_error("There is no default printer. Install a printer, make it the "
                                 "default one and print again.");
    return std::make_unique<QPrinter>(info);
}
