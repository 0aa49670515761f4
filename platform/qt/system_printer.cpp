#include "platform/qt/system_printer.h"
#include "platform/print/cups/cups_job_sink.h"
#include "platform/print/pdf/pdf_printer.h"
#include "platform/print/pdf/win_ansi.h"
#include "platform/qt/qt_printer.h"

namespace zlt {

// Reports are written as PDF directly, into files or a CUPS printer's queue
// over one connection: drawing through Qt costs a font embedding per job,
// which dominates a report of thousands of one-page jobs. Code pages the
// standard PDF fonts cannot show (the DOS pages' box drawing) still go
// through Qt, whose fonts have every glyph.
std::unique_ptr<Printer> makeSystemPrinter(const CodePage& codePage, const Settings& settings, Clock& clock)
{
    std::string runStamp = pdf::makeRunStamp(clock.now());
    auto server = std::make_unique<cups::CupsServer>();
    qt::PrinterDestination destination = qt::destinationFromSettings(settings, *server);
    if (auto table = pdf::winAnsiTable(codePage)) {
        const pdf::PaperSize paper = pdf::paperSizeOf(settings.paperSize);
        if (destination.kind == qt::PrinterDestination::Kind::PdfFolder)
            return std::make_unique<pdf::PdfPrinter>(std::make_unique<pdf::PdfFolderSink>(destination.pdfFolder, std::move(runStamp)), *table, paper);
        return std::make_unique<pdf::PdfPrinter>(
            std::make_unique<cups::CupsJobSink>(std::move(server), destination.printerName), *table, paper);
    }
    return std::make_unique<qt::QtPrinter>(destination, codePage, std::move(runStamp));
}

std::vector<std::string> systemPrinterFontNames(const CodePage& codePage, const Settings& settings, Clock& clock)
{
    try {
        const auto printer = makeSystemPrinter(codePage, settings, clock);
        std::vector<std::string> names;
        for (int i = 0; i < printer->fontCount(); ++i)
            names.push_back(printer->fontName(i));
        return names;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace zlt
