#include "platform/qt/printer_destination.h"

#include <stdexcept>

namespace zlt::qt {

PrinterDestination destinationFromSettings(const Settings& settings)
{
    cups::CupsServer server;
    return destinationFromSettings(settings, server);
}

PrinterDestination destinationFromSettings(const Settings& settings, cups::CupsServer& server)
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
    const std::string name = server.findPrinter(setting);
    if (name.empty() && !setting.empty())
        throw std::invalid_argument("REPVIEW_PRINTER=" + setting + " names no printer known to CUPS");
    if (name.empty()) {
        d.kind = PrinterDestination::Kind::PdfFolder;
        d.pdfFolder = defaultPdfFolder(settings.home);
    } else {
        d.kind = PrinterDestination::Kind::Cups;
        d.printerName = name;
    }
    return d;
}

}  // namespace zlt::qt
