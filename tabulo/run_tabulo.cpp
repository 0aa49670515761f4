#include "tabulo/run_tabulo.h"

#include <optional>

#include "platform/program_exit.h"
#include "platform/run_time_error.h"
#include "tabulo/export_command.h"
#include "tabulo/export_loader.h"
#include "common/leading_number.h"

namespace zlt::tabulo {

const char* const instructionsTitle = "ZELTO TABULO - Operating instructions";

const char* const instructionsText =
    "Tabulo\n"
    "\n"
    "Command line properties -\n"
    "\n"
    "          TABULO ExportFilePath,ExportDictionary,ExportData\n"
    "   e.g. TABULO C:\\ZLT\\,STOCK.DIC,STOCK.PHD\n"
    "\n"
    "Note: the command line seperators are commas, and they\n"
    "           break up the fields shown in the examples,\n"
    "           that must be included for the program to work.\n"
    "\n"
    "Up to 200 data files may follow the dictionary, each after a comma.\n";

const char* const versionTitle = "ZELTO TABULO Error - Incorrect version";

namespace {

// The oldest application whose object model the export relies on.
constexpr double OldestVersion = 9.0;

// The version the application reports; "" when it cannot be created or
// read. Nothing here stops the program.
std::string applicationVersion(TabuloPlatform& platform)
{
    std::string version;
    try {
        const auto excel = platform.createExcel();
        try {
            version = excel->version();
        } catch (const RunTimeError&) {
            version.clear();
        }
        try {
            excel->release();
        } catch (const RunTimeError&) {
        }
    } catch (const RunTimeError&) {
    }
    return version;
}

}  // namespace

std::string versionRefusalText(const std::string& version)
{
    return "The version of Excel you have installed on \n"
           "your machine " + version + " is not compatible with\n"
           "the Tabulo.\n"
           "\n"
           "To run it, you need atleast Excel version 9.0 (Office 2000)";
}

int runTabulo(const std::string& argumentText, TabuloPlatform& platform)
{
    const std::string version = applicationVersion(platform);
    if (leadingNumber(version) < OldestVersion) {
        platform.messages.show(versionTitle, versionRefusalText(version));
        return exit_status::Failed;
    }
    const std::optional<ExportCommand> command = exportCommandOf(argumentText);
    if (!command) {
        platform.messages.show(instructionsTitle, instructionsText);
        return exit_status::Done;
    }
    if (command->dataFiles.empty())
        return exit_status::Done;

    ExportLoader loader(platform, *command);
    std::optional<RunTimeError> failure;
    std::string whatFailed;
    try {
        loader.loadExcelSheet();
    } catch (const RunTimeError& error) {
        failure = error;
        whatFailed = "exporting " + loader.dataFileInHand();
    }
    // What was made stays with the user, also after a failure.
    try {
        loader.release();
    } catch (const RunTimeError& error) {
        if (failure && platform.errorLog)
            reportError(*platform.errorLog, "tabulo", "keeping the workbook", error);
        if (!failure) {
            failure = error;
            whatFailed = "keeping the workbook";
        }
    }
    if (failure) {
        reportRunTimeError(platform.messages, platform.errorLog, "tabulo", "Tabulo", whatFailed, *failure);
        return exit_status::Failed;
    }
    return exit_status::Done;
}

}  // namespace zlt::tabulo
