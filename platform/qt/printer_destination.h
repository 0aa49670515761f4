#pragma once
// Where print jobs go: a CUPS printer, or one PDF file per job in a folder.
#include <filesystem>
#include <string>

namespace zlt::qt {

struct PrinterDestination {
    enum class Kind { Cups, PdfFolder } kind = Kind::PdfFolder;
    std::string printerName;         // Cups: the printer
    std::filesystem::path pdfFolder;  // PdfFolder: where the files go
};

// REPVIEW_PRINTER ("pdf:<folder>" or a CUPS printer name); unset: the
// default CUPS printer, or PDF files in ~/Documents/Repview with none.
// Throws std::invalid_argument for a printer CUPS does not know.
PrinterDestination destinationFromEnvironment();

std::filesystem::path defaultPdfFolder();

// Creates, without overwriting anything, the file for one job of a run:
// "repview-<date>-<time>.<ms>-<pid>-<job>.pdf", which sort in job order
// within a run and by start time across runs.
std::filesystem::path reservePdfFile(const std::filesystem::path& folder, const std::string& runStamp, int job);

// The date, time and process that name the files of one run.
std::string makeRunStamp();

}  // namespace zlt::qt
