#pragma once
// The spreadsheet application on Linux: an engine of our own that carries
// out the object model's calls, remembers what is said of each worksheet
// and streams the sheet through the workbook writer once the program has
// moved on to the next one; when the program lets go, the workbook is
// written under a new name in the workbooks folder and opened on the
// desktop.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/desktop_opener.h"
#include "engines/spreadsheet/excel_application.h"
#include "platform/host_files.h"
#include "platform/settings.h"
#include "engines/spreadsheet/workbook.h"

namespace zlt {

// The version the application reports: the object model of the release
// that brought the .xlsx workbook it writes.
extern const char* const linuxExcelVersion;

struct ExcelHost {
    HostFiles& files;          // data files and pictures, by the paths the program names
    const CodePage& codePage;  // the characters of imported text files
    Clock& clock;              // the stamp in a workbook's name
    DesktopOpener* opener;     // none: the workbook's path goes to `notes`
    std::string workbooksFolder;
    std::function<std::unique_ptr<Workbook>(const std::string& path)> makeWorkbook;
    std::ostream* notes = nullptr;
};

// TABULO_WORKBOOKS, "~" meaning the home folder; ~/Documents/Workbooks when unset.
std::string workbooksFolderOf(const Settings& settings);

// A new application, as CreateObject would start one. The host must
// outlive it.
std::unique_ptr<ExcelApplication> makeLinuxExcel(ExcelHost& host);

}  // namespace zlt
