#pragma once
// Where print jobs go: a CUPS printer, or one PDF file per job in a folder.
#include <filesystem>
#include <string>

#include "platform/print/cups/cups_server.h"
#include "platform/print/pdf/pdf_job_files.h"
#include "platform/settings.h"

namespace zlt::qt {

using pdf::defaultPdfFolder;
using pdf::reservePdfFile;

struct PrinterDestination {
    enum class Kind { Cups, PdfFolder } kind = Kind::PdfFolder;
    std::string printerName;         // Cups: the printer
    std::filesystem::path pdfFolder;  // PdfFolder: where the files go
};

// REPVIEW_PRINTER ("pdf:<folder>" or a CUPS printer name); empty: the
// default CUPS printer, or PDF files in ~/Documents/Repview with none.
// Throws std::invalid_argument for a printer CUPS does not know. The
// printer is looked up over the server's connection, which the run keeps.
PrinterDestination destinationFromSettings(const Settings& settings, cups::CupsServer& server);
// The same over a connection of its own.
PrinterDestination destinationFromSettings(const Settings& settings);

}  // namespace zlt::qt
