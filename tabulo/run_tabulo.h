#pragma once
// Tabulo's one entry: checks the spreadsheet application's version and the
// command line, then exports the named data files into one new workbook.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/code_page.h"
#include "engines/spreadsheet/excel_application.h"
#include "platform/host_files.h"
#include "platform/message_box.h"
#include "platform/window_system.h"

namespace zlt::tabulo {

struct TabuloPlatform {
    HostFiles& files;
    const CodePage& codePage;
    MessageBox& messages;
    WindowSystem& windows;
    // CreateObject("Excel.Application"): a new application object each call.
    std::function<std::unique_ptr<ExcelApplication>()> createExcel;
    // The program's own folder with its separator at the end; the
    // background picture lies there.
    std::string programPath;
    // Also told of a run-time error in the one line every program writes
    // (nullptr: the box is enough).
    std::ostream* errorLog = nullptr;
};

extern const char* const instructionsTitle;
extern const char* const instructionsText;
extern const char* const versionTitle;

// The refusal's text for the version the application reported.
std::string versionRefusalText(const std::string& version);

// The argument text is UTF-8 (platform/command_line.h). Returns the exit
// status (platform/program_exit.h): Done when the export
// is made, or there was none (operating instructions, no data file);
// Failed after the version refusal or a run-time error, whose box and line
// are shown once the workbook made so far has been handed to the user.
int runTabulo(const std::string& argumentText, TabuloPlatform& platform);

}  // namespace zlt::tabulo
