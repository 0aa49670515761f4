#include "platform/backends.h"
#include "platform/pdf/pdf_printer.h"
#include "platform/pdf/win_ansi.h"
#include "platform/qt/qt_printer.h"

namespace zlt {

// Reports printed to PDF files are written directly: drawing through Qt
// costs a font embedding per file, which dominates a report of thousands of
// one-page jobs. Code pages the standard PDF fonts cannot show (the DOS
// pages' box drawing) still go through Qt, whose fonts have every glyph.
std::unique_ptr<Printer> makeSystemPrinter(const CodePage& codePage, const Settings& settings)
{
    qt::PrinterDestination destination = qt::destinationFromSettings(settings);
    if (destination.kind == qt::PrinterDestination::Kind::PdfFolder) {
        if (auto table = pdf::winAnsiTable(codePage))
            return std::make_unique<pdf::PdfPrinter>(destination.pdfFolder, *table, pdf::paperSizeOf(settings.paperSize));
    }
    return std::make_unique<qt::QtPrinter>(destination, codePage);
}

}  // namespace zlt
