#include "platform/qt/printer_destination.h"

#include "platform/run_time_error.h"

#include <QPrinterInfo>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace zlt::qt {

PrinterDestination destinationFromEnvironment()
{
    PrinterDestination d;
    const char* value = std::getenv("REPVIEW_PRINTER");
    std::string setting = value ? value : "";
    if (setting.rfind("pdf:", 0) == 0) {
        d.kind = PrinterDestination::Kind::PdfFolder;
        d.pdfFolder = setting.substr(4);
        if (d.pdfFolder.empty())
            throw std::invalid_argument("REPVIEW_PRINTER=pdf: names no folder");
        return d;
    }
    if (!setting.empty()) {
        if (QPrinterInfo::printerInfo(QString::fromStdString(setting)).isNull())
            throw std::invalid_argument("REPVIEW_PRINTER=" + setting + " names no printer known to CUPS");
        d.kind = PrinterDestination::Kind::Cups;
        d.printerName = setting;
        return d;
    }
    QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) {
        const QStringList all = QPrinterInfo::availablePrinterNames();
        if (!all.isEmpty())
            name = all.first();
    }
    if (name.isEmpty()) {
        d.kind = PrinterDestination::Kind::PdfFolder;
        d.pdfFolder = defaultPdfFolder();
    } else {
        d.kind = PrinterDestination::Kind::Cups;
        d.printerName = name.toStdString();
    }
    return d;
}

}  // namespace zlt::qt
