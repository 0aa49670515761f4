#include "platform/qt/printer_destination.h"

#include "platform/run_time_error.h"

#include <QPrinterInfo>

#include <stdexcept>

namespace fs = std::filesystem;

namespace zlt::qt {

PrinterDestination destinationFromSettings(const Settings& settings)
{
    PrinterDestination d;
    const std::string& setting = settings.printer;
    if (setting.rfind("pdf:", 0) == 0) {
        d.kind = PrinterDestination::Kind::PdfFolder;
        d.pdfFolder = expandHome(setting.substr(4), settings.home);
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
        d.pdfFolder = defaultPdfFolder(settings.home);
    } else {
        d.kind = PrinterDestination::Kind::Cups;
        d.printerName = name.toStdString();
    }
    return d;
}

}  // namespace zlt::qt
